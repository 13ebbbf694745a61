// activate: what pressing each widget does.
#include "widgets.h"

void activate(int32_t) {}
void leave_page() {}
