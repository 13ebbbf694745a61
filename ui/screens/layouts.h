// Page layouts as data: one row per widget, in list order, with the conditions that
// decide whether the widget exists, whether it is enabled and whether it is on.
#pragma once

#include <cstdint>

#include "../settings/settings.h"
#include "widgets.h"

// What a row's condition tests; `arg` parameterises the tests that name a value.
enum vl_rule : uint8_t {
    kAlways,
    kNever,
    kPageIs,            // page == arg
    kPlayReady,         // "play" reads "PLAY": state != VL_BUILD_NO_ROM and rom_ok != 0
    kNotPreparing,      // build state != VL_BUILD_PREPARING
    kRomUsable,         // rom_path not empty and rom_ok != 0
    kWindowed,          // settings fullscreen == 0
    kFullscreen,
    kScaleIs,           // settings scale == arg
    kScalingIs,         // settings scaling == arg
    kMuted,
    kStickAsDpad,
    kIdle,              // lobby_state == VL_LOBBY_NOT_CONNECTED
    kIdleManualDelay,   // idle and delay >= 0
    kAutoDelay,         // delay < 0
    kPlayersIs,         // settings players == arg
    kTransportIs,       // settings transport is exactly kTransportNames[arg] (settings.h)
    kRoleIs,            // role == arg
    kHostAllowed,       // idle and the port is valid
    kJoinAllowed,       // idle, the port is valid and the host address is not empty
    kCopyAllowed,       // copy_allowed(): not in game and an address exists
    kReadyAllowed,      // lobby_state VL_LOBBY_WAITING or VL_LOBBY_CONNECTED
    kStartAllowed,      // the start rule
    kLinked,            // lobby_state != VL_LOBBY_NOT_CONNECTED
    kLocalReady,        // "online_ready" reads "Cancel"
    kHasAddress,        // addresses_shown() and arg < address_count()
    kKeypadFieldIs,     // keypad_field == arg
};

struct vl_cond {
    vl_rule rule;
    int32_t arg;
    bool negate;
};

constexpr vl_cond when(vl_rule rule, int32_t arg = 0) { return vl_cond{rule, arg, false}; }
constexpr vl_cond unless(vl_rule rule, int32_t arg = 0) { return vl_cond{rule, arg, true}; }

// A row's width of kFitLabel sizes the widget to its label in font 3 plus 16 pixels
// on each side, keeping its right edge at the row's x.
constexpr int32_t kFitLabel = -1;
constexpr int32_t kFitFont = 3;
constexpr int32_t kFitPadding = 16;

struct vl_layout_row {
    const char *id;
    int32_t kind;
    int32_t x, y, w, h;
    const char *label;
    int32_t style, segment, slot, circular, slider_id, index;
    vl_cond present = when(kAlways);
    vl_cond enabled = when(kAlways);
    vl_cond on = when(kNever);
};

struct vl_layout {
    const vl_layout_row *rows;
    int32_t count;
};

extern const vl_layout kMainLayout;
extern const vl_layout kInputLayout;     // keyboard and controller pages
extern const vl_layout kSettingsLayout;
extern const vl_layout kOnlineLayout;
extern const vl_layout kConfirmLayout;
extern const vl_layout kKeypadLayout;

// Ids that code names outside these tables: where the focus goes when the keypad opens and
// when it closes again. The rows use the same constants; the id check (widget_ids_test)
// finds every one of kIdsNamedInCode in a layout.
constexpr const char kIdKeypadStart[] = "kp_5";
constexpr const char kIdHostField[] = "online_addr";
constexpr const char kIdPortField[] = "online_port";
constexpr const char *kIdsNamedInCode[] = {kIdKeypadStart, kIdHostField, kIdPortField};

// Every layout by name, for the checks that walk them all.
struct vl_named_layout {
    const char *name;
    const vl_layout *layout;
};
constexpr vl_named_layout kAllLayouts[] = {
    {"main page", &kMainLayout},     {"input pages", &kInputLayout},         {"settings page", &kSettingsLayout},
    {"online page", &kOnlineLayout}, {"confirmation dialog", &kConfirmLayout}, {"keypad", &kKeypadLayout},
};
