// Presentation: the present rectangle per scaling rule, the mouse mapping back to logical
// pixels, the window size per scale, full screen on and off, and the hidden-window skip.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "../ui/draw/palette.h"
#include "../ui/frame/present_rect.h"
#include "../ui/frame/state.h"
#include "frame/frame.h"
#include "test_support.h"

namespace {

struct Rect {
    int32_t x, y, w, h;
    bool operator==(const Rect &o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};
std::ostream &operator<<(std::ostream &out, const Rect &r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.w << " x " << r.h << ")";
}
Rect of(const SDL_Rect &r) { return {r.x, r.y, r.w, r.h}; }

struct WorkedRow {
    int32_t w, h;
    Rect integer, fit, stretch;
};

// clang-format off
const WorkedRow kWorked[] = {
    { 960,  600, {  0,   0,  960,  600}, {  0,  0,  960,  600}, {0, 0,  960,  600}},
    {1280,  720, {160,  60,  960,  600}, { 64,  0, 1152,  720}, {0, 0, 1280,  720}},
    {1920, 1080, {480, 240,  960,  600}, { 96,  0, 1728, 1080}, {0, 0, 1920, 1080}},
    {2560, 1440, {320, 120, 1920, 1200}, {128,  0, 2304, 1440}, {0, 0, 2560, 1440}},
    {1440,  960, {240, 180,  960,  600}, {  0, 30, 1440,  900}, {0, 0, 1440,  960}},
    { 800,  500, {  0,   0,  800,  500}, {  0,  0,  800,  500}, {0, 0,  800,  500}},
    // The minimum window: the whole frame at half size in every mode.
    { 480,  300, {  0,   0,  480,  300}, {  0,  0,  480,  300}, {0, 0,  480,  300}},
};
// clang-format on

TEST(PresentRect, WorkedTable) {
    for (const WorkedRow &row : kWorked) {
        SCOPED_TRACE(testing::Message() << row.w << " x " << row.h);
        EXPECT_EQ(of(present_rect_for(row.w, row.h, 0)), row.integer);
        EXPECT_EQ(of(present_rect_for(row.w, row.h, 1)), row.fit);
        EXPECT_EQ(of(present_rect_for(row.w, row.h, 2)), row.stretch);
        // Unknown rules act as fit.
        EXPECT_EQ(of(present_rect_for(row.w, row.h, 3)), row.fit);
        EXPECT_EQ(of(present_rect_for(row.w, row.h, -1)), row.fit);
    }
}

TEST(PresentRect, DegenerateOutputsStayFinite) {
    EXPECT_EQ(of(present_rect_for(0, 0, 0)), (Rect{0, 0, 0, 0}));
    EXPECT_EQ(of(present_rect_for(1, 1, 1)), (Rect{0, 0, 1, 1}));
    // Wide output: height decides; tall output: width decides.
    EXPECT_EQ(of(present_rect_for(3000, 600, 1)), (Rect{1020, 0, 960, 600}));
    EXPECT_EQ(of(present_rect_for(960, 3000, 0)), (Rect{0, 1200, 960, 600}));
}

// A shown window with a software renderer whose output is exactly the window size.
class Video : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        vl.settings.scaling = 0;
        vl.settings.scale = 4;
        vl.settings.fullscreen = 0;
        // No dialog over the page (a zeroed record would mean the keypad on field 0).
        vl.confirm_open = false;
        vl.keypad_field = -1;
        vl.note[0] = '\0';
    }
    void TearDown() override {
        close();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    void open(int32_t w, int32_t h, uint32_t flags = SDL_WINDOW_SHOWN) {
        close();
        vl.window = SDL_CreateWindow("present", 0, 0, w, h, flags);
        ASSERT_NE(vl.window, nullptr) << SDL_GetError();
        vl.renderer = SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(vl.renderer, nullptr) << SDL_GetError();
        vl.target = SDL_CreateTexture(vl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 960, 600);
        ASSERT_NE(vl.target, nullptr) << SDL_GetError();
    }
    static void close() {
        if (vl.target) SDL_DestroyTexture(vl.target);
        if (vl.renderer) SDL_DestroyRenderer(vl.renderer);
        if (vl.window) SDL_DestroyWindow(vl.window);
        vl.target = nullptr;
        vl.renderer = nullptr;
        vl.window = nullptr;
    }
    static std::vector<uint32_t> window_pixels(int32_t w, int32_t h) {
        std::vector<uint32_t> p(static_cast<size_t>(w) * h, 0);
        if (SDL_RenderReadPixels(vl.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, p.data(), w * 4) != 0) p.clear();
        return p;
    }
};

TEST_F(Video, ComputePresentRectReadsTheRendererOutput) {
    for (const WorkedRow &row : kWorked) {
        SCOPED_TRACE(testing::Message() << row.w << " x " << row.h);
        open(row.w, row.h);
        int ow = 0, oh = 0;
        SDL_GetRendererOutputSize(vl.renderer, &ow, &oh);
        ASSERT_EQ(ow, row.w);
        ASSERT_EQ(oh, row.h);
        const Rect expected[] = {row.integer, row.fit, row.stretch};
        for (int32_t scaling = 0; scaling < 3; ++scaling) {
            vl.settings.scaling = scaling;
            compute_present_rect();
            EXPECT_EQ(of(vl.present_rect), expected[scaling]) << "scaling " << scaling;
        }
    }
    // Without a renderer the frame's own size is the basis.
    close();
    vl.settings.scaling = 0;
    vl.present_rect = SDL_Rect{1, 2, 3, 4};
    compute_present_rect();
    EXPECT_EQ(of(vl.present_rect), (Rect{0, 0, 960, 600}));
}

TEST_F(Video, MouseMapsBackToLogicalPixels) {
    struct Case {
        int32_t scaling, mx, my, lx, ly;
    } cases[] = {
        {0, 480, 240, 0, 0},     {0, 479, 240, -1, 0},    {0, 480, 239, 0, -1},   {0, 1439, 839, 959, 599},
        {0, 1440, 840, 960, 600}, {0, 0, 0, -480, -240},
        {1, 95, 0, 0, 0},        {1, 94, 0, -1, 0},        {1, 96, 540, 0, 300},   {1, 1823, 1079, 959, 599},
        {1, 1824, 0, 960, 0},
        {2, 0, 0, 0, 0},         {2, 1919, 1079, 959, 599}, {2, 960, 540, 480, 300},
    };
    open(1920, 1080);
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "scaling " << c.scaling << " at " << c.mx << ", " << c.my);
        vl.settings.scaling = c.scaling;
        int32_t lx = 12345, ly = 12345;
        map_mouse(c.mx, c.my, &lx, &ly);
        EXPECT_EQ(lx, c.lx);
        EXPECT_EQ(ly, c.ly);
    }
}

TEST_F(Video, MouseMappingWithoutAWindowIsTheIdentity) {
    vl.settings.scaling = 1;
    int32_t lx = 0, ly = 0;
    map_mouse(321, 123, &lx, &ly);
    EXPECT_EQ(lx, 321);
    EXPECT_EQ(ly, 123);
}

TEST(WindowSize, FollowsTheScaleButNeverBelowTheFrame) {
    struct Case {
        int32_t scale, w, h;
    } cases[] = {{1, 960, 600}, {3, 960, 600}, {4, 960, 640}, {5, 1200, 800}, {6, 1440, 960}, {0, 960, 600},
                 {-2, 960, 600}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.scale);
        int32_t w = 0, h = 0;
        window_size_for_scale(c.scale, &w, &h);
        EXPECT_EQ(w, c.w);
        EXPECT_EQ(h, c.h);
    }
}

// The size that fits the display and the placement inside it: window_place_test.
TEST_F(Video, WindowModeAppliesSizeFullScreenAndCentring) {
    open(960, 600);
    SDL_Rect usable{};
    ASSERT_EQ(SDL_GetDisplayUsableBounds(0, &usable), 0);
    int top = 0, left = 0, bottom = 0, right = 0;
    SDL_GetWindowBordersSize(vl.window, &top, &left, &bottom, &right);  // all 0 where unknown
    int32_t w = 0, h = 0, full = -1;

    // Full screen: nothing but the flag changes.
    vl.settings.fullscreen = 1;
    vl.settings.scale = 4;
    apply_window_mode(false);
    vl_test_video(nullptr, nullptr, &full);
    EXPECT_EQ(full, 1);
    EXPECT_TRUE(SDL_GetWindowFlags(vl.window) & SDL_WINDOW_FULLSCREEN_DESKTOP);

    // And back: windowed at the size of the scale, re-centred, borders and all, in the
    // usable area.
    vl.settings.fullscreen = 0;
    apply_window_mode(false);
    vl_test_video(&w, &h, &full);
    EXPECT_EQ(full, 0);
    EXPECT_EQ(w, 960);
    EXPECT_EQ(h, 640);
    int x = 0, y = 0;
    SDL_GetWindowPosition(vl.window, &x, &y);
    EXPECT_EQ(x, usable.x + (usable.w - left - 960 - right) / 2 + left);
    EXPECT_EQ(y, usable.y + (usable.h - top - 640 - bottom) / 2 + top);

    // keep_position leaves a moved window where it is.
    SDL_SetWindowPosition(vl.window, usable.x + left + 10, usable.y + top + 20);
    vl.settings.scale = 3;
    apply_window_mode(true);
    vl_test_video(&w, &h, &full);
    EXPECT_EQ(w, 960);
    EXPECT_EQ(h, 600);
    SDL_GetWindowPosition(vl.window, &x, &y);
    EXPECT_EQ(x, usable.x + left + 10);
    EXPECT_EQ(y, usable.y + top + 20);

    // Without a window nothing happens (and nothing crashes).
    close();
    vl.settings.fullscreen = 1;
    apply_window_mode(false);
    vl_test_video(&w, &h, &full);
    EXPECT_EQ(full, 0);
}

// Start-up applies the file's window mode; a mouse point in the letterbox hits nothing.
TEST(WindowModeRun, StartUpUsesTheSettingsFile) {
    struct Case {
        const char *ini;
        int32_t w, h, full;
    } cases[] = {
        {"[video]\r\nscale=4\r\nfullscreen=0\r\n", 960, 640, 0},
        {"[video]\r\nscale=2\r\nfullscreen=0\r\n", 960, 600, 0},
        {"[video]\r\nscale=5\r\nfullscreen=1\r\n", -1, -1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.ini);
        vt::TempDir dir;
        vt::write_file(dir.file("vorla.ini"), c.ini);
        vt::Host host;
        int32_t w = 0, h = 0, full = -1;
        host.status = [&](vl_status &, int call) {
            if (call == 2) {
                vl_test_video(&w, &h, &full);
                vt::push_quit();
            }
        };
        host.max_calls = 50;
        vt::run_host(dir.file("vorla.ini"), host);
        EXPECT_EQ(full, c.full);
        if (c.w > 0) {
            EXPECT_EQ(w, c.w);
            EXPECT_EQ(h, c.h);
        }
    }
}

TEST_F(Video, HiddenWindowIsNeitherPaintedNorPresented) {
    open(960, 600, SDL_WINDOW_HIDDEN);
    vl.page = 0;
    vl.widget_count = 0;
    vl.text_log_count = 77;  // a frame would reset this
    vl.present_rect = SDL_Rect{1, 2, 3, 4};
    present_frame();
    EXPECT_EQ(vl.text_log_count, 77);
    EXPECT_EQ(of(vl.present_rect), (Rect{1, 2, 3, 4}));

    SDL_ShowWindow(vl.window);
    present_frame();
    EXPECT_NE(vl.text_log_count, 77);
    EXPECT_EQ(of(vl.present_rect), (Rect{0, 0, 960, 600}));
}

TEST_F(Video, FrameIsCopiedIntoThePresentRectOverTheLetterbox) {
    vl.page = 0;
    vl.widget_count = 0;
    vl.status = vl_status{};
    const uint32_t accent = vt::argb(col_accent);
    const uint32_t letterbox = 0xFF12122Au;
    struct Case {
        int32_t scaling;
        int32_t inside_x, inside_y;    // output pixel inside the logo square (logical 28..37)
        int32_t outside_x, outside_y;  // output pixel just left of it
    } cases[] = {{0, 480 + 30, 240 + 30, 480 + 27, 240 + 30}, {1, 96 + 52, 52, 96 + 48, 52}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.scaling);
        open(1920, 1080);
        vl.settings.scaling = c.scaling;
        // Paint the window in another colour first: the letterbox must cover it.
        SDL_SetRenderDrawColor(vl.renderer, 200, 0, 0, 255);
        SDL_RenderClear(vl.renderer);
        present_frame();
        const auto p = window_pixels(1920, 1080);
        ASSERT_FALSE(p.empty());
        auto at = [&](int32_t x, int32_t y) { return p[static_cast<size_t>(y) * 1920 + x]; };
        EXPECT_EQ(at(0, 0), letterbox);
        EXPECT_EQ(at(1919, 1079), letterbox);
        EXPECT_EQ(at(c.inside_x, c.inside_y), accent);
        EXPECT_NE(at(c.outside_x, c.outside_y), accent);
    }
}

TEST(Icon, OpaqueEmblemOnATransparentGround) {
    std::vector<uint32_t> icon(32 * 32, 0xDEADBEEFu);
    make_icon(icon.data());
    int32_t opaque = 0;
    for (uint32_t p : icon) {
        EXPECT_TRUE(p == 0 || (p >> 24) == 0xFF) << std::hex << p;  // fully transparent or opaque
        opaque += p != 0;
    }
    EXPECT_EQ(icon[0], 0u);  // corners stay transparent
    EXPECT_EQ(icon[31], 0u);
    EXPECT_EQ(icon[31 * 32], 0u);
    EXPECT_EQ(icon[32 * 32 - 1], 0u);
    EXPECT_NE(icon[16 * 32 + 16], 0u);
    EXPECT_GT(opaque, 32 * 32 / 2);
    // The same picture every time (the launcher and the progress window share it).
    std::vector<uint32_t> again(32 * 32, 0);
    make_icon(again.data());
    EXPECT_EQ(icon, again);
}

} // namespace
