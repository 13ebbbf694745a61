// Where the 960x600 frame lies in an output of a given size, for each scaling rule.
#pragma once

#include <SDL.h>

#include <cstdint>

// scaling: 0 whole-number scale, 2 stretch, anything else fit with the aspect kept.
SDL_Rect present_rect_for(int32_t output_w, int32_t output_h, int32_t scaling);
