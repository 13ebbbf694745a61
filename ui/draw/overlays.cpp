// The confirmation dialog and the keypad overlays, each over a dimmed frame.
#include <cstdio>

#include "../frame/state.h"
#include "../screens/fields.h"
#include "font.h"
#include "painters.h"
#include "palette.h"

namespace {

constexpr int32_t kKeypadBoxX = 276, kKeypadBoxY = 160, kKeypadBoxW = 408, kKeypadBoxH = 40;
// The tail of the field text must stay narrower than this so the cursor fits the box.
constexpr int32_t kKeypadTextLimit = 379;

constexpr SDL_Rect kConfirmPanel{250, 226, 460, 168};
constexpr SDL_Rect kKeypadPanel{250, 120, 460, 330};

// The only blended fill of the launcher; everything else draws opaque.
void paint_dimming_layer(const SDL_Rect &panel) {
    SDL_SetRenderDrawBlendMode(vl.renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(vl.renderer, col_scrim & 0xFF, (col_scrim >> 8) & 0xFF, (col_scrim >> 16) & 0xFF, 205);
    SDL_Rect around[kDimmingRects];
    dimming_layer_rects(panel, around);
    SDL_RenderFillRects(vl.renderer, around, kDimmingRects);
    SDL_SetRenderDrawBlendMode(vl.renderer, SDL_BLENDMODE_NONE);
}

// The longest tail of `text` narrower than the limit, so the end being typed shows.
const char *visible_tail(const char *text) {
    while (*text && text_width(5, text) >= kKeypadTextLimit) {
        int32_t consumed = 0;
        decode_char(text, &consumed);
        text += consumed > 0 ? consumed : 1;
    }
    return text;
}

} // namespace

// The overlay's panel is painted opaque straight after its layer, so the layer leaves
// the panel's rectangle out: the frame ends up the same, and the blend, by far the
// slowest fill of SDL's software renderer (per pixel, in plain C), covers a quarter less.
void dimming_layer_rects(const SDL_Rect &panel, SDL_Rect out[kDimmingRects]) {
    const int32_t below = panel.y + panel.h;
    const int32_t right = panel.x + panel.w;
    out[0] = {0, 0, kLogicalWidth, panel.y};
    out[1] = {0, below, kLogicalWidth, kLogicalHeight - below};
    out[2] = {0, panel.y, panel.x, panel.h};
    out[3] = {right, panel.y, kLogicalWidth - right, panel.h};
}

int32_t blended_rects(bool confirm_open, int32_t keypad_field, SDL_Rect out[kBlendedRectsMax]) {
    int32_t count = 0;
    if (confirm_open) {
        dimming_layer_rects(kConfirmPanel, out + count);
        count += kDimmingRects;
    }
    if (keypad_field >= 0) {
        dimming_layer_rects(kKeypadPanel, out + count);
        count += kDimmingRects;
    }
    return count;
}

void paint_confirm_overlay() {
    paint_dimming_layer(kConfirmPanel);
    fill_panel_plain(kConfirmPanel.x, kConfirmPanel.y, kConfirmPanel.w, kConfirmPanel.h);
    draw_text_centred(5, "Overwrite current save?", 250, 246, 460, 30, col_ink);
    draw_text_centred(3, "A backup is kept.", 250, 286, 460, 24, col_good);
}

void paint_keypad_overlay() {
    paint_dimming_layer(kKeypadPanel);
    fill_panel_plain(kKeypadPanel.x, kKeypadPanel.y, kKeypadPanel.w, kKeypadPanel.h);
    char caption[64];
    std::snprintf(caption, sizeof caption, "%s", vl.keypad_field == kFieldHost ? "ADDRESS" : "PORT");
    draw_text(0, caption, 276, 142, col_ink_soft);
    fill_rect(kKeypadBoxX, kKeypadBoxY, kKeypadBoxW, kKeypadBoxH, col_well);
    outline_rect(kKeypadBoxX, kKeypadBoxY, kKeypadBoxW, kKeypadBoxH, col_accent);

    // The keypad edits only fields 1 and 2; anything else shows an empty field.
    const int32_t field = vl.keypad_field;
    const char *text = field >= 0 && field < kFieldCount ? vl.fields[field] : "";
    char shown[64];  // a 63-byte text fills it, leaving no room for the cursor
    std::snprintf(shown, sizeof shown, "%s_", visible_tail(text));
    const int32_t y = kKeypadBoxY + (kKeypadBoxH + h_height(5)) / 2 - font_table[5].ascent;
    draw_text(5, shown, 288, y, col_ink);
}
