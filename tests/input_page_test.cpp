// The keyboard and controller pages: prompt lines, the stick view and its dot.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>

#include "../ui/draw/palette.h"
#include "page_probe.h"

namespace {

const probe::Logged *find_centred(const std::vector<probe::Logged> &log, int32_t font, const char *text, int32_t y) {
    return probe::find_text(log, font, text, (960 - text_width(font, text)) / 2, y);
}

TEST(InputPage, PromptLinesWithAndWithoutCapture) {
    struct Case {
        int32_t page, capture;
        const char *line1;
        uint32_t colour1;
        const char *line2;
    } cases[] = {
        {1, -1, "Click a button to remap it", col_ink,
         "Reserved: Esc, F11, F1  -  keys are bound by position (A = X, B = Z)"},
        {2, -1, "Click a button to remap it", col_ink, "Buttons are bound by position on your controller"},
        {1, 7, "Press a key for Down...", col_accent, "Esc cancels"},
        {2, 0, "Press a button for A...", col_accent, "Esc cancels"},
        {1, 5, "Press a key for Select...", col_accent, "Esc cancels"},
        {2, 9, "Press a button for Right...", col_accent, "Esc cancels"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line1);
        probe::PageRun run;
        run.page = c.page;
        run.prepare = [&] {
            vl.capture = c.capture;
            vl_test_fake_pad(1, 0, 0);  // binding on the controller page needs a pad
        };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const probe::Logged *first = find_centred(log, 4, c.line1, 440);
            const probe::Logged *second = find_centred(log, 1, c.line2, 464);
            ASSERT_NE(first, nullptr);
            ASSERT_NE(second, nullptr);
            EXPECT_TRUE(probe::shows(frame, first, 4, c.line1, c.colour1));
            EXPECT_TRUE(probe::shows(frame, second, 1, c.line2, col_ink_soft));
        };
        probe::run_page(run);
    }
}

TEST(InputPage, StickCaptionsOnlyOnTheControllerPage) {
    for (int32_t page : {1, 2}) {
        SCOPED_TRACE(page);
        probe::PageRun run;
        run.page = page;
        run.prepare = [] { vl.settings.deadzone = 8000; };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const bool shown = page == 2;
            EXPECT_EQ(probe::find_text(log, 3, "Left stick as D-pad", 82, 505) != nullptr, shown);
            EXPECT_EQ(probe::find_text(log, 3, "Deadzone", 320, 505) != nullptr, shown);
            EXPECT_EQ(probe::shows_text(vt::snapshot(), 2, "8000", 626, 507, col_ink_soft), shown);
            // The outer circle touches (908, 508) on the controller page only.
            EXPECT_EQ(vt::pixel(vt::snapshot(), 908, 508) == vt::argb(col_well_edge), shown);
        };
        probe::run_page(run);
    }
}

TEST(InputPage, NoControllerShowsOnlyTheCaptionBesideTheCircle) {
    // fake_pad 0 counts as absent even when a real controller happens to be open.
    probe::PageRun run;
    run.page = 2;
    run.prepare = [] {
        vl.settings.deadzone = 8000;
        vl_test_fake_pad(0, 0, 0);
    };
    run.check = [] {
        const auto log = probe::logged_texts();
        const auto frame = vt::snapshot();
        const probe::Logged *t = probe::find_right(log, 0, "NO CONTROLLER", 838, 502);
        ASSERT_NE(t, nullptr);
        EXPECT_TRUE(probe::shows(frame, t, 0, "NO CONTROLLER", col_ink_dim));
        EXPECT_EQ(vt::pixel(frame, 880, 480), vt::argb(col_well_edge));
        // Neither the deadzone ring (radius 6) nor the dot.
        EXPECT_EQ(probe::count_colour(frame, 870, 498, 21, 21, col_accent), 0);
        EXPECT_EQ(probe::count_colour(frame, 870, 498, 21, 21, col_ink), 0);
        EXPECT_EQ(probe::count_colour(frame, 870, 498, 21, 21, col_good), 0);
    };
    probe::run_page(run);
}

TEST(InputPage, StickDotPositionAndColour) {
    struct Case {
        int32_t sx, sy, deadzone;
        int32_t dot_x, dot_y;
        uint32_t colour;
    } cases[] = {
        {32767, 0, 8000, 905, 505, col_good},
        {0, 0, 8000, 877, 505, col_ink},
        {-32768, -32768, 8000, 849, 477, col_good},
        {8000, 0, 8000, 883, 505, col_ink},  // on the ring: not outside
        {8001, 0, 8000, 883, 505, col_good},
        {5000, 6000, 8000, 881, 510, col_ink},  // 5000² + 6000² < 8000²
        {6000, 6000, 8000, 882, 510, col_good},
        {0, 32767, 0, 877, 533, col_good},
        // An override beyond the axis range reads as the range's end.
        {INT32_MIN, INT32_MAX, 8000, 849, 533, col_good},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.sx << "," << c.sy << " dz " << c.deadzone);
        probe::PageRun run;
        run.page = 2;
        run.prepare = [&] {
            vl.settings.deadzone = c.deadzone;
            vl_test_fake_pad(1, c.sx, c.sy);
        };
        run.check = [&] {
            const auto frame = vt::snapshot();
            EXPECT_EQ(probe::count_colour(frame, c.dot_x, c.dot_y, 7, 7, c.colour), 49);
            // Nothing of the dot's colour just outside the square on its left and top.
            EXPECT_NE(vt::pixel(frame, c.dot_x - 1, c.dot_y + 3), vt::argb(c.colour));
            EXPECT_NE(vt::pixel(frame, c.dot_x + 3, c.dot_y - 1), vt::argb(c.colour));
            EXPECT_EQ(probe::find_right(probe::logged_texts(), 0, "NO CONTROLLER", 838, 502), nullptr);
        };
        probe::run_page(run);
    }
}

TEST(InputPage, RealControllerStickAndTheAbsentOverride) {
    // A virtual controller plugged in during the run: the dot follows its left stick
    // until the override declares the controller absent.
    vt::TempDir dir;
    vl_set_start_page(2);
    SDL_Joystick *joystick = nullptr;
    SDL_JoystickID id = -1;
    bool followed = false, hidden = false;
    vt::Host host;
    host.max_calls = 300;
    host.status = [&](vl_status &, int call) {
        if (call == 1) {
            vl.settings.deadzone = 8000;
            const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                        SDL_CONTROLLER_BUTTON_MAX, 0);
            ASSERT_GE(index, 0) << SDL_GetError();
            joystick = SDL_JoystickOpen(index);
            ASSERT_NE(joystick, nullptr);
            id = SDL_JoystickInstanceID(joystick);
        }
        if (!joystick || call < 2) return;
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, 16000);
        SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, -8000);
        if (!followed && call >= 6 && vl.controller) {
            // 16000 * 28 / 32767 = 13, -8000 * 28 / 32767 = -6: outside the deadzone.
            const auto frame = vt::snapshot();
            followed = probe::count_colour(frame, 890, 499, 7, 7, col_good) == 49;
            if (followed) vl_test_fake_pad(0, 0, 0);
            return;
        }
        if (followed && !hidden && call >= 10) {
            const auto frame = vt::snapshot();
            hidden = probe::find_right(probe::logged_texts(), 0, "NO CONTROLLER", 838, 502) != nullptr &&
                     probe::count_colour(frame, 890, 499, 7, 7, col_good) == 0;
            EXPECT_NE(vl.controller, nullptr);
            // Unplugged while SDL still runs; the run then ends.
            SDL_JoystickClose(joystick);
            joystick = nullptr;
            for (int i = 0; i < SDL_NumJoysticks(); ++i)
                if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
            vt::push_quit();
        }
    };
    vt::run_host(dir.file("vorla.ini"), host);
    vl_set_start_page(0);
    EXPECT_TRUE(followed);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(host.timed_out);
}

TEST(InputPage, DeadzoneRingRadiusFollowsTheSetting) {
    struct Case {
        int32_t deadzone, radius;
    } cases[] = {{8000, 6}, {32767, 28}, {16384, 14}, {1170, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.deadzone);
        probe::PageRun run;
        run.page = 2;
        // The dot sits in the bottom right corner, clear of the ring's left and top.
        run.prepare = [&] {
            vl.settings.deadzone = c.deadzone;
            vl_test_fake_pad(1, 32767, 32767);
        };
        run.check = [&] {
            const auto frame = vt::snapshot();
            if (c.radius == 0) {
                EXPECT_EQ(vt::pixel(frame, 880, 508), vt::argb(col_accent));
                EXPECT_EQ(probe::count_colour(frame, 870, 498, 21, 21, col_accent), 1);
                return;
            }
            EXPECT_EQ(vt::pixel(frame, 880 - c.radius, 508), vt::argb(col_accent));
            EXPECT_EQ(vt::pixel(frame, 880, 508 - c.radius), vt::argb(col_accent));
            EXPECT_NE(vt::pixel(frame, 880 - c.radius - 1, 508), vt::argb(col_accent));
            EXPECT_NE(vt::pixel(frame, 880 - c.radius + 1, 508), vt::argb(col_accent));
        };
        probe::run_page(run);
    }
}

TEST(InputPage, ConsoleDrawing) {
    probe::PageRun run;
    run.page = 1;
    run.check = [] {
        const auto frame = vt::snapshot();
        EXPECT_EQ(vt::pixel(frame, 161, 300), vt::argb(rgb(52, 55, 106)));   // body edge
        EXPECT_EQ(vt::pixel(frame, 170, 300), vt::argb(rgb(31, 32, 69)));    // face
        EXPECT_EQ(vt::pixel(frame, 381, 260), vt::argb(col_well_edge));      // screen bezel
        EXPECT_EQ(vt::pixel(frame, 390, 210), vt::argb(rgb(12, 12, 28)));    // screen
        EXPECT_EQ(vt::pixel(frame, 160, 164), vt::argb(col_backdrop));       // rounded corner
        const auto log = probe::logged_texts();
        const int32_t w = text_width(6, "GBA");
        const int32_t y = 200 + (122 + h_height(6)) / 2 - font_table[6].ascent;
        EXPECT_NE(probe::find_text(log, 6, "GBA", 380 + (200 - w) / 2, y), nullptr);
    };
    probe::run_page(run);
}

} // namespace
