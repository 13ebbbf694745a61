// Reserved keys, controller button labels and applying a captured binding.
#include "settings.h"

bool is_reserved_key(const char *) { return false; }
const char *button_label(const char *name) { return name; }
void apply_binding(int32_t, const char *) {}
