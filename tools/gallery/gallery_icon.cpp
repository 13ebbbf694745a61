// Renders the window icon, enlarged over a checkerboard, to icon.png.
// Usage: gallery_icon [OUTPUT_DIR]   (default docs/gallery)
#include <cstdio>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "test_support.h"

int main(int argc, char **argv) {
    const std::string dir = argc > 1 ? argv[1] : "docs/gallery";
    constexpr int32_t kZoom = 8;
    uint32_t icon[32 * 32];
    make_icon(icon);
    // Transparent pixels over a checkerboard, so the outline of the emblem shows.
    std::vector<uint32_t> big(32 * kZoom * 32 * kZoom);
    for (int32_t y = 0; y < 32 * kZoom; ++y)
        for (int32_t x = 0; x < 32 * kZoom; ++x) {
            const uint32_t p = icon[(y / kZoom) * 32 + x / kZoom];
            const bool dark = ((x / 16) + (y / 16)) % 2 == 0;
            big[static_cast<size_t>(y) * 32 * kZoom + x] = (p >> 24) ? p : (dark ? 0xFF505050u : 0xFF707070u);
        }
    if (!vt::write_png(dir + "/icon.png", big.data(), 32 * kZoom, 32 * kZoom)) {
        std::fprintf(stderr, "gallery_icon: %s/icon.png not written\n", dir.c_str());
        return 1;
    }
    return 0;
}
