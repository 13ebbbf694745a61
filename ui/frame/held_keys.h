// Keys that were already down when the launcher window appeared: a press meant for the
// last window (a Return that ended the last run, still held) must not act in this one.
//
// SDL's key state starts empty with each run, so the first key-down a held key's
// auto-repeat sends to the new window looks like a fresh press (repeat 0). The system
// knows better: on X11 the window learns at focus which keys are down (KeymapNotify),
// on Windows every key-down message says whether the key was down before it. A filter
// on SDL's event queue reads those messages and drops the key-downs (and their text) of
// such keys until the key is released; everything else passes unchanged.
#pragma once

#include <SDL.h>

constexpr int kSystemKeyCodes = 256;  // X key codes are 8 to 255

struct vl_held_keys {
    bool active;                             // the filter judges keys: a run's window exists
    bool held[SDL_NUM_SCANCODES];            // down before the window had them: key-downs dropped until the key-up
    bool down_here[SDL_NUM_SCANCODES];       // went down while the window had the keyboard
    bool system_held[kSystemKeyCodes];       // X: down when the window took the focus, not pressed here
    bool system_down_here[kSystemKeyCodes];  // X: pressed while the window had the focus
    bool next_was_down;                      // the system says the coming key-down's key was already down
    bool drop_text;                          // the last key-down was dropped, and so is its text
    SDL_EventFilter previous_filter;         // the filter SDL had before the run, restored at its end
    void *previous_userdata;
};

// Right after the video subsystem starts, before the window: from here on the keys SDL
// reports down and those the system reports held are ignored until released.
void begin_held_keys();
// At shutdown, before the window goes: the previous filter back, system messages off.
void end_held_keys();
