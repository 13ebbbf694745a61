// Slider ids and the settings they edit.
#include "widgets.h"

int32_t slider_maximum(int32_t) { return 100; }
int32_t slider_step(int32_t) { return 5; }
int32_t slider_value(int32_t) { return 0; }
bool set_slider_value(int32_t, int32_t) { return false; }
