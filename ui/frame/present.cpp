// Presentation of the 960x600 frame into the window, the inverse mouse mapping, and the
// window modes (size from the scale setting, desktop full screen).
#include "present_rect.h"

#include "../draw/painters.h"
#include "../draw/palette.h"
#include "frame.h"
#include "state.h"
#include "window_place.h"

namespace {

constexpr uint32_t kLetterbox = col_backdrop;

// Window size of scale 1 to 6 is the GBA screen times the scale, never below the frame.
constexpr int32_t kGbaWidth = 240;
constexpr int32_t kGbaHeight = 160;

} // namespace

SDL_Rect present_rect_for(int32_t output_w, int32_t output_h, int32_t scaling) {
    if (scaling == kScalingStretch) return SDL_Rect{0, 0, output_w, output_h};
    // Single precision on purpose: the rounding of the worked sizes depends on it.
    const float sx = static_cast<float>(output_w) / static_cast<float>(kLogicalWidth);
    const float sy = static_cast<float>(output_h) / static_cast<float>(kLogicalHeight);
    float s = sx < sy ? sx : sy;
    // Below 1 the integer rule keeps the fraction, so a small window shrinks the frame
    // instead of cutting it.
    if (scaling == kScalingInteger && s >= 1.0f) s = static_cast<float>(static_cast<int32_t>(s));
    const float fw = s * static_cast<float>(kLogicalWidth) + 0.5f;
    const float fh = s * static_cast<float>(kLogicalHeight) + 0.5f;
    const int32_t dw = static_cast<int32_t>(fw);
    const int32_t dh = static_cast<int32_t>(fh);
    return SDL_Rect{(output_w - dw) / 2, (output_h - dh) / 2, dw, dh};
}

void compute_present_rect() {
    int w = kLogicalWidth;
    int h = kLogicalHeight;
    if (vl.renderer == nullptr || SDL_GetRendererOutputSize(vl.renderer, &w, &h) != 0) {
        w = kLogicalWidth;
        h = kLogicalHeight;
    }
    vl.present_rect = present_rect_for(w, h, vl.settings.scaling);
}

void paint_target() {
    if (vl.renderer == nullptr || vl.target == nullptr) return;
    SDL_SetRenderTarget(vl.renderer, vl.target);
    paint_frame();
    SDL_SetRenderTarget(vl.renderer, nullptr);
}

void present_frame() {
    if (vl.window == nullptr || vl.renderer == nullptr || vl.target == nullptr) return;
    if (SDL_GetWindowFlags(vl.window) & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED)) return;

    paint_target();

    set_draw_colour(kLetterbox);
    SDL_RenderClear(vl.renderer);
    compute_present_rect();
    SDL_RenderCopy(vl.renderer, vl.target, nullptr, &vl.present_rect);
    SDL_RenderPresent(vl.renderer);
}

void map_mouse(int32_t mx, int32_t my, int32_t *lx, int32_t *ly) {
    int ww = 1, wh = 1;  // stay 1 when a call leaves them unset
    int ow = 1, oh = 1;
    if (vl.window) SDL_GetWindowSize(vl.window, &ww, &wh);
    if (vl.renderer) SDL_GetRendererOutputSize(vl.renderer, &ow, &oh);
    // Window points to output pixels, for displays whose output exceeds the window size.
    if (ww > 0) mx = static_cast<int32_t>(static_cast<int64_t>(mx) * ow / ww);
    if (wh > 0) my = static_cast<int32_t>(static_cast<int64_t>(my) * oh / wh);

    compute_present_rect();
    const SDL_Rect &r = vl.present_rect;
    // Truncation toward zero: points less than one logical pixel left of or above the
    // frame land on 0.
    const int32_t x = r.w > 0 ? static_cast<int32_t>(static_cast<int64_t>(mx - r.x) * kLogicalWidth / r.w) : mx;
    const int32_t y = r.h > 0 ? static_cast<int32_t>(static_cast<int64_t>(my - r.y) * kLogicalHeight / r.h) : my;
    if (lx) *lx = x;
    if (ly) *ly = y;
}

void window_size_for_scale(int32_t scale, int32_t *w, int32_t *h) {
    const int64_t sw = static_cast<int64_t>(kGbaWidth) * scale;
    const int64_t sh = static_cast<int64_t>(kGbaHeight) * scale;
    if (w) *w = sw > kLogicalWidth ? static_cast<int32_t>(sw) : kLogicalWidth;
    if (h) *h = sh > kLogicalHeight ? static_cast<int32_t>(sh) : kLogicalHeight;
}

void apply_window_mode(bool keep_position) {
    if (vl.window == nullptr) return;
    if (vl.settings.fullscreen) {
        // Desktop full screen: the display mode never changes.
        SDL_SetWindowFullscreen(vl.window, SDL_WINDOW_FULLSCREEN_DESKTOP);
        return;
    }
    SDL_SetWindowFullscreen(vl.window, 0);
    fit_window_to_display(keep_position);
}
