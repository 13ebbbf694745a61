// Game controller input: left stick, buttons, binding capture and hot-plug.
#include "../screens/fields.h"
#include "dispatch.h"
#include "frame.h"
#include "state.h"

namespace {

constexpr int32_t kStickThreshold = 20000;

struct PadMove {
    SDL_GameControllerButton button;
    int32_t direction;  // move_focus code
};
constexpr PadMove kDpadMoves[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, 0},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, 1},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, 2},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 3},
};

// Stick direction codes per axis: index 0 for a push below -threshold, 1 above.
constexpr int32_t kStickMoves[2][2] = {
    {2, 3},  // left X: left, right
    {0, 1},  // left Y: up, down
};

void capture_button(uint8_t button) {
    const char *name = SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    if (name && name[0]) {
        apply_binding(vl.capture, name);
    } else {
        set_note("Unknown button - press another", 1);
    }
}

void navigate_with_button(uint8_t button) {
    if (button == SDL_CONTROLLER_BUTTON_A) {
        if (vl.widget_count == 0) return;
        vl.activated_by_pad = true;
        activate(vl.focus);
        vl.activated_by_pad = false;
        return;
    }
    if (button == SDL_CONTROLLER_BUTTON_B) {
        go_back();
        return;
    }
    for (const PadMove &move : kDpadMoves)
        if (button == move.button) move_focus(move.direction);
}

} // namespace

void pad_axis(const SDL_ControllerAxisEvent &axis) {
    if (axis.axis != SDL_CONTROLLER_AXIS_LEFTX && axis.axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    const int32_t d = axis.value > kStickThreshold ? 1 : axis.value < -kStickThreshold ? -1 : 0;
    int32_t &latch = vl.stick_latch[axis.axis];
    // One move per push: the stick must return inside the threshold or cross over first.
    if (d != 0 && d != latch && vl.capture == -1) move_focus(kStickMoves[axis.axis][d > 0 ? 1 : 0]);
    latch = d;
}

void pad_button(const SDL_ControllerButtonEvent &button) {
    if (vl.capture >= 0 && vl.page == kPageController) {
        capture_button(button.button);
    } else if (button.button == SDL_CONTROLLER_BUTTON_B && vl.keypad_field >= 0) {
        delete_last_char(vl.keypad_field);
    } else if (vl.capture >= 0) {
        // A key capture waits for a key; B lets a player without a keyboard out of it.
        if (button.button == SDL_CONTROLLER_BUTTON_B) cancel_capture();
    } else {
        navigate_with_button(button.button);
    }
}

void pad_added() {
    if (!vl.controller) open_first_controller();
}

void pad_removed(SDL_JoystickID instance) {
    if (!vl.controller) return;
    if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(vl.controller)) != instance) return;
    SDL_GameControllerClose(vl.controller);
    vl.controller = nullptr;
    open_first_controller();
}
