// Renders a specimen of the eight launcher fonts (every glyph slot and a sample line, each
// over its line box and baseline) with the library's own text code to a PNG.
// Usage: gallery_fonts [OUTPUT.png [ZOOM.png X Y W H SCALE]]   (default docs/fonts.png)
// The optional second picture is a crop enlarged SCALE times, for judging single pixels.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "draw/font.h"
#include "draw/palette.h"
#include "frame/state.h"
#include "test_support.h"

namespace {

constexpr int32_t kWidth = 960;
constexpr int32_t kMargin = 16;
constexpr uint32_t kLineBox = rgb(30, 31, 62);
constexpr uint32_t kBaseline = rgb(70, 40, 70);

const char *const kLabels = "Reset keyboard | Reset controller | Building 812 of 1270 functions (64%)";
// The en dash is a three-byte character outside the glyph set: it shows as one '?'.
const char *const kSample = "Vorla & The Glassmaze \xE2\x80\x93 Jos\xC3\xA9 \xC3\x91" "and\xC3\xBA, \xC3\x86r\xC3\xB8sk\xC3\xB8" "bing, "
                            "\xC3\x80\xC3\x89\xC3\x8E\xC3\x95\xC3\x9C \xC3\xA7\xC3\x9F\xC3\xBF";

std::string utf8(uint32_t cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

// Every glyph slot in order, split into lines that fit the page width.
std::vector<std::string> glyph_lines(int32_t font) {
    std::vector<std::string> lines(1);
    auto add = [&](uint32_t cp) {
        const std::string ch = utf8(cp);
        if (text_width(font, (lines.back() + ch).c_str()) > kWidth - 2 * kMargin) lines.emplace_back();
        lines.back() += ch;
    };
    for (uint32_t cp = 0x21; cp <= 0x7E; ++cp) add(cp);
    lines.emplace_back();
    for (uint32_t cp = 0xA1; cp <= 0xFF; ++cp) add(cp);
    return lines;
}

// Lays out (and, when draw is set, paints) the specimen; returns the height used.
int32_t specimen(bool draw) {
    int32_t y = kMargin;
    auto line = [&](int32_t font, const std::string &text, uint32_t colour) {
        const vl_font &f = font_table[font];
        if (draw) {
            fill_rect(kMargin, y, text_width(font, text.c_str()), f.ascent + f.descent, kLineBox);
            fill_rect(kMargin, y + f.ascent, text_width(font, text.c_str()), 1, kBaseline);
            draw_text(font, text.c_str(), kMargin, y, colour);
        }
        y += f.ascent + f.descent + 2;
    };
    for (int32_t font = 0; font < kFontCount; ++font) {
        const vl_font &f = font_table[font];
        char title[96];
        std::snprintf(title, sizeof title, "Font %d: %d px, ascent %d, descent %d, H %d", font, f.pixel_size, f.ascent,
                      f.descent, h_height(font));
        line(2, title, col_accent);
        for (const std::string &glyphs : glyph_lines(font)) line(font, glyphs, col_ink);
        char sample[200];
        fit_text(font, kSample, kWidth - 2 * kMargin, sample, sizeof sample);
        line(font, sample, col_ink_soft);
        fit_text(font, kLabels, kWidth - 2 * kMargin, sample, sizeof sample);
        line(font, sample, col_ink_soft);
        y += 10;
    }
    return y;
}

bool write_zoom(const std::vector<uint32_t> &pixels, int32_t height, char **args) {
    const int32_t x0 = std::atoi(args[1]), y0 = std::atoi(args[2]), w = std::atoi(args[3]), h = std::atoi(args[4]);
    const int32_t scale = std::atoi(args[5]);
    if (w <= 0 || h <= 0 || scale <= 0) return false;
    std::vector<uint32_t> zoom(static_cast<size_t>(w * scale) * (h * scale), 0xFF000000u);
    for (int32_t y = 0; y < h * scale; ++y)
        for (int32_t x = 0; x < w * scale; ++x) {
            const int32_t sx = x0 + x / scale, sy = y0 + y / scale;
            if (sx >= 0 && sx < kWidth && sy >= 0 && sy < height)
                zoom[static_cast<size_t>(y) * w * scale + x] = pixels[static_cast<size_t>(sy) * kWidth + sx];
        }
    return vt::write_png(args[0], zoom.data(), w * scale, h * scale);
}

} // namespace

int main(int argc, char **argv) {
    const std::string out = argc > 1 ? argv[1] : "docs/fonts.png";
    const int32_t height = specimen(false);
    SDL_Surface *surface = SDL_CreateRGBSurfaceWithFormat(0, kWidth, height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        std::fprintf(stderr, "SDL_CreateRGBSurfaceWithFormat: %s\n", SDL_GetError());
        return 1;
    }
    vl.renderer = SDL_CreateSoftwareRenderer(surface);
    if (vl.renderer == nullptr) {
        std::fprintf(stderr, "SDL_CreateSoftwareRenderer: %s\n", SDL_GetError());
        return 1;
    }
    build_font_atlases(vl.renderer);
    fill_rect(0, 0, kWidth, height, col_backdrop);
    specimen(true);
    SDL_RenderPresent(vl.renderer);

    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * height);
    SDL_RenderReadPixels(vl.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), kWidth * 4);
    release_font_atlases();
    SDL_DestroyRenderer(vl.renderer);
    vl.renderer = nullptr;
    SDL_FreeSurface(surface);
    if (!vt::write_png(out, pixels.data(), kWidth, height)) {
        std::fprintf(stderr, "could not write %s\n", out.c_str());
        return 1;
    }
    std::printf("wrote %s (%dx%d)\n", out.c_str(), kWidth, height);
    if (argc > 7 && !write_zoom(pixels, height, argv + 2)) {
        std::fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
