// Reserved keys, controller button labels and the binding rule with its swap on conflict.
#include "settings.h"

#include <cstdio>

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

bool bind_name(char (*entries)[32], int32_t slot, const char *name, int32_t *swapped_with) {
    // Anything else would write outside the binding arrays.
    if (slot < 0 || slot >= kBindingSlots || !name) return false;

    // The name may point into the array itself; work from a copy.
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "%s", name);

    int32_t other = -1;
    for (int32_t i = 0; i < kBindingSlots; ++i)
        if (i != slot && ascii_iequal(entries[i], wanted)) other = i;

    char old[32];
    std::snprintf(old, sizeof old, "%s", entries[slot]);
    if (other >= 0) set_text(entries[other], old);
    set_text(entries[slot], wanted);
    if (swapped_with) *swapped_with = other;
    return true;
}
