// Bitmap fonts: the font tables, decoding, measuring, cutting, the atlases and drawn pixels
// read back from a software renderer.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "draw/font.h"
#include "draw/palette.h"
#include "frame/state.h"
#include "surface_canvas.h"
#include "test_support.h"

namespace {

using vt::Pixels;

bool glyph_bit(int32_t font, int32_t slot, int32_t row, int32_t col) {
    const vl_font &f = font_table[font];
    const vl_glyph &g = f.glyphs[slot];
    return (f.bits[g.bit_offset + row * ((g.width + 7) / 8) + col / 8] >> (col % 8)) & 1;
}

// Where a glyph's ink must land for a pen position and baseline, from the tables alone.
Pixels expected_glyph(int32_t font, int32_t slot, int32_t pen, int32_t baseline) {
    const vl_glyph &g = font_table[font].glyphs[slot];
    Pixels out;
    for (int32_t r = 0; r < g.height; ++r)
        for (int32_t c = 0; c < g.width; ++c)
            if (glyph_bit(font, slot, r, c)) out.insert({pen + g.x_offset + c, baseline + g.y_offset + r});
    return out;
}

int32_t advance(int32_t font, int32_t slot) { return font_table[font].glyphs[slot].advance; }

// The shared canvas with the eight atlases built on it and the text log off.
class Canvas : public vt::SurfaceCanvas {
protected:
    void SetUp() override {
        vt::SurfaceCanvas::SetUp();
        build_font_atlases(vl.renderer);
        vl.text_log_on = false;
        vl.text_log_count = 0;
    }
    void TearDown() override {
        release_font_atlases();
        vt::SurfaceCanvas::TearDown();
    }
};

struct FontMetrics {
    int32_t pixel_size, ascent, descent, h, space;
};
constexpr FontMetrics kMetrics[kFontCount] = {
    {10, 11, 3, 7, 5}, {11, 11, 4, 7, 4}, {12, 12, 4, 8, 4},  {13, 12, 4, 8, 4},
    {15, 14, 5, 10, 5}, {18, 17, 6, 11, 6}, {22, 21, 7, 14, 7}, {60, 56, 17, 40, 20},
};

TEST(FontTables, EveryFontKeepsItsMetrics) {
    for (int32_t k = 0; k < kFontCount; ++k) {
        SCOPED_TRACE("font " + std::to_string(k));
        const vl_font &f = font_table[k];
        EXPECT_EQ(f.pixel_size, kMetrics[k].pixel_size);
        EXPECT_EQ(f.ascent, kMetrics[k].ascent);
        EXPECT_EQ(f.descent, kMetrics[k].descent);
        EXPECT_EQ(h_height(k), kMetrics[k].h);
        EXPECT_EQ(f.glyphs[kSlotCapitalH].height, kMetrics[k].h);
        EXPECT_EQ(f.glyphs[0].advance, kMetrics[k].space);
        EXPECT_EQ(f.glyphs[0].width, 0);    // space
        EXPECT_EQ(f.glyphs[95].width, 0);   // no-break space
        EXPECT_GT(f.glyphs[kReplacementSlot].width, 0);
        EXPECT_GT(f.glyphs[kReplacementSlot].height, 0);
    }
}

// Every visible glyph has ink, lies inside its line box (accents included) and has an advance.
TEST(FontTables, GlyphsAreInkedAndStayInsideTheLine) {
    for (int32_t k = 0; k < kFontCount; ++k) {
        const vl_font &f = font_table[k];
        for (int32_t slot = 0; slot < kGlyphSlots; ++slot) {
            SCOPED_TRACE("font " + std::to_string(k) + " slot " + std::to_string(slot));
            const vl_glyph &g = f.glyphs[slot];
            EXPECT_EQ(g.reserved, 0);
            EXPECT_GT(g.advance, 0);
            if (slot == 0 || slot == 95) continue;
            ASSERT_GT(g.width, 0);
            ASSERT_GT(g.height, 0);
            EXPECT_GE(g.y_offset, -f.ascent);
            EXPECT_LE(g.y_offset + g.height, f.descent);
            bool top = false, bottom = false, left = false, right = false;  // bitmaps are trimmed to ink
            for (int32_t c = 0; c < g.width; ++c) {
                top |= glyph_bit(k, slot, 0, c);
                bottom |= glyph_bit(k, slot, g.height - 1, c);
            }
            for (int32_t r = 0; r < g.height; ++r) {
                left |= glyph_bit(k, slot, r, 0);
                right |= glyph_bit(k, slot, r, g.width - 1);
            }
            EXPECT_TRUE(top && bottom && left && right);
        }
    }
}

TEST(FontTables, CapitalsFaceDrawsLowercaseAsCapitals) {
    auto same_shape = [](int32_t a, int32_t b) {
        const vl_glyph &ga = font_table[0].glyphs[a];
        const vl_glyph &gb = font_table[0].glyphs[b];
        if (ga.width != gb.width || ga.height != gb.height || ga.x_offset != gb.x_offset || ga.y_offset != gb.y_offset ||
            ga.advance != gb.advance)
            return false;
        for (int32_t r = 0; r < ga.height; ++r)
            for (int32_t c = 0; c < ga.width; ++c)
                if (glyph_bit(0, a, r, c) != glyph_bit(0, b, r, c)) return false;
        return true;
    };
    for (uint32_t cp = 'a'; cp <= 'z'; ++cp) EXPECT_TRUE(same_shape(glyph_index(cp), glyph_index(cp - 32))) << char(cp);
    for (uint32_t cp = 0xE0; cp <= 0xFE; ++cp) {
        if (cp == 0xF7) continue;  // the division sign has no capital
        EXPECT_TRUE(same_shape(glyph_index(cp), glyph_index(cp - 32))) << std::hex << cp;
    }
    // The light face keeps real lowercase.
    EXPECT_NE(font_table[3].glyphs[glyph_index('a')].height, font_table[3].glyphs[glyph_index('A')].height);
}

// Other layouts are measured against these two labels.
TEST(FontTables, ResetLabelsKeepTheirDesignedWidths) {
    EXPECT_EQ(text_width(3, "Reset keyboard"), 110);
    EXPECT_EQ(text_width(3, "Reset controller"), 116);
}

TEST(Decode, TableOfSequences) {
    struct Case {
        const char *name;
        const char *bytes;
        uint32_t code_point;
        int32_t consumed;
    };
    const Case cases[] = {
        {"end of text", "", 0, 0},
        {"ascii", "A", 'A', 1},
        {"tab", "\t", '\t', 1},
        {"two-byte e acute", "\xC3\xA9", 0xE9, 2},
        {"lowest two-byte", "\xC2\xA0", 0xA0, 2},
        {"two-byte outside latin-1", "\xC5\x93", 0x153, 2},
        {"lone lead byte at the end", "\xC3", '?', 1},
        {"lead byte before ascii", "\xC2" "A", '?', 1},
        {"continuation alone", "\xA9", '?', 1},
        {"overlong lead C0", "\xC0\x80", '?', 1},
        {"latin-1 byte E9 with ascii after", "\xE9" "A", '?', 1},
        {"euro sign", "\xE2\x82\xAC", '?', 3},
        {"three-byte cut short", "\xE2\x82", '?', 2},
        {"three-byte tail stops at ascii", "\xE2\x82" "A", '?', 2},
        {"four-byte", "\xF0\x9F\x98\x80", '?', 4},
        {"four-byte stops after three tails", "\xF0\x9F\x98\x80\x80", '?', 4},
        {"byte FF", "\xFF", '?', 1},
    };
    for (const Case &c : cases) {
        int32_t used = -1;
        EXPECT_EQ(decode_char(c.bytes, &used), c.code_point) << c.name;
        EXPECT_EQ(used, c.consumed) << c.name;
    }
}

TEST(Decode, GlyphSlots) {
    const std::pair<uint32_t, int32_t> cases[] = {
        {' ', 0},   {'?', 31},  {'H', 40},  {'~', 94},  {0x7F, 31}, {0x80, 31}, {0x9F, 31}, {0xA0, 95},
        {0xE9, 168}, {0xFF, 190}, {'\t', 31}, {'\n', 31}, {0x100, 31}, {0x20AC, 31}, {0, 31},
    };
    for (const auto &[cp, slot] : cases) EXPECT_EQ(glyph_index(cp), slot) << std::hex << cp;
}

TEST(TextWidth, SumsTheAdvancesOfDecodedCharacters) {
    const int32_t q = advance(3, 31);
    struct Case {
        const char *text;
        int32_t width;
    };
    const Case cases[] = {
        {"", 0},
        {"H", advance(3, 40)},
        {"HH ", 2 * advance(3, 40) + advance(3, 0)},
        {"\xC3\xA9", advance(3, 168)},
        {"\xE9", q},
        {"\xE2\x82\xAC", q},
        {"\xF0\x9F\x98\x80", q},
        {"\xC2" "A", q + advance(3, 'A' - 32)},
        {"a\tb", advance(3, 'a' - 32) + q + advance(3, 'b' - 32)},
    };
    for (const Case &c : cases) EXPECT_EQ(text_width(3, c.text), c.width) << c.text;
}

TEST(FitText, CutsWholeCharactersAndClampsBytes) {
    const int32_t h = advance(3, 40);
    const int32_t e = advance(3, 168);
    struct Case {
        const char *name;
        const char *text;
        int32_t max_width;
        int32_t out_size;
        const char *expected;
    };
    const Case cases[] = {
        {"fits whole", "Hello", 1000, 16, "Hello"},
        {"exact width fits", "H\xC3\xA9", h + e, 16, "H\xC3\xA9"},
        {"one pixel short drops the whole two-byte character", "H\xC3\xA9", h + e - 1, 16, "H"},
        {"narrower than the first character", "Hello", h - 1, 16, ""},
        {"empty text", "", 100, 16, ""},
        {"byte clamp", "HHHHHHHHHHHHHHHHHHHH", 10000, 16, "HHHHHHHHHHHHHHH"},
        {"byte clamp inside a two-byte character", "\xC3\xA9\xC3\xA9", 10000, 4, "\xC3\xA9\xC3"},
        {"byte clamp with one byte of room", "\xC3\xA9", 10000, 2, "\xC3"},
        {"no room at all", "Hello", 10000, 1, ""},
        {"euro swallowed whole", "a\xE2\x82\xAC" "b", advance(3, 'a' - 32) + advance(3, 31), 16, "a\xE2\x82\xAC"},
    };
    for (const Case &c : cases) {
        char out[32];
        std::memset(out, '#', sizeof out);
        fit_text(3, c.text, c.max_width, out, c.out_size);
        EXPECT_STREQ(out, c.expected) << c.name;
        for (size_t i = static_cast<size_t>(c.out_size); i < sizeof out; ++i)
            ASSERT_EQ(out[i], '#') << c.name << ": wrote past out_size";
    }
}

TEST_F(Canvas, AtlasesFollowTheBuildRule) {
    for (int32_t k = 0; k < kFontCount; ++k) {
        SCOPED_TRACE("font " + std::to_string(k));
        int32_t widest = 1, tallest = 1;
        for (int32_t i = 0; i < kGlyphSlots; ++i) {
            widest = std::max<int32_t>(widest, font_table[k].glyphs[i].width);
            tallest = std::max<int32_t>(tallest, font_table[k].glyphs[i].height);
        }
        const vl_font_atlas &a = vl.font_atlas[k];
        EXPECT_EQ(a.cell_width, widest + 1);
        EXPECT_EQ(a.cell_height, tallest + 1);
        ASSERT_NE(a.texture, nullptr);
        int w = 0, h = 0;
        SDL_QueryTexture(a.texture, nullptr, nullptr, &w, &h);
        EXPECT_EQ(w, 16 * a.cell_width);
        EXPECT_EQ(h, 12 * a.cell_height);
        SDL_BlendMode mode = SDL_BLENDMODE_NONE;
        SDL_GetTextureBlendMode(a.texture, &mode);
        EXPECT_EQ(mode, SDL_BLENDMODE_BLEND);
    }
    release_font_atlases();
    for (const vl_font_atlas &a : vl.font_atlas) EXPECT_EQ(a.texture, nullptr);
    release_font_atlases();  // a second release finds nothing to destroy
}

// Glyphs land at pen + x_offset and baseline + y_offset, one after another by advance.
TEST_F(Canvas, GlyphsLandAtPenAndBaselineOffsets) {
    for (int32_t k = 0; k < kFontCount; ++k) {
        SCOPED_TRACE("font " + std::to_string(k));
        clear();
        const int32_t x = 101, y = 53;
        draw_text(k, "H\xC3\xA9g", x, y, col_ink);
        const int32_t baseline = y + font_table[k].ascent;
        Pixels expected = expected_glyph(k, 40, x, baseline);
        Pixels e_acute = expected_glyph(k, 168, x + advance(k, 40), baseline);
        Pixels g = expected_glyph(k, 'g' - 32, x + advance(k, 40) + advance(k, 168), baseline);
        expected.insert(e_acute.begin(), e_acute.end());
        expected.insert(g.begin(), g.end());
        EXPECT_EQ(lit(x - 20, y - 20, 400, 140), expected);
    }
}

TEST_F(Canvas, ColourTintsTheGlyphsAndIgnoresTheTopByte) {
    const uint32_t colours[] = {col_accent, col_good, rgb(10, 200, 30, 0)};
    for (uint32_t colour : colours) {
        clear();
        draw_text(4, "Ready", 200, 200, colour);
        const Pixels ink = lit(190, 190, 200, 60);
        ASSERT_FALSE(ink.empty());
        for (const auto &[px, py] : ink) ASSERT_EQ(at(px, py), vt::argb(colour | 0xFF000000u));
    }
}

TEST_F(Canvas, CapitalsFaceShowsLowercaseTextInCapitals) {
    draw_text(0, "save data", 10, 10, col_ink);
    draw_text(0, "SAVE DATA", 10, 40, col_ink);
    Pixels lower = lit(0, 0, 200, 30), upper;
    for (const auto &[px, py] : lit(0, 30, 200, 30)) upper.insert({px, py - 30});
    EXPECT_FALSE(lower.empty());
    EXPECT_EQ(lower, upper);
}

TEST_F(Canvas, UndecodableBytesDrawTheQuestionMark) {
    struct Case {
        const char *text;
        int32_t glyphs;  // how many '?' appear
    };
    const Case cases[] = {{"\xE9", 1}, {"\xE2\x82\xAC", 1}, {"\xF0\x9F\x98\x80", 1}, {"\t", 1}, {"\n\n", 2}};
    for (const Case &c : cases) {
        clear();
        draw_text(3, c.text, 300, 300, col_ink);
        Pixels expected;
        for (int32_t i = 0; i < c.glyphs; ++i) {
            Pixels q = expected_glyph(3, 31, 300 + i * advance(3, 31), 300 + font_table[3].ascent);
            expected.insert(q.begin(), q.end());
        }
        EXPECT_EQ(lit(280, 280, 100, 60), expected) << c.text;
    }
}

TEST_F(Canvas, TextLogRecordsEightyTextsAndSkipsEmptyOnes) {
    vl.text_log_on = true;
    draw_text(3, "", 5, 6, col_ink);
    EXPECT_EQ(vl.text_log_count, 0);
    draw_text(4, "Play", 12, 34, col_ink);
    ASSERT_EQ(vl.text_log_count, 1);
    EXPECT_EQ(vl.text_log[0][0], 12);
    EXPECT_EQ(vl.text_log[0][1], 34);
    EXPECT_EQ(vl.text_log[0][2], text_width(4, "Play"));
    EXPECT_EQ(vl.text_log[0][3], 19);
    for (int32_t i = 1; i < kTextLogCapacity; ++i) draw_text(2, "row", 0, i, col_ink);
    ASSERT_EQ(vl.text_log_count, 80);
    clear();
    draw_text(3, "Eighty-first", 500, 500, col_ink);  // drawn, not logged
    EXPECT_EQ(vl.text_log_count, 80);
    EXPECT_EQ(vl.text_log[79][1], 79);
    EXPECT_FALSE(lit(490, 490, 200, 40).empty());

    vl.text_log_count = 0;
    vl.text_log_on = false;
    draw_text(3, "Widget label", 0, 0, col_ink);
    EXPECT_EQ(vl.text_log_count, 0);
}

TEST_F(Canvas, FontWithoutAtlasIsLoggedButNotDrawn) {
    SDL_Texture *saved = vl.font_atlas[3].texture;
    vl.font_atlas[3].texture = nullptr;
    vl.text_log_on = true;
    draw_text(3, "Missing", 40, 40, col_ink);
    vl.font_atlas[3].texture = saved;
    EXPECT_EQ(vl.text_log_count, 1);
    EXPECT_TRUE(lit(0, 0, 300, 100).empty());
}

TEST_F(Canvas, CentredTextSitsOnTheCapitalHeight) {
    vl.text_log_on = true;
    struct Case {
        const char *name;
        int32_t font;
        const char *text;
        int32_t x, y, w, h;
        int32_t expected_x, expected_y;
    };
    const int32_t wp = text_width(4, "Play");  // widths drive the expectation, as in the painters
    const int32_t wl = text_width(3, "A much longer label");
    const Case cases[] = {
        {"even room", 4, "Play", 100, 100, wp + 40, 40, 120, 100 + (40 + 10) / 2 - 14},
        {"odd room truncates", 4, "Play", 100, 100, wp + 41, 41, 120, 100 + (41 + 10) / 2 - 14},
        {"wider than the rectangle", 3, "A much longer label", 300, 200, wl - 3, 21, 299, 200 + (21 + 8) / 2 - 12},
    };
    for (const Case &c : cases) {
        vl.text_log_count = 0;
        draw_text_centred(c.font, c.text, c.x, c.y, c.w, c.h, col_ink);
        ASSERT_EQ(vl.text_log_count, 1) << c.name;
        EXPECT_EQ(vl.text_log[0][0], c.expected_x) << c.name;
        EXPECT_EQ(vl.text_log[0][1], c.expected_y) << c.name;
    }
    // The capital H then fills the middle rows of the rectangle exactly.
    clear();
    draw_text_centred(5, "H", 400, 300, 60, 31, col_ink);
    int32_t top = 1000, bottom = -1;
    for (const auto &p : lit(380, 280, 100, 80)) {
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
    }
    EXPECT_EQ(bottom, 300 + (31 + 11) / 2 - 1);
    EXPECT_EQ(bottom - top + 1, 11);
}

} // namespace
