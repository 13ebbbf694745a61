// Rasterises the launcher's eight bitmap fonts from outline fonts with FreeType (monochrome,
// hinted) and writes them as compiled-in tables: ui/draw/font_data.cpp (the font table) and
// ui/draw/font_data_<k>.cpp (glyphs and bits of font k). See README.md for how to run it.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class Face { Caps, Light, Bold };

// The fixed metrics every font must keep; the outline size is searched so that the
// capital H comes out exactly h_height rows tall.
struct FontSpec {
    int pixel_size;
    int ascent;
    int descent;
    int h_height;
    int space_advance;
    Face face;
    int tracking;  // pixels added to every advance (not to the space)
    int widen;     // horizontal pixels per em added to the vertical size: a wider face
};

constexpr FontSpec kFonts[8] = {
    // size asc desc  H  space face       track widen
    {10, 11, 3, 7, 5, Face::Caps, 1, 0},
    {11, 11, 4, 7, 4, Face::Light, 0, 1},
    {12, 12, 4, 8, 4, Face::Light, 0, 1},
    {13, 12, 4, 8, 4, Face::Light, 1, 1},
    {15, 14, 5, 10, 5, Face::Bold, 0, 0},
    {18, 17, 6, 11, 6, Face::Bold, 0, 0},
    {22, 21, 7, 14, 7, Face::Bold, 0, 0},
    {60, 56, 17, 40, 20, Face::Bold, 0, 0},
};

// Hand corrections of single advances after rasterising: font, code point, pixels added.
struct AdvanceFix {
    int font;
    uint32_t cp;
    int delta;
};
constexpr AdvanceFix kAdvanceFixes[] = {
    // Font 3 is laid out against "Reset keyboard" = 110 and "Reset controller" = 116 pixels.
    {3, 'd', -1},
    {3, 'n', +1},
};

const char *face_file(Face face) {
    switch (face) {
    case Face::Caps: return "DejaVuSans-Bold.ttf";
    case Face::Light: return "DejaVuSans.ttf";
    case Face::Bold: return "DejaVuSans-Bold.ttf";
    }
    return "";
}

constexpr int kSlots = 191;

uint32_t slot_code_point(int slot) { return slot < 95 ? 32 + slot : 65 + slot; }

// The all-capitals face draws every lowercase letter as its capital.
uint32_t caps_source(uint32_t cp) {
    if (cp >= 'a' && cp <= 'z') return cp - 32;
    if (cp >= 0xE0 && cp <= 0xFE && cp != 0xF7) return cp - 32;
    if (cp == 0xFF) return 0x178;  // y with diaeresis: its capital lies outside Latin-1
    return cp;
}

struct Glyph {
    int width = 0, height = 0, x_offset = 0, y_offset = 0, advance = 0;
    std::vector<uint8_t> rows;  // packed LSB-first, (width + 7) / 8 bytes per row
};

[[noreturn]] void fail(const std::string &message) {
    std::fprintf(stderr, "fontgen: %s\n", message.c_str());
    std::exit(1);
}

void check(FT_Error error, const char *what) {
    if (error) fail(std::string(what) + " failed with FreeType error " + std::to_string(error));
}

// Renders one code point monochrome and hinted; the bitmap is trimmed to its ink.
Glyph render(FT_Face face, uint32_t cp) {
    check(FT_Load_Char(face, cp, FT_LOAD_TARGET_MONO), "FT_Load_Char");
    check(FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO), "FT_Render_Glyph");
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap &bm = slot->bitmap;
    Glyph g;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    auto ink = [&](int r, int c) { return (bm.buffer[r * bm.pitch + c / 8] >> (7 - c % 8)) & 1; };
    int top = bm.rows, bottom = -1, left = bm.width, right = -1;
    for (int r = 0; r < static_cast<int>(bm.rows); ++r)
        for (int c = 0; c < static_cast<int>(bm.width); ++c)
            if (ink(r, c)) {
                top = std::min(top, r);
                bottom = std::max(bottom, r);
                left = std::min(left, c);
                right = std::max(right, c);
            }
    if (bottom < 0) return g;  // no ink: an advance only
    g.width = right - left + 1;
    g.height = bottom - top + 1;
    g.x_offset = slot->bitmap_left + left;
    g.y_offset = -slot->bitmap_top + top;
    const int row_bytes = (g.width + 7) / 8;
    g.rows.assign(static_cast<size_t>(row_bytes * g.height), 0);
    for (int r = 0; r < g.height; ++r)
        for (int c = 0; c < g.width; ++c)
            if (ink(top + r, left + c)) g.rows[r * row_bytes + c / 8] |= static_cast<uint8_t>(1u << (c % 8));
    return g;
}

int capital_h_rows(FT_Face face) { return render(face, 'H').height; }

// Picks the whole pixel size (the hinting instructions are written for whole sizes) whose
// hinted H is exactly h_height rows; the largest such size gives the roomiest lowercase.
int choose_size(FT_Face face, const FontSpec &spec) {
    for (int px = 90; px >= 4; --px) {
        check(FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(px + spec.widen), static_cast<FT_UInt>(px)),
              "FT_Set_Pixel_Sizes");
        if (capital_h_rows(face) == spec.h_height) return px;
    }
    fail("no size gives a capital H of " + std::to_string(spec.h_height) + " rows");
}

struct Built {
    std::vector<Glyph> glyphs;
    std::vector<uint8_t> bits;
    std::vector<int> offsets;
    int size = 0;
};

Built build_font(FT_Library lib, const std::string &font_dir, int k) {
    const FontSpec &spec = kFonts[k];
    FT_Face face = nullptr;
    const std::string path = font_dir + "/" + face_file(spec.face);
    check(FT_New_Face(lib, path.c_str(), 0, &face), ("FT_New_Face " + path).c_str());
    Built out;
    out.size = choose_size(face, spec);
    check(FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(out.size + spec.widen), static_cast<FT_UInt>(out.size)),
          "FT_Set_Pixel_Sizes");

    for (int slot = 0; slot < kSlots; ++slot) {
        const uint32_t cp = slot_code_point(slot);
        Glyph g;
        if (cp == 0x20 || cp == 0xA0) {
            g.advance = spec.space_advance;  // the spaces own no bitmap
        } else {
            g = render(face, spec.face == Face::Caps ? caps_source(cp) : cp);
            g.advance += spec.tracking;
        }
        for (const AdvanceFix &fix : kAdvanceFixes)
            if (fix.font == k && fix.cp == cp) g.advance += fix.delta;
        out.glyphs.push_back(g);
    }
    FT_Done_Face(face);

    // Identical bitmaps (the capitals face's lowercase slots) share their bytes.
    std::map<std::vector<uint8_t>, int> seen;
    for (Glyph &g : out.glyphs) {
        if (g.width == 0) {
            out.offsets.push_back(0);
            continue;
        }
        std::vector<uint8_t> key = g.rows;
        key.push_back(static_cast<uint8_t>(g.width));
        auto it = seen.find(key);
        if (it == seen.end()) {
            it = seen.emplace(key, static_cast<int>(out.bits.size())).first;
            out.bits.insert(out.bits.end(), g.rows.begin(), g.rows.end());
        }
        out.offsets.push_back(it->second);
    }
    if (out.bits.empty()) out.bits.push_back(0);
    // bit_offset is 16 bits wide: a font whose bitmaps outgrow that cannot be stored.
    if (out.bits.size() > 65535)
        fail("font " + std::to_string(k) + " needs " + std::to_string(out.bits.size()) + " bytes of bitmaps (limit 65535)");
    for (size_t i = 0; i < out.glyphs.size(); ++i) {
        const Glyph &g = out.glyphs[i];
        if (g.width > 255 || g.height > 255 || g.advance > 255 || g.advance < 0 || g.x_offset < -128 ||
            g.x_offset > 127 || g.y_offset < -128 || g.y_offset > 127)
            fail("font " + std::to_string(k) + " slot " + std::to_string(i) + " does not fit the glyph record");
    }
    if (out.glyphs[40].height != spec.h_height) fail("font " + std::to_string(k) + " lost its H height");
    if (out.glyphs[31].width == 0) fail("font " + std::to_string(k) + " has no visible question mark");
    return out;
}

int width_of(const Built &b, const std::string &latin1) {
    int w = 0;
    for (unsigned char c : latin1) {
        const int slot = (c >= 32 && c <= 126) ? c - 32 : (c >= 160 ? c - 65 : 31);
        w += b.glyphs[slot].advance;
    }
    return w;
}

void report(int k, const Built &b) {
    const FontSpec &spec = kFonts[k];
    int max_w = 0, max_h = 0, top = 0, bottom = 0;
    std::string outside;
    for (int i = 0; i < kSlots; ++i) {
        const Glyph &g = b.glyphs[i];
        if (g.width == 0) continue;
        max_w = std::max(max_w, g.width);
        max_h = std::max(max_h, g.height);
        top = std::min(top, g.y_offset);
        bottom = std::max(bottom, g.y_offset + g.height);
        if (g.y_offset < -spec.ascent || g.y_offset + g.height > spec.descent) outside += " " + std::to_string(i);
    }
    std::printf("font %d: size %d px (+%d wide), H %d, largest %dx%d, ink %d..%d (line %d..%d), %zu bytes", k, b.size, spec.widen,
                b.glyphs[40].height, max_w, max_h, top, bottom, -spec.ascent, spec.descent, b.bits.size());
    if (k == 3)
        std::printf(", \"Reset keyboard\" %d, \"Reset controller\" %d", width_of(b, "Reset keyboard"),
                    width_of(b, "Reset controller"));
    std::printf("\n");
    if (!outside.empty()) std::printf("  slots reaching outside the line:%s\n", outside.c_str());
}

void write_font(const std::string &dir, int k, const Built &b) {
    std::ostringstream s;
    s << "// Generated by tools/fontgen from DejaVu fonts; do not edit by hand.\n"
      << "#include \"font.h\"\n\n"
      << "extern const vl_glyph font" << k << "_glyphs[kGlyphSlots];\n"
      << "extern const uint8_t font" << k << "_bits[" << b.bits.size() << "];\n\n"
      << "// offset, width, height, x_offset, y_offset, advance, 0\n"
      << "const vl_glyph font" << k << "_glyphs[kGlyphSlots] = {\n";
    for (int i = 0; i < kSlots; ++i) {
        const Glyph &g = b.glyphs[i];
        const uint32_t cp = slot_code_point(i);
        char line[128];
        std::snprintf(line, sizeof line, "    {%5d, %2d, %2d, %3d, %3d, %2d, 0},  // U+%04X\n", b.offsets[i], g.width,
                      g.height, g.x_offset, g.y_offset, g.advance, cp);
        s << line;
    }
    s << "};\n\nconst uint8_t font" << k << "_bits[" << b.bits.size() << "] = {\n";
    for (size_t i = 0; i < b.bits.size(); ++i) {
        if (i % 16 == 0) s << "   ";
        char hex[8];
        std::snprintf(hex, sizeof hex, " 0x%02X,", b.bits[i]);
        s << hex;
        if (i % 16 == 15 || i + 1 == b.bits.size()) s << "\n";
    }
    s << "};\n";
    std::ofstream(dir + "/font_data_" + std::to_string(k) + ".cpp") << s.str();
}

void write_table(const std::string &dir, const std::vector<Built> &fonts) {
    std::ostringstream s;
    s << "// Generated by tools/fontgen from DejaVu fonts; do not edit by hand.\n"
      << "// The eight launcher fonts; each font's glyphs and bits live in font_data_<k>.cpp.\n"
      << "#include \"font.h\"\n\n";
    for (size_t k = 0; k < fonts.size(); ++k)
        s << "extern const vl_glyph font" << k << "_glyphs[kGlyphSlots];\n"
          << "extern const uint8_t font" << k << "_bits[" << fonts[k].bits.size() << "];\n";
    s << "\n// pixel_size, ascent, descent, glyphs, bits\nconst vl_font font_table[kFontCount] = {\n";
    for (size_t k = 0; k < fonts.size(); ++k)
        s << "    {" << kFonts[k].pixel_size << ", " << kFonts[k].ascent << ", " << kFonts[k].descent << ", font" << k
          << "_glyphs, font" << k << "_bits},\n";
    s << "};\n";
    std::ofstream(dir + "/font_data.cpp") << s.str();
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fontgen FONT_DIR OUTPUT_DIR\n");
        return 2;
    }
    FT_Library lib = nullptr;
    check(FT_Init_FreeType(&lib), "FT_Init_FreeType");
    std::vector<Built> fonts;
    for (int k = 0; k < 8; ++k) {
        fonts.push_back(build_font(lib, argv[1], k));
        report(k, fonts.back());
    }
    for (int k = 0; k < 8; ++k) write_font(argv[2], k, fonts[k]);
    write_table(argv[2], fonts);
    FT_Done_FreeType(lib);
    return 0;
}
