// Handlers behind dispatch_event, one file per input device.
#pragma once

#include <SDL.h>

#include "../screens/widgets.h"

// dispatch.cpp
void dispatch_key(const SDL_KeyboardEvent &key);

// binding_capture.cpp: binds a caught key (keyboard page) or button (elsewhere) to `slot`,
// swapping on conflict, writes the settings file, ends the capture and reports it.
void apply_binding(int32_t slot, const char *name);

// pointer.cpp: logical coordinates in, after map_mouse
void pointer_motion(int32_t lx, int32_t ly);
void pointer_press(int32_t lx, int32_t ly);
void pointer_release();
// Drags from now until the left button is released; the press itself sets the value.
void start_slider_drag(const vl_widget &slider, int32_t lx);
int32_t slider_value_at(int32_t slider_x, int32_t slider_w, int32_t maximum, int32_t lx);

// pad_input.cpp
void pad_axis(const SDL_ControllerAxisEvent &axis);
void pad_button(const SDL_ControllerButtonEvent &button);
void pad_added();
void pad_removed(SDL_JoystickID instance);

// Ends a binding capture with the note "Cancelled": Escape, a left mouse press and the
// controller's B during a key capture.
void cancel_capture();
