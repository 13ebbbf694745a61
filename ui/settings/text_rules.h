// Byte-level text helpers shared by the settings record, reader and binding rules.
// Letter case is ASCII only, independent of the C locale.
#pragma once

#include <cstddef>

// Fills the whole array with zeros, then copies at most `capacity` - 1 bytes of `text`
// (stopping at its terminator or after `length` bytes), so no stale bytes survive.
void set_text(char *array, size_t capacity, const char *text, size_t length = static_cast<size_t>(-1));

template <size_t N>
void set_text(char (&array)[N], const char *text, size_t length = static_cast<size_t>(-1)) {
    set_text(array, N, text, length);
}

char ascii_lower(char c);
bool ascii_iequal(const char *a, const char *b);  // both end together, case ignored
