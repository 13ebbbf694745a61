// Run-level operations of the launcher window shared across subsystems.
#pragma once

#include <cstdint>

// The launcher window's title, also a progress window's when the host gives none.
constexpr const char *kWindowTitle = "Vorla & The Glassmaze - Recomp";

union SDL_Event;
struct SDL_Renderer;
struct SDL_Texture;
struct vl_status;
struct vl_online_status;

// run.cpp
// What the first page of a run starts from: the settings file at `ini_path` read again,
// the text fields and the link role taken from it, and the records, page, modes, note
// and overrides cleared. vl_run begins with it; the window, renderer and controller are
// left alone, so a test host can start another scene inside a running loop.
void begin_run_state(const char *ini_path);
// Writes the live settings to settings_path at once; every write records its outcome
// as the last error (a success clears it), so the last write of a run decides.
void save_live_settings();
void set_note(const char *text, int32_t is_error);
void open_first_controller();
bool pad_present();  // inspection override first, then the open controller

// poll.cpp
void sanitise_status(vl_status *status);
void sanitise_online(vl_online_status *online);
void poll_host();

// dispatch.cpp
void dispatch_event(const SDL_Event *event);

// focus.cpp
void move_focus(int32_t direction);  // 0 up, 1 down, 2 left, 3 right
void cycle_focus(int32_t step);
void go_back();

// present.cpp
void paint_target();  // the whole frame into the render target, nothing presented
void present_frame();
void compute_present_rect();
void map_mouse(int32_t mx, int32_t my, int32_t *lx, int32_t *ly);
void apply_window_mode(bool keep_position);
void window_size_for_scale(int32_t scale, int32_t *w, int32_t *h);

// render_reset.cpp
SDL_Texture *create_render_target(SDL_Renderer *renderer);
void handle_render_reset(uint32_t event_type);  // SDL_RENDER_TARGETS_RESET or SDL_RENDER_DEVICE_RESET
bool take_pending_render_resets();  // true when one was handled

// automation.cpp: a page's name as vl_test_page gives it ("main" for an unknown page)
const char *page_name(int32_t page);

// icon.cpp
void make_icon(uint32_t *pixels);  // 32 x 32 ARGB8888

// last_error.cpp: the text vl_last_error returns, kept per thread
void clear_last_error();
#if defined(__GNUC__)
#define VL_PRINTF_FORMAT __attribute__((format(printf, 1, 2)))
#else
#define VL_PRINTF_FORMAT
#endif
void set_last_error(const char *format, ...) VL_PRINTF_FORMAT;  // one line, cut to its buffer
void report_failure(const char *format, ...) VL_PRINTF_FORMAT;  // the same, and that line on stderr
#undef VL_PRINTF_FORMAT

// progress.cpp: the progress window while it is open, else null (for inspection in tests)
struct SDL_Window;
SDL_Window *progress_window_handle();
