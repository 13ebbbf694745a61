// Pieces of the launcher's start-up shared by the Windows and POSIX entry points.
#pragma once

#include <cstddef>

namespace launcher {

// Length of the executable's folder: the path cut at its last separator
// (the separator itself removed); a path without one is used whole.
template <typename Char>
size_t folder_length(const Char *path, Char separator) {
    size_t cut = 0;
    bool found = false;
    for (size_t i = 0; path[i]; ++i) {
        if (path[i] == separator) {
            cut = i;
            found = true;
        }
    }
    if (found) return cut;
    size_t n = 0;
    while (path[n]) ++n;
    return n;
}

// "--console" anywhere in the text, case-sensitive.
template <typename Char>
bool wants_console(const Char *text) {
    static const char word[] = "--console";
    for (size_t i = 0; text[i]; ++i) {
        size_t k = 0;
        while (word[k] && text[i + k] == static_cast<Char>(word[k])) ++k;
        if (!word[k]) return true;
    }
    return false;
}

constexpr const char *kStartFailureTitle = "Vorla Recomp";
constexpr const char *kStartFailureText =
    "Could not start the bundled Python (is the 'python' folder missing, or still being scanned by "
    "your antivirus?).";

} // namespace launcher
