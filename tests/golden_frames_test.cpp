// Golden frames: every scene of the gallery (support/scene_table.cpp), rendered in one
// vl_run by the renderer it picks on this machine's video driver, against its committed
// picture in docs/gallery (each made by a run of its own on SDL's software renderer). A
// frame that differs is written with a difference picture to a folder the failure names.
// Regenerate the pictures with scripts/golden.sh.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "draw/painters.h"
#include "frame_compare.h"
#include "scenes.h"
#include "surface_canvas.h"
#include "test_support.h"

namespace {

constexpr int32_t kW = 960, kH = 600;

// How many steps per channel a renderer's blended pixels (the dimming layer, the only
// blended fill) may be off SDL's software blend, which the golden frames hold. Every pixel
// no blend touched must be equal on every renderer.
struct BlendAllowance {
    const char *renderer;
    int32_t steps;
};
constexpr BlendAllowance kBlendAllowances[] = {
    {"software", 0},  // the golden frames' own renderer
    {"opengl", 1},    // measured: Mesa's llvmpipe on Xvfb (SDL's x11 driver) rounds the blend 1 step off
    {"direct3d", 1},  // measured: Direct3D 9 under Wine 8 on Xvfb (SDL's windows driver), 1 step off
};
// Renderers not measured get the largest measured allowance; the test names them.
constexpr int32_t kUnmeasuredAllowance = 1;

const BlendAllowance *measured_allowance(const std::string &renderer) {
    for (const BlendAllowance &a : kBlendAllowances)
        if (renderer == a.renderer) return &a;
    return nullptr;
}

constexpr const char *kRegenerate =
    "If the change is meant, regenerate the golden frames with scripts/golden.sh and commit them with it.";

std::string folder_for_failures() {
    const char *chosen = std::getenv("VORLA_GOLDEN_OUT");
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::absolute(chosen && *chosen ? chosen : "golden-failures", error);
    std::filesystem::create_directories(folder, error);
    return folder.string();
}

// Writes the actual frame and the difference picture; returns where, for the message.
std::string keep_failed_frame(const vt::Scene &scene, const vt::SceneFrame &frame, const std::vector<uint32_t> &golden,
                              int32_t tolerance) {
    const std::string base = folder_for_failures() + "/" + scene.name;
    std::string kept = "actual frame " + base + ".actual.png";
    if (!vt::write_png(base + ".actual.png", frame.pixels.data(), kW, kH)) kept = "(cannot write " + base + ".actual.png)";
    if (golden.size() == frame.pixels.size()) {
        const auto picture = vt::difference_picture(golden, frame.pixels, kW, kH, frame.blended, tolerance);
        kept += vt::write_png(base + ".diff.png", picture.data(), kW, kH)
                    ? ", difference picture " + base + ".diff.png (red: differs, blue: blended, within "
                          + std::to_string(tolerance) + ")"
                    : ", (cannot write " + base + ".diff.png)";
    }
    return kept;
}

TEST(GoldenFrames, EverySceneLooksLikeItsGoldenFrame) {
    const char *source = std::getenv("VORLA_SOURCE_DIR");
    ASSERT_TRUE(source && *source) << "VORLA_SOURCE_DIR names the source tree whose docs/gallery holds the golden "
                                      "frames; ctest sets it";
    const std::string gallery = std::string(source) + "/" + vt::kGalleryFolder;
    std::string renderer;
    int32_t tolerance = 0;
    int32_t largest_step = 0;
    vt::render_scenes_in_one_run(vt::scenes(), [&](const vt::Scene &scene, vt::SceneFrame &frame) {
        if (renderer.empty() && !frame.renderer.empty()) {
            renderer = frame.renderer;
            const BlendAllowance *allowance = measured_allowance(renderer);
            tolerance = allowance ? allowance->steps : kUnmeasuredAllowance;
            std::printf("golden frames: renderer %s, video driver %s: ", renderer.c_str(), frame.video_driver.c_str());
            if (tolerance == 0) {
                std::printf("every pixel must equal its golden frame\n");
            } else {
                std::printf("blended pixels may be off by %d per channel, every other pixel must be equal\n",
                            tolerance);
            }
            if (!allowance)
                std::printf("golden frames: no blend allowance was measured for %s; it gets %d\n", renderer.c_str(),
                            kUnmeasuredAllowance);
        }
        if (!frame.problem.empty()) {
            ADD_FAILURE() << scene.name << ": " << frame.problem;
            return;
        }
        if (frame.renderer != renderer) ADD_FAILURE() << scene.name << ": rendered by " << frame.renderer;

        const std::string golden_path = gallery + "/" + scene.name + ".png";
        std::vector<uint32_t> golden;
        int32_t gw = 0, gh = 0;
        if (!vt::read_png(golden_path, golden, gw, gh) || gw != kW || gh != kH) {
            ADD_FAILURE() << scene.name << ": no 960 x 600 golden frame " << golden_path << "; "
                          << keep_failed_frame(scene, frame, {}, tolerance) << ". " << kRegenerate;
            return;
        }
        const vt::FrameDifference d = vt::compare_frames(golden, frame.pixels, kW, kH, frame.blended, tolerance);
        if (d.differing == 0) {
            if (d.largest_step > largest_step) largest_step = d.largest_step;
            return;
        }
        ADD_FAILURE() << scene.name << ": " << d.differing << " pixels differ from " << golden_path << " (renderer "
                      << frame.renderer << "), the first at (" << d.first_x << ", " << d.first_y
                      << "): golden " << vt::hex_pixel(d.expected) << ", actual " << vt::hex_pixel(d.actual)
                      << ". " << keep_failed_frame(scene, frame, golden, tolerance) << ". " << kRegenerate;
    });
    std::printf("golden frames: %zu scenes; largest difference of a blended pixel in a matching frame: %d\n",
                vt::scenes().size(), largest_step);
}

// The comparison itself, on a small frame: what it lets through and what it reports.
TEST(GoldenFrames, ComparisonAllowsStepsOnlyOnBlendedPixels) {
    constexpr int32_t w = 8, h = 4;
    const std::vector<SDL_Rect> blended = {{0, 0, 4, 2}};
    struct Case {
        const char *what;
        int32_t x, y;
        uint32_t actual;
        int32_t tolerance;
        int64_t differing, tolerated;
    } cases[] = {
        {"equal", 5, 3, 0xFF102030u, 1, 0, 0},
        {"one step outside the blend", 5, 3, 0xFF102031u, 1, 1, 0},
        {"one step inside the blend", 1, 1, 0xFF112030u, 1, 0, 1},
        {"one step inside the blend, exact renderer", 1, 1, 0xFF112030u, 0, 1, 0},
        {"two steps inside the blend", 3, 0, 0xFF101E30u, 1, 1, 0},
        {"alpha only, just outside the blend", 4, 1, 0x00102030u, 1, 1, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint32_t> golden(w * h, 0xFF102030u);
        std::vector<uint32_t> actual = golden;
        actual[static_cast<size_t>(c.y) * w + c.x] = c.actual;
        const vt::FrameDifference d = vt::compare_frames(golden, actual, w, h, blended, c.tolerance);
        EXPECT_EQ(d.differing, c.differing);
        EXPECT_EQ(d.tolerated, c.tolerated);
        if (c.differing > 0) {
            EXPECT_EQ(d.first_x, c.x);
            EXPECT_EQ(d.first_y, c.y);
            EXPECT_EQ(d.expected, 0xFF102030u);
            EXPECT_EQ(d.actual, c.actual);
            const auto picture = vt::difference_picture(golden, actual, w, h, blended, c.tolerance);
            EXPECT_EQ(picture[static_cast<size_t>(c.y) * w + c.x], 0xFFFF0000u);
        }
    }
}

// The rectangles the gate allows a blend tolerance on are exactly the pixels the
// overlays blend: painted over white and over black, a pixel differs only where a
// dimming layer's translucent fill is the last thing drawn on it.
class BlendedRects : public vt::SurfaceCanvas {
protected:
    void SetUp() override {
        SurfaceCanvas::SetUp();
        build_font_atlases(vl.renderer);
    }
    void TearDown() override {
        release_font_atlases();
        vl.confirm_open = false;
        vl.keypad_field = -1;
        SurfaceCanvas::TearDown();
    }
    // The overlays in paint_frame's order over a plain grey frame.
    std::vector<uint32_t> overlays_over(uint8_t grey, bool confirm, int32_t keypad) {
        SDL_SetRenderDrawColor(vl.renderer, grey, grey, grey, 255);
        SDL_RenderClear(vl.renderer);
        vl.confirm_open = confirm;
        vl.keypad_field = keypad;
        std::snprintf(vl.fields[1], sizeof vl.fields[1], "%s", "10.0.0.2");
        std::snprintf(vl.fields[2], sizeof vl.fields[2], "%s", "7777");
        if (confirm) paint_confirm_overlay();
        if (keypad >= 0) paint_keypad_overlay();
        std::vector<uint32_t> out(kW * kH);
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 0; x < kW; ++x) out[static_cast<size_t>(y) * kW + x] = at(x, y);
        return out;
    }
};

TEST_F(BlendedRects, CoverExactlyWhatTheDimmingLayersBlend) {
    struct Case {
        bool confirm;
        int32_t keypad;
        bool later_panel_covers_some;  // the keypad's panel hides part of the dialog's layer
    } cases[] = {{true, -1, false}, {false, 1, false}, {false, 2, false}, {true, 2, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "confirm " << c.confirm << ", keypad " << c.keypad);
        const std::vector<uint32_t> over_white = overlays_over(255, c.confirm, c.keypad);
        const std::vector<uint32_t> over_black = overlays_over(0, c.confirm, c.keypad);
        SDL_Rect rects[kBlendedRectsMax];
        const int32_t count = blended_rects(c.confirm, c.keypad, rects);
        ASSERT_GT(count, 0);
        auto inside = [&](int32_t x, int32_t y) {
            for (int32_t i = 0; i < count; ++i)
                if (x >= rects[i].x && x < rects[i].x + rects[i].w && y >= rects[i].y && y < rects[i].y + rects[i].h)
                    return true;
            return false;
        };
        int64_t escaped = 0, unblended = 0;
        for (int32_t y = 0; y < kH; ++y)
            for (int32_t x = 0; x < kW; ++x) {
                const size_t i = static_cast<size_t>(y) * kW + x;
                const bool shows_background = over_white[i] != over_black[i];
                if (shows_background && !inside(x, y)) ++escaped;
                if (!shows_background && inside(x, y)) ++unblended;
            }
        EXPECT_EQ(escaped, 0) << "blended pixels outside the rectangles";
        if (c.later_panel_covers_some) {
            EXPECT_GT(unblended, 0);
        } else {
            EXPECT_EQ(unblended, 0) << "pixels inside the rectangles that no layer blends";
        }
    }
    EXPECT_EQ(blended_rects(false, -1, nullptr), 0);
}

} // namespace
