/* vorla_ui: the launcher window, its settings file, the progress window and the
 * inspection exports, called by the host application on one thread.
 * Every export has C linkage; records handed to callbacks belong to the library. */
#ifndef VORLA_UI_H
#define VORLA_UI_H

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
    int32_t state;          /* 0 no ROM, 1 preparing, 2 building, 3 ready, 4 error */
    int32_t percent;        /* build progress */
    char message[96];       /* status line, replaces the default text when set */
    char rom_path[260];     /* path of the loaded ROM */
    int32_t rom_ok;         /* not 0 when the ROM was accepted */
} vl_status;

/* Cable-link lobby, filled by the host's online callback (452 bytes). */
typedef struct vl_online_status {
    int32_t lobby_state;    /* 0 off, 1 waiting, 2 connecting, 3 connected, 4 in game, 5 desync, 6 lost */
    int32_t slot_state[4];  /* 0 empty, 1 joining, 2 connected, 3 ready, 4 lost */
    int32_t slot_ping[4];   /* milliseconds, -1 not measured */
    char slot_name[4][16];
    int32_t local_slot;     /* this player's slot, -1 none */
    char address[48];       /* this machine's address when `addresses` is empty */
    char host_message[96];  /* replaces the lobby hint when set */
    int32_t quality;        /* 0 measuring, 1 good, 2 fair, 3 poor */
    int32_t pauses;         /* pauses over 100 ms while in game */
    int32_t p95_ms;         /* 95th-percentile latency, negative when not measured */
    char addresses[4][48];  /* local addresses; the list ends at the first empty entry */
} vl_online_status;

typedef void (*vl_status_cb)(vl_status *status);
typedef void (*vl_online_cb)(vl_online_status *online);

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

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The byte layout is a contract with the host. */
#ifdef __cplusplus
#  define VL_STATIC_ASSERT static_assert
#else
#  define VL_STATIC_ASSERT _Static_assert
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
