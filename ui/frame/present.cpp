// Presentation of the 960x600 frame into the window, and the window modes.
#include "../draw/painters.h"
#include "frame.h"
#include "state.h"

void present_frame() {
    SDL_SetRenderTarget(vl.renderer, vl.target);
    paint_frame();
    SDL_SetRenderTarget(vl.renderer, nullptr);
    SDL_SetRenderDrawColor(vl.renderer, 18, 18, 42, 255);
    SDL_RenderClear(vl.renderer);
    SDL_RenderCopy(vl.renderer, vl.target, nullptr, nullptr);
    SDL_RenderPresent(vl.renderer);
}
void compute_present_rect() {}
void map_mouse(int32_t mx, int32_t my, int32_t *lx, int32_t *ly) { *lx = mx; *ly = my; }
void apply_window_mode(bool) {}
void window_size_for_scale(int32_t scale, int32_t *w, int32_t *h) {
    *w = 240 * scale > 960 ? 240 * scale : 960;
    *h = 160 * scale > 600 ? 160 * scale : 600;
}
