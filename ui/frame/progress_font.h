// The progress window's own 5x7 pixel font.
#pragma once

#include <cstdint>

struct progress_glyph {
    char ch;
    uint8_t rows[7];  // top row first; bit 4 is the leftmost column
};

// The glyph for a byte: lowercase letters fold to capitals, anything without a
// glyph (every byte of 128 or more included) is drawn as '?'.
const progress_glyph &progress_glyph_for(unsigned char byte);
