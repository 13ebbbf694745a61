// File access for vorla.ini: UTF-8 paths on every platform and the all-or-nothing
// replacement that keeps the old file whenever a save cannot complete.
#pragma once

#include <cstddef>
#include <cstdio>

// fopen with a UTF-8 path (converted to UTF-16 on Windows); null on failure.
std::FILE *open_utf8(const char *path, const char *mode);

// Writes `bytes` to a temporary file beside `path` and moves it over `path` in one step.
// On any failure the temporary file is removed, `path` is left exactly as it was and
// false is returned.
bool replace_file(const char *path, const char *bytes, size_t size);
