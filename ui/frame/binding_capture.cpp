// The end of a binding capture: the caught key or button goes into the bindings of the
// page, the settings file is written and a note reports it.
#include <cstdio>

#include "dispatch.h"
#include "frame.h"
#include "state.h"

void apply_binding(int32_t slot, const char *name) {
    char (*entries)[32] = vl.page == kPageKeyboard ? vl.settings.keys : vl.settings.buttons;
    int32_t other = -1;
    if (!bind_name(entries, slot, name, &other)) return;

    save_live_settings();
    vl.capture = -1;

    const char *shown = vl.page == kPageController ? button_label(entries[slot]) : entries[slot];
    char note[sizeof vl.note];
    if (other >= 0)
        std::snprintf(note, sizeof note, "%s = %s  (swapped with %s)", kActionNames[slot], shown, kActionNames[other]);
    else
        std::snprintf(note, sizeof note, "%s = %s", kActionNames[slot], shown);
    set_note(note, 0);
}
