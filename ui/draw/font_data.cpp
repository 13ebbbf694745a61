// Generated glyph tables (placeholder until the generator runs).
#include "font.h"

namespace {
const vl_glyph kEmpty[kGlyphSlots] = {};
const uint8_t kNoBits[1] = {0};
} // namespace

const vl_font font_table[kFontCount] = {
    {10, 11, 3, kEmpty, kNoBits}, {11, 11, 4, kEmpty, kNoBits}, {12, 12, 4, kEmpty, kNoBits},
    {13, 12, 4, kEmpty, kNoBits}, {15, 14, 5, kEmpty, kNoBits}, {18, 17, 6, kEmpty, kNoBits},
    {22, 21, 7, kEmpty, kNoBits}, {60, 56, 17, kEmpty, kNoBits},
};
