// Renderer resets. Some renderers lose the contents of their render targets when the
// window changes size or mode or the device is lost (Direct3D), and report it with
// SDL_RENDER_TARGETS_RESET; some lose every texture and report SDL_RENDER_DEVICE_RESET.
// Either way the frame is painted again at once, so that nothing reads a cleared
// target; after a device reset the font atlases and the target are made anew first.
#include "../draw/font.h"
#include "frame.h"
#include "state.h"

SDL_Texture *create_render_target(SDL_Renderer *renderer) {
    return SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, kLogicalWidth,
                             kLogicalHeight);
}

void handle_render_reset(uint32_t event_type) {
    if (vl.renderer == nullptr) return;
    if (event_type == SDL_RENDER_DEVICE_RESET) {
        release_font_atlases();
        build_font_atlases(vl.renderer);
        SDL_DestroyTexture(vl.target);
        // Without a target there is nothing to paint or read; the window keeps its last frame.
        vl.target = create_render_target(vl.renderer);
    }
    paint_target();
}

// A renderer reports a reset while it performs the call that needed it, for instance
// the first render call after the window was resized. Called after such a call, before
// the target is read, this handles what was reported in the meantime; true when there
// was something (the frame was painted again and the renderer's target changed).
bool take_pending_render_resets() {
    constexpr int kBatch = 8;
    SDL_Event events[kBatch];
    bool targets = false;
    bool device = false;
    int n = 0;
    while ((n = SDL_PeepEvents(events, kBatch, SDL_GETEVENT, SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET)) > 0) {
        for (int i = 0; i < n; ++i) {
            if (events[i].type == SDL_RENDER_DEVICE_RESET) device = true;
            if (events[i].type == SDL_RENDER_TARGETS_RESET) targets = true;
        }
    }
    if (!device && !targets) return false;
    handle_render_reset(device ? SDL_RENDER_DEVICE_RESET : SDL_RENDER_TARGETS_RESET);
    return true;
}
