// Painters: they draw the run state into the render target and change nothing the run
// acts on. Two things they do write into the state, for inspection: every page text
// draw_text paints while paint_frame has the text log on (vl.text_log, text_log_count),
// and whether the main page drew its progress bar (vl.bar_shown). paint_frame clears both
// before a frame. Only the caret's blink reads the clock.
#pragma once

#include <SDL.h>

#include <cstdint>

// The track of the main page's progress bar, which vl_test_bar reports while it is shown.
constexpr SDL_Rect kProgressTrack{236, 308, 488, 10};

// widget_painter.cpp
void paint_widget(int32_t index);
void fill_rounded_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t radius, uint32_t colour);
void fill_panel(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t fill, uint32_t outline, bool shadow);
void fill_disc(int32_t cx, int32_t cy, int32_t r, uint32_t colour);
// What stays visible of fill_rounded_rect (or fill_disc) once the same shape inset by
// `border`, its radius less `border`, is filled opaque over it: the ring around it.
void fill_rounded_ring(int32_t x, int32_t y, int32_t w, int32_t h, int32_t radius, int32_t border,
                       uint32_t colour);
void fill_disc_ring(int32_t cx, int32_t cy, int32_t r, int32_t border, uint32_t colour);

// frame_painter.cpp
void paint_frame();
void paint_header_band(const char *title);
void paint_footer();

// main_page.cpp, settings_page.cpp, input_page.cpp, online_page.cpp
void paint_main_page();
void paint_settings_page();
void paint_input_page();
void paint_online_page();

// overlays.cpp
void paint_confirm_overlay();
void paint_keypad_overlay();
// The rectangles one dimming layer blends over: the whole frame around the overlay's panel.
constexpr int32_t kDimmingRects = 4;
void dimming_layer_rects(const SDL_Rect &panel, SDL_Rect out[kDimmingRects]);
// Every rectangle a frame painted with this dialog and keypad state blends over (the
// dimming layers paint_frame paints, in order; nothing else of a frame is blended).
// Returns how many it wrote; rectangles of two layers overlap.
constexpr int32_t kBlendedRectsMax = 2 * kDimmingRects;
int32_t blended_rects(bool confirm_open, int32_t keypad_field, SDL_Rect out[kBlendedRectsMax]);
