// Word wrapping of the online page's hint: the longest prefix that fits, cut back to
// its last space unless it is short or ends the text.
#include "hint_lines.h"

#include <cstring>

#include "font.h"

namespace {

constexpr int32_t kShortLineChars = 9;  // lines shorter than this are never cut at a space
constexpr int32_t kLineStep = 18;
constexpr int32_t kMaxLines = 4;

int32_t char_count(const char *text) {
    int32_t n = 0;
    for (int32_t used = 0; decode_char(text, &used), used > 0; text += used) ++n;
    return n;
}

} // namespace

int32_t take_hint_line(const char *rest, char (&line)[kHintLineBytes]) {
    line[0] = '\0';
    if (!rest[0]) return 0;
    fit_text(kHintFont, rest, kHintWidth - 1, line, kHintLineBytes);
    if (!line[0]) return 0;  // a single character is too wide: nothing more can show

    int32_t length = static_cast<int32_t>(std::strlen(line));
    if (rest[length] != '\0' && char_count(line) >= kShortLineChars) {
        if (char *space = std::strrchr(line, ' ')) {
            *space = '\0';
            length = static_cast<int32_t>(space - line);
        }
    }
    while (rest[length] == ' ') ++length;
    return length;
}

void draw_hint_lines(const char *text, int32_t x, int32_t y, uint32_t colour) {
    const char *rest = text;
    for (int32_t n = 0; n < kMaxLines; ++n, y += kLineStep) {
        char line[kHintLineBytes];
        const int32_t advance = take_hint_line(rest, line);
        if (advance <= 0) return;
        draw_text(kHintFont, line, x, y, colour);
        rest += advance;
    }
}
