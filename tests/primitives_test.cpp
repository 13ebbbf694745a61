// Drawing primitives: fills, the two-pixel outline, the plain panel and the stick circle,
// read back pixel by pixel from a software renderer.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <utility>

#include "draw/palette.h"
#include "frame/state.h"
#include "surface_canvas.h"
#include "test_support.h"

namespace {

using vt::Pixels;

using Canvas = vt::SurfaceCanvas;

// The top byte of a packed colour never makes a fill or outline translucent.
TEST_F(Canvas, FillsAreOpaqueWhateverTheAlphaByte) {
    SDL_SetRenderDrawBlendMode(vl.renderer, SDL_BLENDMODE_BLEND);
    fill_rect(20, 30, 5, 4, rgb(200, 100, 50, 0));
    EXPECT_EQ(at(20, 30), 0xFFC86432u);
    EXPECT_EQ(at(24, 33), 0xFFC86432u);
    EXPECT_EQ(at(25, 33), 0xFF000000u);
    EXPECT_EQ(lit(0, 0, 60, 60).size(), 20u);
    outline_rect(100, 100, 10, 10, rgb(0, 255, 0, 1));
    EXPECT_EQ(at(101, 101), 0xFF00FF00u);
}

// Outline: rings at distance 0 and 1 from the edge; only the outer ring when w or h <= 2.
TEST_F(Canvas, OutlineTouchesExactlyItsRings) {
    struct Case {
        int32_t x, y, w, h;
    };
    const Case cases[] = {{10, 10, 2, 20}, {10, 10, 20, 2}, {10, 10, 3, 3}, {10, 10, 6, 5},
                          {10, 10, 30, 12}, {10, 10, 1, 1}, {10, 10, 4, 4}};
    for (const Case &c : cases) {
        clear();
        outline_rect(c.x, c.y, c.w, c.h, col_panel_edge);
        Pixels expected;
        const int32_t rings = (c.w > 2 && c.h > 2) ? 2 : 1;
        for (int32_t y = c.y; y < c.y + c.h; ++y)
            for (int32_t x = c.x; x < c.x + c.w; ++x) {
                const int32_t edge = std::min({x - c.x, c.x + c.w - 1 - x, y - c.y, c.y + c.h - 1 - y});
                if (edge < rings) expected.insert({x, y});
            }
        const std::string name = std::to_string(c.w) + "x" + std::to_string(c.h);
        EXPECT_EQ(lit(0, 0, 60, 40), expected) << name;
        for (const auto &[px, py] : expected) ASSERT_EQ(at(px, py), vt::argb(col_panel_edge)) << name;
    }
    // The 3x3 case fills the centre pixel through the inner outline.
    clear();
    outline_rect(10, 10, 3, 3, col_ink);
    EXPECT_EQ(at(11, 11), vt::argb(col_ink));
}

TEST_F(Canvas, PlainPanelIsFilledAndEdged) {
    fill_panel_plain(40, 50, 100, 60);
    EXPECT_EQ(at(40, 50), vt::argb(col_panel_edge));
    EXPECT_EQ(at(41, 51), vt::argb(col_panel_edge));
    EXPECT_EQ(at(139, 109), vt::argb(col_panel_edge));
    EXPECT_EQ(at(42, 52), vt::argb(col_panel));
    EXPECT_EQ(at(90, 80), vt::argb(col_panel));
    EXPECT_EQ(at(140, 80), 0xFF000000u);
    EXPECT_EQ(lit(0, 0, 200, 200).size(), 6000u);
}

constexpr int32_t kCx = 880, kCy = 508;

TEST_F(Canvas, StickCircleOfRadius28) {
    draw_stick_circle(28, col_well_edge);
    const Pixels ink = lit(kCx - 40, kCy - 40, 80, 80);
    for (const auto &p : {std::make_pair(908, 508), std::make_pair(852, 508), std::make_pair(880, 480),
                          std::make_pair(880, 536)})
        EXPECT_EQ(ink.count(p), 1u) << p.first << "," << p.second;
    for (const auto &p : {std::make_pair(909, 508), std::make_pair(851, 508), std::make_pair(880, 479),
                          std::make_pair(880, 537), std::make_pair(kCx, kCy)})
        EXPECT_EQ(ink.count(p), 0u) << p.first << "," << p.second;
    for (const auto &[x, y] : ink) {
        const double r = std::hypot(x - kCx, y - kCy);
        EXPECT_NEAR(r, 28.0, 0.5) << x << "," << y;
        // Eight-fold symmetric about the centre.
        const int32_t dx = x - kCx, dy = y - kCy;
        EXPECT_EQ(ink.count({kCx - dx, kCy + dy}), 1u);
        EXPECT_EQ(ink.count({kCx + dx, kCy - dy}), 1u);
        EXPECT_EQ(ink.count({kCx + dy, kCy + dx}), 1u);
        EXPECT_EQ(at(x, y), vt::argb(col_well_edge));
    }
    // A closed ring: every row between the poles is touched on both sides.
    for (int32_t dy = -28; dy <= 28; ++dy) {
        bool left = false, right = false;
        for (int32_t dx = -28; dx <= 28; ++dx)
            if (ink.count({kCx + dx, kCy + dy})) (dx <= 0 ? left : right) = true;
        EXPECT_TRUE(left && right) << "row " << dy;
    }
}

TEST_F(Canvas, SmallAndDegenerateCircles) {
    struct Case {
        int32_t radius;
        Pixels expected;
    };
    const Case cases[] = {
        {1, {{kCx + 1, kCy}, {kCx - 1, kCy}, {kCx, kCy + 1}, {kCx, kCy - 1}}},
        {0, {{kCx, kCy}}},
        {-5, {{kCx, kCy}}},
    };
    for (const Case &c : cases) {
        clear();
        draw_stick_circle(c.radius, col_bad);
        EXPECT_EQ(lit(kCx - 10, kCy - 10, 20, 20), c.expected) << "radius " << c.radius;
        for (const auto &[x, y] : c.expected) EXPECT_EQ(at(x, y), vt::argb(col_bad));
    }
}

} // namespace
