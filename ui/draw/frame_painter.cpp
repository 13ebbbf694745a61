// paint_frame: the order in which one frame is painted, and the chrome shared by the
// pages (the header band of the secondary pages and the footer with its hint or note).
#include "painters.h"

#include "../frame/state.h"
#include "font.h"
#include "palette.h"

namespace {

struct PageHint {
    int32_t page;
    const char *hint;
};

// Pages not listed (0 and any unknown value) show the main page's hint.
constexpr const char *kMainHint = "TAB / ARROWS MOVE  .  ENTER SELECT  .  ESC QUIT";
constexpr PageHint kPageHints[] = {
    {kPageKeyboard, "ARROWS MOVE  .  ENTER REMAP  .  ESC BACK"},
    {kPageController, "ARROWS MOVE  .  ENTER REMAP  .  ESC BACK"},
    {kPageSettings, "TAB / ARROWS MOVE  .  ENTER SELECT  .  ESC BACK"},
};

const char *hint_for_page(int32_t page) {
    for (const PageHint &row : kPageHints)
        if (row.page == page) return row.hint;
    return kMainHint;
}

constexpr int32_t kFooterTextX = 28;
constexpr int32_t kFooterTextY = 570;
constexpr int32_t kTitleFont = 6;
constexpr int32_t kTitleX = 140;

void paint_all_widgets() {
    for (int32_t i = 0; i < vl.widget_count; ++i) paint_widget(i);
}

} // namespace

void paint_header_band(const char *title) {
    fill_rect(0, 63, kLogicalWidth, 2, col_rule);
    // Centres the capital height in the band from y 0 to 63.
    draw_text(kTitleFont, title, kTitleX, (64 + h_height(kTitleFont)) / 2 - font_table[kTitleFont].ascent,
              col_accent);
}

void paint_footer() {
    fill_rect(0, 552, kLogicalWidth, 2, col_rule);
    // Unsigned tick comparison, like every other note check.
    if (vl.note[0] != '\0' && SDL_GetTicks() < vl.note_until) {
        draw_text(0, vl.note, kFooterTextX, kFooterTextY, vl.note_is_error ? col_bad : col_good);
        return;
    }
    draw_text(0, hint_for_page(vl.page), kFooterTextX, kFooterTextY, col_ink_soft);
}

void paint_frame() {
    vl.text_log_count = 0;
    vl.bar_shown = false;
    set_draw_colour(col_backdrop);
    SDL_RenderClear(vl.renderer);

    // Only the page's own texts are logged for inspection; widgets and overlays are not.
    vl.text_log_on = true;
    switch (vl.page) {
    case kPageSettings: paint_settings_page(); break;
    case kPageOnline: paint_online_page(); break;
    case kPageKeyboard:
    case kPageController: paint_input_page(); break;
    default: paint_main_page(); break;
    }
    if (vl.page != kPageOnline) paint_footer();  // the online page draws its own bottom line
    vl.text_log_on = false;

    paint_all_widgets();
    // While a dialog is open the list holds only its widgets: drawn under the dimming
    // layer and once more on top of it.
    if (vl.confirm_open) {
        paint_confirm_overlay();
        paint_all_widgets();
    }
    if (vl.keypad_field >= 0) {
        paint_keypad_overlay();
        paint_all_widgets();
    }
}
