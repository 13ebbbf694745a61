// Game controllers through SDL's virtual joysticks plugged into a running launcher:
// buttons, the left stick with its latch, binding capture, the keypad and hot-plug.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "dispatch.h"
#include "frame.h"
#include "input_steps.h"
#include "state.h"

namespace {

using Steps = std::vector<std::function<void()>>;

// A virtual game controller: virtual button i is controller button i.
struct Pad {
    SDL_Joystick *joystick = nullptr;
    SDL_JoystickID id = -1;

    void plug_in() {
        const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                    SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        joystick = SDL_JoystickOpen(index);
        ASSERT_NE(joystick, nullptr) << SDL_GetError();
        id = SDL_JoystickInstanceID(joystick);
    }
    void unplug() {
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        joystick = nullptr;
    }
    void hold(SDL_GameControllerButton button, bool down) const {
        SDL_JoystickSetVirtualButton(joystick, button, down ? 1 : 0);
    }
    void stick(SDL_GameControllerAxis axis, int16_t value) const { SDL_JoystickSetVirtualAxis(joystick, axis, value); }
};

// The instance id of the controller the launcher has open, -1 for none.
SDL_JoystickID open_pad() {
    return vl.controller ? SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(vl.controller)) : -1;
}

// A press is two steps, since a button changed twice between two updates is never seen.
void press(Steps &steps, Pad &pad, SDL_GameControllerButton button) {
    steps.push_back([&pad, button] { pad.hold(button, true); });
    steps.push_back([&pad, button] { pad.hold(button, false); });
}

class Controller : public ::testing::Test {
protected:
    void TearDown() override { vl_set_start_page(0); }
    std::string ini() const { return dir_.file("vorla.ini"); }
    vt::StepRun run_on(uint32_t page, const Steps &steps) {
        vl_set_start_page(page);
        return vt::run_steps(ini(), steps);
    }

private:
    vt::TempDir dir_;
};

TEST_F(Controller, DpadMovesAOpensBGoesBackAndBOnTheMainPageDoesNothing) {
    Pad pad;
    Steps steps = {[&] { pad.plug_in(); },
                   [&] {
                       EXPECT_EQ(vl_test_pad_present(), 1);
                       vl_test_set_focus("settings");
                   }};
    press(steps, pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    steps.push_back([] { EXPECT_STREQ(vl_test_focus(), "input"); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_DPAD_UP);
    steps.push_back([] { EXPECT_STREQ(vl_test_focus(), "play"); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    steps.push_back([] { EXPECT_STREQ(vl_test_focus(), "input"); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    steps.push_back([] { EXPECT_STREQ(vl_test_focus(), "settings"); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_A);
    steps.push_back([] { EXPECT_STREQ(vl_test_page(), "settings"); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);
    steps.push_back([] { EXPECT_STREQ(vl_test_page(), "main"); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);
    press(steps, pad, SDL_CONTROLLER_BUTTON_Y);  // no action of its own
    steps.push_back([] {
        EXPECT_STREQ(vl_test_page(), "main");
        EXPECT_STREQ(vl_test_focus(), "play");
    });
    const vt::StepRun run = run_on(0, steps);
    EXPECT_TRUE(run.timed_out) << "B on the main page must not end the run";
}

TEST_F(Controller, StickMovesOncePerPushAgainAfterReturningAndAtOnceWhenCrossing) {
    Pad pad;
    auto stick_x = [&](int16_t v) { return [&pad, v] { pad.stick(SDL_CONTROLLER_AXIS_LEFTX, v); }; };
    const Steps steps = {
        [&] { pad.plug_in(); },
        [] { vl_test_set_focus("settings"); },
        stick_x(25000),
        [&] {
            EXPECT_STREQ(vl_test_focus(), "input");
            pad.stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);  // still pushed: no second move
        },
        stick_x(20000),  // exactly the threshold counts as inside
        [&] {
            EXPECT_STREQ(vl_test_focus(), "input");
            pad.stick(SDL_CONTROLLER_AXIS_LEFTX, 25000);
        },
        [&] {
            EXPECT_STREQ(vl_test_focus(), "online");
            pad.stick(SDL_CONTROLLER_AXIS_LEFTX, -25000);  // straight across
        },
        [&] {
            EXPECT_STREQ(vl_test_focus(), "input");
            pad.stick(SDL_CONTROLLER_AXIS_LEFTY, -25000);
        },
        [&] {
            EXPECT_STREQ(vl_test_focus(), "play");
            pad.stick(SDL_CONTROLLER_AXIS_RIGHTY, 32000);  // only the left stick navigates
            pad.stick(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32000);
        },
        [] { EXPECT_STREQ(vl_test_focus(), "play"); },
    };
    EXPECT_TRUE(run_on(0, steps).timed_out);
}

TEST_F(Controller, CaptureOnTheControllerPageBindsAnyButtonAndSwaps) {
    Pad pad;
    Steps steps = {[&] { pad.plug_in(); }, [] { vl_test_set_focus("btn_l"); }};
    press(steps, pad, SDL_CONTROLLER_BUTTON_A);  // starts the capture of slot 2
    steps.push_back([] { EXPECT_EQ(vl_test_capture(), 2); });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);  // bound, not "go back"
    steps.push_back([] {
        EXPECT_EQ(vl_test_capture(), -1);
        EXPECT_STREQ(vl_test_page(), "controller");
        EXPECT_STREQ(vl_test_note(), "L = B  (swapped with A)");
        EXPECT_STREQ(vl.settings.buttons[2], "b");
        EXPECT_STREQ(vl.settings.buttons[0], "leftshoulder");
        vl_test_set_focus("btn_start");
    });
    press(steps, pad, SDL_CONTROLLER_BUTTON_A);
    press(steps, pad, SDL_CONTROLLER_BUTTON_A);  // A is captured too
    steps.push_back([] {
        EXPECT_EQ(vl_test_capture(), -1);
        EXPECT_STREQ(vl.settings.buttons[4], "a");
        EXPECT_STREQ(vl.settings.buttons[1], "start");
    });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);  // no capture now: back
    steps.push_back([] { EXPECT_STREQ(vl_test_page(), "main"); });
    EXPECT_TRUE(run_on(2, steps).timed_out);
}

// A key capture waits for a key: no button binds, moves or activates anything, except B,
// which cancels it as Escape does, so a player with only a controller is never stuck.
TEST_F(Controller, KeyCaptureOnTheKeyboardPageIgnoresButtonsButBCancelsIt) {
    Pad pad;
    Steps steps = {[&] { pad.plug_in(); }, [] { vl_test_set_focus("btn_a"); }};
    press(steps, pad, SDL_CONTROLLER_BUTTON_A);
    steps.push_back([] { EXPECT_EQ(vl_test_capture(), 0); });
    for (SDL_GameControllerButton ignored : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                             SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_START})
        press(steps, pad, ignored);
    steps.push_back([&] {
        pad.stick(SDL_CONTROLLER_AXIS_LEFTX, -30000);  // the stick waits during a capture too
    });
    steps.push_back([] {
        EXPECT_EQ(vl_test_capture(), 0);
        EXPECT_STREQ(vl_test_note(), "");
        EXPECT_STREQ(vl_test_page(), "keyboard");
        EXPECT_STREQ(vl_test_focus(), "btn_a");
        EXPECT_STREQ(vl.settings.keys[0], "X");
    });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);
    steps.push_back([] {
        EXPECT_EQ(vl_test_capture(), -1);
        EXPECT_STREQ(vl_test_note(), "Cancelled");
        EXPECT_EQ(vl.note_is_error, 0);
        EXPECT_STREQ(vl_test_page(), "keyboard") << "B cancels the capture only, it does not go back";
        EXPECT_STREQ(vl_test_focus(), "btn_a");
        EXPECT_STREQ(vl.settings.keys[0], "X");
    });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);  // no capture now: back
    steps.push_back([] { EXPECT_STREQ(vl_test_page(), "main"); });
    EXPECT_TRUE(run_on(1, steps).timed_out);
}

TEST_F(Controller, KeypadTakesBAsDeleteAndEscapeRestoresTheField) {
    Pad pad;
    Steps steps = {[&] { pad.plug_in(); }, [] { vl_test_set_focus("online_port"); }};
    press(steps, pad, SDL_CONTROLLER_BUTTON_A);
    steps.push_back([] {
        EXPECT_EQ(vl_test_keypad(), 2);
        EXPECT_STREQ(vl_test_focus(), "kp_5");
    });
    press(steps, pad, SDL_CONTROLLER_BUTTON_B);
    steps.push_back([] {
        EXPECT_EQ(vl_test_keypad(), 2);
        EXPECT_STREQ(vl_test_field(2), "4790");
        vt::push_text("1");  // a physical keyboard types into the keypad's field
    });
    steps.push_back([] {
        EXPECT_STREQ(vl_test_field(2), "47901");
        vt::push_key(SDLK_ESCAPE);
    });
    steps.push_back([] {
        EXPECT_EQ(vl_test_keypad(), -1);
        EXPECT_STREQ(vl_test_field(2), "47900");
        EXPECT_STREQ(vl_test_focus(), "online_port");
        EXPECT_STREQ(vl_test_page(), "online");
    });
    EXPECT_TRUE(run_on(3, steps).timed_out);
}

TEST_F(Controller, UnpluggingTheOpenPadSwitchesToTheNextAndPluggingInKeepsTheOpenOne) {
    Pad first, second, third;
    const Steps steps = {
        [&] { first.plug_in(); },
        [&] {
            EXPECT_EQ(open_pad(), first.id);
            second.plug_in();
        },
        [&] {
            EXPECT_EQ(open_pad(), first.id) << "a second pad must not replace the open one";
            first.unplug();
        },
        [&] {
            EXPECT_EQ(open_pad(), second.id);
            second.unplug();
        },
        [&] {
            EXPECT_EQ(open_pad(), -1);
            EXPECT_EQ(vl_test_pad_present(), 0);
            third.plug_in();
        },
        [&] { EXPECT_EQ(open_pad(), third.id); },
    };
    EXPECT_TRUE(run_on(0, steps).timed_out);
}

TEST_F(Controller, UnpluggingAnotherPadKeepsTheOpenOne) {
    Pad first, second;
    const Steps steps = {
        [&] {
            first.plug_in();
            second.plug_in();
        },
        [&] {
            EXPECT_EQ(open_pad(), first.id);
            second.unplug();
        },
        [&] { EXPECT_EQ(open_pad(), first.id); },
    };
    EXPECT_TRUE(run_on(0, steps).timed_out);
}

// ---- Rules that a real pad cannot reach, on a hand-made state outside a run ----

SDL_Event button_event(uint8_t button) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERBUTTONDOWN;
    e.cbutton.button = button;
    e.cbutton.state = SDL_PRESSED;
    return e;
}

SDL_Event axis_event(uint8_t axis, int16_t value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.axis = axis;
    e.caxis.value = value;
    return e;
}

TEST(PadRules, AButtonWithoutANameIsRejectedAndTheCaptureGoesOn) {
    vl.page = kPageController;
    vl.capture = 3;
    vl.note[0] = '\0';
    const SDL_Event e = button_event(200);
    dispatch_event(&e);
    EXPECT_STREQ(vl.note, "Unknown button - press another");
    EXPECT_EQ(vl.note_is_error, 1);
    EXPECT_EQ(vl.capture, 3);
    vl.capture = -1;
}

TEST(PadRules, StickDuringACaptureMovesNothingButStillLatches) {
    vl.widget_count = 2;
    vl.widgets[0] = vl_widget{};
    vl.widgets[0].id = "left";
    vl.widgets[0].x = 100;
    vl.widgets[0].w = vl.widgets[0].h = 20;
    vl.widgets[0].enabled = 1;
    vl.widgets[1] = vl.widgets[0];
    vl.widgets[1].id = "right";
    vl.widgets[1].x = 300;
    vl.focus = 0;
    vl.page = kPageKeyboard;
    vl.stick_latch[0] = vl.stick_latch[1] = 0;

    vl.capture = 0;
    SDL_Event e = axis_event(SDL_CONTROLLER_AXIS_LEFTX, 25000);
    dispatch_event(&e);
    EXPECT_EQ(vl.focus, 0);
    EXPECT_EQ(vl.stick_latch[0], 1);

    // Held through the end of the capture, the push has already been used up.
    vl.capture = -1;
    e = axis_event(SDL_CONTROLLER_AXIS_LEFTX, 26000);
    dispatch_event(&e);
    EXPECT_EQ(vl.focus, 0);
    e = axis_event(SDL_CONTROLLER_AXIS_LEFTX, -20001);
    dispatch_event(&e);
    EXPECT_EQ(vl.stick_latch[0], -1);
    e = axis_event(SDL_CONTROLLER_AXIS_LEFTX, 20001);
    dispatch_event(&e);
    EXPECT_EQ(vl.focus, 1);
    EXPECT_EQ(vl.stick_latch[0], 1);
    EXPECT_EQ(vl.stick_latch[1], 0);
}

TEST(PadRules, AWithAnEmptyListActivatesNothing) {
    vl.widget_count = 0;
    vl.capture = -1;
    vl.keypad_field = -1;
    vl.page = kPageMain;
    vl.running = true;
    vl.activated_by_pad = false;
    const SDL_Event e = button_event(SDL_CONTROLLER_BUTTON_A);
    dispatch_event(&e);
    EXPECT_TRUE(vl.running);
    EXPECT_FALSE(vl.activated_by_pad);
}

} // namespace
