// Colour helpers, the two-pixel outline and the stick circle.
#include "palette.h"

#include "../frame/state.h"

namespace {
constexpr int32_t kStickCentreX = 880;  // centre of the controller page's stick view
constexpr int32_t kStickCentreY = 508;
} // namespace

void set_draw_colour(uint32_t c) {
    SDL_SetRenderDrawColor(vl.renderer, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 255);
}

void fill_rect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    set_draw_colour(colour);
    const SDL_Rect r{x, y, w, h};
    SDL_RenderFillRect(vl.renderer, &r);
}

void outline_rect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    set_draw_colour(colour);
    const SDL_Rect outer{x, y, w, h};
    SDL_RenderDrawRect(vl.renderer, &outer);
    // A rectangle two pixels wide or high is already solid after the first outline.
    if (w > 2 && h > 2) {
        const SDL_Rect inner{x + 1, y + 1, w - 2, h - 2};
        SDL_RenderDrawRect(vl.renderer, &inner);
    }
}

void fill_panel_plain(int32_t x, int32_t y, int32_t w, int32_t h) {
    fill_rect(x, y, w, h, col_panel);
    outline_rect(x, y, w, h, col_panel_edge);
}

void draw_stick_circle(int32_t radius, uint32_t colour) {
    set_draw_colour(colour);
    if (radius <= 0) {
        SDL_RenderDrawPoint(vl.renderer, kStickCentreX, kStickCentreY);
        return;
    }
    // Midpoint circle: one octant is walked, the other seven mirrored.
    int32_t x = radius;
    int32_t y = 0;
    int32_t d = 1 - radius;
    while (x >= y) {
        const SDL_Point points[8] = {
            {kStickCentreX + x, kStickCentreY + y}, {kStickCentreX - x, kStickCentreY + y},
            {kStickCentreX + x, kStickCentreY - y}, {kStickCentreX - x, kStickCentreY - y},
            {kStickCentreX + y, kStickCentreY + x}, {kStickCentreX - y, kStickCentreY + x},
            {kStickCentreX + y, kStickCentreY - x}, {kStickCentreX - y, kStickCentreY - x},
        };
        for (const SDL_Point &p : points) SDL_RenderDrawPoint(vl.renderer, p.x, p.y);
        ++y;
        if (d < 0) {
            d += 2 * y + 1;
        } else {
            --x;
            d += 2 * (y - x) + 1;
        }
    }
}
