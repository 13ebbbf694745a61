// Comparing a rendered frame with its golden frame, pixel by pixel, where the pixels a
// blended fill touched may be off by a tolerance per channel.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vt {

struct FrameDifference {
    int64_t differing = 0;     // pixels off by more than allowed
    int64_t tolerated = 0;     // blended pixels off by no more than the tolerance
    int32_t largest_step = 0;  // largest channel difference of any blended pixel
    int32_t first_x = -1;      // the first differing pixel in row order, -1 none
    int32_t first_y = -1;
    uint32_t expected = 0;     // its golden and actual ARGB values
    uint32_t actual = 0;
};

// Frames of equal size w x h, ARGB8888. Pixels inside `blended` may differ by up to
// `tolerance` in each of the four channels; every other pixel must be equal.
FrameDifference compare_frames(const std::vector<uint32_t> &golden, const std::vector<uint32_t> &actual, int32_t w,
                               int32_t h, const std::vector<SDL_Rect> &blended, int32_t tolerance);

// A picture of where they differ: the golden frame darkened, pixels off by more than
// allowed in red, tolerated blended pixels in blue.
std::vector<uint32_t> difference_picture(const std::vector<uint32_t> &golden, const std::vector<uint32_t> &actual,
                                         int32_t w, int32_t h, const std::vector<SDL_Rect> &blended,
                                         int32_t tolerance);

std::string hex_pixel(uint32_t argb);  // "#AARRGGBB"

} // namespace vt
