// Where the launcher window goes: a size that fits the usable area of its display, a
// place inside that area, and the place a run's window closed at, for the next run of a
// host that keeps it (vl_set_keep_place).
#pragma once

#include <SDL.h>

#include <cstdint>

// The frame a window manager draws around the client area, in desktop pixels; all 0
// where SDL reports none.
struct vl_borders {
    int32_t top, left, bottom, right;
};

// The window of the last run that had one, as it closed.
struct vl_window_place {
    bool known;             // a window has closed since the library was loaded
    int32_t display;        // its SDL display index
    char display_name[64];  // that display's name, so that another display at the index is not taken for it
    SDL_Point position;     // of the client area, in desktop coordinates
    vl_borders borders;     // the frame it had, the best guess for the next window
};

// The client size of the largest scale from 1 up to `scale` whose window, borders
// included, fits `usable`; when not even scale 1 fits, the usable area less the borders.
SDL_Point fitted_window_size(int32_t scale, const SDL_Rect &usable, const vl_borders &borders);
// The client position that centres the whole window, borders included, in `usable`.
SDL_Point centred_window_position(const SDL_Rect &usable, SDL_Point size, const vl_borders &borders);
// True when the window at `position`, borders included, lies inside `usable`.
bool window_fits_at(SDL_Point position, SDL_Point size, const vl_borders &borders, const SDL_Rect &usable);
// `position` moved as little as needed to bring the window inside `usable`; when it is
// larger than the area its top-left corner (the title bar) stays inside.
SDL_Point window_moved_inside(SDL_Point position, SDL_Point size, const vl_borders &borders, const SDL_Rect &usable);

// Start-up: the launcher window, hidden until it has its size and place, then shown.
SDL_Window *create_placed_window(const char *title, uint32_t flags);
// The windowed size of the scale setting on the window's display; centred there, or kept
// where it is as far as the display allows.
void fit_window_to_display(bool keep_position);
// Shutdown: the display, position and focus the next run may reopen with.
void remember_window_place();
