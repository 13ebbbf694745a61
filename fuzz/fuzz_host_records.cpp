// Any 368 + 452 bytes as the host's records: after the poll's sanitising, every page
// and overlay builds its widgets and paints a whole frame without a sanitizer report.
#include <cstdlib>
#include <cstring>

#include "draw/painters.h"
#include "frame/frame.h"
#include "frame/state.h"

namespace {

bool start_renderer() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return false;
    vl.window = SDL_CreateWindow("fuzz", 0, 0, kLogicalWidth, kLogicalHeight, SDL_WINDOW_HIDDEN);
    vl.renderer = vl.window ? SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
    vl.target = vl.renderer ? SDL_CreateTexture(vl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                                kLogicalWidth, kLogicalHeight)
                            : nullptr;
    if (!vl.target) return false;
    build_font_atlases(vl.renderer);
    default_settings(&vl.settings);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = start_renderer();
    if (!ready) std::abort();
    if (size < sizeof(vl_status) + sizeof(vl_online_status)) return 0;
    std::memcpy(&vl.status, data, sizeof vl.status);
    std::memcpy(&vl.online, data + sizeof vl.status, sizeof vl.online);
    sanitise_status(&vl.status);
    sanitise_online(&vl.online);
    // The remaining bytes pick the focus and a few view fields.
    const uint8_t *extra = data + sizeof(vl_status) + sizeof(vl_online_status);
    const size_t extra_size = size - sizeof(vl_status) - sizeof(vl_online_status);
    vl.address_pick = extra_size > 0 ? extra[0] % 6 - 1 : 0;
    vl.role = extra_size > 1 ? extra[1] & 1 : 0;
    vl.capture = extra_size > 2 ? extra[2] % 12 - 1 : -1;

    struct View {
        int32_t page;
        bool confirm;
        int32_t keypad;
    } views[] = {{0, false, -1}, {1, false, -1}, {2, false, -1}, {3, false, -1}, {4, false, -1},
                 {4, true, -1},  {3, false, 1},  {3, false, 2},  {4, true, 2},   {7, false, -1}};
    for (const View &view : views) {
        vl.page = view.page;
        vl.confirm_open = view.confirm;
        vl.keypad_field = view.keypad;
        build_page();
        SDL_SetRenderTarget(vl.renderer, vl.target);
        paint_frame();
        SDL_SetRenderTarget(vl.renderer, nullptr);
    }
    vl.confirm_open = false;
    vl.keypad_field = -1;
    return 0;
}
