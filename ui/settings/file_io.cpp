// UTF-8 paths and atomic file replacement for the settings file.
#include "file_io.h"

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

bool move_over(const char *from, const char *to) {
    const std::wstring wide_from = widen(from), wide_to = widen(to);
    if (wide_from.empty() || wide_to.empty()) return false;
    return MoveFileExW(wide_from.c_str(), wide_to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void remove_file(const char *path) {
    const std::wstring wide = widen(path);
    if (!wide.empty()) _wremove(wide.c_str());
}
#else
bool flush_to_disk(std::FILE *file) { return fsync(fileno(file)) == 0; }
bool move_over(const char *from, const char *to) { return std::rename(from, to) == 0; }
void remove_file(const char *path) { std::remove(path); }
#endif

} // namespace

std::FILE *open_utf8(const char *path, const char *mode) {
    if (!path || !mode) return nullptr;
#ifdef _WIN32
    const std::wstring wide_path = widen(path), wide_mode = widen(mode);
    if (wide_path.empty() || wide_mode.empty()) return nullptr;
    return _wfopen(wide_path.c_str(), wide_mode.c_str());
#else
    return std::fopen(path, mode);
#endif
}

bool replace_file(const char *path, const char *bytes, size_t size) {
    if (!path || path[0] == '\0') return false;
    // Same folder as the target, so the final move never crosses file systems.
    const std::string temporary = std::string(path) + ".tmp";

    std::FILE *file = open_utf8(temporary.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes, 1, size, file) == size;
    written = written && std::fflush(file) == 0 && flush_to_disk(file);
    written = (std::fclose(file) == 0) && written;
    if (written && move_over(temporary.c_str(), path)) return true;
    remove_file(temporary.c_str());
    return false;
}
