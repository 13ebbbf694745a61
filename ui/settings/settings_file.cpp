// The vorla.ini reader and writer.
#include "settings.h"

#include "../frame/state.h"

int32_t load_settings(const char *, vl_settings *s) { default_settings(s); return 1; }
int32_t save_settings(const char *, const vl_settings *) { return -1; }
int32_t binding_slot_of(const char *) { return -1; }
void save_live_settings() { save_settings(vl.settings_path, &vl.settings); }
