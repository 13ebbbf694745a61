// Focus navigation: directional search, slider stepping, Tab cycling and going back.
#include <cstdlib>

#include "../screens/fields.h"
#include "frame.h"
#include "state.h"

namespace {

struct Direction {
    int32_t dx, dy;
};
// 0 up, 1 down, 2 left, 3 right
constexpr Direction kDirections[4] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
constexpr int64_t kNoCandidate = int64_t{1} << 30;

bool focus_is_valid() { return vl.focus >= 0 && vl.focus < vl.widget_count; }

int32_t centre_x(const vl_widget &w) { return w.x + w.w / 2; }
int32_t centre_y(const vl_widget &w) { return w.y + w.h / 2; }

// Left and right on a focused slider change its value instead of moving the focus.
void step_slider(const vl_widget &slider, int32_t direction) {
    if (!slider.enabled) return;
    const int32_t step = slider_step(slider.slider_id);
    const int32_t value = slider_value(slider.slider_id) + (direction == 2 ? -step : step);
    set_slider_value(slider.slider_id, value);  // clamps, and saves only a change
}

// Nearest enabled widget ahead of the focus; across-offsets count twice.
int32_t nearest_in_direction(int32_t direction) {
    const vl_widget &from = vl.widgets[vl.focus];
    const int32_t fx = centre_x(from), fy = centre_y(from);
    const Direction d = kDirections[direction];
    int64_t best_score = kNoCandidate;
    int32_t best = -1;
    for (int32_t i = 0; i < vl.widget_count; ++i) {
        const vl_widget &w = vl.widgets[i];
        if (i == vl.focus || !w.enabled) continue;
        const int64_t ox = centre_x(w) - fx, oy = centre_y(w) - fy;
        const int64_t primary = ox * d.dx + oy * d.dy;
        if (primary <= 0) continue;
        const int64_t ortho = d.dx != 0 ? oy : ox;
        const int64_t score = primary + 2 * std::llabs(ortho);
        if (score < best_score) {  // strict: of equal scores the earlier widget stays
            best_score = score;
            best = i;
        }
    }
    return best;
}

} // namespace

void move_focus(int32_t direction) {
    if (vl.widget_count == 0 || direction < 0 || direction > 3) return;
    // Without a focused widget there is no place to measure from.
    if (!focus_is_valid()) return;
    const vl_widget &focused = vl.widgets[vl.focus];
    if ((direction == 2 || direction == 3) && focused.kind == kSlider) {
        step_slider(focused, direction);
        return;
    }
    const int32_t next = nearest_in_direction(direction);
    if (next >= 0) vl.focus = next;
}

void cycle_focus(int32_t step) {
    const int32_t n = vl.widget_count;
    if (n < 1) return;
    int32_t focus = vl.focus;
    for (int32_t k = 0; k < n; ++k) {
        focus = ((focus + n + step) % n + n) % n;
        if (vl.widgets[focus].enabled) break;
    }
    vl.focus = focus;
}

void go_back() {
    if (vl.keypad_field >= 0) {
        close_keypad(false);
        build_page();
    } else if (vl.editing_field >= 0) {
        end_editing();
    } else if (vl.confirm_open) {
        vl.confirm_open = false;
        build_page();
        vl.focus = 0;
    } else if (vl.page == kPageMain) {
        // Nothing is open and there is nowhere further back.
    } else {
        leave_page();
        build_page();
    }
}
