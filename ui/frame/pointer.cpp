// Mouse input: hover, clicks, and dragging a slider.
#include <cstdint>

#include "../screens/fields.h"
#include "dispatch.h"
#include "frame.h"
#include "state.h"

namespace {

bool contains(const vl_widget &w, int32_t lx, int32_t ly) {
    return lx >= w.x && lx < w.x + w.w && ly >= w.y && ly < w.y + w.h;
}

// Scans from the last widget: the one drawn last lies on top. Disabled widgets count,
// so a dimmed widget hides whatever lies under it.
int32_t widget_at(int32_t lx, int32_t ly) {
    for (int32_t i = vl.widget_count - 1; i >= 0; --i)
        if (contains(vl.widgets[i], lx, ly)) return i;
    return -1;
}

void drag_to(const vl_widget &slider, int32_t lx) {
    set_slider_value(slider.slider_id,
                     slider_value_at(slider.x, slider.w, slider_maximum(slider.slider_id), lx));
}

} // namespace

int32_t slider_value_at(int32_t slider_x, int32_t slider_w, int32_t maximum, int32_t lx) {
    const int64_t w = slider_w < 2 ? 1 : slider_w;
    // 64-bit: a far-off pointer times the deadzone maximum does not fit in 32 bits.
    const int64_t value = (int64_t{maximum} * (int64_t{lx} - slider_x) + w / 2) / w;
    if (value <= 0) return 0;
    if (value >= maximum) return maximum;
    return static_cast<int32_t>(value);
}

void start_slider_drag(const vl_widget &slider, int32_t lx) {
    vl.drag_slider = slider.slider_id + 1;
    drag_to(slider, lx);
}

void pointer_motion(int32_t lx, int32_t ly) {
    vl.hover = widget_at(lx, ly);
    if (vl.drag_slider == 0) return;
    for (int32_t i = 0; i < vl.widget_count; ++i) {
        const vl_widget &w = vl.widgets[i];
        if (w.kind == kSlider && w.enabled && w.slider_id == vl.drag_slider - 1) drag_to(w, lx);
    }
}

void pointer_press(int32_t lx, int32_t ly) {
    if (vl.capture >= 0) cancel_capture();
    end_editing();
    const int32_t hit = widget_at(lx, ly);
    if (hit < 0 || !vl.widgets[hit].enabled) return;
    vl.focus = hit;
    const vl_widget &w = vl.widgets[hit];
    if (w.kind == kSlider) {
        start_slider_drag(w, lx);
    } else {
        activate(hit);
    }
}

void pointer_release() { vl.drag_slider = 0; }
