// The held-key filter: see held_keys.h for why. It runs inside SDL_PushEvent, so it sees
// each system message right before the SDL events made from it, in order.
#include "held_keys.h"

#include <cstring>
#include <vector>

#include "state.h"

// After our headers: on X11 this brings in Xlib, whose macros (None, Status, ...) must
// not reach them.
#include <SDL_syswm.h>

namespace {

// SDL_SetEventFilter empties the queue; events someone left there (the events after a
// dropped file, kept for whoever runs SDL next) are put back as they were.
void set_filter_keeping_queue(SDL_EventFilter filter, void *userdata) {
    const int pending = SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    std::vector<SDL_Event> kept(pending > 0 ? static_cast<size_t>(pending) : 0);
    const int got = kept.empty() ? 0
                                 : SDL_PeepEvents(kept.data(), static_cast<int>(kept.size()), SDL_GETEVENT,
                                                  SDL_FIRSTEVENT, SDL_LASTEVENT);
    SDL_SetEventFilter(filter, userdata);
    if (got > 0) SDL_PeepEvents(kept.data(), got, SDL_ADDEVENT, 0, 0);
}

#if defined(SDL_VIDEO_DRIVER_X11)
void note_x11_event(vl_held_keys &h, const XEvent &x) {
    h.next_was_down = false;
    if (x.type == KeymapNotify) {
        // Sent after every FocusIn: the keys down right now. Those pressed here are not
        // held from before (the pointer may enter while a slider key repeats).
        for (int k = 0; k < kSystemKeyCodes; ++k) {
            const bool down = (x.xkeymap.key_vector[k / 8] >> (k % 8)) & 1;
            h.system_held[k] = down && !h.system_down_here[k];
        }
    } else if (x.type == KeyPress || x.type == KeyRelease) {
        const unsigned code = x.xkey.keycode;
        if (code >= static_cast<unsigned>(kSystemKeyCodes)) return;
        if (x.type == KeyRelease) {
            h.system_held[code] = h.system_down_here[code] = false;
        } else if (h.system_held[code]) {
            h.next_was_down = true;
        } else {
            h.system_down_here[code] = true;
        }
    }
}
#endif

#if defined(SDL_VIDEO_DRIVER_WINDOWS)
void note_windows_message(vl_held_keys &h, UINT message, LPARAM lparam) {
    constexpr LPARAM kPreviousKeyState = LPARAM{1} << 30;  // the key was down before this message
    h.next_was_down = (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && (lparam & kPreviousKeyState) != 0;
}
#endif

void note_system_message(vl_held_keys &h, const SDL_SysWMmsg *msg) {
    h.next_was_down = false;
    if (!msg) return;
#if defined(SDL_VIDEO_DRIVER_X11)
    if (msg->subsystem == SDL_SYSWM_X11) note_x11_event(h, msg->msg.x11.event);
#endif
#if defined(SDL_VIDEO_DRIVER_WINDOWS)
    if (msg->subsystem == SDL_SYSWM_WINDOWS) note_windows_message(h, msg->msg.win.msg, msg->msg.win.lParam);
#endif
}

bool valid(SDL_Scancode code) { return code > SDL_SCANCODE_UNKNOWN && code < SDL_NUM_SCANCODES; }

// True when the key-down must be dropped: its key was down before this window had it.
bool key_down_is_held(vl_held_keys &h, const SDL_KeyboardEvent &key) {
    const SDL_Scancode code = key.keysym.scancode;
    const bool was_down = h.next_was_down;
    h.next_was_down = false;
    if (!valid(code)) return h.drop_text = false;
    if (!h.held[code] && was_down && !h.down_here[code]) h.held[code] = true;
    if (!h.held[code]) h.down_here[code] = true;
    return h.drop_text = h.held[code];
}

void key_up(vl_held_keys &h, const SDL_KeyboardEvent &key) {
    const SDL_Scancode code = key.keysym.scancode;
    h.drop_text = false;
    if (valid(code)) h.held[code] = h.down_here[code] = false;
}

int SDLCALL held_key_filter(void *, SDL_Event *event) {
    vl_held_keys &h = vl.held_keys;
    if (h.active) {
        switch (event->type) {
        case SDL_SYSWMEVENT:
            note_system_message(h, event->syswm.msg);
            return 0;  // read here only; the queue stays as it was without them
        case SDL_KEYDOWN:
            if (key_down_is_held(h, event->key)) return 0;
            break;
        case SDL_KEYUP: key_up(h, event->key); break;
        case SDL_TEXTINPUT:
            if (h.drop_text) return 0;
            break;
        default: break;
        }
    }
    return h.previous_filter ? h.previous_filter(h.previous_userdata, event) : 1;
}

} // namespace

void begin_held_keys() {
    vl_held_keys &h = vl.held_keys;
    end_held_keys();  // left on by a start that failed, if ever
    SDL_EventFilter current = nullptr;
    void *userdata = nullptr;
    SDL_GetEventFilter(&current, &userdata);
    std::memset(&h, 0, sizeof h);
    h.previous_filter = current;
    h.previous_userdata = userdata;
    set_filter_keeping_queue(held_key_filter, nullptr);
    // Keys SDL already counts as down (modifiers it synchronised, say) are held too.
    int count = 0;
    const Uint8 *state = SDL_GetKeyboardState(&count);
    for (int k = 0; state && k < count && k < SDL_NUM_SCANCODES; ++k) h.held[k] = state[k] != 0;
    h.active = true;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
}

void end_held_keys() {
    vl_held_keys &h = vl.held_keys;
    if (!h.active) return;
    h.active = false;
    SDL_EventState(SDL_SYSWMEVENT, SDL_DISABLE);
    SDL_EventFilter current = nullptr;
    void *userdata = nullptr;
    SDL_GetEventFilter(&current, &userdata);
    if (current == held_key_filter) set_filter_keeping_queue(h.previous_filter, h.previous_userdata);
}
