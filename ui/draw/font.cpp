// Font atlases and the text operations: decoding, measuring, drawing, centring, cutting.
#include "font.h"

#include <cstring>

#include "../frame/state.h"
#include "../settings/text_rules.h"

namespace {

constexpr int32_t kAtlasColumns = 16;
constexpr int32_t kAtlasRows = 12;  // 192 cells for 191 slots; the last stays empty
constexpr uint32_t kInk = 0xFFFFFFFFu;

bool font_valid(int32_t font) { return font >= 0 && font < kFontCount; }

// Writes one pixel row of the atlas: transparent black, with opaque white wherever a glyph
// of this cell row has a set bit. Empty bitmap bytes are skipped whole.
void write_atlas_row(const vl_font &f, const vl_font_atlas &atlas, int32_t y, uint32_t *row) {
    std::memset(row, 0, static_cast<size_t>(kAtlasColumns * atlas.cell_width) * sizeof(uint32_t));
    const int32_t cell_row = y / atlas.cell_height;
    const int32_t r = y % atlas.cell_height;  // bitmap row inside the cell
    for (int32_t column = 0; column < kAtlasColumns; ++column) {
        const int32_t slot = cell_row * kAtlasColumns + column;
        if (slot >= kGlyphSlots) break;
        const vl_glyph &g = f.glyphs[slot];
        if (g.width == 0 || r >= g.height) continue;
        const int32_t row_bytes = (g.width + 7) / 8;
        const uint8_t *bits = f.bits + g.bit_offset + r * row_bytes;
        uint32_t *cell = row + column * atlas.cell_width;
        for (int32_t b = 0; b < row_bytes; ++b) {
            const uint32_t byte = bits[b];
            if (byte == 0) continue;
            // Bits past the glyph's width in the last byte are padding, never ink.
            const int32_t valid = g.width - 8 * b < 8 ? g.width - 8 * b : 8;
            for (int32_t j = 0; j < valid; ++j)
                if ((byte >> j) & 1u) cell[8 * b + j] = kInk;
        }
    }
}

// Build one font's atlas; a null texture marks a font whose atlas could not be made.
// The pixels are written straight into a streaming texture in the atlas format: no
// intermediate surface, no format conversion and no second copy. Start-up time is
// dominated by touching fresh atlas memory, so each pixel is written exactly once.
void build_atlas(SDL_Renderer *renderer, int32_t k) {
    const vl_font &f = font_table[k];
    vl_font_atlas &atlas = vl.font_atlas[k];
    int32_t widest = 1;
    int32_t tallest = 1;
    for (int32_t i = 0; i < kGlyphSlots; ++i) {
        if (f.glyphs[i].width > widest) widest = f.glyphs[i].width;
        if (f.glyphs[i].height > tallest) tallest = f.glyphs[i].height;
    }
    atlas.cell_width = widest + 1;   // one pixel of gap right of and below every glyph
    atlas.cell_height = tallest + 1;
    atlas.texture = nullptr;

    const int32_t width = kAtlasColumns * atlas.cell_width;
    const int32_t height = kAtlasRows * atlas.cell_height;
    SDL_Texture *texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (texture == nullptr) return;
    void *pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) {
        SDL_DestroyTexture(texture);
        return;
    }
    for (int32_t y = 0; y < height; ++y)
        write_atlas_row(f, atlas, y, reinterpret_cast<uint32_t *>(static_cast<uint8_t *>(pixels) + y * pitch));
    SDL_UnlockTexture(texture);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    atlas.texture = texture;
}

} // namespace

void build_font_atlases(SDL_Renderer *renderer) {
    for (int32_t k = 0; k < kFontCount; ++k) build_atlas(renderer, k);
}

void release_font_atlases() {
    for (int32_t k = 0; k < kFontCount; ++k) {
        if (vl.font_atlas[k].texture != nullptr) SDL_DestroyTexture(vl.font_atlas[k].texture);
        vl.font_atlas[k].texture = nullptr;
    }
}

uint32_t decode_char(const char *text, int32_t *consumed) {
    const auto *s = reinterpret_cast<const unsigned char *>(text);
    const uint32_t lead = s[0];
    if (lead < 0x80) {
        *consumed = lead == 0 ? 0 : 1;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        if (!is_utf8_continuation(s[1])) {
            *consumed = 1;  // the stray second byte is decoded on its own next
            return '?';
        }
        *consumed = 2;
        return ((lead & 0x1F) << 6) | (s[1] & 0x3F);
    }
    if (lead < 0xC2) {
        *consumed = 1;
        return '?';
    }
    // Three- and four-byte sequences have no glyphs: swallow them as one '?'. The terminator
    // is never a continuation byte, so this cannot run past the end of the text.
    const int32_t tail = lead <= 0xEF ? 2 : 3;
    int32_t n = 1;
    while (n <= tail && is_utf8_continuation(s[n])) ++n;
    *consumed = n;
    return '?';
}

int32_t glyph_index(uint32_t cp) {
    if (cp >= 32 && cp <= 126) return static_cast<int32_t>(cp) - 32;
    if (cp >= 160 && cp <= 255) return static_cast<int32_t>(cp) - 65;
    return kReplacementSlot;
}

int32_t h_height(int32_t font) {
    if (!font_valid(font)) return 0;
    return font_table[font].glyphs[kSlotCapitalH].height;
}

int32_t text_width(int32_t font, const char *text) {
    if (!font_valid(font) || text == nullptr) return 0;
    const vl_glyph *glyphs = font_table[font].glyphs;
    int32_t width = 0;
    int32_t used = 0;
    for (const char *p = text;; p += used) {
        const uint32_t cp = decode_char(p, &used);
        if (used == 0) break;
        width += glyphs[glyph_index(cp)].advance;
    }
    return width;
}

void draw_text(int32_t font, const char *text, int32_t x, int32_t y, uint32_t colour) {
    if (!font_valid(font) || text == nullptr) return;
    const vl_font &f = font_table[font];
    // Logged before the atlas test so inspection still sees text of a font without atlas.
    if (vl.text_log_on && vl.text_log_count < kTextLogCapacity && text[0] != '\0') {
        int32_t *entry = vl.text_log[vl.text_log_count++];
        entry[0] = x;
        entry[1] = y;
        entry[2] = text_width(font, text);
        entry[3] = f.ascent + f.descent;
    }
    const vl_font_atlas &atlas = vl.font_atlas[font];
    if (atlas.texture == nullptr) return;
    SDL_SetTextureColorMod(atlas.texture, colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    if (text[0] == '\0') return;

    int32_t pen = x;
    const int32_t baseline = y + f.ascent;
    int32_t used = 0;
    for (const char *p = text;; p += used) {
        const uint32_t cp = decode_char(p, &used);
        if (used == 0) break;
        const int32_t slot = glyph_index(cp);
        const vl_glyph &g = f.glyphs[slot];
        if (g.width != 0) {
            const SDL_Rect src{(slot % kAtlasColumns) * atlas.cell_width, (slot / kAtlasColumns) * atlas.cell_height,
                               g.width, g.height};
            const SDL_Rect dst{pen + g.x_offset, baseline + g.y_offset, g.width, g.height};
            SDL_RenderCopy(vl.renderer, atlas.texture, &src, &dst);
        }
        pen += g.advance;
    }
}

void draw_text_centred(int32_t font, const char *text, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    if (!font_valid(font) || text == nullptr) return;
    const int32_t width = text_width(font, text);
    const int32_t cap = h_height(font);
    // The capital height, not the line, is centred: labels then sit optically in the middle.
    draw_text(font, text, x + (w - width) / 2, y + (h + cap) / 2 - font_table[font].ascent, colour);
}

void fit_text(int32_t font, const char *text, int32_t max_width, char *out, int32_t out_size) {
    if (out == nullptr || out_size < 1) return;
    out[0] = '\0';
    if (!font_valid(font) || text == nullptr) return;

    int32_t count = 0;
    int32_t used = 0;
    for (const char *p = text;; p += used) {
        decode_char(p, &used);
        if (used == 0) break;
        ++count;
    }
    while (true) {
        int32_t length = 0;
        const char *p = text;
        for (int32_t i = 0; i < count; ++i) {
            decode_char(p, &used);
            p += used;
            length += used;
        }
        // The byte clamp may cut a two-byte character; its lead byte then shows as '?'.
        if (length > out_size - 1) length = out_size - 1;
        std::memcpy(out, text, static_cast<size_t>(length));
        out[length] = '\0';
        if (count <= 0) return;
        --count;
        if (text_width(font, out) <= max_width) return;
    }
}
