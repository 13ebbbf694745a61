// Byte-level text helpers of the settings subsystem.
#include "text_rules.h"

#include <cstring>

void set_text(char *array, size_t capacity, const char *text, size_t length) {
    if (capacity == 0) return;
    std::memset(array, 0, capacity);
    for (size_t i = 0; i + 1 < capacity && i < length && text[i] != '\0'; ++i) array[i] = text[i];
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool ascii_iequal(const char *a, const char *b) {
    for (;; ++a, ++b) {
        if (ascii_lower(*a) != ascii_lower(*b)) return false;
        if (*a == '\0') return true;
    }
}

int32_t leading_number(const char *text, size_t length) {
    if (!text) return 0;
    size_t i = 0;
    bool negative = false;
    if (i < length && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;  // stops growing one past INT32_MAX, where both signs saturate
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value <= INT32_MAX) value = value * 10 + (text[i] - '0');
    if (negative) return value > INT32_MAX ? INT32_MIN : static_cast<int32_t>(-value);
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

int32_t leading_number_after_blanks(const char *text) {
    if (!text) return 0;
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    return leading_number(text);
}

size_t whole_chars_within(const char *text, size_t max_bytes) {
    size_t n = 0;
    while (n < max_bytes && text[n]) ++n;
    // The continuation bytes at the end belong to the character whose lead byte comes
    // before them; that character stays only when all its bytes are there.
    size_t start = n;
    while (start > 0 && is_utf8_continuation(static_cast<unsigned char>(text[start - 1]))) --start;
    if (start == 0) return n;
    const unsigned char lead = static_cast<unsigned char>(text[start - 1]);
    const size_t need = (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 1;
    return n - (start - 1) >= need ? n : start - 1;
}
