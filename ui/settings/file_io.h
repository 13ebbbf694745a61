// File access for vorla.ini: UTF-8 paths on every platform and the all-or-nothing
// replacement that keeps the old file whenever a save cannot complete.
#pragma once

#include <cstddef>
#include <cstdio>

// fopen with a UTF-8 path (converted to UTF-16 on Windows); null on failure, with errno
// set (EILSEQ for a path that is not UTF-8).
std::FILE *open_utf8(const char *path, const char *mode);

// Why a file could not be replaced, as one line: the step that failed, the file it
// acted on and the system's reason, e.g. "create /a/vorla.ini.tmp: No such file or
// directory". Long enough for two paths of the settings file's 511 bytes.
struct file_failure {
    char text[1280];
};

// Writes `bytes` to a temporary file beside `path` and moves it over `path` in one step.
// On any failure the temporary file is removed, `path` is left exactly as it was, the
// reason goes to `failure` when it is not null, and false is returned.
bool replace_file(const char *path, const char *bytes, size_t size, file_failure *failure = nullptr);
