// The progress window: vui_open, vui_progress, vui_close.
#include "state.h"
