// A 960x600 software renderer on a plain ARGB8888 surface, installed as the launcher's
// renderer, for tests that draw directly and read the pixels back.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>

#include <set>
#include <utility>

#include "frame/state.h"

namespace vt {

using Pixels = std::set<std::pair<int32_t, int32_t>>;

class SurfaceCanvas : public ::testing::Test {
protected:
    void SetUp() override {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, kLogicalWidth, kLogicalHeight, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(surface_, nullptr);
        vl.renderer = SDL_CreateSoftwareRenderer(surface_);
        ASSERT_NE(vl.renderer, nullptr);
        clear();
    }
    void TearDown() override {
        SDL_DestroyRenderer(vl.renderer);
        vl.renderer = nullptr;
        SDL_FreeSurface(surface_);
    }
    void clear() {
        SDL_SetRenderDrawColor(vl.renderer, 0, 0, 0, 255);
        SDL_RenderClear(vl.renderer);
    }
    uint32_t at(int32_t x, int32_t y) const {
        return static_cast<const uint32_t *>(surface_->pixels)[y * (surface_->pitch / 4) + x];
    }
    // Every non-black pixel inside the area.
    Pixels lit(int32_t x0, int32_t y0, int32_t w, int32_t h) const {
        Pixels out;
        for (int32_t y = y0; y < y0 + h; ++y)
            for (int32_t x = x0; x < x0 + w; ++x)
                if ((at(x, y) & 0xFFFFFF) != 0) out.insert({x, y});
        return out;
    }
    SDL_Surface *surface_ = nullptr;
};

} // namespace vt
