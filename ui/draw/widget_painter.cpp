// paint_widget: every widget kind in every state.
#include "painters.h"

#include "../frame/state.h"

void paint_widget(int32_t) {}
void fill_rounded_rect(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t) {}
void fill_panel(int32_t, int32_t, int32_t, int32_t, uint32_t, uint32_t, bool) {}
void fill_disc(int32_t, int32_t, int32_t, uint32_t) {}
