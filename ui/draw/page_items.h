// Fixed page content as data: captions, rules and panels that a page paints in order.
#pragma once

#include <cstdint>

enum class vl_item_kind : uint8_t {
    text,        // draw_text at (x, y)
    text_right,  // draw_text with its right edge at x
    fill,        // opaque fill of (x, y, w, h)
    panel,       // "panel R": col_panel with a col_panel_edge outline
    rim,         // a fill of (x, y, w, h) whose middle the next item fills: only its 2-pixel rim is drawn
};

struct vl_page_item {
    vl_item_kind kind;
    int16_t x, y, w, h;
    int8_t font;
    uint32_t colour;
    const char *text;
};

constexpr vl_page_item item_text(int16_t x, int16_t y, int8_t font, uint32_t colour, const char *text) {
    return {vl_item_kind::text, x, y, 0, 0, font, colour, text};
}
constexpr vl_page_item item_right(int16_t right, int16_t y, int8_t font, uint32_t colour, const char *text) {
    return {vl_item_kind::text_right, right, y, 0, 0, font, colour, text};
}
constexpr vl_page_item item_fill(int16_t x, int16_t y, int16_t w, int16_t h, uint32_t colour) {
    return {vl_item_kind::fill, x, y, w, h, 0, colour, nullptr};
}
constexpr vl_page_item item_rim(int16_t x, int16_t y, int16_t w, int16_t h, uint32_t colour) {
    return {vl_item_kind::rim, x, y, w, h, 0, colour, nullptr};
}
constexpr vl_page_item item_panel(int16_t x, int16_t y, int16_t w, int16_t h) {
    return {vl_item_kind::panel, x, y, w, h, 0, 0, nullptr};
}

void paint_item(const vl_page_item &item);

template <int N>
void paint_items(const vl_page_item (&items)[N]) {
    for (const vl_page_item &item : items) paint_item(item);
}

// Text whose right edge lies at `right`.
void draw_text_right(int32_t font, const char *text, int32_t right, int32_t y, uint32_t colour);
