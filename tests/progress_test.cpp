// The progress window: failure codes, drawing read back from its software renderer,
// close requests, and SDL left clean around vl_run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "test_support.h"

namespace {

constexpr uint32_t kBackground = 0xFF181828;
constexpr uint32_t kFill = 0xFFFF78AA;
constexpr uint32_t kBarInk = 0xFFC8C8DC;
constexpr uint32_t kTitleInk = 0xFFFF9FC8;
constexpr uint32_t kTextInk = 0xFFE6E6F0;

// The window's pixels as last presented (480 x 140, ARGB8888).
std::vector<uint32_t> read_window() {
    std::vector<uint32_t> pixels(480 * 140, 0);
    SDL_Renderer *renderer = SDL_GetRenderer(progress_window_handle());
    if (!renderer || SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 480 * 4) != 0)
        pixels.clear();
    return pixels;
}

uint32_t at(const std::vector<uint32_t> &p, int x, int y) { return p.at(static_cast<size_t>(y) * 480 + x); }

// Width of the bar fill along its middle row.
int fill_width(const std::vector<uint32_t> &p) {
    int n = 0;
    for (int x = 22; x < 460; ++x) n += at(p, x, 104) == kFill;
    return n;
}

// Leftmost and rightmost inked columns in a band of rows.
std::pair<int, int> ink_span(const std::vector<uint32_t> &p, int y0, int y1, uint32_t ink) {
    int lo = 480, hi = -1;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < 480; ++x)
            if (at(p, x, y) == ink) {
                lo = std::min(lo, x);
                hi = std::max(hi, x);
            }
    return {lo, hi};
}

// The 10 x 14 cell of one character of a text line, as a string of 0/1.
std::string cell(const std::vector<uint32_t> &p, int x, int y, uint32_t ink) {
    std::string bits;
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 10; ++c) bits += at(p, x + c, y + r) == ink ? '1' : '0';
    return bits;
}

class ProgressWindow : public testing::Test {
protected:
    void TearDown() override {
        vui_close();
        EXPECT_EQ(SDL_WasInit(0), 0u);
    }
};

TEST_F(ProgressWindow, BarFillAndPercentageFollowTheClampedValue) {
    ASSERT_EQ(vui_open("Building"), 0);
    struct Case {
        int32_t percent;
        int fill;
        int percent_ink_x;  // first inked column of the right-aligned percentage
    } cases[] = {
        // pen x = 460 - 12 * length: "7%" at 436, "50%" at 424, "100%" at 412, where "1"
        // inks from its second column (412 + 2, and 436 + 2 for "1%").
        {-5, 0, 436}, {0, 0, 436}, {1, 4, 438}, {7, 30, 436}, {50, 218, 424}, {100, 436, 414}, {150, 436, 414}};
    for (const Case &c : cases) {
        ASSERT_EQ(vui_progress(c.percent, "working"), 1);
        const auto pixels = read_window();
        ASSERT_FALSE(pixels.empty());
        EXPECT_EQ(fill_width(pixels), c.fill) << c.percent;
        EXPECT_EQ(at(pixels, 20, 92), kBarInk) << "outline";
        EXPECT_EQ(at(pixels, 459, 115), kBarInk) << "outline";
        EXPECT_EQ(ink_span(pixels, 70, 84, kBarInk).first, c.percent_ink_x) << c.percent;
        EXPECT_EQ(at(pixels, 5, 5), kBackground);
    }
}

TEST_F(ProgressWindow, TextIsDrawnInCapitalsAndUnknownBytesAsQuestionMarks) {
    ASSERT_EQ(vui_open(nullptr), 0);
    ASSERT_EQ(vui_progress(10, "abc%"), 1);
    auto lower = read_window();
    ASSERT_EQ(vui_progress(10, "ABC%"), 1);
    auto upper = read_window();
    for (int k = 0; k < 4; ++k) EXPECT_EQ(cell(lower, 20 + 12 * k, 52, kTextInk), cell(upper, 20 + 12 * k, 52, kTextInk)) << k;

    ASSERT_EQ(vui_progress(10, "\xC3\xA9?"), 1);  // é is two bytes: two question marks
    auto accent = read_window();
    const std::string question = cell(accent, 44, 52, kTextInk);
    EXPECT_EQ(cell(accent, 20, 52, kTextInk), question);
    EXPECT_EQ(cell(accent, 32, 52, kTextInk), question);
    // '?' top row 0x0e: columns 1..3 inked as 2x2 squares.
    EXPECT_EQ(question.substr(0, 10), "0011111100");
    EXPECT_EQ(question.substr(10, 10), "0011111100");

    // The default title is drawn as the first line, in capitals.
    EXPECT_STREQ(SDL_GetWindowTitle(progress_window_handle()), "Vorla & The Glassmaze - Recomp");
    EXPECT_EQ(ink_span(accent, 16, 30, kTitleInk).first, 20);  // "V" (0x11) inks column 0
}

TEST_F(ProgressWindow, CloseRequestIsReportedButTheWindowStays) {
    ASSERT_EQ(vui_open("Close me"), 0);
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(progress_window_handle());
    SDL_PushEvent(&close);
    EXPECT_EQ(vui_progress(30, "x"), 0);
    ASSERT_NE(progress_window_handle(), nullptr);
    EXPECT_EQ(vui_progress(40, "x"), 1);

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(vui_progress(50, "x"), 0);

    SDL_Event drop{};
    drop.type = SDL_DROPFILE;
    drop.drop.file = SDL_strdup("/tmp/ignored.gba");  // released by vui_progress
    SDL_PushEvent(&drop);
    EXPECT_EQ(vui_progress(60, "x"), 1);
}

TEST_F(ProgressWindow, WithoutAWindowProgressReturnsZero) {
    EXPECT_EQ(vui_progress(50, "nothing"), 0);
    vui_close();  // harmless when closed
    EXPECT_EQ(vui_progress(50, nullptr), 0);
}

TEST_F(ProgressWindow, VideoFailureIsReportedWithoutLibraryPrefix) {
    vt::ScopedEnv driver("SDL_VIDEODRIVER", "no-such-driver");
    testing::internal::CaptureStderr();
    EXPECT_EQ(vui_open("x"), -1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("SDL_Init: ", 0), 0u) << err;
    EXPECT_EQ(std::string(vl_last_error()) + "\n", err) << "the host reads the same line";
    EXPECT_EQ(vui_progress(1, "x"), 0);
}

TEST_F(ProgressWindow, OpenCloseCyclesInterleavedWithLauncherRunsLeaveSdlClean) {
    vt::TempDir dir;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(vui_open("Cycle"), 0);
        EXPECT_EQ(vui_progress(i * 30, "step"), 1);
        vui_close();
        EXPECT_EQ(SDL_WasInit(0), 0u);

        vt::Host host;
        host.status = [](vl_status &, int call) {
            if (call == 1) vt::push_quit();
        };
        EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
        EXPECT_EQ(SDL_WasInit(0), 0u);
    }
    // Opened twice without a close: the second open replaces the first cleanly.
    ASSERT_EQ(vui_open("One"), 0);
    ASSERT_EQ(vui_open("Two"), 0);
    EXPECT_STREQ(SDL_GetWindowTitle(progress_window_handle()), "Two");
}

} // namespace
