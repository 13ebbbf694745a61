#include "bench_scene.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "draw/painters.h"
#include "frame/frame.h"
#include "frame/state.h"

namespace {

std::atomic<uint64_t> allocations{0};

SDL_malloc_func sdl_malloc;
SDL_calloc_func sdl_calloc;
SDL_realloc_func sdl_realloc;
SDL_free_func sdl_free;

void *count_malloc(size_t n) {
    ++allocations;
    return sdl_malloc(n);
}
void *count_calloc(size_t n, size_t size) {
    ++allocations;
    return sdl_calloc(n, size);
}
void *count_realloc(void *p, size_t n) {
    ++allocations;
    return sdl_realloc(p, n);
}

void put(char *field, size_t size, const char *text) { std::snprintf(field, size, "%s", text); }

} // namespace

void *operator new(size_t n) {
    ++allocations;
    if (void *p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, size_t) noexcept { std::free(p); }

uint64_t allocation_count() { return allocations.load(); }

const char *bench_page_name(bench_page page) {
    switch (page) {
    case bench_page::main_building: return "main_building";
    case bench_page::keyboard: return "keyboard";
    case bench_page::controller: return "controller";
    case bench_page::online_four: return "online_four_players";
    case bench_page::settings: return "settings";
    case bench_page::keypad: return "keypad_overlay";
    }
    return "?";
}

bool open_scene() {
    SDL_GetMemoryFunctions(&sdl_malloc, &sdl_calloc, &sdl_realloc, &sdl_free);
    SDL_SetMemoryFunctions(count_malloc, count_calloc, count_realloc, sdl_free);
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    vl.window = SDL_CreateWindow("bench", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kLogicalWidth,
                                 kLogicalHeight, SDL_WINDOW_RESIZABLE);
    if (!vl.window) return false;
    vl.renderer = SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_ACCELERATED);
    if (!vl.renderer) vl.renderer = SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_SOFTWARE);
    if (!vl.renderer) return false;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    vl.target = SDL_CreateTexture(vl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kLogicalWidth,
                                  kLogicalHeight);
    if (!vl.target) return false;
    build_font_atlases(vl.renderer);
    default_settings(&vl.settings);
    std::snprintf(vl.settings_path, sizeof vl.settings_path, "/tmp/vorla-bench.ini");
    return true;
}

void close_scene() {
    release_font_atlases();
    SDL_DestroyTexture(vl.target);
    SDL_DestroyRenderer(vl.renderer);
    SDL_DestroyWindow(vl.window);
    vl.target = nullptr;
    vl.renderer = nullptr;
    vl.window = nullptr;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void show_page(bench_page page) {
    std::memset(&vl.status, 0, sizeof vl.status);
    std::memset(&vl.online, 0, sizeof vl.online);
    vl.confirm_open = false;
    vl.keypad_field = -1;
    vl.editing_field = -1;
    vl.capture = -1;
    vl.hover = -1;
    vl.fake_pad = 1;
    vl.fake_stick[0] = 12000;
    vl.fake_stick[1] = -4000;
    vl.focus = 0;
    vl.note[0] = '\0';
    vl.status.state = 2;
    vl.status.percent = 57;
    vl.status.rom_ok = 1;
    put(vl.status.rom_path, sizeof vl.status.rom_path, "/roms/Vorla & The Glassmaze (Europe).gba");
    put(vl.status.message, sizeof vl.status.message, "Building compiled version... 57%");
    put(vl.fields[0], sizeof vl.fields[0], "Player");
    put(vl.fields[1], sizeof vl.fields[1], "192.168.1.20");
    put(vl.fields[2], sizeof vl.fields[2], "47900");
    switch (page) {
    case bench_page::main_building: vl.page = 0; break;
    case bench_page::keyboard: vl.page = 1; break;
    case bench_page::controller: vl.page = 2; break;
    case bench_page::settings: vl.page = 4; break;
    case bench_page::keypad:
        vl.page = 3;
        vl.keypad_field = 1;
        break;
    case bench_page::online_four: {
        vl.page = 3;
        vl.online.lobby_state = 3;
        const char *names[4] = {"Ann", "Bo", "Cyd", "Dee"};
        for (int i = 0; i < 4; ++i) {
            vl.online.slot_state[i] = i == 1 ? 2 : 3;
            vl.online.slot_ping[i] = 30 + 40 * i;
            put(vl.online.slot_name[i], sizeof vl.online.slot_name[i], names[i]);
        }
        vl.online.local_slot = 0;
        put(vl.online.addresses[0], sizeof vl.online.addresses[0], "192.168.1.20");
        put(vl.online.addresses[1], sizeof vl.online.addresses[1], "fd00::20");
        break;
    }
    }
    build_page();
}

void loop_frame() { present_frame(); }

void floor_frame() {
    SDL_SetRenderTarget(vl.renderer, vl.target);
    SDL_SetRenderDrawColor(vl.renderer, 18, 18, 42, 255);
    SDL_RenderClear(vl.renderer);
    SDL_SetRenderTarget(vl.renderer, nullptr);
    SDL_RenderClear(vl.renderer);
    SDL_RenderCopy(vl.renderer, vl.target, nullptr, nullptr);
    SDL_RenderPresent(vl.renderer);
}
