// Font atlases and the text operations.
#include "font.h"

#include "../frame/state.h"

void build_font_atlases(SDL_Renderer *) {}
void release_font_atlases() {}
uint32_t decode_char(const char *text, int32_t *consumed) { *consumed = *text ? 1 : 0; return static_cast<unsigned char>(*text); }
int32_t glyph_index(uint32_t) { return kReplacementSlot; }
int32_t h_height(int32_t) { return 8; }
int32_t text_width(int32_t, const char *) { return 0; }
void draw_text(int32_t, const char *, int32_t, int32_t, uint32_t) {}
void draw_text_centred(int32_t, const char *, int32_t, int32_t, int32_t, int32_t, uint32_t) {}
void fit_text(int32_t, const char *, int32_t, char *out, int32_t out_size) { if (out_size > 0) out[0] = '\0'; }
