// vl_last_error: the library's last failure as one line of text.
//
// The text is kept per thread, as errno is. A vl_run refused on another thread must
// say why without writing anything the run under way owns, and a host reads the text
// on the thread that made the failing call.
#include <cstdarg>
#include <cstdio>

#include "../settings/text_rules.h"
#include "frame.h"
#include "vorla_ui.h"

namespace {

constexpr size_t kLastErrorBytes = 1536;  // a settings path twice over, with the reason
thread_local char last_error[kLastErrorBytes];

void format_last_error(const char *format, va_list args) {
    const int length = std::vsnprintf(last_error, sizeof last_error, format, args);
    if (length < 0) {
        last_error[0] = '\0';
        return;
    }
    // One line: a system's or SDL's text with a line break of its own is joined up.
    for (char *c = last_error; *c; ++c)
        if (*c == '\n' || *c == '\r') *c = ' ';
    // A text cut at the end of the buffer ends before the character it would split.
    if (static_cast<size_t>(length) >= sizeof last_error)
        last_error[whole_chars_within(last_error, sizeof last_error - 1)] = '\0';
}

} // namespace

void clear_last_error() { last_error[0] = '\0'; }

void set_last_error(const char *format, ...) {
    va_list args;
    va_start(args, format);
    format_last_error(format, args);
    va_end(args);
}

void report_failure(const char *format, ...) {
    va_list args;
    va_start(args, format);
    format_last_error(format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", last_error);
}

extern "C" {

VL_API const char *vl_last_error(void) { return last_error; }

} // extern "C"
