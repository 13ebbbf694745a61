// The settings page: video, audio and saves panels.
#include "painters.h"

void paint_settings_page() {}
