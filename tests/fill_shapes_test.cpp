// The cheaper ways the painters fill shapes leave exactly the pixels of the plain
// fills they replace: rims instead of a fill under a fill, batched rows, and the dimming
// layer that leaves out the panel painted over it.
#include <gtest/gtest.h>

#include <string>

#include "../ui/draw/fill_rows.h"
#include "../ui/draw/painters.h"
#include "paint_bench.h"

namespace {

using bench::PaintBench;

// One SDL fill, as the renderer does it, without any of the painters' splitting.
void sdl_fill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    set_draw_colour(colour);
    const SDL_Rect r{x, y, w, h};
    SDL_RenderFillRect(vl.renderer, &r);
}

class FillShapes : public PaintBench {
protected:
    // Paints `plain`, then `cheap`, on a cleared target and reports the first differing
    // pixel, or an empty text when both frames are the same.
    template <typename Plain, typename Cheap>
    std::string compare(Plain plain, Cheap cheap) {
        clear();
        plain();
        const std::vector<uint32_t> want = frame();
        clear();
        cheap();
        const std::vector<uint32_t> got = frame();
        for (int32_t y = 0; y < kLogicalHeight; ++y)
            for (int32_t x = 0; x < kLogicalWidth; ++x)
                if (vt::pixel(got, x, y) != vt::pixel(want, x, y))
                    return "first difference at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
        return "";
    }
};

struct Box {
    const char *name;
    int32_t x, y, w, h;
};

// Sizes around the edge cases: no middle left (w or h of 4 or less), a middle one pixel
// wide, clipped at the frame's edges, empty and negative.
constexpr Box kBoxes[] = {
    {"binding key", 250, 196, 56, 40},  {"switch", 491, 205, 42, 22},   {"bezel", 380, 200, 200, 122},
    {"five wide", 100, 100, 5, 30},      {"four wide", 100, 100, 4, 30}, {"four high", 100, 100, 30, 4},
    {"one by one", 10, 10, 1, 1},        {"clipped left top", -10, -6, 40, 30},
    {"clipped right bottom", 940, 590, 40, 30}, {"empty", 100, 100, 0, 12}, {"negative", 100, 100, -8, 12},
};

TEST_F(FillShapes, RimUnderAnInsetFillLeavesTheFullFill) {
    for (const Box &b : kBoxes) {
        const auto inner = [&] { fill_rect(b.x + 2, b.y + 2, b.w - 4, b.h - 4, col_face); };
        EXPECT_EQ(compare(
                      [&] {
                          fill_rect(b.x, b.y, b.w, b.h, col_accent);
                          inner();
                      },
                      [&] {
                          fill_frame(b.x, b.y, b.w, b.h, 2, col_accent);
                          inner();
                      }),
                  "")
            << b.name;
    }
}

TEST_F(FillShapes, RimAloneIsTheBorderOfTheFill) {
    // Over the backdrop the middle of a rim stays untouched.
    clear();
    fill_frame(100, 100, 30, 20, 2, col_accent);
    const auto f = frame();
    EXPECT_EQ(bench::count(f, 100, 100, 30, 20, col_accent), 30 * 20 - 26 * 16);
    EXPECT_EQ(bench::count(f, 102, 102, 26, 16, col_backdrop), 26 * 16);
}

// fill_rect cuts wide fills at multiples of 16 pixels; every cut must join up exactly.
TEST_F(FillShapes, FillsCutAtLineBoundariesMatchOneSdlFill) {
    const int32_t widths[] = {-3, 0, 1, 15, 16, 17, 31, 32, 33, 48, 100, 475, 960, 1000};
    for (int32_t x : {-37, -16, -1, 0, 1, 15, 16, 17, 28, 519, 945}) {
        for (int32_t w : widths) {
            EXPECT_EQ(compare([&] { sdl_fill(x, 40, w, 3, col_panel); }, [&] { fill_rect(x, 40, w, 3, col_panel); }),
                      "")
                << "x " << x << ", w " << w;
        }
    }
}

TEST_F(FillShapes, BatchedRowsMatchOneFillPerRow) {
    // Rows of a disc wider than one batch holds, runs of equal rows, and empty rows.
    struct Row {
        int32_t x, w;
    };
    std::vector<Row> rows;
    for (int32_t j = 0; j < 150; ++j) rows.push_back({400 - j % 37, j % 11 == 0 ? 0 : 20 + j % 37});
    for (int32_t j = 0; j < 70; ++j) rows.push_back({300, 120});  // one run
    EXPECT_EQ(compare(
                  [&] {
                      for (size_t j = 0; j < rows.size(); ++j)
                          sdl_fill(rows[j].x, 50 + static_cast<int32_t>(j), rows[j].w, 1, col_good);
                  },
                  [&] {
                      fill_row_batch batch(col_good);
                      for (size_t j = 0; j < rows.size(); ++j)
                          batch.add(rows[j].x, 50 + static_cast<int32_t>(j), rows[j].w);
                  }),
              "");
}

struct Ring {
    const char *name;
    int32_t x, y, w, h, radius;
};

// The shoulder keys and the console, a radius too big for the height, no radius, and
// rims with no middle left.
constexpr Ring kRings[] = {
    {"shoulder key", 196, 126, 150, 40, 8}, {"console", 160, 164, 640, 240, 44}, {"radius past half", 300, 300, 60, 20, 14},
    {"square", 100, 100, 40, 30, 0},        {"no middle", 500, 100, 4, 40, 3},   {"clipped", -20, 560, 90, 60, 12},
};

TEST_F(FillShapes, RoundedRingUnderTheInsetShapeLeavesTheFullShape) {
    for (const Ring &r : kRings) {
        const auto inner = [&] { fill_rounded_rect(r.x + 2, r.y + 2, r.w - 4, r.h - 4, r.radius - 2, col_face); };
        EXPECT_EQ(compare(
                      [&] {
                          fill_rounded_rect(r.x, r.y, r.w, r.h, r.radius, col_accent);
                          inner();
                      },
                      [&] {
                          fill_rounded_ring(r.x, r.y, r.w, r.h, r.radius, 2, col_accent);
                          inner();
                      }),
                  "")
            << r.name;
    }
}

TEST_F(FillShapes, DiscRingUnderTheInsetDiscLeavesTheFullDisc) {
    for (int32_t r : {0, 1, 2, 3, 7, 29, 120}) {
        EXPECT_EQ(compare(
                      [&] {
                          fill_disc(480, 300, r, col_accent);
                          fill_disc(480, 300, r - 2, col_face);
                      },
                      [&] {
                          fill_disc_ring(480, 300, r, 2, col_accent);
                          fill_disc(480, 300, r - 2, col_face);
                      }),
                  "")
            << "radius " << r;
    }
}

TEST_F(FillShapes, PanelShadowIsTheBandBelowThePanel) {
    for (const Box &b : kBoxes) {
        EXPECT_EQ(compare(
                      [&] {
                          fill_rect(b.x, b.y + 2, b.w, b.h, col_shadow);
                          fill_rect(b.x, b.y, b.w, b.h, col_face);
                          outline_rect(b.x, b.y, b.w, b.h, col_well_edge);
                      },
                      [&] { fill_panel(b.x, b.y, b.w, b.h, col_face, col_well_edge, true); }),
                  "")
            << b.name;
    }
}

// The dimming layer must look like SDL's blended fill of the whole frame everywhere the
// overlay's panel does not cover.
TEST_F(FillShapes, DimmingLayerMatchesAWholeFrameBlendAroundThePanel) {
    struct Case {
        const char *name;
        bool confirm;
        int32_t keypad;
        int layers;
    };
    const Case cases[] = {{"keypad", false, 1, 1}, {"confirmation", true, -1, 1}, {"both", true, 2, 2}};
    const SDL_Rect keypad_panel{250, 120, 460, 330}, confirm_panel{250, 226, 460, 168};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        vl.page = kPageOnline;
        std::snprintf(vl.fields[1], sizeof vl.fields[1], "192.168.1.20");
        std::snprintf(vl.fields[2], sizeof vl.fields[2], "47900");
        vl.confirm_open = c.confirm;
        vl.keypad_field = c.keypad;
        build_page();
        paint_frame();
        const std::vector<uint32_t> got = frame();

        // The same page and widgets without the overlays, then blended whole.
        vl.confirm_open = false;
        vl.keypad_field = -1;
        paint_frame();
        SDL_SetRenderDrawBlendMode(vl.renderer, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(vl.renderer, col_scrim & 0xFF, (col_scrim >> 8) & 0xFF, (col_scrim >> 16) & 0xFF, 205);
        for (int k = 0; k < c.layers; ++k) SDL_RenderFillRect(vl.renderer, nullptr);
        SDL_SetRenderDrawBlendMode(vl.renderer, SDL_BLENDMODE_NONE);
        const std::vector<uint32_t> want = frame();

        const SDL_Rect &panel = c.keypad >= 0 ? keypad_panel : confirm_panel;
        int32_t compared = 0, differing = 0;
        for (int32_t y = 0; y < kLogicalHeight; ++y)
            for (int32_t x = 0; x < kLogicalWidth; ++x) {
                const SDL_Point p{x, y};
                if (SDL_PointInRect(&p, &panel)) continue;
                ++compared;
                differing += vt::pixel(got, x, y) != vt::pixel(want, x, y);
            }
        EXPECT_EQ(compared, kLogicalWidth * kLogicalHeight - panel.w * panel.h);
        EXPECT_EQ(differing, 0);
    }
}

} // namespace
