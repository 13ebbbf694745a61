// Helpers for the page painter tests: one launcher run on a chosen page whose records
// and state are set by the test, and readers for the logged texts and frame pixels.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../ui/draw/font.h"
#include "../ui/frame/state.h"
#include "test_support.h"

namespace probe {

struct Logged {
    int32_t x, y, w, h;
};

inline std::vector<Logged> logged_texts() {
    std::vector<Logged> out;
    for (int32_t i = 0; i < vl_test_text_count(); ++i) {
        Logged t{};
        if (vl_test_text(i, &t.x, &t.y, &t.w, &t.h)) out.push_back(t);
    }
    return out;
}

inline int32_t line_height(int32_t font) { return font_table[font].ascent + font_table[font].descent; }

// The logged entry of `text` drawn in `font` with its top-left corner at (x, y), or null.
inline const Logged *find_text(const std::vector<Logged> &log, int32_t font, const char *text, int32_t x,
                               int32_t y) {
    const int32_t w = text_width(font, text);
    for (const Logged &t : log)
        if (t.x == x && t.y == y && t.w == w && t.h == line_height(font)) return &t;
    return nullptr;
}

// Same, for a text whose right edge lies at `right`.
inline const Logged *find_right(const std::vector<Logged> &log, int32_t font, const char *text, int32_t right,
                                int32_t y) {
    return find_text(log, font, text, right - text_width(font, text), y);
}

inline int32_t count_colour(const std::vector<uint32_t> &frame, int32_t x, int32_t y, int32_t w, int32_t h,
                            uint32_t packed) {
    int32_t n = 0;
    for (int32_t j = y; j < y + h; ++j)
        for (int32_t i = x; i < x + w; ++i)
            if (vt::pixel(frame, i, j) == vt::argb(packed)) ++n;
    return n;
}

// Pixels of the logged text's rectangle painted in the colour.
inline int32_t ink_of(const std::vector<uint32_t> &frame, const Logged *t, uint32_t packed) {
    return t ? count_colour(frame, t->x, t->y, t->w, t->h, packed) : 0;
}

// True when the frame shows exactly `text` in `font` at (x, y) in `colour`: over the
// text's box, a pixel has the colour exactly where one of the text's glyphs has ink.
// This tells apart texts of equal width, such as two numbers.
inline bool shows_text(const std::vector<uint32_t> &frame, int32_t font, const char *text, int32_t x, int32_t y,
                       uint32_t colour) {
    const vl_font &f = font_table[font];
    const int32_t margin = 3;  // sideways only: glyphs stay within the line's height
    const int32_t bx = x - margin, by = y;
    const int32_t bw = text_width(font, text) + 2 * margin, bh = line_height(font);
    std::vector<char> ink(static_cast<size_t>(bw * bh), 0);
    int32_t pen = x;
    const int32_t baseline = y + f.ascent;
    for (int32_t used = 0; decode_char(text, &used), used > 0; text += used) {
        int32_t ignored = 0;
        const vl_glyph &g = f.glyphs[glyph_index(decode_char(text, &ignored))];
        const int32_t stride = (g.width + 7) / 8;
        for (int32_t r = 0; r < g.height; ++r)
            for (int32_t j = 0; j < g.width; ++j) {
                if (!((f.bits[g.bit_offset + r * stride + j / 8] >> (j % 8)) & 1)) continue;
                const int32_t px = pen + g.x_offset + j - bx, py = baseline + g.y_offset + r - by;
                if (px < 0 || py < 0 || px >= bw || py >= bh) return false;  // margin too small
                ink[static_cast<size_t>(py * bw + px)] = 1;
            }
        pen += g.advance;
    }
    for (int32_t j = 0; j < bh; ++j)
        for (int32_t i = 0; i < bw; ++i)
            if ((vt::pixel(frame, bx + i, by + j) == vt::argb(colour)) != (ink[static_cast<size_t>(j * bw + i)] != 0))
                return false;
    return true;
}

// shows_text at a logged entry's position.
inline bool shows(const std::vector<uint32_t> &frame, const Logged *t, int32_t font, const char *text,
                  uint32_t colour) {
    return t && shows_text(frame, font, text, t->x, t->y, colour);
}

// One run on `page`. `prepare` runs at every poll before the frame it affects (write vl
// fields there); `status` / `online` fill the host records; `check` runs once frames
// painted after several polls exist, then the run ends.
struct PageRun {
    int32_t page = 0;
    std::function<void()> prepare;
    std::function<void(vl_status &)> status;
    std::function<void(vl_online_status &)> online;
    std::function<void()> check;
};

inline void run_page(const PageRun &run) {
    constexpr int kCheckCall = 5;
    vt::TempDir dir;
    vl_set_start_page(static_cast<uint32_t>(run.page));
    vt::Host host;
    bool checked = false;
    host.status = [&](vl_status &s, int call) {
        if (call == 0) return;
        if (call >= kCheckCall && !checked) {
            checked = true;
            if (run.check) run.check();
            vt::push_quit();
            return;
        }
        if (run.status) run.status(s);
        if (run.prepare) run.prepare();
    };
    if (run.online) host.online = [&](vl_online_status &o, int) { run.online(o); };
    host.max_calls = 200;
    vt::run_host(dir.file("vorla.ini"), host);
    vl_set_start_page(0);
    EXPECT_TRUE(checked) << "the run ended before the check";
    EXPECT_FALSE(host.timed_out);
}

} // namespace probe
