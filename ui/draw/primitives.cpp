// Colour helpers, outlines and the stick circle.
#include "palette.h"

#include "../frame/state.h"

void set_draw_colour(uint32_t c) { SDL_SetRenderDrawColor(vl.renderer, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 255); }
void fill_rect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    set_draw_colour(colour);
    SDL_Rect r{x, y, w, h};
    SDL_RenderFillRect(vl.renderer, &r);
}
void outline_rect(int32_t, int32_t, int32_t, int32_t, uint32_t) {}
void fill_panel_plain(int32_t x, int32_t y, int32_t w, int32_t h) { fill_rect(x, y, w, h, col_panel); outline_rect(x, y, w, h, col_panel_edge); }
void draw_stick_circle(int32_t, uint32_t) {}
