// Painting of the fixed page items shared by the settings, input and online pages.
#include "page_items.h"

#include "fill_rows.h"
#include "font.h"
#include "palette.h"

void draw_text_right(int32_t font, const char *text, int32_t right, int32_t y, uint32_t colour) {
    draw_text(font, text, right - text_width(font, text), y, colour);
}

void paint_item(const vl_page_item &item) {
    switch (item.kind) {
    case vl_item_kind::text:
        draw_text(item.font, item.text, item.x, item.y, item.colour);
        break;
    case vl_item_kind::text_right:
        draw_text_right(item.font, item.text, item.x, item.y, item.colour);
        break;
    case vl_item_kind::fill:
        fill_rect(item.x, item.y, item.w, item.h, item.colour);
        break;
    case vl_item_kind::rim:
        fill_frame(item.x, item.y, item.w, item.h, 2, item.colour);
        break;
    case vl_item_kind::panel:
        fill_panel_plain(item.x, item.y, item.w, item.h);
        break;
    }
}
