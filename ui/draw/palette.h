// Packed colours (red in bits 0-7, green 8-15, blue 16-23, alpha 24-31) and primitives.
#pragma once

#include <cstdint>

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return r | (g << 8) | (b << 16) | (a << 24);
}

constexpr uint32_t col_backdrop = rgb(18, 18, 42);
constexpr uint32_t col_rule = rgb(38, 40, 79);
constexpr uint32_t col_panel = rgb(28, 29, 58);
constexpr uint32_t col_panel_edge = rgb(46, 48, 96);
constexpr uint32_t col_well = rgb(15, 16, 36);
constexpr uint32_t col_well_edge = rgb(58, 60, 110);
constexpr uint32_t col_accent = rgb(255, 126, 182);
constexpr uint32_t col_ink = rgb(232, 233, 255);
constexpr uint32_t col_ink_soft = rgb(154, 157, 201);
constexpr uint32_t col_ink_dim = rgb(93, 97, 153);
constexpr uint32_t col_good = rgb(126, 224, 160);
constexpr uint32_t col_caution = rgb(255, 210, 63);
constexpr uint32_t col_bad = rgb(255, 107, 107);
constexpr uint32_t col_scrim = rgb(4, 4, 14, 205);

// Widget painter colours
constexpr uint32_t col_face = rgb(36, 37, 74);
constexpr uint32_t col_accent_hot = rgb(255, 150, 197);
constexpr uint32_t col_ink_on_accent = rgb(21, 21, 42);
constexpr uint32_t col_choice = rgb(18, 19, 43);
constexpr uint32_t col_ink_choice = rgb(201, 203, 242);
constexpr uint32_t col_card_hot = rgb(34, 35, 74);
constexpr uint32_t col_shadow = rgb(9, 9, 23);

// All primitives draw on the launcher renderer's current target, opaque.
void set_draw_colour(uint32_t colour);  // alpha forced to 255
void fill_rect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void outline_rect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour);
void fill_panel_plain(int32_t x, int32_t y, int32_t w, int32_t h);  // "panel R": col_panel + col_panel_edge outline
void draw_stick_circle(int32_t radius, uint32_t colour);
