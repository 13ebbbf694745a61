// The window icon: a round glass gem holding a little maze, drawn from ellipse layers, shared by the
// launcher window and the progress window.
#include "frame.h"

namespace {

constexpr int32_t kIconSize = 32;
constexpr double kMirrorAxis = 16.0;  // pairs are mirrored about the centre column

constexpr uint32_t argb(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | (r << 16) | (g << 8) | b; }

// One layer: an ellipse, or a pair mirrored about column 16 (cx is the left one). A rim
// layer paints the ellipse in `colour` and, `rim_inset` pixels smaller, in `inner_colour`.
struct IconLayer {
    double cx, cy, rx, ry;
    bool pair;
    uint32_t colour;
    double rim_inset;  // 0: no rim
    uint32_t inner_colour;
};

// clang-format off
constexpr uint32_t kGlass = argb(255, 126, 182);
constexpr uint32_t kGlassLight = argb(255, 184, 216);
constexpr uint32_t kWall = argb(21, 21, 42);
constexpr IconLayer kLayers[] = {
    //  cx     cy     rx     ry    pair   colour                 rim   inner
    {16.0,  16.0,  15.5,  15.5,  false, kWall,                 1.5,  kGlass},               // gem body
    {16.0,  16.0,  11.0,  11.0,  false, kWall,                 1.5,  kGlassLight},          // outer maze wall
    {16.0,  16.0,   6.5,   6.5,  false, kWall,                 1.5,  kGlass},               // inner maze wall
    {16.0,   5.75,  2.6,   1.6,  false, kGlass,                0.0,  0},                    // gate in the outer wall
    { 9.75, 16.0,   1.6,   2.6,  true,  kGlassLight,           0.0,  0},                    // gates in the inner wall
    {16.0,  16.0,   2.6,   2.6,  false, argb(255, 210,  63),   0.0,  0},                    // the gem's heart
};
// clang-format on
static_assert(sizeof kLayers / sizeof kLayers[0] <= 6, "the emblem has at most six layers");

bool inside(double px, double py, double cx, double cy, double rx, double ry) {
    const double dx = (px - cx) / rx;
    const double dy = (py - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
}

bool layer_covers(const IconLayer &l, double px, double py, double shrink) {
    const double rx = l.rx - shrink;
    const double ry = l.ry - shrink;
    if (inside(px, py, l.cx, l.cy, rx, ry)) return true;
    return l.pair && inside(px, py, 2.0 * kMirrorAxis - l.cx, l.cy, rx, ry);
}

} // namespace

void make_icon(uint32_t *pixels) {
    if (pixels == nullptr) return;
    for (int32_t j = 0; j < kIconSize; ++j) {
        for (int32_t i = 0; i < kIconSize; ++i) {
            const double px = i + 0.5;
            const double py = j + 0.5;
            uint32_t colour = 0;  // transparent where no layer reaches
            for (const IconLayer &l : kLayers) {
                if (l.rim_inset > 0.0 && layer_covers(l, px, py, l.rim_inset))
                    colour = l.inner_colour;
                else if (layer_covers(l, px, py, 0.0))
                    colour = l.colour;
            }
            pixels[j * kIconSize + i] = colour;
        }
    }
}
