// Word wrapping of the online page's hint into the lobby panel.
#pragma once

#include <cstdint>

constexpr int32_t kHintFont = 2;
constexpr int32_t kHintWidth = 378;  // a line must stay narrower than this
constexpr int32_t kHintLineBytes = 96;

// Cuts the next line off `rest` into `line` and returns how far `rest` advances
// (the line plus the spaces after it); 0 when nothing more is to be drawn.
int32_t take_hint_line(const char *rest, char (&line)[kHintLineBytes]);

// Draws `text` wrapped, at most four lines 18 pixels apart from (x, y).
void draw_hint_lines(const char *text, int32_t x, int32_t y, uint32_t colour);
