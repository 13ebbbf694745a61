// The settings page: video, audio and saves panels around the page's widgets.
#include <cstdio>

#include "../frame/state.h"
#include "page_items.h"
#include "painters.h"
#include "palette.h"

namespace {

constexpr vl_page_item kVideoHead[] = {
    item_right(932, 25, 0, col_ink_soft, "VIDEO . AUDIO . SAVES"),
    item_panel(28, 86, 533, 256),
    item_text(46, 100, 4, col_accent, "Video"),
};
// "Window size" (46, 124) sits between these two groups; its colour follows full screen.
constexpr vl_page_item kVideoBody[] = {
    item_text(46, 143, 1, col_ink_soft, "Multiple of the 240x160 GBA screen"),
    item_fill(30, 178, 529, 2, col_rule),
    item_text(46, 198, 3, col_ink, "Fullscreen"),
    item_text(46, 217, 1, col_ink_soft, "Toggle any time with F11"),
    item_fill(30, 252, 529, 2, col_rule),
    item_text(46, 272, 3, col_ink, "Scaling"),
    item_text(46, 291, 1, col_ink_soft, "Integer keeps pixels sharp"),
    item_panel(577, 86, 355, 140),
    item_text(595, 100, 4, col_accent, "Audio"),
    item_text(597, 123, 3, col_ink, "Volume"),
};
// The volume readout (right edge 912, y 123) follows.
constexpr vl_page_item kAudioRest[] = {
    item_fill(579, 174, 351, 2, col_rule),
    item_text(597, 190, 3, col_ink, "Mute"),
    item_panel(577, 242, 355, 100),
};

bool save_data_available() {
    return vl.status.rom_ok != 0 && vl.status.rom_path[0] != '\0';
}

} // namespace

void paint_settings_page() {
    paint_header_band("Settings");
    paint_items(kVideoHead);
    draw_text(3, "Window size", 46, 124, vl.settings.fullscreen == 0 ? col_ink : col_ink_dim);
    paint_items(kVideoBody);

    // Drawn every frame, so it follows the slider while it is dragged.
    char readout[16];
    if (vl.settings.mute != 0)
        std::snprintf(readout, sizeof readout, "%s", "Muted");
    else
        std::snprintf(readout, sizeof readout, "%d%%", vl.settings.volume);
    draw_text_right(3, readout, 912, 123, col_accent);

    paint_items(kAudioRest);
    const bool saves = save_data_available();
    draw_text(4, "Saves", 595, 254, saves ? col_accent : col_ink_dim);
    draw_text(1, saves ? "Back up or move your save data." : "Load a ROM to manage its save.", 597, 274,
              col_ink_soft);
}
