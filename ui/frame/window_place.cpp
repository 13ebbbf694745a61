// Fitting the launcher window to its display and placing it there: a window larger than
// the desktop would open with its title bar off the screen, where it cannot be moved.
#include "window_place.h"

#include <cstdio>
#include <cstring>

#include "frame.h"
#include "state.h"

namespace {

constexpr int32_t kSmallestScale = 1;

int32_t outer_w(SDL_Point size, const vl_borders &b) { return b.left + size.x + b.right; }
int32_t outer_h(SDL_Point size, const vl_borders &b) { return b.top + size.y + b.bottom; }

// The usable area of a display (the desktop less task bars and docks), or its whole
// area where SDL cannot tell, or the frame's size when there is no such display.
SDL_Rect usable_area(int32_t display) {
    SDL_Rect r{0, 0, kLogicalWidth, kLogicalHeight};
    if (SDL_GetDisplayUsableBounds(display, &r) == 0 && r.w > 0 && r.h > 0) return r;
    if (SDL_GetDisplayBounds(display, &r) == 0 && r.w > 0 && r.h > 0) return r;
    return SDL_Rect{0, 0, kLogicalWidth, kLogicalHeight};
}

vl_borders window_borders(SDL_Window *window) {
    vl_borders b{};
    if (SDL_GetWindowBordersSize(window, &b.top, &b.left, &b.bottom, &b.right) != 0) b = vl_borders{};
    return b;
}

int32_t window_display(SDL_Window *window) {
    const int32_t d = SDL_GetWindowDisplayIndex(window);
    return d >= 0 ? d : 0;
}

void display_name(int32_t display, char (&name)[sizeof vl_window_place::display_name]) {
    const char *text = SDL_GetDisplayName(display);
    std::snprintf(name, sizeof name, "%s", text ? text : "");
}

// The display the last window closed on, when the host keeps the place and that display
// is still there under the same name; -1 otherwise.
int32_t kept_display() {
    const vl_window_place &p = vl.last_place;
    if (!vl.keep_place || !p.known || p.display < 0 || p.display >= SDL_GetNumVideoDisplays()) return -1;
    char name[sizeof p.display_name];
    display_name(p.display, name);
    return std::strcmp(name, p.display_name) == 0 ? p.display : -1;
}

struct WindowPlan {
    SDL_Point size;
    SDL_Point position;
};

// Where a new window goes, given its borders: at the kept place when it fits there,
// else centred on the first display, at the size that fits.
WindowPlan plan_new_window(const vl_borders &b) {
    const int32_t kept = kept_display();
    if (kept >= 0) {
        const SDL_Rect usable = usable_area(kept);
        const SDL_Point size = fitted_window_size(vl.settings.scale, usable, b);
        if (window_fits_at(vl.last_place.position, size, b, usable)) return {size, vl.last_place.position};
    }
    const SDL_Rect usable = usable_area(0);
    const SDL_Point size = fitted_window_size(vl.settings.scale, usable, b);
    return {size, centred_window_position(usable, size, b)};
}

bool same(SDL_Point a, SDL_Point b) { return a.x == b.x && a.y == b.y; }

} // namespace

SDL_Point fitted_window_size(int32_t scale, const SDL_Rect &usable, const vl_borders &borders) {
    for (int32_t s = scale > kSmallestScale ? scale : kSmallestScale; s >= kSmallestScale; --s) {
        SDL_Point size{};
        window_size_for_scale(s, &size.x, &size.y);
        if (outer_w(size, borders) <= usable.w && outer_h(size, borders) <= usable.h) return size;
    }
    const SDL_Point left{usable.w - borders.left - borders.right, usable.h - borders.top - borders.bottom};
    return {left.x > 1 ? left.x : 1, left.y > 1 ? left.y : 1};
}

SDL_Point centred_window_position(const SDL_Rect &usable, SDL_Point size, const vl_borders &borders) {
    return {usable.x + (usable.w - outer_w(size, borders)) / 2 + borders.left,
            usable.y + (usable.h - outer_h(size, borders)) / 2 + borders.top};
}

bool window_fits_at(SDL_Point position, SDL_Point size, const vl_borders &borders, const SDL_Rect &usable) {
    const int32_t left = position.x - borders.left, top = position.y - borders.top;
    return left >= usable.x && top >= usable.y && left + outer_w(size, borders) <= usable.x + usable.w &&
           top + outer_h(size, borders) <= usable.y + usable.h;
}

SDL_Point window_moved_inside(SDL_Point position, SDL_Point size, const vl_borders &borders, const SDL_Rect &usable) {
    int32_t left = position.x - borders.left, top = position.y - borders.top;
    // Right and bottom edges first, so that a window larger than the area keeps its
    // top-left corner inside.
    const int32_t max_left = usable.x + usable.w - outer_w(size, borders);
    const int32_t max_top = usable.y + usable.h - outer_h(size, borders);
    if (left > max_left) left = max_left;
    if (top > max_top) top = max_top;
    if (left < usable.x) left = usable.x;
    if (top < usable.y) top = usable.y;
    return {left + borders.left, top + borders.top};
}

SDL_Window *create_placed_window(const char *title, uint32_t flags) {
    // The frame is only known once the window exists: plan with the last window's, then
    // again with the real one before the window is shown.
    const vl_borders guessed = vl.last_place.borders;
    const WindowPlan first = plan_new_window(guessed);
    SDL_Window *window = SDL_CreateWindow(title, first.position.x, first.position.y, first.size.x, first.size.y,
                                          flags | SDL_WINDOW_HIDDEN);
    if (!window) return nullptr;
    const WindowPlan plan = plan_new_window(window_borders(window));
    if (!same(plan.size, first.size)) SDL_SetWindowSize(window, plan.size.x, plan.size.y);
    if (!same(plan.position, first.position)) SDL_SetWindowPosition(window, plan.position.x, plan.position.y);
    SDL_ShowWindow(window);
    return window;
}

void fit_window_to_display(bool keep_position) {
    SDL_Window *window = vl.window;
    const SDL_Rect usable = usable_area(window_display(window));
    const vl_borders b = window_borders(window);
    const SDL_Point size = fitted_window_size(vl.settings.scale, usable, b);
    SDL_SetWindowSize(window, size.x, size.y);
    SDL_Point now{};
    SDL_GetWindowPosition(window, &now.x, &now.y);
    const SDL_Point to = keep_position ? window_moved_inside(now, size, b, usable) : centred_window_position(usable, size, b);
    if (!same(to, now)) SDL_SetWindowPosition(window, to.x, to.y);
}

void remember_window_place() {
    if (vl.widget_count > 0 && vl.focus >= 0 && vl.focus < vl.widget_count)
        std::snprintf(vl.last_focus_id, sizeof vl.last_focus_id, "%s", vl.widgets[vl.focus].id);
    else
        vl.last_focus_id[0] = '\0';
    if (!vl.window) return;
    vl_window_place &p = vl.last_place;
    p.known = true;
    p.display = window_display(vl.window);
    display_name(p.display, p.display_name);
    SDL_GetWindowPosition(vl.window, &p.position.x, &p.position.y);
    p.borders = window_borders(vl.window);
}
