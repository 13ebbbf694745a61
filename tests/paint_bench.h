// A renderer, render target and font atlases set up in vl without a vl_run, so single
// painters can be called on a known state and the target read back pixel by pixel.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "../ui/draw/font.h"
#include "../ui/draw/palette.h"
#include "../ui/frame/state.h"
#include "test_support.h"

namespace bench {

inline void clear_target() {
    set_draw_colour(col_backdrop);
    SDL_RenderClear(vl.renderer);
}

class PaintBench : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        vl.window = SDL_CreateWindow("bench", 0, 0, kLogicalWidth, kLogicalHeight, SDL_WINDOW_HIDDEN);
        ASSERT_NE(vl.window, nullptr) << SDL_GetError();
        vl.renderer = SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(vl.renderer, nullptr) << SDL_GetError();
        vl.target = SDL_CreateTexture(vl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                      kLogicalWidth, kLogicalHeight);
        ASSERT_NE(vl.target, nullptr) << SDL_GetError();
        build_font_atlases(vl.renderer);
        SDL_SetRenderTarget(vl.renderer, vl.target);

        default_settings(&vl.settings);
        std::memset(&vl.status, 0, sizeof vl.status);
        std::memset(&vl.online, 0, sizeof vl.online);
        std::memset(vl.fields, 0, sizeof vl.fields);
        vl.page = kPageMain;
        vl.widget_count = 0;
        vl.focus = -1;
        vl.hover = -1;
        vl.capture = -1;
        vl.editing_field = -1;
        vl.keypad_field = -1;
        vl.confirm_open = false;
        vl.address_pick = 0;
        vl.note[0] = '\0';
        vl.text_log_count = 0;
        vl.text_log_on = false;
        clear();
    }

    void TearDown() override {
        release_font_atlases();
        if (vl.target) SDL_DestroyTexture(vl.target);
        if (vl.renderer) SDL_DestroyRenderer(vl.renderer);
        if (vl.window) SDL_DestroyWindow(vl.window);
        vl.target = nullptr;
        vl.renderer = nullptr;
        vl.window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    static void clear() { clear_target(); }

    // Appends a widget with the list's defaults and returns a reference to fill in.
    static vl_widget &add(int32_t kind, int32_t x, int32_t y, int32_t w, int32_t h, const char *label = "") {
        vl_widget &wd = vl.widgets[vl.widget_count++];
        wd = vl_widget{};
        wd.id = "bench";
        wd.kind = kind;
        wd.x = x;
        wd.y = y;
        wd.w = w;
        wd.h = h;
        std::snprintf(wd.label, sizeof wd.label, "%s", label);
        wd.enabled = 1;
        wd.slot = -1;
        return wd;
    }

    static std::vector<uint32_t> frame() { return vt::snapshot(); }
};

inline uint32_t at(const std::vector<uint32_t> &f, int32_t x, int32_t y) { return vt::pixel(f, x, y); }

inline int32_t count(const std::vector<uint32_t> &f, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t packed) {
    int32_t n = 0;
    for (int32_t j = y; j < y + h; ++j)
        for (int32_t i = x; i < x + w; ++i) n += vt::pixel(f, i, j) == vt::argb(packed);
    return n;
}

// Leftmost and one-past-rightmost column of a colour along a row, or {-1, -1}.
inline std::pair<int32_t, int32_t> span(const std::vector<uint32_t> &f, int32_t y, uint32_t packed) {
    int32_t lo = -1, hi = -1;
    for (int32_t x = 0; x < kLogicalWidth; ++x)
        if (vt::pixel(f, x, y) == vt::argb(packed)) {
            if (lo < 0) lo = x;
            hi = x + 1;
        }
    return {lo, hi};
}

} // namespace bench
