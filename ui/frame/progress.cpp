// The progress window: a small separate window with a title, one line of text, a bar
// and a percentage, which the host drives with vui_open, vui_progress and vui_close.
// It has its own software renderer and pixel font and shares nothing with vl_run.
#include <SDL.h>

#include <cstdio>

#include "frame.h"
#include "progress_font.h"
#include "vorla_ui.h"

namespace {

SDL_Window *progress_window = nullptr;
SDL_Renderer *progress_renderer = nullptr;
uint32_t progress_icon[32 * 32];

struct colour {
    uint8_t r, g, b;
};

// Layout in window pixels; the window is 480 x 140 and not resizable.
constexpr int kWidth = 480, kHeight = 140;
constexpr colour kBackground{24, 24, 40};
constexpr colour kTitleColour{255, 159, 200};
constexpr colour kTextColour{230, 230, 240};
constexpr colour kBarColour{200, 200, 220};
constexpr colour kFillColour{255, 120, 170};
constexpr SDL_Point kTitlePen{20, 16};
constexpr SDL_Point kTextPen{20, 52};
constexpr SDL_Rect kBarOutline{20, 92, 440, 24};
constexpr SDL_Rect kBarFill{22, 94, 436, 20};  // width at 100 %
constexpr int kPercentRight = 460, kPercentY = 70;
constexpr int kAdvance = 12;  // 5 columns of 2x2 squares plus a gap

void set_colour(colour c) { SDL_SetRenderDrawColor(progress_renderer, c.r, c.g, c.b, 255); }

void draw_pixel_text(const char *text, int x, int y, colour c) {
    set_colour(c);
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p, x += kAdvance) {
        const progress_glyph &glyph = progress_glyph_for(*p);
        for (int row = 0; row < 7; ++row)
            for (int column = 0; column < 5; ++column)
                if (glyph.rows[row] & (0x10 >> column)) {
                    SDL_Rect square{x + 2 * column, y + 2 * row, 2, 2};
                    SDL_RenderFillRect(progress_renderer, &square);
                }
    }
}

void draw_progress(int32_t percent, const char *text) {
    const int32_t p = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    set_colour(kBackground);
    SDL_RenderClear(progress_renderer);
    draw_pixel_text(SDL_GetWindowTitle(progress_window), kTitlePen.x, kTitlePen.y, kTitleColour);
    draw_pixel_text(text ? text : "", kTextPen.x, kTextPen.y, kTextColour);
    set_colour(kBarColour);
    SDL_RenderDrawRect(progress_renderer, &kBarOutline);
    if (percent > 0) {
        set_colour(kFillColour);
        SDL_Rect fill{kBarFill.x, kBarFill.y, p * kBarFill.w / 100, kBarFill.h};
        SDL_RenderFillRect(progress_renderer, &fill);
    }
    char label[8];
    std::snprintf(label, sizeof label, "%d%%", static_cast<int>(p));
    const int length = static_cast<int>(SDL_strlen(label));
    draw_pixel_text(label, kPercentRight - kAdvance * length, kPercentY, kBarColour);
    SDL_RenderPresent(progress_renderer);
}

void destroy_progress_window() {
    if (progress_renderer) SDL_DestroyRenderer(progress_renderer);
    progress_renderer = nullptr;
    if (progress_window) SDL_DestroyWindow(progress_window);
    progress_window = nullptr;
}

} // namespace

SDL_Window *progress_window_handle() { return progress_window; }

extern "C" {

VL_API int32_t vui_open(const char *title) {
    // A host that opens twice would otherwise leak the first window and its SDL use.
    if (progress_window) vui_close();
    SDL_SetMainReady();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        report_failure("SDL_Init: %s", SDL_GetError());
        return -1;
    }
    progress_window = SDL_CreateWindow(title && *title ? title : kWindowTitle,
                                       SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth, kHeight, 0);
    if (!progress_window) {
        report_failure("SDL_CreateWindow: %s", SDL_GetError());
        return -2;
    }
    make_icon(progress_icon);
    if (SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormatFrom(progress_icon, 32, 32, 32, 128,
                                                                SDL_PIXELFORMAT_ARGB8888)) {
        SDL_SetWindowIcon(progress_window, icon);
        SDL_FreeSurface(icon);
    }
    progress_renderer = SDL_CreateRenderer(progress_window, -1, SDL_RENDERER_SOFTWARE);
    if (!progress_renderer) {
        report_failure("SDL_CreateRenderer: %s", SDL_GetError());
        return -3;
    }
    draw_progress(0, "");
    return 0;
}

VL_API int32_t vui_progress(int32_t percent, const char *text) {
    if (!progress_window) return 0;
    int32_t result = 1;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) result = 0;
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) result = 0;
        if (event.type == SDL_DROPFILE) SDL_free(event.drop.file);
    }
    // Without a renderer (vui_open returned -3) the window stays but nothing is drawn.
    if (progress_renderer) draw_progress(percent, text);
    return result;
}

VL_API void vui_close(void) {
    destroy_progress_window();
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(0) == 0) SDL_Quit();
}

} // extern "C"
