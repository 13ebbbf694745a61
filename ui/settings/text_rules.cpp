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
