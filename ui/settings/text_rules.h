// Byte-level text helpers of the settings subsystem, also used wherever the library reads
// a number out of a text or cuts UTF-8 text. Letter case is ASCII only, independent of the
// C locale.
#pragma once

#include <cstddef>
#include <cstdint>

// Fills the whole array with zeros, then copies at most `capacity` - 1 bytes of `text`
// (stopping at its terminator or after `length` bytes), so no stale bytes survive.
void set_text(char *array, size_t capacity, const char *text, size_t length = static_cast<size_t>(-1));

template <size_t N>
void set_text(char (&array)[N], const char *text, size_t length = static_cast<size_t>(-1)) {
    set_text(array, N, text, length);
}

// UTF-8: a byte that continues a character rather than starting one.
constexpr bool is_utf8_continuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
// The bytes of `text` that fit in `max_bytes` without splitting a UTF-8 character at the end.
size_t whole_chars_within(const char *text, size_t max_bytes);

char ascii_lower(char c);
bool ascii_iequal(const char *a, const char *b);  // both end together, case ignored

// The two readings of a number at the start of a text. Both saturate at the int32 range
// instead of wrapping, so a long run of digits never reads as a plausible value, and a
// null text reads 0.
//
// leading_number: an optional sign, then decimal digits; reading stops at the first other
// character (or after `length` bytes) and no digits read as 0. Nothing is skipped first,
// so " 80" reads 0. This is how the settings file reads "port", "players" and "delay",
// and how the port field is judged when a request needs a port (host, join, commit).
int32_t leading_number(const char *text, size_t length = static_cast<size_t>(-1));
// leading_number_after_blanks: the same after any leading white space (space, \t \n \v
// \f \r), as C's atoi reads; " 80" reads 80. This is how the port field is drawn: its
// colour and the online page's hint.
int32_t leading_number_after_blanks(const char *text);
