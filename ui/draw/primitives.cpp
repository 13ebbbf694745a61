// Colour helpers, batched fills, the two-pixel outline and the stick circle.
#include "palette.h"

#include "fill_rows.h"

#include "../frame/state.h"

namespace {

constexpr int32_t kStickCentreX = 880;  // centre of the controller page's stick view
constexpr int32_t kStickCentreY = 508;

// SDL's software renderer fills each row of 16 pixels or more with streaming
// (non-temporal) stores from the first 16-byte boundary on. Where such a row starts or
// ends inside a 64-byte cache line, the partly streamed line costs a trip to memory, which
// made fills the largest part of a frame. Cut at multiples of 16 pixels (64 bytes; the
// target's rows start on line boundaries), a fill streams whole lines only, and its two
// ends, narrower than 16 pixels, are stored normally. The pixels are the same; other
// renderers just get up to three rectangles for one.
constexpr int32_t kLinePixels = 16;
// SDL_RenderFillRects converts its rectangles in a stack buffer of 128 bytes, 7 of them;
// for more it allocates on the heap. No more than 7 are handed over at once.
constexpr int32_t kPartsBatch = 7;

int32_t split_at_lines(const SDL_Rect &r, SDL_Rect parts[3]) {
    const int32_t first = (r.x + kLinePixels - 1) & ~(kLinePixels - 1);  // rounded up
    const int32_t last = (r.x + r.w) & ~(kLinePixels - 1);               // rounded down
    if (r.w <= 0 || r.h <= 0 || last - first < kLinePixels) {
        parts[0] = r;
        return 1;
    }
    int32_t n = 0;
    if (first > r.x) parts[n++] = SDL_Rect{r.x, r.y, first - r.x, r.h};
    parts[n++] = SDL_Rect{first, r.y, last - first, r.h};
    if (r.x + r.w > last) parts[n++] = SDL_Rect{last, r.y, r.x + r.w - last, r.h};
    return n;
}

} // namespace

void set_draw_colour(uint32_t c) {
    SDL_SetRenderDrawColor(vl.renderer, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF, 255);
}

void fill_rect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    set_draw_colour(colour);
    SDL_Rect parts[3];
    const int32_t n = split_at_lines(SDL_Rect{x, y, w, h}, parts);
    SDL_RenderFillRects(vl.renderer, parts, n);
}

void fill_rects(const SDL_Rect *rects, int32_t count, uint32_t colour) {
    if (count <= 0) return;
    set_draw_colour(colour);
    SDL_Rect parts[kPartsBatch];
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (n + 3 > kPartsBatch) {
            SDL_RenderFillRects(vl.renderer, parts, n);
            n = 0;
        }
        n += split_at_lines(rects[i], parts + n);
    }
    SDL_RenderFillRects(vl.renderer, parts, n);
}

void fill_frame(int32_t x, int32_t y, int32_t w, int32_t h, int32_t border, uint32_t colour) {
    // Without a middle to cover, the whole rectangle shows.
    if (w <= 2 * border || h <= 2 * border) {
        fill_rect(x, y, w, h, colour);
        return;
    }
    const SDL_Rect sides[4] = {
        {x, y, w, border},
        {x, y + h - border, w, border},
        {x, y + border, border, h - 2 * border},
        {x + w - border, y + border, border, h - 2 * border},
    };
    fill_rects(sides, 4, colour);
}

void fill_row_batch::add(int32_t x, int32_t y, int32_t w) {
    if (count_ > 0) {
        SDL_Rect &last = rects_[count_ - 1];
        if (last.x == x && last.w == w && last.y + last.h == y) {
            ++last.h;
            return;
        }
    }
    if (count_ == kCapacity) flush();
    rects_[count_++] = SDL_Rect{x, y, w, 1};
}

void fill_row_batch::flush() {
    fill_rects(rects_, count_, colour_);
    count_ = 0;
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
