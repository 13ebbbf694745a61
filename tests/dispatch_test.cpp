// The event dispatcher as a user meets it: real SDL events pushed into a running
// launcher, results read through the inspection exports and the settings file. The
// pointer rules that need overlapping widgets use a hand-made list outside a run.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dispatch.h"
#include "frame.h"
#include "input_steps.h"
#include "state.h"

namespace {

using Steps = std::vector<std::function<void()>>;

class Dispatch : public ::testing::Test {
protected:
    void TearDown() override { vl_set_start_page(0); }
    std::string ini() const { return dir_.file("vorla.ini"); }
    bool saved() const { return vt::file_exists(ini()); }
    void forget_save() const { std::remove(ini().c_str()); }
    vt::StepRun run_on(uint32_t page, const Steps &steps, const vl_status &status = vt::ready_status()) {
        vl_set_start_page(page);
        return vt::run_steps(ini(), steps, status);
    }

private:
    vt::TempDir dir_;
};

constexpr uint32_t kMain = 0, kKeyboard = 1, kController = 2, kOnline = 3, kSettings = 4;

// Centre of a widget of the current list, in window coordinates (the default window
// shows the 960x600 frame unscaled).
void centre_of(const char *id, int32_t *x, int32_t *y) {
    int32_t wx = 0, wy = 0, ww = 0, wh = 0;
    ASSERT_EQ(vl_test_widget(id, &wx, &wy, &ww, &wh), 1) << id;
    *x = wx + ww / 2;
    *y = wy + wh / 2;
}

void click_on(const char *id) {
    int32_t x = 0, y = 0;
    centre_of(id, &x, &y);
    vt::push_click(x, y);
}

TEST_F(Dispatch, HeldDownMovesOnceWhileHeldLeftAndRightKeepSteppingTheVolume) {
    const vt::StepRun run = run_on(kSettings, {
        [] { vt::push_held_key(SDLK_DOWN, 4); },  // from "back": one move to "size1"
        [] {
            EXPECT_STREQ(vl_test_focus(), "size1");
            vl_test_set_focus("volume");
            vt::push_held_key(SDLK_LEFT, 3);  // 100 -> 85
        },
        [&] {
            EXPECT_EQ(vt::ini_value(ini(), "volume"), "85");
            vt::push_held_key(SDLK_RIGHT, 2);  // 85 -> 95
        },
        [&] {
            EXPECT_EQ(vt::ini_value(ini(), "volume"), "95");
            EXPECT_STREQ(vl_test_focus(), "volume");
            vt::push_key(SDLK_UP, 0, true);  // a repeated Up does nothing
        },
        [] { EXPECT_STREQ(vl_test_focus(), "volume"); },
    });
    EXPECT_TRUE(run.timed_out);
    EXPECT_EQ(vt::ini_value(ini(), "volume"), "95");
}

TEST_F(Dispatch, EscapeEndsEditingThenGoesBackThenQuits) {
    const vt::StepRun run = run_on(kOnline, {
        [] { click_on("online_name"); },
        [] {
            EXPECT_EQ(vl_test_editing(), 0);
            vt::push_key(SDLK_ESCAPE);
        },
        [] {
            EXPECT_EQ(vl_test_editing(), -1);
            EXPECT_STREQ(vl_test_page(), "online");
            vt::push_key(SDLK_ESCAPE);
        },
        [] {
            EXPECT_STREQ(vl_test_page(), "main");
            vt::push_key(SDLK_ESCAPE);
        },
        [] { ADD_FAILURE() << "Escape on the main page did not end the run"; },
    });
    EXPECT_FALSE(run.timed_out);
    EXPECT_EQ(run.steps_run, 4);
    EXPECT_EQ(run.exit_code, 0);
}

TEST_F(Dispatch, EscapeClosesTheConfirmationDialogBeforeLeavingThePage) {
    const vt::StepRun run = run_on(kSettings, {
        [] { click_on("save_import"); },
        [] {
            EXPECT_EQ(vl_test_confirm(), 1);
            vt::push_key(SDLK_ESCAPE);
        },
        [] {
            EXPECT_EQ(vl_test_confirm(), 0);
            EXPECT_STREQ(vl_test_page(), "settings");
            EXPECT_STREQ(vl_test_focus(), "back");
            vt::push_key(SDLK_ESCAPE);
        },
        [] { EXPECT_STREQ(vl_test_page(), "main"); },
    });
    EXPECT_TRUE(run.timed_out);
}

TEST_F(Dispatch, TabCyclesAndReturnSpaceAndKeypadEnterActivate) {
    Steps steps = {
        [] { vt::push_key(SDLK_TAB); },
        [] {
            EXPECT_STREQ(vl_test_focus(), "settings");
            vt::push_key(SDLK_TAB, KMOD_LSHIFT);
            vt::push_key(SDLK_TAB, KMOD_RSHIFT);
        },
        [] {
            EXPECT_STREQ(vl_test_focus(), "quit");  // back past "play", wrapping to the end
            vt::push_key(SDLK_TAB);
        },
        [] {
            EXPECT_STREQ(vl_test_focus(), "play");
            vl_test_set_focus("settings");
            vt::push_key(SDLK_RETURN, 0, true);  // a repeated Return is not a press
        },
        [] { EXPECT_STREQ(vl_test_page(), "main"); },
    };
    for (SDL_Keycode key : {SDLK_RETURN, SDLK_SPACE, SDLK_KP_ENTER}) {
        steps.push_back([key] {
            vl_test_set_focus("settings");
            vt::push_key(key);
        });
        steps.push_back([key] {
            EXPECT_STREQ(vl_test_page(), "settings") << SDL_GetKeyName(key);
            vt::push_key(SDLK_ESCAPE);
        });
        steps.push_back([key] { EXPECT_STREQ(vl_test_page(), "main") << SDL_GetKeyName(key); });
    }
    EXPECT_TRUE(run_on(kMain, steps).timed_out);
}

TEST_F(Dispatch, KeyCaptureRejectsUnusableAndReservedKeysUntilABindingOrEscape) {
    struct Rejected {
        SDL_Keycode key;
        const char *note;
    };
    const Rejected rejected[] = {
        {SDLK_EQUALS, "That key cannot be used - press another"},
        {SDLK_SEMICOLON, "That key cannot be used - press another"},
        {SDLK_LEFTBRACKET, "That key cannot be used - press another"},
        {SDLK_HASH, "That key cannot be used - press another"},
        {static_cast<SDL_Keycode>(0x40000fff), "That key cannot be used - press another"},  // no name
        // "ö" (C3 B6): vorla.ini holds printable ASCII only, so the file could not keep it.
        {static_cast<SDL_Keycode>(0xF6), "That key cannot be used - press another"},
        {SDLK_F11, "F11 is reserved - press another key"},
        {SDLK_F1, "F1 is reserved - press another key"},
    };
    Steps steps = {[] { click_on("btn_b"); }};
    for (const Rejected &r : rejected) {
        steps.push_back([r] {
            EXPECT_EQ(vl_test_capture(), 1);
            vt::push_key(r.key);
        });
        steps.push_back([r] {
            EXPECT_STREQ(vl_test_note(), r.note) << "key 0x" << std::hex << r.key;
            EXPECT_EQ(vl_test_capture(), 1) << "key 0x" << std::hex << r.key;
        });
    }
    steps.push_back([] { vt::push_key(SDLK_ESCAPE); });
    steps.push_back([] {
        EXPECT_EQ(vl_test_capture(), -1);
        EXPECT_STREQ(vl_test_note(), "Cancelled");
        EXPECT_STREQ(vl_test_page(), "keyboard");  // Escape cancelled; it did not go back
        click_on("btn_b");
    });
    steps.push_back([] { vt::push_key(SDLK_q); });
    steps.push_back([&] {
        EXPECT_EQ(vl_test_capture(), -1);
        EXPECT_STREQ(vl_test_note(), "B = Q");
        EXPECT_EQ(vt::ini_value(ini(), "b"), "Q");
    });
    EXPECT_TRUE(run_on(kKeyboard, steps).timed_out);
    EXPECT_EQ(vt::ini_value(ini(), "b"), "Q");
}

TEST_F(Dispatch, LeftPressCancelsACaptureAndEndsEditing) {
    EXPECT_TRUE(run_on(kKeyboard, {
        [] { click_on("btn_a"); },
        [] {
            EXPECT_EQ(vl_test_capture(), 0);
            vt::push_click(480, 590);  // empty floor of the page
        },
        [] {
            EXPECT_EQ(vl_test_capture(), -1);
            EXPECT_STREQ(vl_test_note(), "Cancelled");
            EXPECT_STREQ(vl_test_page(), "keyboard");
        },
    }).timed_out);

    EXPECT_TRUE(run_on(kOnline, {
        [] { click_on("online_port"); },
        [] {
            EXPECT_EQ(vl_test_editing(), 2);
            vt::push_text("1");
            vt::push_click(700, 100);  // nothing there
        },
        [&] {
            EXPECT_EQ(vl_test_editing(), -1);
            EXPECT_STREQ(vl_test_note(), "");  // no capture, so nothing was cancelled
            EXPECT_EQ(vt::ini_value(ini(), "port"), "47900");  // 479001 is no port
        },
    }).timed_out);
}

TEST_F(Dispatch, CaptureOnTheControllerPageIgnoresKeysButEscape) {
    EXPECT_TRUE(run_on(kController, {
        [] {
            vl_test_fake_pad(1, 0, 0);
            click_on("btn_a");
        },
        [] {
            EXPECT_EQ(vl_test_capture(), 0);
            vt::push_key(SDLK_q);
            vt::push_key(SDLK_EQUALS);
        },
        [] {
            EXPECT_EQ(vl_test_capture(), 0);
            EXPECT_STREQ(vl_test_note(), "");
            vt::push_key(SDLK_ESCAPE);
        },
        [] {
            EXPECT_EQ(vl_test_capture(), -1);
            EXPECT_STREQ(vl_test_note(), "Cancelled");
            EXPECT_STREQ(vl_test_page(), "controller");
        },
    }).timed_out);
}

TEST_F(Dispatch, TypingPastingAndBackspaceEditTheFieldBeingTypedInto) {
    EXPECT_TRUE(run_on(kOnline, {
        [] {
            vt::push_text("Q");  // not editing: dropped
            click_on("online_name");
        },
        [] {
            EXPECT_STREQ(vl_test_field(0), "Player");
            vt::push_text("X");
            SDL_SetClipboardText("Yz");
            vt::push_key(SDLK_v, KMOD_LCTRL);
            vt::push_key(SDLK_v);  // without Ctrl the letter comes as text input, not here
        },
        [] {
            EXPECT_STREQ(vl_test_field(0), "PlayerXYz");
            vt::push_held_key(SDLK_BACKSPACE, 3);
        },
        [] {
            EXPECT_STREQ(vl_test_field(0), "Player");
            vt::push_held_key(SDLK_BACKSPACE, 7);  // one more than there is
            vt::push_text("a\xC3\xA9");
        },
        [] {
            EXPECT_STREQ(vl_test_field(0), "a\xC3\xA9");
            vt::push_key(SDLK_BACKSPACE);  // the two bytes of the é go together
        },
        [] {
            EXPECT_STREQ(vl_test_field(0), "a");
            EXPECT_EQ(vl_test_editing(), 0);
            vt::push_key(SDLK_DOWN);
        },
        [] {
            EXPECT_EQ(vl_test_editing(), -1);
            EXPECT_STREQ(vl_test_focus(), "online_addr");
            click_on("online_port");
        },
        [] { vt::push_key(SDLK_TAB); },
        [] {
            EXPECT_EQ(vl_test_editing(), -1);
            EXPECT_STREQ(vl_test_focus(), "online_p2");
            click_on("online_port");
        },
        [] { vt::push_key(SDLK_TAB, KMOD_LSHIFT); },
        [] {
            EXPECT_EQ(vl_test_editing(), -1);
            EXPECT_STREQ(vl_test_focus(), "online_addr");
        },
    }).timed_out);
}

TEST_F(Dispatch, DraggingTheVolumeClampsAtBothEndsAndSavesOnlyChanges) {
    // volume slider: x 597, width 315, y 142..163
    EXPECT_TRUE(run_on(kSettings, {
        [] { vt::push_mouse_button(754, 150, true); },  // (100 x 157 + 157) / 315 = 50
        [&] {
            EXPECT_STREQ(vl_test_focus(), "volume");
            EXPECT_EQ(vt::ini_value(ini(), "volume"), "50");
            vt::push_mouse_move(10, 400);  // far left, off the slider
        },
        [&] {
            EXPECT_EQ(vt::ini_value(ini(), "volume"), "0");
            vt::push_mouse_move(950, 20);  // far right
        },
        [&] {
            EXPECT_EQ(vt::ini_value(ini(), "volume"), "100");
            forget_save();
            vt::push_mouse_move(955, 150);  // still 100
        },
        [&] {
            EXPECT_FALSE(saved());
            vt::push_mouse_move(700, 150);  // (100 x 103 + 157) / 315 = 33
        },
        [&] {
            EXPECT_EQ(vt::ini_value(ini(), "volume"), "33");
            vt::push_mouse_button(700, 150, false);
        },
        [&] {
            forget_save();
            vt::push_mouse_move(800, 150);  // the drag has ended
        },
        [&] {
            EXPECT_FALSE(saved());
            EXPECT_EQ(vl.settings.volume, 33);
        },
    }).timed_out);
}

TEST_F(Dispatch, EventsOfAnotherWindowAreIgnoredAndWindowZeroIsOurs) {
    auto foreign = [] { return vl_test_window_id() + 1; };
    EXPECT_TRUE(run_on(kSettings, {
        [&] {
            SDL_Event e{};
            e.type = SDL_KEYDOWN;
            e.key.windowID = foreign();
            e.key.keysym.sym = SDLK_ESCAPE;
            SDL_PushEvent(&e);
            e = SDL_Event{};
            e.type = SDL_MOUSEBUTTONDOWN;
            e.button.windowID = foreign();
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = 880;  // "done"
            e.button.y = 570;
            SDL_PushEvent(&e);
            e = SDL_Event{};
            e.type = SDL_MOUSEMOTION;
            e.motion.windowID = foreign();
            e.motion.x = 880;
            e.motion.y = 570;
            SDL_PushEvent(&e);
        },
        [&] {
            EXPECT_STREQ(vl_test_page(), "settings");
            EXPECT_STREQ(vl_test_focus(), "back");
            EXPECT_EQ(vl.hover, -1);
            vl_test_set_focus("volume");
            SDL_Event e{};
            e.type = SDL_MOUSEBUTTONDOWN;
            e.button.windowID = foreign();
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = 600;
            e.button.y = 150;
            SDL_PushEvent(&e);
        },
        [&] {
            EXPECT_EQ(vl.drag_slider, 0);
            EXPECT_EQ(vl.settings.volume, 100);
            SDL_Event e{};
            e.type = SDL_KEYDOWN;
            e.key.windowID = 0;
            e.key.keysym.sym = SDLK_ESCAPE;
            SDL_PushEvent(&e);
        },
        [] { EXPECT_STREQ(vl_test_page(), "main"); },
    }).timed_out);

    EXPECT_TRUE(run_on(kOnline, {
        [] { click_on("online_port"); },
        [&] {
            SDL_Event e{};
            e.type = SDL_TEXTINPUT;
            e.text.windowID = foreign();
            std::snprintf(e.text.text, sizeof e.text.text, "%s", "9");
            SDL_PushEvent(&e);
        },
        [] { EXPECT_STREQ(vl_test_field(2), "47900"); },
    }).timed_out);
}

// ---- Pointer rules on a hand-made list, outside a run (identity mouse mapping) ----

class PointerList : public ::testing::Test {
protected:
    void SetUp() override {
        default_settings(&vl.settings);
        std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", dir_.file("vorla.ini").c_str());
        vl.window = nullptr;
        vl.page = kPageSettings;
        vl.capture = -1;
        vl.editing_field = -1;
        vl.keypad_field = -1;
        vl.confirm_open = false;
        vl.drag_slider = 0;
        vl.hover = -1;
        vl.running = true;
        vl.exit_code = 0;
        vl.widget_count = 0;
        add("volume", kSlider, 100, 100, 200, 40, 1);
        add("quit", kButton, 150, 100, 50, 40, 0);  // disabled, drawn over the slider
        add("other", kButton, 400, 400, 50, 40, 1);
        vl.focus = 2;
        vl.settings.volume = 70;
    }
    static void add(const char *id, int32_t kind, int32_t x, int32_t y, int32_t w, int32_t h, int32_t enabled) {
        vl_widget &out = vl.widgets[vl.widget_count++];
        out = vl_widget{};
        out.id = id;
        out.kind = kind;
        out.x = x;
        out.y = y;
        out.w = w;
        out.h = h;
        out.enabled = enabled;
        out.slot = -1;
    }
    static void mouse(uint32_t type, int32_t x, int32_t y, uint8_t button = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = type;
        if (type == SDL_MOUSEMOTION) {
            e.motion.x = x;
            e.motion.y = y;
        } else {
            e.button.button = button;
            e.button.x = x;
            e.button.y = y;
        }
        dispatch_event(&e);
    }

private:
    vt::TempDir dir_;
};

TEST_F(PointerList, HoverIsTheTopmostWidgetUnderThePointerDisabledIncluded) {
    struct Case {
        int32_t x, y, hover;
    };
    const Case cases[] = {
        {160, 110, 1}, {110, 110, 0}, {299, 139, 0}, {300, 110, -1}, {110, 140, -1}, {100, 100, 0}, {5, 5, -1},
    };
    for (const Case &c : cases) {
        mouse(SDL_MOUSEMOTION, c.x, c.y);
        EXPECT_EQ(vl.hover, c.hover) << "(" << c.x << ", " << c.y << ")";
    }
}

TEST_F(PointerList, PressOnADisabledWidgetOverAnEnabledOneDoesNothing) {
    mouse(SDL_MOUSEBUTTONDOWN, 160, 110);
    EXPECT_EQ(vl.focus, 2);
    EXPECT_EQ(vl.drag_slider, 0);
    EXPECT_EQ(vl.settings.volume, 70);
    EXPECT_TRUE(vl.running);

    // Beside the disabled button the slider underneath takes the press and the drag.
    mouse(SDL_MOUSEBUTTONDOWN, 120, 110);  // (100 x 20 + 100) / 200 = 10
    EXPECT_EQ(vl.focus, 0);
    EXPECT_EQ(vl.drag_slider, 1);
    EXPECT_EQ(vl.settings.volume, 10);
    mouse(SDL_MOUSEMOTION, 160, 110);  // over the disabled button the drag goes on
    EXPECT_EQ(vl.settings.volume, 30);
    mouse(SDL_MOUSEBUTTONUP, 160, 110, SDL_BUTTON_RIGHT);  // only the left button ends it
    EXPECT_EQ(vl.drag_slider, 1);
    mouse(SDL_MOUSEBUTTONUP, 160, 110);
    EXPECT_EQ(vl.drag_slider, 0);
    EXPECT_TRUE(vl.running);
}

TEST_F(PointerList, OtherButtonsDoNotPressAndADisabledSliderIsNotDragged) {
    mouse(SDL_MOUSEBUTTONDOWN, 120, 110, SDL_BUTTON_RIGHT);
    EXPECT_EQ(vl.focus, 2);
    EXPECT_EQ(vl.drag_slider, 0);

    vl.capture = 4;
    mouse(SDL_MOUSEBUTTONDOWN, 5, 5);  // nothing there, but a capture still ends
    EXPECT_EQ(vl.capture, -1);
    EXPECT_STREQ(vl.note, "Cancelled");
    EXPECT_EQ(vl.note_is_error, 0);

    // A drag under way only moves enabled sliders of the dragged id.
    vl.drag_slider = 1;
    vl.widgets[0].enabled = 0;
    mouse(SDL_MOUSEMOTION, 280, 110);
    EXPECT_EQ(vl.settings.volume, 70);
    vl.widgets[0].enabled = 1;
    vl.drag_slider = 2;  // the deadzone is dragged, not the volume
    mouse(SDL_MOUSEMOTION, 280, 110);
    EXPECT_EQ(vl.settings.volume, 70);
    vl.drag_slider = 1;
    mouse(SDL_MOUSEMOTION, 280, 110);
    EXPECT_EQ(vl.settings.volume, 90);
}

// Escape quits only from the bare main page; an overlay open over it is closed instead.
TEST_F(PointerList, EscapeOnTheMainPageClosesAnOpenOverlayInsteadOfQuitting) {
    struct Case {
        const char *name;
        bool confirm_open;
        int32_t keypad_field;
    };
    const Case cases[] = {{"confirmation dialog", true, -1}, {"keypad", false, 2}};
    for (const Case &c : cases) {
        vl.page = kPageMain;
        vl.confirm_open = c.confirm_open;
        vl.keypad_field = c.keypad_field;
        std::snprintf(vl.keypad_backup, sizeof vl.keypad_backup, "%s", "47900");
        vl.running = true;
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = SDLK_ESCAPE;
        dispatch_event(&e);
        EXPECT_TRUE(vl.running) << c.name;
        EXPECT_FALSE(vl.confirm_open) << c.name;
        EXPECT_EQ(vl.keypad_field, -1) << c.name;

        dispatch_event(&e);  // now nothing is open
        EXPECT_FALSE(vl.running) << c.name;
        EXPECT_EQ(vl.exit_code, 0) << c.name;
    }
}

TEST(SliderRule, ValueFromThePointerPosition) {
    struct Case {
        int32_t x, w, maximum, lx, value;
    };
    const Case cases[] = {
        {300, 200, 100, 300, 0},       {300, 200, 100, 401, 51},     {300, 200, 100, 520, 100},
        {300, 200, 100, 299, 0},       {300, 200, 100, 0, 0},        {300, 200, 100, 499, 100},
        {300, 200, 100, 498, 99},      {300, 200, 100, 300 + 1, 1},  {300, 200, 100, 300 - 1000, 0},
        {398, 210, 32767, 503, 16384}, {290, 195, 2, 339, 1},        {290, 195, 2, 436, 1},
        {290, 195, 2, 437, 2},         {10, 1, 100, 10, 0},          {10, 1, 100, 11, 100},
        {10, 0, 100, 10, 0},           {10, -5, 100, 11, 100},       {0, 200, 32767, 2000000000, 32767},
        {0, 200, 32767, -2000000000, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(slider_value_at(c.x, c.w, c.maximum, c.lx), c.value)
            << "x " << c.x << " w " << c.w << " max " << c.maximum << " lx " << c.lx;
}

} // namespace
