// Painting a frame allocates nothing, not even inside SDL: every SDL allocation made
// while whole frames of each page and overlay are painted is counted.
#include <gtest/gtest.h>

#include "../ui/draw/painters.h"
#include "paint_bench.h"

namespace {

SDL_malloc_func real_malloc;
SDL_calloc_func real_calloc;
SDL_realloc_func real_realloc;
SDL_free_func real_free;
int allocations = 0;

void *counting_malloc(size_t n) {
    ++allocations;
    return real_malloc(n);
}
void *counting_calloc(size_t n, size_t size) {
    ++allocations;
    return real_calloc(n, size);
}
void *counting_realloc(void *p, size_t n) {
    ++allocations;
    return real_realloc(p, n);
}

class FrameAllocations : public bench::PaintBench {
protected:
    void SetUp() override {
        PaintBench::SetUp();
        // The counters hand every call on to SDL's own functions, so memory allocated
        // before and freed after (or the other way round) stays consistent.
        SDL_GetMemoryFunctions(&real_malloc, &real_calloc, &real_realloc, &real_free);
        SDL_SetMemoryFunctions(counting_malloc, counting_calloc, counting_realloc, real_free);
    }
    void TearDown() override {
        SDL_SetMemoryFunctions(real_malloc, real_calloc, real_realloc, real_free);
        PaintBench::TearDown();
    }
};

TEST_F(FrameAllocations, SteadyFramesOfEveryPageAllocateNothing) {
    struct Case {
        const char *name;
        int32_t page;
        bool confirm;
        int32_t keypad;
    };
    const Case cases[] = {
        {"main", kPageMain, false, -1},         {"keyboard", kPageKeyboard, false, -1},
        {"controller", kPageController, false, -1}, {"online", kPageOnline, false, -1},
        {"settings", kPageSettings, false, -1}, {"keypad", kPageOnline, false, 1},
        {"confirmation and keypad", kPageSettings, true, 2},
    };
    vl.status.state = 2;
    vl.status.percent = 57;
    vl.status.rom_ok = 1;
    std::snprintf(vl.status.rom_path, sizeof vl.status.rom_path, "/roms/game.gba");
    vl.fake_pad = 1;
    for (const Case &c : cases) {
        vl.page = c.page;
        vl.confirm_open = c.confirm;
        vl.keypad_field = c.keypad;
        build_page();
        // SDL queues draw commands until a flush, as the loop's change of render target
        // does after every frame. The first frame may grow SDL's command buffers.
        paint_frame();
        SDL_RenderFlush(vl.renderer);
        allocations = 0;
        for (int i = 0; i < 3; ++i) {
            paint_frame();
            SDL_RenderFlush(vl.renderer);
        }
        EXPECT_EQ(allocations, 0) << c.name;
    }
}

} // namespace
