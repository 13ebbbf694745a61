// The keyboard and controller pages: console drawing, prompt and the stick view.
#include <cstdio>

#include "../frame/frame.h"
#include "../frame/state.h"
#include "page_items.h"
#include "painters.h"
#include "palette.h"

namespace {

constexpr uint32_t kConsoleBody = rgb(52, 55, 106);
constexpr uint32_t kConsoleFace = rgb(31, 32, 69);
constexpr uint32_t kPadInner = rgb(24, 25, 56);
constexpr uint32_t kScreen = rgb(12, 12, 28);

// The body and face are rounded (painted first); these square parts go on top. Each
// inner fill covers all of the fill before it but a 2-pixel rim, so only the rim is drawn.
constexpr vl_page_item kConsoleParts[] = {
    item_rim(250, 242, 56, 40, kConsoleBody),  // direction-pad centre
    item_fill(252, 244, 52, 36, kPadInner),
    item_rim(380, 200, 200, 122, col_well_edge),  // screen bezel
    item_fill(382, 202, 196, 118, kScreen),
};

constexpr vl_page_item kStickCaptions[] = {
    item_text(82, 505, 3, col_ink, "Left stick as D-pad"),
    item_text(320, 505, 3, col_ink, "Deadzone"),
};

// Stick view: centre (880, 508), full range drawn at radius 28.
constexpr int32_t kStickRadius = 28;
constexpr int64_t kAxisMax = 32767;
constexpr int32_t kAxisMin = -32768;

void draw_centred_line(int32_t font, const char *text, int32_t y, uint32_t colour) {
    draw_text(font, text, (kLogicalWidth - text_width(font, text)) / 2, y, colour);
}

void paint_prompt(bool controller_page) {
    if (vl.capture >= 0 && vl.capture < kBindingSlots) {
        char line[96];
        std::snprintf(line, sizeof line, "Press a %s for %s...", controller_page ? "button" : "key",
                      kActionNames[vl.capture]);
        draw_centred_line(4, line, 440, col_accent);
        draw_centred_line(1, "Esc cancels", 464, col_ink_soft);
        return;
    }
    draw_centred_line(4, "Click a button to remap it", 440, col_ink);
    draw_centred_line(1,
                      controller_page ? "Buttons are bound by position on your controller"
                                      : "Reserved: Esc, F11, F1  -  keys are bound by position (A = X, B = Z)",
                      464, col_ink_soft);
}

// The override may hold any int32; a real axis never leaves the 16-bit range, and
// keeping to it keeps the squares below far from overflowing.
int32_t axis_value(int32_t v) {
    return v < kAxisMin ? kAxisMin : (v > kAxisMax ? static_cast<int32_t>(kAxisMax) : v);
}

int32_t scale_axis(int32_t v) {
    return static_cast<int32_t>(static_cast<int64_t>(v) * kStickRadius / kAxisMax);
}

void paint_stick_view() {
    paint_items(kStickCaptions);
    char value[16];
    std::snprintf(value, sizeof value, "%d", vl.settings.deadzone);
    draw_text(2, value, 626, 507, col_ink_soft);
    draw_stick_circle(kStickRadius, col_well_edge);

    if (!pad_present()) {
        draw_text_right(0, "NO CONTROLLER", 838, 502, col_ink_dim);
        return;
    }
    int32_t sx = 0, sy = 0;
    if (vl.fake_pad >= 0) {
        sx = vl.fake_stick[0];
        sy = vl.fake_stick[1];
    } else {
        sx = SDL_GameControllerGetAxis(vl.controller, SDL_CONTROLLER_AXIS_LEFTX);
        sy = SDL_GameControllerGetAxis(vl.controller, SDL_CONTROLLER_AXIS_LEFTY);
    }
    sx = axis_value(sx);
    sy = axis_value(sy);

    const int32_t deadzone = vl.settings.deadzone;
    draw_stick_circle(scale_axis(deadzone), col_accent);
    const int64_t distance2 = static_cast<int64_t>(sx) * sx + static_cast<int64_t>(sy) * sy;
    const bool outside = distance2 > static_cast<int64_t>(deadzone) * deadzone;
    fill_rect(877 + scale_axis(sx), 505 + scale_axis(sy), 7, 7, outside ? col_good : col_ink);
}

} // namespace

void paint_input_page() {
    const bool controller_page = vl.page == kPageController;
    paint_header_band("Input");
    fill_rounded_ring(160, 164, 640, 240, 44, 2, kConsoleBody);  // the face covers the rest
    fill_rounded_rect(162, 166, 636, 236, 42, kConsoleFace);
    paint_items(kConsoleParts);
    draw_text_centred(6, "GBA", 380, 200, 200, 122, col_ink_dim);
    paint_prompt(controller_page);
    if (controller_page) paint_stick_view();
}
