/* vorla_ui: the launcher window, its settings file, the progress window and the
 * inspection exports, called by the host application on one thread.
 * Every export has C linkage; records handed to callbacks belong to the library.
 * The header compiles on its own as C99 or later and as C++11 or later. */
#ifndef VORLA_UI_H
#define VORLA_UI_H

/* Version of this interface and of the library built from it (the build reads it from
 * these three lines). A minor version adds exports and names; 1.0 hosts keep working. */
#define VL_UI_VERSION_MAJOR 1
#define VL_UI_VERSION_MINOR 1
#define VL_UI_VERSION_PATCH 0

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#  if defined(VORLA_UI_BUILD)
#    define VL_API __declspec(dllexport)
#  else
#    define VL_API __declspec(dllimport)
#  endif
#else
#  define VL_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Launcher status, filled by the host's status callback (368 bytes). */
typedef struct vl_status {
    int32_t state;          /* VL_BUILD_* */
    int32_t percent;        /* build progress */
    char message[96];       /* status line, replaces the default text when set */
    char rom_path[260];     /* path of the loaded ROM */
    int32_t rom_ok;         /* not 0 when the ROM was accepted */
} vl_status;

/* Cable-link lobby, filled by the host's online callback (452 bytes). */
typedef struct vl_online_status {
    int32_t lobby_state;    /* VL_LOBBY_* */
    int32_t slot_state[4];  /* VL_SLOT_* */
    int32_t slot_ping[4];   /* milliseconds, -1 not measured */
    char slot_name[4][16];
    int32_t local_slot;     /* this player's slot, -1 none */
    char address[48];       /* this machine's address when `addresses` is empty */
    char host_message[96];  /* replaces the lobby hint when set */
    int32_t quality;        /* VL_QUALITY_*, other values count as measuring */
    int32_t pauses;         /* pauses over 100 ms while in game */
    int32_t p95_ms;         /* 95th-percentile latency, negative when not measured */
    char addresses[4][48];  /* local addresses; the list ends at the first empty entry */
} vl_online_status;

typedef void (*vl_status_cb)(vl_status *status);
typedef void (*vl_online_cb)(vl_online_status *online);

/* Build state, vl_status.state. */
enum {
    VL_BUILD_NO_ROM = 0,
    VL_BUILD_PREPARING = 1,   /* "play" is disabled */
    VL_BUILD_BUILDING = 2,    /* the game can already be played */
    VL_BUILD_READY = 3,
    VL_BUILD_ERROR = 4
};

/* Lobby state, vl_online_status.lobby_state. */
enum {
    VL_LOBBY_NOT_CONNECTED = 0,
    VL_LOBBY_WAITING = 1,     /* hosting, waiting for players */
    VL_LOBBY_CONNECTING = 2,
    VL_LOBBY_CONNECTED = 3,
    VL_LOBBY_IN_GAME = 4,
    VL_LOBBY_DESYNC = 5,
    VL_LOBBY_LOST = 6
};

/* State of one player slot, vl_online_status.slot_state[]. */
enum {
    VL_SLOT_EMPTY = 0,
    VL_SLOT_JOINING = 1,
    VL_SLOT_CONNECTED = 2,
    VL_SLOT_READY = 3,
    VL_SLOT_LOST = 4
};

/* Link quality while in game, vl_online_status.quality. */
enum {
    VL_QUALITY_MEASURING = 0,
    VL_QUALITY_GOOD = 1,
    VL_QUALITY_FAIR = 2,
    VL_QUALITY_POOR = 3
};

/* Pages of the launcher window: vl_set_start_page, and vl_test_page by name. */
enum {
    VL_PAGE_MAIN = 0,
    VL_PAGE_KEYBOARD = 1,
    VL_PAGE_CONTROLLER = 2,
    VL_PAGE_ONLINE = 3,
    VL_PAGE_SETTINGS = 4
};

/* Text fields, the index of vl_test_field. */
enum {
    VL_FIELD_NAME = 0,
    VL_FIELD_HOST = 1,        /* the address to join */
    VL_FIELD_PORT = 2
};

/* Exit codes of vl_run. */
enum {
    VL_EXIT_QUIT = 0,
    VL_EXIT_PLAY = 1,
    VL_EXIT_CHOOSE_ROM = 2,
    VL_EXIT_SAVE_OPEN = 3,
    VL_EXIT_SAVE_EXPORT = 4,
    VL_EXIT_SAVE_IMPORT = 5,
    VL_EXIT_LINK_HOST = 6,
    VL_EXIT_LINK_JOIN = 7,
    VL_EXIT_LINK_LEAVE = 8,
    VL_EXIT_LINK_START = 9,
    VL_EXIT_LINK_READY = 10
};

/* Not an exit code: vl_run refused the call because a run is under way (called from
 * inside a callback, or from another thread). Nothing of the run under way changed;
 * vl_last_error says so. */
enum { VL_RUN_REFUSED = -1 };

/* Run lifecycle */
VL_API int32_t vl_run(const char *ini_path, vl_status_cb status_cb);
VL_API const char *vl_dropped_path(void);
VL_API void vl_set_poll_interval(int32_t ms);
VL_API void vl_set_online_poll(vl_online_cb online_cb);
VL_API void vl_set_start_page(uint32_t page);

/* Continuity across runs: not 0 makes each later run reopen its window where the last
 * one closed (same display, same place, when it still fits there) and focus the widget
 * the last run ended on. Off by default. */
VL_API void vl_set_keep_place(int32_t on);

/* Inspection */
VL_API int32_t vl_test_widget(const char *id, int32_t *x, int32_t *y, int32_t *w, int32_t *h);
VL_API int32_t vl_test_enabled(const char *id);
VL_API const char *vl_test_focus(void);
VL_API void vl_test_set_focus(const char *id);
VL_API const char *vl_test_page(void);
VL_API uint32_t vl_test_window_id(void);
VL_API int32_t vl_test_capture(void);
VL_API const char *vl_test_note(void);
VL_API void vl_test_fake_pad(int32_t present, int32_t x, int32_t y);
VL_API int32_t vl_test_pad_present(void);
VL_API int32_t vl_test_addr_sel(void);
VL_API int32_t vl_test_confirm(void);
VL_API int32_t vl_test_editing(void);
VL_API int32_t vl_test_keypad(void);
VL_API const char *vl_test_field(uint32_t index);
VL_API int32_t vl_test_text_count(void);
VL_API int32_t vl_test_text(int32_t index, int32_t *x, int32_t *y, int32_t *w, int32_t *h);
VL_API int32_t vl_test_bar(int32_t *x, int32_t *y, int32_t *w, int32_t *h);
VL_API int32_t vl_test_snapshot(void *pixels, int32_t capacity, int32_t *w, int32_t *h);
VL_API void vl_test_video(int32_t *w, int32_t *h, int32_t *fullscreen);

/* Progress window */
VL_API int32_t vui_open(const char *title);
VL_API int32_t vui_progress(int32_t percent, const char *text);
VL_API void vui_close(void);

/* Failures: the library's last failure as one line of text without a newline, "" when
 * there is none; never null. The text belongs to the library. It is kept per thread, as
 * errno is: read it on the thread that made the call (a run's text on the run's thread,
 * from inside a callback during the run). vl_run clears it when it starts, so after a
 * run it is "" when the window opened and the settings file was written. It is set by:
 *   - a failed start of vl_run, which returns VL_EXIT_QUIT (0), since hosts stop on it:
 *     the SDL call and SDL's error, the line vl_run also writes to stderr;
 *   - a refused vl_run, which returns VL_RUN_REFUSED: the refusal, also on stderr. The
 *     run under way keeps its own text (on another thread) or goes on (in a callback);
 *   - a settings file that could not be written: VL_ERROR_SETTINGS_NOT_WRITTEN, then
 *     the file, the step that failed and the system's reason. Every write of the file
 *     records its outcome (a success clears the text), so after a run the text tells
 *     whether the run's last write, the one at its end that holds every setting, failed.
 *     The player is not told, and nothing goes to stderr (a setting changed in a loop
 *     would repeat the line);
 *   - vui_open failing: the line it writes to stderr.
 * vui_open, vui_progress and the other exports leave it alone when they succeed.
 * So after vl_run returned VL_EXIT_QUIT, a text that does not start with
 * VL_ERROR_SETTINGS_NOT_WRITTEN means the window never opened. */
VL_API const char *vl_last_error(void);

/* The start of vl_last_error's text for a settings file that was not written. */
#define VL_ERROR_SETTINGS_NOT_WRITTEN "vorla_ui: settings file not written: "

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The byte layout is a contract with the host. C before C11 has no static assertion:
 * there a false condition makes an array of negative size. */
#if defined(__cplusplus)
#  define VL_STATIC_ASSERT(condition, what) static_assert(condition, what)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#  define VL_STATIC_ASSERT(condition, what) _Static_assert(condition, what)
#else
#  define VL_ASSERT_NAME(line) VL_ASSERT_NAME_AT(line)
#  define VL_ASSERT_NAME_AT(line) vl_layout_check_##line
#  define VL_STATIC_ASSERT(condition, what) typedef char VL_ASSERT_NAME(__LINE__)[(condition) ? 1 : -1]
#endif
VL_STATIC_ASSERT(sizeof(vl_status) == 368, "vl_status is 368 bytes");
VL_STATIC_ASSERT(offsetof(vl_status, state) == 0, "state");
VL_STATIC_ASSERT(offsetof(vl_status, percent) == 4, "percent");
VL_STATIC_ASSERT(offsetof(vl_status, message) == 8, "message");
VL_STATIC_ASSERT(offsetof(vl_status, rom_path) == 104, "rom_path");
VL_STATIC_ASSERT(offsetof(vl_status, rom_ok) == 364, "rom_ok");
VL_STATIC_ASSERT(sizeof(vl_online_status) == 452, "vl_online_status is 452 bytes");
VL_STATIC_ASSERT(offsetof(vl_online_status, lobby_state) == 0, "lobby_state");
VL_STATIC_ASSERT(offsetof(vl_online_status, slot_state) == 4, "slot_state");
VL_STATIC_ASSERT(offsetof(vl_online_status, slot_ping) == 20, "slot_ping");
VL_STATIC_ASSERT(offsetof(vl_online_status, slot_name) == 36, "slot_name");
VL_STATIC_ASSERT(offsetof(vl_online_status, local_slot) == 100, "local_slot");
VL_STATIC_ASSERT(offsetof(vl_online_status, address) == 104, "address");
VL_STATIC_ASSERT(offsetof(vl_online_status, host_message) == 152, "host_message");
VL_STATIC_ASSERT(offsetof(vl_online_status, quality) == 248, "quality");
VL_STATIC_ASSERT(offsetof(vl_online_status, pauses) == 252, "pauses");
VL_STATIC_ASSERT(offsetof(vl_online_status, p95_ms) == 256, "p95_ms");
VL_STATIC_ASSERT(offsetof(vl_online_status, addresses) == 260, "addresses");

#endif /* VORLA_UI_H */
