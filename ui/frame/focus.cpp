// Focus navigation: directional search, Tab cycling and going back.
#include "frame.h"
#include "state.h"

void move_focus(int32_t) {}
void cycle_focus(int32_t) {}
void go_back() {}
