// Inspection exports: what automation reads of the launcher window. They only read
// the run state (vl_test_fake_pad and vl_test_set_focus aside) and never return null
// where a text is expected.
#include <cstring>

#include "../draw/painters.h"
#include "../screens/fields.h"
#include "frame.h"
#include "state.h"

namespace {

constexpr int32_t kSnapshotPixels = kLogicalWidth * kLogicalHeight;
constexpr int32_t kSnapshotPitch = kLogicalWidth * 4;

void write_rect(const SDL_Rect &r, int32_t *x, int32_t *y, int32_t *w, int32_t *h) {
    if (x) *x = r.x;
    if (y) *y = r.y;
    if (w) *w = r.w;
    if (h) *h = r.h;
}

constexpr const char *kPageNames[] = {"main", "keyboard", "controller", "online", "settings"};
static_assert(sizeof kPageNames / sizeof kPageNames[0] == VL_PAGE_SETTINGS + 1, "a name per page");

} // namespace

const char *page_name(int32_t page) {
    return page >= VL_PAGE_MAIN && page <= VL_PAGE_SETTINGS ? kPageNames[page] : kPageNames[VL_PAGE_MAIN];
}

extern "C" {

VL_API int32_t vl_test_widget(const char *id, int32_t *x, int32_t *y, int32_t *w, int32_t *h) {
    const int32_t i = id ? find_widget(id) : -1;
    if (i < 0) return 0;
    const vl_widget &wd = vl.widgets[i];
    write_rect(SDL_Rect{wd.x, wd.y, wd.w, wd.h}, x, y, w, h);
    return 1;
}

VL_API int32_t vl_test_enabled(const char *id) {
    const int32_t i = id ? find_widget(id) : -1;
    return i >= 0 && vl.widgets[i].enabled ? 1 : 0;
}

VL_API const char *vl_test_focus(void) {
    if (vl.widget_count <= 0 || vl.focus < 0 || vl.focus >= vl.widget_count) return "";
    return vl.widgets[vl.focus].id;
}

VL_API void vl_test_set_focus(const char *id) {
    const int32_t i = id ? find_widget(id) : -1;
    if (i >= 0) vl.focus = i;
}

VL_API const char *vl_test_page(void) {
    return page_name(vl.page);
}

VL_API uint32_t vl_test_window_id(void) {
    return vl.window ? SDL_GetWindowID(vl.window) : 0;
}

VL_API int32_t vl_test_capture(void) { return vl.capture; }

VL_API const char *vl_test_note(void) {
    if (vl.note[0] && SDL_GetTicks() < vl.note_until) return vl.note;
    return "";
}

VL_API void vl_test_fake_pad(int32_t present, int32_t x, int32_t y) {
    vl.fake_pad = present;
    vl.fake_stick[0] = x;
    vl.fake_stick[1] = y;
}

VL_API int32_t vl_test_pad_present(void) {
    if (vl.fake_pad >= 0) return vl.fake_pad;
    return vl.controller ? 1 : 0;
}

VL_API int32_t vl_test_addr_sel(void) { return vl.address_pick; }

VL_API int32_t vl_test_confirm(void) { return vl.confirm_open ? 1 : 0; }

VL_API int32_t vl_test_editing(void) { return vl.editing_field; }

VL_API int32_t vl_test_keypad(void) { return vl.keypad_field; }

VL_API const char *vl_test_field(uint32_t index) {
    return index < static_cast<uint32_t>(kFieldCount) ? vl.fields[index] : "";
}

VL_API int32_t vl_test_text_count(void) { return vl.text_log_count; }

VL_API int32_t vl_test_text(int32_t index, int32_t *x, int32_t *y, int32_t *w, int32_t *h) {
    if (index < 0 || index >= vl.text_log_count) return 0;
    const int32_t *entry = vl.text_log[index];
    write_rect(SDL_Rect{entry[0], entry[1], entry[2], entry[3]}, x, y, w, h);
    return 1;
}

VL_API int32_t vl_test_bar(int32_t *x, int32_t *y, int32_t *w, int32_t *h) {
    if (!vl.bar_shown) return 0;
    write_rect(kProgressTrack, x, y, w, h);
    return 1;
}

VL_API int32_t vl_test_snapshot(void *pixels, int32_t capacity, int32_t *w, int32_t *h) {
    if (capacity < kSnapshotPixels || !vl.renderer || !vl.target || !pixels) return -1;
    if (w) *w = kLogicalWidth;
    if (h) *h = kLogicalHeight;
    SDL_Texture *const previous = SDL_GetRenderTarget(vl.renderer);
    SDL_Texture *const target = vl.target;
    SDL_SetRenderTarget(vl.renderer, target);
    // Selecting the target can be the call that makes the renderer reset it (the first
    // one after a resize, on Direct3D): then it is painted again before it is read.
    if (take_pending_render_resets() && vl.target) SDL_SetRenderTarget(vl.renderer, vl.target);
    const int result =
        vl.target ? SDL_RenderReadPixels(vl.renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels, kSnapshotPitch) : -1;
    SDL_SetRenderTarget(vl.renderer, previous == target ? vl.target : previous);
    return result;
}

VL_API void vl_test_video(int32_t *w, int32_t *h, int32_t *fullscreen) {
    int ww = 0, wh = 0, full = 0;
    if (vl.window) {
        SDL_GetWindowSize(vl.window, &ww, &wh);
        const uint32_t flags = SDL_GetWindowFlags(vl.window);
        full = (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) ? 1 : 0;
    }
    if (w) *w = ww;
    if (h) *h = wh;
    if (fullscreen) *fullscreen = full;
}

} // extern "C"
