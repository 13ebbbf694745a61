// The main page: logo, title, the ROM chip and the build-status panel with its badge,
// status line, percentage and progress bar.
#include <cstdio>

#include "../frame/state.h"
#include "font.h"
#include "painters.h"
#include "palette.h"

namespace {

// One row per build state; the last row stands for every state the host may invent.
struct BuildStateLook {
    const char *badge;
    uint32_t badge_outer;
    uint32_t badge_inner;
    uint32_t badge_ink;
    const char *default_line;
    bool shows_percent;
    bool shows_bar;
};

constexpr uint32_t kBadgeQuietInner = rgb(36, 37, 74);
constexpr uint32_t kBadgeGoodOuter = rgb(42, 106, 85);
constexpr uint32_t kBadgeGoodInner = rgb(23, 58, 52);
constexpr uint32_t kBadgeBadInner = rgb(70, 30, 40);

// clang-format off
constexpr BuildStateLook kBuildStates[] = {
    // badge               outer            inner              ink           default status line              %      bar
    {"No ROM",           col_well_edge,   kBadgeQuietInner, col_ink_soft, "Waiting for a ROM",            false, false},
    {"Preparing",        col_well_edge,   kBadgeQuietInner, col_ink_soft, "Preparing the fast mode...",   true,  true},
    {"You can play now", kBadgeGoodOuter, kBadgeGoodInner,  col_good,     "Building compiled version...", true,  true},
    {"Ready to play",    kBadgeGoodOuter, kBadgeGoodInner,  col_good,     "Compiled version ready",       true,  false},
    {"Error",            col_bad,         kBadgeBadInner,   col_bad,      "Error",                        false, false},
    {"Error",            kBadgeGoodOuter, kBadgeGoodInner,  col_good,     "Error",                        false, false},
};
// clang-format on
constexpr uint32_t kKnownStates = VL_BUILD_ERROR + 1;

const BuildStateLook &look_for_state(uint32_t state) {
    return kBuildStates[state < kKnownStates ? state : kKnownStates];
}

// Status panel; the progress track is kProgressTrack.
constexpr SDL_Rect kPanel{220, 236, 520, 98};
constexpr int32_t kTrackFillMax = kProgressTrack.w - 6;  // a 3-pixel margin on every side of the fill
constexpr int32_t kRightEdge = 724;     // right edge of the percentage and the badge text area
constexpr int32_t kChipRight = 932;

// Text after the last '/' or '\'; the whole path when it has neither.
const char *base_name(const char *path) {
    const char *base = path;
    for (const char *p = path; *p; ++p)
        if (*p == '/' || *p == '\\') base = p + 1;
    return base;
}

void paint_rom_chip(const vl_status &status) {
    char name[64];
    fit_text(2, base_name(status.rom_path), 200, name, sizeof name);
    char chip[96];
    std::snprintf(chip, sizeof chip, "%s  -  OK", name);
    const int32_t w = text_width(2, chip);
    fill_panel_plain(kChipRight - 42 - w, 16, w + 42, 26);
    fill_rect(kChipRight - 30 - w, 25, 8, 8, col_good);  // status dot
    draw_text(2, chip, kChipRight - 14 - w, 16 + (26 + h_height(2)) / 2 - font_table[2].ascent, col_ink);
}

void paint_centred_line(int32_t font, const char *text, int32_t y, uint32_t colour) {
    draw_text(font, text, (kLogicalWidth - text_width(font, text)) / 2, y, colour);
}

void paint_badge(const BuildStateLook &look) {
    const int32_t w = text_width(2, look.badge);
    fill_rect(kRightEdge - 20 - w, 245, w + 20, 22, look.badge_outer);
    fill_rect(kRightEdge - 18 - w, 247, w + 16, 18, look.badge_inner);
    draw_text_centred(2, look.badge, kRightEdge - 20 - w, 245, w + 20, 22, look.badge_ink);
}

int32_t clamped_percent(uint32_t state, int32_t progress) {
    if (state == VL_BUILD_READY) return 100;
    if (progress < 0) return 0;
    return progress > 100 ? 100 : progress;
}

} // namespace

void paint_main_page() {
    const vl_status &status = vl.status;
    const uint32_t state = static_cast<uint32_t>(status.state);
    const BuildStateLook &look = look_for_state(state);

    fill_rect(31, 31, 10, 10, col_well_edge);  // logo shadow
    fill_rect(28, 28, 10, 10, col_accent);
    draw_text(0, "RECOMP LAUNCHER", 48, 20 + (26 + h_height(0)) / 2 - font_table[0].ascent, col_ink_soft);
    if (state != VL_BUILD_NO_ROM && status.rom_ok != 0) paint_rom_chip(status);
    paint_centred_line(7, "VORLA RECOMP", 100, col_accent);
    paint_centred_line(3, "Vorla & The Glassmaze  -  GBA recompilation", 192, col_ink_soft);

    fill_panel_plain(kPanel.x, kPanel.y, kPanel.w, kPanel.h);
    draw_text(0, "BUILD STATUS", 236, 250, col_ink_soft);
    paint_badge(look);

    char line[96];
    if (status.message[0] != '\0' && state != VL_BUILD_NO_ROM)
        fit_text(3, status.message, 340, line, sizeof line);
    else
        std::snprintf(line, sizeof line, "%s", look.default_line);
    draw_text(3, line, 236, 280, state == VL_BUILD_ERROR ? col_bad : col_ink);

    const int32_t percent = clamped_percent(state, status.percent);
    if (look.shows_percent) {
        char text[16];
        std::snprintf(text, sizeof text, "%d%%", percent);
        draw_text(3, text, kRightEdge - text_width(3, text), 280, col_accent);
    }
    if (look.shows_bar) {
        const SDL_Rect &track = kProgressTrack;
        fill_rect(track.x, track.y, track.w, track.h, col_well);
        outline_rect(track.x, track.y, track.w, track.h, col_well_edge);
        if (status.percent > 0) fill_rect(track.x + 3, track.y + 3, percent * kTrackFillMax / 100, 4, col_accent);
        vl.bar_shown = true;
    }
}
