// The dimming layer, the confirmation dialog and the keypad's caption and field.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../ui/draw/palette.h"
#include "page_probe.h"

namespace {

// A spot of the settings page's video panel that neither dialog covers.
constexpr int32_t kUnderX = 40, kUnderY = 330;

// One scrim (col_scrim at alpha 205) blended over an opaque packed colour.
uint32_t dimmed(uint32_t packed, int layers) {
    double c[3] = {double(packed & 0xFF), double((packed >> 8) & 0xFF), double((packed >> 16) & 0xFF)};
    const double s[3] = {double(col_scrim & 0xFF), double((col_scrim >> 8) & 0xFF), double((col_scrim >> 16) & 0xFF)};
    for (int k = 0; k < layers; ++k)
        for (int i = 0; i < 3; ++i) c[i] = (s[i] * 205 + c[i] * 50) / 255;
    return rgb(uint32_t(c[0] + 0.5), uint32_t(c[1] + 0.5), uint32_t(c[2] + 0.5));
}

// Channel-wise within one step of the exact blend: SDL's software renderer rounds its
// integer blend that close, and so do Mesa's OpenGL and Direct3D 9 under Wine, measured
// (on Direct3D 0x080916 where the exact blend gives 0x090917). A blended pixel only.
bool near(uint32_t argb_pixel, uint32_t packed) {
    const uint32_t want = vt::argb(packed);
    for (int shift : {0, 8, 16}) {
        const int a = int((argb_pixel >> shift) & 0xFF), b = int((want >> shift) & 0xFF);
        if (std::abs(a - b) > 1) return false;
    }
    return true;
}

int32_t centred_x(int32_t font, const char *text, int32_t x, int32_t w) { return x + (w - text_width(font, text)) / 2; }
int32_t centred_y(int32_t font, int32_t y, int32_t h) { return y + (h + h_height(font)) / 2 - font_table[font].ascent; }

TEST(Overlays, ScrimDimsThePageOncePerOpenDialog) {
    struct Case {
        bool confirm;
        int32_t keypad;
        int layers;
    } cases[] = {{false, -1, 0}, {true, -1, 1}, {false, 2, 1}, {true, 1, 2}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.layers);
        probe::PageRun run;
        run.page = 4;
        run.prepare = [&] {
            vl.confirm_open = c.confirm;
            vl.keypad_field = c.keypad;
        };
        run.check = [&] {
            const auto frame = vt::snapshot();
            const uint32_t under = vt::pixel(frame, kUnderX, kUnderY);
            EXPECT_TRUE(near(under, dimmed(col_panel, c.layers))) << std::hex << under;
            // Later fills of the frame draw opaque again.
            SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
            SDL_GetRenderDrawBlendMode(vl.renderer, &mode);
            EXPECT_EQ(mode, SDL_BLENDMODE_NONE);
            if (c.confirm && c.keypad >= 0) {
                // Inside both panels, clear of texts and keys: the keypad lies on top, undimmed.
                EXPECT_EQ(vt::pixel(frame, 700, 230), vt::argb(col_panel));
                EXPECT_EQ(vt::pixel(frame, 700, 120), vt::argb(col_panel_edge));
            }
        };
        probe::run_page(run);
    }
}

TEST(Overlays, ConfirmationDialogPanelAndTexts) {
    probe::PageRun run;
    run.page = 4;
    run.prepare = [] { vl.confirm_open = true; };
    run.check = [] {
        const auto frame = vt::snapshot();
        EXPECT_EQ(vt::pixel(frame, 250, 300), vt::argb(col_panel_edge));
        EXPECT_EQ(vt::pixel(frame, 709, 300), vt::argb(col_panel_edge));
        EXPECT_EQ(vt::pixel(frame, 260, 236), vt::argb(col_panel));
        const char *title = "Overwrite current save?";
        const char *line = "A backup is kept.";
        EXPECT_TRUE(probe::shows_text(frame, 5, title, centred_x(5, title, 250, 460), centred_y(5, 246, 30), col_ink));
        EXPECT_TRUE(probe::shows_text(frame, 3, line, centred_x(3, line, 250, 460), centred_y(3, 286, 24), col_good));
        // Overlay texts are not part of the page's text log.
        const auto log = probe::logged_texts();
        EXPECT_EQ(probe::find_text(log, 5, title, centred_x(5, title, 250, 460), centred_y(5, 246, 30)), nullptr);
        EXPECT_EQ(probe::find_text(log, 3, line, centred_x(3, line, 250, 460), centred_y(3, 286, 24)), nullptr);
    };
    probe::run_page(run);
}

// The longest tail of `text` narrower than 379 pixels in font 5.
std::string tail_that_fits(const std::string &text) {
    for (size_t start = 0; start <= text.size(); ++start)
        if (text_width(5, text.c_str() + start) < 379) return text.substr(start);
    return "";
}

TEST(Overlays, KeypadCaptionFieldAndVisibleText) {
    const std::string address = "123456789.123456789.123456789.123456789.12345";
    ASSERT_GE(text_width(5, address.c_str()), 379);
    const std::string dots(63, '.');  // 63 bytes that still fit the box
    ASSERT_LT(text_width(5, dots.c_str()), 379);
    struct Case {
        int32_t field;
        std::string text;
        const char *caption;
        std::string shown;
    } cases[] = {
        {2, "", "PORT", "_"},
        {2, "7777", "PORT", "7777_"},
        {1, "10.0.0.1", "ADDRESS", "10.0.0.1_"},
        {1, address, "ADDRESS", tail_that_fits(address) + "_"},
        {1, address.substr(0, 44), "ADDRESS", tail_that_fits(address.substr(0, 44)) + "_"},
        // The 64-byte line has no room left for the cursor.
        {1, dots, "ADDRESS", dots},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        probe::PageRun run;
        run.page = 3;
        run.prepare = [&] {
            std::snprintf(vl.fields[c.field], sizeof vl.fields[c.field], "%s", c.text.c_str());
            vl.keypad_field = c.field;
        };
        run.check = [&] {
            const auto frame = vt::snapshot();
            EXPECT_TRUE(probe::shows_text(frame, 0, c.caption, 276, 142, col_ink_soft));
            EXPECT_TRUE(probe::shows_text(frame, 5, c.shown.c_str(), 288, centred_y(5, 160, 40), col_ink));
            EXPECT_EQ(vt::pixel(frame, 276, 180), vt::argb(col_accent));  // field outline, two pixels
            EXPECT_EQ(vt::pixel(frame, 277, 180), vt::argb(col_accent));
            EXPECT_EQ(vt::pixel(frame, 278, 162), vt::argb(col_well));
            EXPECT_EQ(vt::pixel(frame, 680, 195), vt::argb(col_well));
            EXPECT_EQ(vt::pixel(frame, 683, 195), vt::argb(col_accent));
        };
        probe::run_page(run);
    }
    // The tail loses its first characters as characters are added.
    EXPECT_NE(tail_that_fits(address), tail_that_fits(address.substr(0, 44)));
}

} // namespace
