// The main page: title, ROM chip and the build-status panel.
#include "painters.h"

void paint_main_page() {}
