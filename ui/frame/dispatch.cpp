// dispatch_event: routes each SDL event of the launcher window to its handler, and the
// keyboard rules (text editing, key capture, navigation), tested in that order.
#include <cstdio>

#include "../screens/fields.h"
#include "dispatch.h"
#include "frame.h"
#include "state.h"

namespace {

// A name the settings file can hold as it is. For any other (one outside printable ASCII,
// such as "\xC3\xB6"), the normalisation of every save would put the default back, so the
// binding would never reach the file.
bool key_name_is_usable(const char *name) { return is_ini_safe(name); }

bool repeats(SDL_Keycode sym) { return sym == SDLK_LEFT || sym == SDLK_RIGHT || sym == SDLK_BACKSPACE; }

bool is_enter(SDL_Keycode sym) { return sym == SDLK_RETURN || sym == SDLK_KP_ENTER; }

int32_t tab_step(uint16_t mod) { return (mod & KMOD_SHIFT) ? -1 : 1; }

void paste_into(int32_t field) {
    char *text = SDL_GetClipboardText();
    if (!text) return;
    insert_text(field, text);
    SDL_free(text);
}

void edit_key(const SDL_Keysym &key) {
    const int32_t field = vl.editing_field;
    if (key.sym == SDLK_BACKSPACE) {
        delete_last_char(field);
    } else if (key.sym == SDLK_TAB) {
        end_editing();
        cycle_focus(tab_step(key.mod));
    } else if (is_enter(key.sym) || key.sym == SDLK_ESCAPE) {
        end_editing();
    } else if (key.sym == SDLK_DOWN || key.sym == SDLK_UP) {
        end_editing();
        move_focus(key.sym == SDLK_DOWN ? 1 : 0);
    } else if (key.sym == SDLK_v && (key.mod & KMOD_CTRL)) {
        paste_into(field);
    }
    // Typed characters arrive as SDL_TEXTINPUT.
}

void capture_key(SDL_Keycode sym) {
    if (sym == SDLK_ESCAPE) {
        cancel_capture();
        return;
    }
    // Only the keyboard page binds keys; elsewhere a capture waits for a controller button.
    if (vl.page != kPageKeyboard) return;
    const char *name = SDL_GetKeyName(sym);
    if (!key_name_is_usable(name)) {
        set_note("That key cannot be used - press another", 1);
    } else if (is_reserved_key(name)) {
        char note[sizeof vl.note];
        std::snprintf(note, sizeof note, "%s is reserved - press another key", name);
        set_note(note, 1);
    } else {
        apply_binding(vl.capture, name);
    }
}

void navigate_key(const SDL_Keysym &key) {
    if (key.sym == SDLK_ESCAPE) {
        if (vl.keypad_field >= 0 || vl.confirm_open || vl.page != kPageMain) {
            go_back();
        } else {
            vl.exit_code = VL_EXIT_QUIT;
            vl.running = false;
        }
        return;
    }
    if (vl.widget_count == 0) return;
    switch (key.sym) {
    case SDLK_TAB: cycle_focus(tab_step(key.mod)); break;
    case SDLK_RETURN:
    case SDLK_SPACE:
    case SDLK_KP_ENTER: activate(vl.focus); break;
    case SDLK_UP: move_focus(0); break;
    case SDLK_DOWN: move_focus(1); break;
    case SDLK_LEFT: move_focus(2); break;
    case SDLK_RIGHT: move_focus(3); break;
    default: break;
    }
}

// Key, text and mouse events of another window are not ours; id 0 means no window.
bool for_another_window(uint32_t window_id) {
    return window_id != 0 && vl.window && window_id != SDL_GetWindowID(vl.window);
}

void text_input(const char *text) {
    if (vl.editing_field >= 0) {
        insert_text(vl.editing_field, text);
    } else if (vl.keypad_field >= 0) {
        insert_text(vl.keypad_field, text);
    }
}

} // namespace

void cancel_capture() {
    vl.capture = -1;
    set_note("Cancelled", 0);
}

void dispatch_key(const SDL_KeyboardEvent &key) {
    if (key.repeat && !repeats(key.keysym.sym)) return;
    if (vl.editing_field >= 0) {
        edit_key(key.keysym);
    } else if (vl.capture >= 0) {
        capture_key(key.keysym.sym);
    } else {
        navigate_key(key.keysym);
    }
}

void dispatch_event(const SDL_Event *event) {
    int32_t lx = 0, ly = 0;
    switch (event->type) {
    case SDL_KEYDOWN:
        if (!for_another_window(event->key.windowID)) dispatch_key(event->key);
        break;
    case SDL_TEXTINPUT:
        if (!for_another_window(event->text.windowID)) text_input(event->text.text);
        break;
    case SDL_MOUSEMOTION:
        if (for_another_window(event->motion.windowID)) break;
        map_mouse(event->motion.x, event->motion.y, &lx, &ly);
        pointer_motion(lx, ly);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (for_another_window(event->button.windowID) || event->button.button != SDL_BUTTON_LEFT) break;
        map_mouse(event->button.x, event->button.y, &lx, &ly);
        pointer_press(lx, ly);
        break;
    case SDL_MOUSEBUTTONUP:
        if (!for_another_window(event->button.windowID) && event->button.button == SDL_BUTTON_LEFT)
            pointer_release();
        break;
    case SDL_CONTROLLERAXISMOTION: pad_axis(event->caxis); break;
    case SDL_CONTROLLERBUTTONDOWN: pad_button(event->cbutton); break;
    case SDL_CONTROLLERDEVICEADDED: pad_added(); break;
    case SDL_CONTROLLERDEVICEREMOVED: pad_removed(event->cdevice.which); break;
    default: break;
    }
}
