// Bitmap fonts: the compiled-in glyph tables, their atlases and the text operations.
#pragma once

#include <cstdint>

struct SDL_Renderer;
struct SDL_Texture;

struct vl_glyph {
    uint16_t bit_offset;  // byte offset of the first bitmap row in the font's bits
    uint8_t width;        // 0: no bitmap, the glyph only advances
    uint8_t height;
    int8_t x_offset;      // pen -> left column
    int8_t y_offset;      // baseline -> top row (negative is above)
    uint8_t advance;
    uint8_t reserved;
};
static_assert(sizeof(vl_glyph) == 8, "vl_glyph is 8 bytes");

struct vl_font {
    int32_t pixel_size;
    int32_t ascent;
    int32_t descent;
    const vl_glyph *glyphs;  // 191 slots: U+0020..U+007E, U+00A0..U+00FF
    const uint8_t *bits;     // rows of (width + 7) / 8 bytes, LSB is the leftmost pixel
};

constexpr int kFontCount = 8;
constexpr int kGlyphSlots = 191;
constexpr int kReplacementSlot = 31;  // '?'
constexpr int kSlotCapitalH = 40;

extern const vl_font font_table[kFontCount];

struct vl_font_atlas {
    int32_t cell_width;
    int32_t cell_height;
    SDL_Texture *texture;  // null when the atlas could not be built
};

constexpr int kTextLogCapacity = 80;

void build_font_atlases(SDL_Renderer *renderer);
void release_font_atlases();

// Decodes one character at text; stores the bytes consumed (0 at the terminator).
uint32_t decode_char(const char *text, int32_t *consumed);
int32_t glyph_index(uint32_t code_point);
int32_t h_height(int32_t font);  // height of the capital H

int32_t text_width(int32_t font, const char *text);
void draw_text(int32_t font, const char *text, int32_t x, int32_t y, uint32_t colour);
void draw_text_centred(int32_t font, const char *text, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void fit_text(int32_t font, const char *text, int32_t max_width, char *out, int32_t out_size);
