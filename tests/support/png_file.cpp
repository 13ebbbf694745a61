// PNG files of ARGB8888 pixels through stb's image reader and writer (Debian's libstb-dev,
// compiled in here, so the Windows cross build needs no PNG library of its own), with
// zlib compressing what the writer stores: the committed pictures stay small.
#include "test_support.h"

#include <zlib.h>

#include <cstddef>
#include <cstdlib>

namespace {

// The writer's compressor hook: a malloc'ed buffer, which the writer frees.
unsigned char *zlib_compress(unsigned char *data, int length, int *out_length, int) {
    uLongf size = compressBound(static_cast<uLong>(length));
    auto *out = static_cast<unsigned char *>(std::malloc(size));
    if (!out) return nullptr;
    if (compress2(out, &size, data, static_cast<uLong>(length), Z_BEST_COMPRESSION) != Z_OK) {
        std::free(out);
        return nullptr;
    }
    *out_length = static_cast<int>(size);
    return out;
}

} // namespace

#define STBIW_ZLIB_COMPRESS zlib_compress
#define STBI_WINDOWS_UTF8
#define STBIW_WINDOWS_UTF8
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_write.h>

namespace vt {

bool write_png(const std::string &path, const uint32_t *pixels, int32_t w, int32_t h) {
    if (w <= 0 || h <= 0) return false;
    std::vector<unsigned char> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
    for (size_t i = 0; i < rgba.size() / 4; ++i) {
        const uint32_t p = pixels[i];
        rgba[4 * i + 0] = static_cast<unsigned char>(p >> 16);
        rgba[4 * i + 1] = static_cast<unsigned char>(p >> 8);
        rgba[4 * i + 2] = static_cast<unsigned char>(p);
        rgba[4 * i + 3] = static_cast<unsigned char>(p >> 24);
    }
    return stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4) != 0;
}

bool read_png(const std::string &path, std::vector<uint32_t> &pixels, int32_t &w, int32_t &h) {
    int width = 0, height = 0, channels = 0;
    unsigned char *rgba = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!rgba) return false;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < pixels.size(); ++i) {
        const unsigned char *p = rgba + 4 * i;
        pixels[i] = uint32_t{p[3]} << 24 | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | uint32_t{p[2]};
    }
    stbi_image_free(rgba);
    w = width;
    h = height;
    return true;
}

} // namespace vt
