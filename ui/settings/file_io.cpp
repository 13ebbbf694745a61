// UTF-8 paths and atomic file replacement for the settings file.
#include "file_io.h"

#include <cerrno>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
// UTF-8 to UTF-16 for the wide Windows file calls; empty on invalid input.
std::wstring widen(const char *text) {
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, -1, &wide[0], units) != units) return std::wstring();
    wide.resize(static_cast<size_t>(units) - 1);  // drop the converted terminator
    return wide;
}

bool flush_to_disk(std::FILE *file) { return _commit(_fileno(file)) == 0; }

// The system's text for a Windows error code, on one line.
std::string windows_reason(DWORD code) {
    char text[256] = "";
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                   0, text, sizeof text, nullptr);
    std::string reason(text, n);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason.empty() ? "Windows error " + std::to_string(code) : reason;
}

// False with the system's reason when `from` cannot replace `to`.
bool move_over(const char *from, const char *to, std::string *reason) {
    const std::wstring wide_from = widen(from), wide_to = widen(to);
    if (wide_from.empty() || wide_to.empty()) {
        *reason = std::strerror(EILSEQ);
        return false;
    }
    if (MoveFileExW(wide_from.c_str(), wide_to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    *reason = windows_reason(GetLastError());
    return false;
}

void remove_file(const char *path) {
    const std::wstring wide = widen(path);
    if (!wide.empty()) _wremove(wide.c_str());
}
#else
bool flush_to_disk(std::FILE *file) { return fsync(fileno(file)) == 0; }

bool move_over(const char *from, const char *to, std::string *reason) {
    if (std::rename(from, to) == 0) return true;
    *reason = std::strerror(errno);
    return false;
}
void remove_file(const char *path) { std::remove(path); }
#endif

} // namespace

std::FILE *open_utf8(const char *path, const char *mode) {
    if (!path || !mode) return nullptr;
#ifdef _WIN32
    const std::wstring wide_path = widen(path), wide_mode = widen(mode);
    if (wide_path.empty() || wide_mode.empty()) {
        errno = EILSEQ;
        return nullptr;
    }
    return _wfopen(wide_path.c_str(), wide_mode.c_str());
#else
    return std::fopen(path, mode);
#endif
}

namespace {

void note_failure(file_failure *failure, const char *step, const std::string &subject, const std::string &reason) {
    if (failure) std::snprintf(failure->text, sizeof failure->text, "%s %s: %s", step, subject.c_str(), reason.c_str());
}

} // namespace

bool replace_file(const char *path, const char *bytes, size_t size, file_failure *failure) {
    if (!path || path[0] == '\0') {
        note_failure(failure, "open", "\"\"", "the path is empty");
        return false;
    }
    // Same folder as the target, so the final move never crosses file systems.
    const std::string temporary = std::string(path) + ".tmp";

    std::FILE *file = open_utf8(temporary.c_str(), "wb");
    if (!file) {
        note_failure(failure, "create", temporary, std::strerror(errno));
        return false;
    }
    // The first step that fails names the failure, with errno as that step left it.
    const char *failed = nullptr;
    int error = 0;
    if (std::fwrite(bytes, 1, size, file) != size || std::fflush(file) != 0)
        failed = "write";
    else if (!flush_to_disk(file))
        failed = "flush to disk";
    if (failed) error = errno;
    if (std::fclose(file) != 0 && !failed) {
        failed = "close";
        error = errno;
    }
    std::string reason;
    if (!failed) {
        if (move_over(temporary.c_str(), path, &reason)) return true;
        note_failure(failure, "rename", temporary + " to " + path, reason);
    } else {
        note_failure(failure, failed, temporary, std::strerror(error));
    }
    remove_file(temporary.c_str());
    return false;
}
