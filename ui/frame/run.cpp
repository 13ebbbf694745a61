// vl_run: one launcher run (start-up, loop, shutdown) and the setters the host uses.
#include <cstdio>
#include <cstring>

#include "../draw/painters.h"
#include "../screens/fields.h"
#include "../screens/lobby.h"
#include "../settings/file_io.h"
#include "../settings/text_rules.h"
#include "frame.h"
#include "held_keys.h"
#include "state.h"
#include "window_place.h"

namespace {

constexpr uint32_t kNoteMillis = 3000;
constexpr const char *kNotePathTooLong = "That file's path is too long - move the file to a shorter path";
constexpr uint32_t kEventWaitMillis = 16;

// The SDL objects and the result of a run, before start-up makes them.
void reset_run_objects() {
    vl.controller = nullptr;
    vl.exit_code = 0;
    vl.running = true;
    vl.window = nullptr;
    vl.renderer = nullptr;
    vl.target = nullptr;
    vl.present_rect = SDL_Rect{0, 0, kLogicalWidth, kLogicalHeight};
}

// Releases what start-up created before a failure; nothing else was touched.
int32_t fail_start() {
    end_held_keys();
    if (vl.gc_ok) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    vl.gc_ok = false;
    return 0;
}

void set_window_icon(SDL_Window *window) {
    static uint32_t icon[32 * 32];
    make_icon(icon);
    SDL_Surface *surface =
        SDL_CreateRGBSurfaceWithFormatFrom(icon, 32, 32, 32, 128, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window, surface);
    SDL_FreeSurface(surface);
}

// Start-up after the settings are read; false when the window cannot be shown.
bool start_window() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        report_failure("vorla_ui: SDL_InitSubSystem failed: %s", SDL_GetError());
        return false;
    }
    begin_held_keys();
    vl.gc_ok = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;

    vl.window = create_placed_window(kWindowTitle, SDL_WINDOW_RESIZABLE);
    if (!vl.window) {
        report_failure("vorla_ui: SDL_CreateWindow failed: %s", SDL_GetError());
        fail_start();
        return false;
    }
    SDL_SetWindowMinimumSize(vl.window, 480, 300);
    set_window_icon(vl.window);

    vl.renderer = SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_ACCELERATED);
    if (!vl.renderer) vl.renderer = SDL_CreateRenderer(vl.window, -1, SDL_RENDERER_SOFTWARE);
    if (!vl.renderer) {
        report_failure("vorla_ui: SDL_CreateRenderer failed: %s", SDL_GetError());
        SDL_DestroyWindow(vl.window);
        vl.window = nullptr;
        fail_start();
        return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    vl.target = create_render_target(vl.renderer);
    if (!vl.target) {
        report_failure("vorla_ui: SDL_CreateTexture failed: %s", SDL_GetError());
        SDL_DestroyRenderer(vl.renderer);
        vl.renderer = nullptr;
        SDL_DestroyWindow(vl.window);
        vl.window = nullptr;
        fail_start();
        return false;
    }
    build_font_atlases(vl.renderer);
    SDL_EventState(SDL_DROPFILE, SDL_ENABLE);
    if (vl.gc_ok && !vl.controller) open_first_controller();
    apply_window_mode(true);
    return true;
}

// One pending event of the loop.
void handle_event(const SDL_Event &event) {
    switch (event.type) {
    case SDL_QUIT:
        vl.exit_code = VL_EXIT_QUIT;
        vl.running = false;
        break;
    case SDL_DROPFILE:
        if (!event.drop.file) break;
        // Cut to the field, a longer path would name another file: it is refused instead.
        if (std::strlen(event.drop.file) < sizeof vl.dropped_path) {
            std::snprintf(vl.dropped_path, sizeof vl.dropped_path, "%s", event.drop.file);
            vl.exit_code = VL_EXIT_CHOOSE_ROM;
            vl.running = false;
        } else {
            set_note(kNotePathTooLong, 1);
        }
        SDL_free(event.drop.file);
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET:
        handle_render_reset(event.type);
        break;
    default:
        dispatch_event(&event);
        break;
    }
}

void run_loop() {
    while (vl.running) {
        SDL_Event event;
        if (SDL_WaitEventTimeout(&event, kEventWaitMillis)) {
            handle_event(event);
            while (vl.running && SDL_PollEvent(&event)) handle_event(event);
        }
        if (!vl.running) break;
        if (vl.status_poll && SDL_GetTicks() >= vl.next_poll) {
            poll_host();
            vl.next_poll = SDL_GetTicks() + static_cast<uint32_t>(vl.poll_interval_ms);
        }
        present_frame();
    }
}

// Drop events still queued when the run ends own their path text. Their pointers are
// noted before SDL stops; if stopping SDL destroyed the queue (nobody else keeps the
// event subsystem up), the texts would leak, so they are released here. Otherwise
// the events stay queued for whoever still runs SDL, and so do their texts.
constexpr int kDropNotes = 64;

int note_queued_drops(char *files[kDropNotes]) {
    SDL_Event events[kDropNotes];
    const int n = SDL_PeepEvents(events, kDropNotes, SDL_PEEKEVENT, SDL_DROPFILE, SDL_DROPTEXT);
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (events[i].drop.file) files[count++] = events[i].drop.file;
    return count;
}

void release_lost_drops(char *files[kDropNotes], int count) {
    if (SDL_WasInit(SDL_INIT_EVENTS)) return;
    for (int i = 0; i < count; ++i) SDL_free(files[i]);
}

void shut_down() {
    remember_window_place();
    end_editing();
    commit_fields();
    if (vl.controller) SDL_GameControllerClose(vl.controller);
    vl.controller = nullptr;
    release_font_atlases();
    SDL_DestroyTexture(vl.target);
    vl.target = nullptr;
    SDL_DestroyRenderer(vl.renderer);
    vl.renderer = nullptr;
    end_held_keys();
    SDL_DestroyWindow(vl.window);
    vl.window = nullptr;
    char *drops[kDropNotes];
    const int drop_count = note_queued_drops(drops);
    if (vl.gc_ok) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    vl.gc_ok = false;
    release_lost_drops(drops, drop_count);
}

} // namespace

vl_state vl{};

void begin_run_state(const char *ini_path) {
    // A path longer than the field would be cut to the name of another file, perhaps in a
    // folder the host never named: such a run reads and writes no settings file at all, as
    // if the file could not be opened (the settings are the defaults). Its start is kept
    // for the last error that each write then leaves.
    const char *path = ini_path ? ini_path : "vorla.ini";
    vl.long_path_head[0] = '\0';
    if (std::strlen(path) < sizeof vl.settings_path) {
        std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", path);
        load_settings(vl.settings_path, &vl.settings);
    } else {
        vl.settings_path[0] = '\0';
        std::snprintf(vl.long_path_head, sizeof vl.long_path_head, "%.*s",
                      static_cast<int>(whole_chars_within(path, sizeof vl.long_path_head - 1)), path);
        default_settings(&vl.settings);
    }
    fill_fields_from_settings();
    reset_role_from_settings();
    vl.remembered_delay = vl.settings.delay >= 0 ? vl.settings.delay : 2;
    std::memset(&vl.status, 0, sizeof vl.status);
    std::memset(&vl.online, 0, sizeof vl.online);
    vl.dropped_path[0] = '\0';
    vl.page = vl.start_page;
    vl.widget_count = 0;
    vl.focus = 0;
    vl.hover = -1;
    vl.drag_slider = 0;
    vl.capture = -1;
    vl.confirm_open = false;
    vl.editing_field = -1;
    vl.keypad_field = -1;
    vl.activated_by_pad = false;
    vl.address_pick = 0;
    vl.refocus_id[0] = '\0';
    vl.note[0] = '\0';
    vl.fake_pad = -1;
    vl.text_log_count = 0;
    vl.text_log_on = false;
    vl.bar_shown = false;
}

void save_live_settings() {
    if (!vl.settings_path[0]) {
        if (vl.long_path_head[0])
            set_last_error(VL_ERROR_SETTINGS_NOT_WRITTEN "its path is longer than %d bytes: %s...",
                           static_cast<int>(sizeof vl.settings_path - 1), vl.long_path_head);
        else
            set_last_error(VL_ERROR_SETTINGS_NOT_WRITTEN "the path is empty");
        return;
    }
    file_failure failure;
    if (save_settings(vl.settings_path, &vl.settings, &failure) == 0)
        clear_last_error();
    else
        set_last_error(VL_ERROR_SETTINGS_NOT_WRITTEN "%s", failure.text);
}

void set_note(const char *text, int32_t is_error) {
    std::snprintf(vl.note, sizeof vl.note, "%s", text);
    vl.note_until = SDL_GetTicks() + kNoteMillis;
    vl.note_is_error = is_error;
}

void open_first_controller() {
    for (int k = 0; k < SDL_NumJoysticks(); ++k) {
        if (!SDL_IsGameController(k)) continue;
        vl.controller = SDL_GameControllerOpen(k);
        if (vl.controller) return;
    }
}

bool pad_present() {
    if (vl.fake_pad >= 0) return vl.fake_pad != 0;
    return vl.controller != nullptr;
}

extern "C" {

VL_API int32_t vl_run(const char *ini_path, vl_status_cb status_cb) {
    // One run at a time, claimed in one step: of callers arriving together, from any
    // thread or from inside a callback, exactly one gets in. The others touch nothing
    // of the run under way; the refusal goes to their own thread's last error.
    if (vl.in_run.exchange(true)) {
        report_failure("vorla_ui: vl_run called while a run is under way; refused");
        return VL_RUN_REFUSED;
    }
    clear_last_error();
    begin_run_state(ini_path);
    reset_run_objects();
    vl.status_poll = status_cb;

    if (!start_window()) {
        vl.in_run = false;
        return VL_EXIT_QUIT;  // hosts stop on it; vl_last_error says why
    }
    if (status_cb) {
        status_cb(&vl.status);
        sanitise_status(&vl.status);
    }
    // The first build gives the focus back to the widget the last run ended on.
    if (vl.keep_place) std::snprintf(vl.refocus_id, sizeof vl.refocus_id, "%s", vl.last_focus_id);
    build_page();
    vl.next_poll = SDL_GetTicks() + static_cast<uint32_t>(vl.poll_interval_ms);

    run_loop();
    shut_down();
    vl.in_run = false;
    return vl.exit_code;
}

VL_API const char *vl_dropped_path(void) {
    return vl.dropped_path[0] ? vl.dropped_path : nullptr;
}

VL_API void vl_set_poll_interval(int32_t ms) {
    vl.poll_interval_ms = ms < 1 ? 1 : ms;
}

VL_API void vl_set_online_poll(vl_online_cb online_cb) {
    vl.online_poll = online_cb;
}

VL_API void vl_set_start_page(uint32_t page) {
    vl.start_page = page <= VL_PAGE_SETTINGS ? static_cast<int32_t>(page) : VL_PAGE_MAIN;
}

VL_API void vl_set_keep_place(int32_t on) {
    vl.keep_place = on != 0;
}

} // extern "C"
