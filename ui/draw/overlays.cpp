// The confirmation dialog and the keypad overlays.
#include "painters.h"

void paint_confirm_overlay() {}
void paint_keypad_overlay() {}
