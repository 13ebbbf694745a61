#include "frame_compare.h"

#include <cstdio>
#include <cstdlib>

namespace vt {
namespace {

int32_t largest_channel_step(uint32_t a, uint32_t b) {
    int32_t largest = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int32_t step = std::abs(static_cast<int32_t>((a >> shift) & 0xFF) - static_cast<int32_t>((b >> shift) & 0xFF));
        if (step > largest) largest = step;
    }
    return largest;
}

// One flag per pixel: inside one of the rectangles (clipped to the frame).
std::vector<char> mask_of(const std::vector<SDL_Rect> &rects, int32_t w, int32_t h) {
    std::vector<char> mask(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    for (const SDL_Rect &r : rects)
        for (int32_t y = r.y < 0 ? 0 : r.y; y < r.y + r.h && y < h; ++y)
            for (int32_t x = r.x < 0 ? 0 : r.x; x < r.x + r.w && x < w; ++x) mask[static_cast<size_t>(y) * w + x] = 1;
    return mask;
}

enum class Verdict { kEqual, kTolerated, kDiffering };

Verdict judge(uint32_t golden, uint32_t actual, bool blended, int32_t tolerance, int32_t *step) {
    *step = largest_channel_step(golden, actual);
    if (*step == 0) return Verdict::kEqual;
    return blended && *step <= tolerance ? Verdict::kTolerated : Verdict::kDiffering;
}

} // namespace

FrameDifference compare_frames(const std::vector<uint32_t> &golden, const std::vector<uint32_t> &actual, int32_t w,
                               int32_t h, const std::vector<SDL_Rect> &blended, int32_t tolerance) {
    FrameDifference d;
    const std::vector<char> mask = mask_of(blended, w, h);
    for (size_t i = 0; i < mask.size(); ++i) {
        int32_t step = 0;
        const Verdict verdict = judge(golden[i], actual[i], mask[i] != 0, tolerance, &step);
        if (mask[i] && step > d.largest_step) d.largest_step = step;
        if (verdict == Verdict::kTolerated) ++d.tolerated;
        if (verdict != Verdict::kDiffering) continue;
        if (d.differing++ == 0) {
            d.first_x = static_cast<int32_t>(i % static_cast<size_t>(w));
            d.first_y = static_cast<int32_t>(i / static_cast<size_t>(w));
            d.expected = golden[i];
            d.actual = actual[i];
        }
    }
    return d;
}

std::vector<uint32_t> difference_picture(const std::vector<uint32_t> &golden, const std::vector<uint32_t> &actual,
                                         int32_t w, int32_t h, const std::vector<SDL_Rect> &blended,
                                         int32_t tolerance) {
    const std::vector<char> mask = mask_of(blended, w, h);
    std::vector<uint32_t> out(mask.size());
    for (size_t i = 0; i < mask.size(); ++i) {
        int32_t step = 0;
        switch (judge(golden[i], actual[i], mask[i] != 0, tolerance, &step)) {
        case Verdict::kDiffering: out[i] = 0xFFFF0000u; break;
        case Verdict::kTolerated: out[i] = 0xFF3060FFu; break;
        case Verdict::kEqual: out[i] = 0xFF000000u | ((golden[i] >> 2) & 0x003F3F3Fu); break;
        }
    }
    return out;
}

std::string hex_pixel(uint32_t argb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(argb));
    return text;
}

} // namespace vt
