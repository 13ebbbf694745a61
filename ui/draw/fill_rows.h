// Batched opaque fills: several rectangles of one colour in one renderer call.
#pragma once

#include <cstdint>

#include <SDL.h>

void fill_rects(const SDL_Rect *rects, int32_t count, uint32_t colour);

// The `border`-pixel frame just inside (x, y, w, h): all that stays visible of a fill of
// the whole rectangle once an opaque fill of the rectangle inset by `border` covers its
// middle. Painting only the frame leaves the same pixels for a fraction of the work.
void fill_frame(int32_t x, int32_t y, int32_t w, int32_t h, int32_t border, uint32_t colour);

// Collects one-pixel-high fill rows on the stack and hands them to the renderer in
// batches. A row directly below the previous one with the same columns extends it, so
// a run of equal rows becomes one rectangle: the same pixels, far fewer fill calls.
class fill_row_batch {
public:
    explicit fill_row_batch(uint32_t colour) : colour_(colour) {}
    ~fill_row_batch() { flush(); }
    fill_row_batch(const fill_row_batch &) = delete;
    fill_row_batch &operator=(const fill_row_batch &) = delete;

    void add(int32_t x, int32_t y, int32_t w);
    void flush();

private:
    static constexpr int32_t kCapacity = 64;
    uint32_t colour_;
    int32_t count_ = 0;
    SDL_Rect rects_[kCapacity];
};
