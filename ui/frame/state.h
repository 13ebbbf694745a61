// vl_state: the one record that holds everything the library knows. It lives for the
// life of the library; vl_run resets the run fields at each start (see run.cpp).
#pragma once

#include <SDL.h>

#include <atomic>
#include <cstdint>

#include "../draw/font.h"
#include "../screens/widgets.h"
#include "../settings/settings.h"
#include "held_keys.h"
#include "vorla_ui.h"
#include "window_place.h"

struct vl_state {
    // Run configuration and host records
    char settings_path[512];      // vorla.ini path of this run; empty: none (it did not fit)
    char long_path_head[48];      // start of a settings path that did not fit, for the last error
    vl_status status;             // last sanitised status record
    vl_online_status online;      // last sanitised online record
    char dropped_path[1024];      // file dropped on the window; empty when none
    vl_status_cb status_poll;     // this run's status callback, or null
    uint32_t next_poll;           // SDL tick of the next host poll
    int32_t poll_interval_ms = 100;  // at least 1; survives runs
    vl_online_cb online_poll;     // host's online callback or null; survives runs
    int32_t start_page;           // page shown first, 0..4; survives runs
    std::atomic<bool> in_run;     // a vl_run call is under way; claimed by exchange, so one caller gets in

    // Page, widgets and modes
    int32_t page;                 // vl_page
    vl_widget widgets[kMaxWidgets];
    int32_t widget_count;
    int32_t focus;                // index of the focused widget
    int32_t hover;                // widget under the mouse, -1 none
    int32_t drag_slider;          // slider id + 1 while dragged, 0 none
    int32_t capture;              // binding slot waiting for a key or button, -1 none
    bool confirm_open;            // the save-import confirmation dialog is shown
    int32_t editing_field;        // field typed into with the keyboard, -1 none
    int32_t keypad_field;         // field the on-screen keypad edits, -1 none
    bool activated_by_pad;        // true only inside an activation by the A button
    char refocus_id[24];          // widget id the next build focuses, empty none

    // Footer note
    char note[96];                // transient message, at most 95 bytes
    uint32_t note_until;          // SDL tick at which the note stops showing
    int32_t note_is_error;        // 1 error, 0 information

    // Controller
    SDL_GameController *controller;  // the open game controller or null
    int32_t fake_pad;             // inspection override: -1 none, 0 absent, else present
    int32_t fake_stick[2];        // stick shown under the override
    int32_t stick_latch[2];       // last direction of left stick X and Y: -1, 0, +1
    bool gc_ok;                   // the game-controller subsystem started this run

    // Run result
    int32_t exit_code;
    bool running;

    // SDL objects of the launcher window
    SDL_Window *window;
    SDL_Renderer *renderer;
    SDL_Texture *target;          // 960x600 ARGB8888 render target
    SDL_Rect present_rect;        // where the frame lies in the renderer output

    // Settings and text fields
    vl_settings settings;         // live settings; the file is written from a normalised copy
    char fields[3][64];           // name, host address, port
    char keypad_backup[64];       // keypad field text when the keypad opened

    // Lobby
    int32_t role;                 // 0 host, 1 join
    int32_t remembered_delay;     // delay restored when automatic delay is switched off
    int32_t address_pick;         // chosen local address, 0..3

    // Continuity across runs
    bool keep_place;              // reopen where the last run closed, focus what it focused; survives runs
    vl_window_place last_place;   // the last run's window as it closed; survives runs
    char last_focus_id[24];       // widget focused when the last run ended, empty none; survives runs
    vl_held_keys held_keys;       // keys down before this run's window had them (held_keys.cpp)

    // Fonts and the per-frame text log
    vl_font_atlas font_atlas[kFontCount];
    int32_t text_log[kTextLogCapacity][4];  // x, y, width, height of page texts
    int32_t text_log_count;
    bool text_log_on;
    bool bar_shown;               // the last frame drew the main page's progress bar
};

extern vl_state vl;

constexpr int32_t kLogicalWidth = 960;
constexpr int32_t kLogicalHeight = 600;
