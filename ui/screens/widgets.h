// The widget list: what each page and overlay offers to point at, focus and activate.
#pragma once

#include <cstdint>

#include "../frame/vorla_ui.h"

enum vl_widget_kind : int32_t {
    kButton = 0,
    kChoice = 1,
    kSwitch = 2,
    kSlider = 3,
    kBinding = 4,
    kTextField = 5,
    kAddressRow = 6,
    kCard = 7,
};

enum vl_button_style : int32_t { kPlain = 0, kPrimary = 1, kQuiet = 2, kLink = 3, kHero = 4 };

// The pages by the header's numbers, which hosts pass to vl_set_start_page.
enum vl_page : int32_t {
    kPageMain = VL_PAGE_MAIN,
    kPageKeyboard = VL_PAGE_KEYBOARD,
    kPageController = VL_PAGE_CONTROLLER,
    kPageOnline = VL_PAGE_ONLINE,
    kPageSettings = VL_PAGE_SETTINGS,
};

constexpr int kMaxWidgets = 40;

struct vl_widget {
    const char *id;     // static text, never owned
    int32_t kind;       // vl_widget_kind
    int32_t x, y, w, h; // logical pixels of the 960x600 frame
    char label[48];     // a card holds "title|subtitle"
    int32_t enabled;
    int32_t on;         // choice selected / switch on
    int32_t style;      // button style; binding: 1 shoulder shape
    int32_t segment;    // choice row position: 1 first, 2 last, 0 other
    int32_t slot;       // binding slot, -1 otherwise
    int32_t circular;   // binding drawn as a circle (A, B)
    int32_t slider_id;  // 0 volume, 1 deadzone, 2 delay
    int32_t index;      // text field number or address number
};

// page_builder.cpp
void build_page();
int32_t find_widget(const char *id);        // index of the first widget with this id, -1 none

// sliders.cpp: slider id -> setting, maximum and keyboard step
enum vl_slider_id : int32_t { kVolumeSlider = 0, kDeadzoneSlider = 1, kDelaySlider = 2 };
int32_t slider_maximum(int32_t slider_id);
int32_t slider_step(int32_t slider_id);
int32_t slider_value(int32_t slider_id);
// Stores a new value (clamped to 0..max); returns true when it changed, and then
// also updates the remembered delay (slider 2) and writes the settings file.
bool set_slider_value(int32_t slider_id, int32_t value);

// activation.cpp
void activate(int32_t index);
void leave_page();
