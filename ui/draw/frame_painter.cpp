// paint_frame: the order of a frame, the header band and the footer.
#include "painters.h"

#include "../frame/state.h"
#include "palette.h"

void paint_frame() {
    vl.text_log_count = 0;
    vl.bar_shown = false;
    SDL_SetRenderDrawColor(vl.renderer, 18, 18, 42, 255);
    SDL_RenderClear(vl.renderer);
}
void paint_header_band(const char *) {}
void paint_footer() {}
