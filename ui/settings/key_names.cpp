// Reserved keys, controller button labels and applying a captured binding.
#include "settings.h"

#include <cstdio>

#include "../frame/frame.h"
#include "../frame/state.h"
#include "text_rules.h"

namespace {

// Keys the launcher and the game keep for themselves (back/quit, full screen, help).
constexpr const char *kReservedKeys[] = {"Escape", "F11", "F1"};

struct ButtonLabel {
    const char *sdl_name;
    const char *label;
};

// clang-format off
constexpr ButtonLabel kButtonLabels[] = {
    {"leftshoulder",  "LB"},
    {"rightshoulder", "RB"},
    {"lefttrigger",   "LT"},
    {"righttrigger",  "RT"},
    {"leftstick",     "LS"},
    {"rightstick",    "RS"},
    {"dpup",          "Up"},
    {"dpdown",        "Down"},
    {"dpleft",        "Left"},
    {"dpright",       "Right"},
    {"back",          "Back"},
    {"start",         "Start"},
    {"guide",         "Guide"},
    {"a",             "A"},
    {"b",             "B"},
    {"x",             "X"},
    {"y",             "Y"},
};
// clang-format on

} // namespace

bool is_reserved_key(const char *name) {
    if (!name) return false;
    for (const char *reserved : kReservedKeys)
        if (ascii_iequal(name, reserved)) return true;
    return false;
}

const char *button_label(const char *name) {
    if (!name) return name;
    for (const ButtonLabel &row : kButtonLabels)
        if (ascii_iequal(name, row.sdl_name)) return row.label;
    return name;
}

void apply_binding(int32_t slot, const char *name) {
    // The dispatcher only passes the capture slot; anything else would write outside
    // the binding arrays.
    if (slot < 0 || slot >= kBindingSlots || !name) return;

    // The name may point into the array itself; work from a copy.
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "%s", name);

    char (*entries)[32] = vl.page == kPageKeyboard ? vl.settings.keys : vl.settings.buttons;
    int32_t other = -1;
    for (int32_t i = 0; i < kBindingSlots; ++i)
        if (i != slot && ascii_iequal(entries[i], wanted)) other = i;

    char old[32];
    std::snprintf(old, sizeof old, "%s", entries[slot]);
    if (other >= 0) set_text(entries[other], old);
    set_text(entries[slot], wanted);

    save_live_settings();
    vl.capture = -1;

    const char *shown = vl.page == kPageController ? button_label(wanted) : wanted;
    char note[96];
    if (other >= 0)
        std::snprintf(note, sizeof note, "%s = %s  (swapped with %s)", kActionNames[slot], shown, kActionNames[other]);
    else
        std::snprintf(note, sizeof note, "%s = %s", kActionNames[slot], shown);
    set_note(note, 0);
}
