// The widget painter on a bench renderer: each kind in its states, read back pixel by pixel.
#include <string>

#include "../ui/draw/painters.h"
#include "paint_bench.h"

namespace {

using bench::at;
using bench::count;
using bench::span;

class WidgetPainter : public bench::PaintBench {};

uint32_t A(uint32_t packed) { return vt::argb(packed); }

// ---- buttons and panels ----------------------------------------------------------------

TEST_F(WidgetPainter, RaisedButtonsFaceOutlineAndShadowByStyleAndState) {
    struct Case {
        const char *name;
        int32_t style, enabled;
        bool hot;
        uint32_t fill, outline;
        bool shadow;
    } cases[] = {
        {"plain", kPlain, 1, false, col_face, col_well_edge, true},
        {"plain hot", kPlain, 1, true, col_face, col_accent, true},
        {"plain disabled", kPlain, 0, false, col_face, col_panel_edge, false},
        {"plain disabled under mouse", kPlain, 0, true, col_face, col_panel_edge, false},
        {"primary", kPrimary, 1, false, col_accent, col_accent, true},
        {"primary hot", kPrimary, 1, true, col_accent_hot, col_accent_hot, true},
        {"primary disabled", kPrimary, 0, false, col_face, col_panel_edge, false},
        {"hero hot", kHero, 1, true, col_accent_hot, col_accent_hot, true},
        {"unknown style draws plain", 9, 1, false, col_face, col_well_edge, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &b = add(kButton, 100, 100, 200, 40);  // no label: only fills show
        b.style = c.style;
        b.enabled = c.enabled;
        vl.hover = c.hot ? 0 : -1;
        paint_widget(0);
        const auto f = frame();
        EXPECT_EQ(at(f, 150, 120), A(c.fill));
        EXPECT_EQ(at(f, 100, 120), A(c.outline));
        EXPECT_EQ(at(f, 101, 120), A(c.outline));  // two pixels thick
        // The shadow is the panel moved down by 2: a band of two rows under it.
        const uint32_t below = c.shadow ? A(col_shadow) : A(col_backdrop);
        EXPECT_EQ(at(f, 150, 140), below);
        EXPECT_EQ(at(f, 150, 141), below);
        EXPECT_EQ(at(f, 150, 142), A(col_backdrop));
        EXPECT_EQ(at(f, 150, 99), A(col_backdrop));
    }
}

TEST_F(WidgetPainter, ButtonLabelsUseTheirStyleInk) {
    struct Case {
        const char *name;
        int32_t style, enabled;
        bool hot;
        uint32_t ink;
    } cases[] = {
        {"plain", kPlain, 1, false, col_ink},         {"plain disabled", kPlain, 0, false, col_ink_dim},
        {"primary", kPrimary, 1, false, col_ink_on_accent}, {"hero", kHero, 1, false, col_ink_on_accent},
        {"quiet", kQuiet, 1, false, col_ink_soft},    {"quiet hot", kQuiet, 1, true, col_ink},
        {"link", kLink, 1, false, col_ink},           {"link disabled", kLink, 0, false, col_ink_dim},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &b = add(kButton, 100, 100, 200, 40, "Play");
        b.style = c.style;
        b.enabled = c.enabled;
        vl.hover = c.hot ? 0 : -1;
        paint_widget(0);
        EXPECT_GT(count(frame(), 102, 102, 196, 36, c.ink), 5);
    }
}

TEST_F(WidgetPainter, QuietAndLinkButtonsOutlines) {
    // A quiet button has no fill; its outline shows only under focus or the mouse.
    vl_widget &q = add(kButton, 100, 100, 200, 40);
    q.style = kQuiet;
    paint_widget(0);
    auto f = frame();
    EXPECT_EQ(at(f, 100, 120), A(col_backdrop));
    EXPECT_EQ(at(f, 150, 120), A(col_backdrop));

    vl.focus = 0;
    paint_widget(0);
    f = frame();
    EXPECT_EQ(at(f, 100, 120), A(col_well_edge));
    EXPECT_EQ(at(f, 96, 120), A(col_caution));  // and the focus ring 4 pixels outside
    EXPECT_EQ(at(f, 150, 120), A(col_backdrop));

    clear();
    vl.focus = -1;
    q.style = kLink;
    paint_widget(0);
    f = frame();
    EXPECT_EQ(at(f, 150, 120), A(col_panel));
    EXPECT_EQ(at(f, 100, 120), A(col_panel_edge));
    EXPECT_EQ(at(f, 150, 141), A(col_backdrop));  // no shadow
    vl.hover = 0;
    paint_widget(0);
    EXPECT_EQ(at(frame(), 100, 120), A(col_accent));
}

TEST_F(WidgetPainter, FocusRingIsDrawnLastFourPixelsOutsideExceptOnAddressRows) {
    struct Case {
        const char *name;
        int32_t kind;
        bool ring_on_rect;
    } cases[] = {
        {"button", kButton, false}, {"choice", kChoice, false},   {"switch", kSwitch, false},
        {"slider", kSlider, false}, {"text field", kTextField, false}, {"card", kCard, false},
        {"binding", kBinding, false}, {"unknown kind", 42, false}, {"address row", kAddressRow, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &w = add(c.kind, 200, 200, 120, 40);
        if (c.kind == kBinding) w.slot = 0;
        vl.focus = 0;
        paint_widget(0);
        const auto f = frame();
        if (c.ring_on_rect) {
            EXPECT_EQ(at(f, 200, 200), A(col_caution));
            EXPECT_EQ(at(f, 319, 239), A(col_caution));
            EXPECT_EQ(at(f, 196, 196), A(col_backdrop));
        } else {
            EXPECT_EQ(at(f, 196, 196), A(col_caution));
            EXPECT_EQ(at(f, 197, 220), A(col_caution));
            EXPECT_EQ(at(f, 323, 243), A(col_caution));
            EXPECT_EQ(at(f, 195, 220), A(col_backdrop));
            EXPECT_EQ(at(f, 198, 220), A(col_backdrop));
        }
    }
    // Unfocused, no widget draws the ring.
    clear();
    vl.focus = -1;
    paint_widget(0);
    EXPECT_EQ(count(frame(), 190, 190, 140, 60, col_caution), 0);
}

TEST_F(WidgetPainter, OutOfRangeIndexesDrawNothing) {
    add(kButton, 100, 100, 200, 40);
    for (int32_t index : {-1, 1, kMaxWidgets, 1000}) paint_widget(index);
    EXPECT_EQ(count(frame(), 0, 0, 960, 600, col_backdrop), 960 * 600);
}

// ---- choices and switches --------------------------------------------------------------

TEST_F(WidgetPainter, ChoiceFillSeparatorsAndInk) {
    struct Case {
        const char *name;
        int32_t on, enabled, segment;
        bool hot;
        uint32_t fill;
    } cases[] = {
        {"selected", 1, 1, 1, false, col_accent},
        {"selected disabled", 1, 0, 0, false, col_well_edge},
        {"unselected", 0, 1, 0, false, col_choice},
        {"unselected hot", 0, 1, 2, true, col_face},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &w = add(kChoice, 100, 100, 100, 30);
        w.on = c.on;
        w.enabled = c.enabled;
        w.segment = c.segment;
        vl.hover = c.hot ? 0 : -1;
        paint_widget(0);
        const auto f = frame();
        EXPECT_EQ(at(f, 110, 115), A(c.fill));
        EXPECT_EQ(at(f, 150, 101), A(col_well_edge));  // top line
        EXPECT_EQ(at(f, 150, 128), A(col_well_edge));  // bottom line
        EXPECT_EQ(at(f, 198, 115), A(col_well_edge));  // right line
        // Only the first of a row draws its left line; the others share their neighbour's.
        EXPECT_EQ(at(f, 101, 115), c.segment == 1 ? A(col_well_edge) : A(c.fill));
        EXPECT_EQ(at(f, 102, 115), A(c.fill));
    }
}

TEST_F(WidgetPainter, SwitchKnobSideAndColour) {
    struct Case {
        const char *name;
        int32_t on, enabled;
        int32_t knob_x;
        uint32_t body, knob;
    } cases[] = {
        {"on", 1, 1, 100 + 52 - 18, col_accent, col_ink_on_accent},
        {"off", 0, 1, 104, col_well, col_ink_soft},
        {"on disabled", 1, 0, 100 + 52 - 18, col_well, col_ink_dim},
        {"off disabled", 0, 0, 104, col_well, col_ink_dim},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &w = add(kSwitch, 100, 100, 52, 22);
        w.on = c.on;
        w.enabled = c.enabled;
        paint_widget(0);
        const auto f = frame();
        EXPECT_EQ(count(f, c.knob_x, 104, 14, 14, c.knob), 14 * 14);
        EXPECT_NE(at(f, c.knob_x - 1, 110), A(c.knob));
        EXPECT_NE(at(f, c.knob_x + 14, 110), A(c.knob));
        const int32_t free_x = c.on ? 106 : 140;  // inside, away from the knob
        EXPECT_EQ(at(f, free_x, 110), A(c.body));
        EXPECT_EQ(at(f, 100, 110), c.on && c.enabled ? A(col_accent) : A(col_well_edge));
    }
}

// ---- sliders ---------------------------------------------------------------------------

struct SliderCase {
    const char *name;
    int32_t slider_id, w;
    int32_t volume, mute, deadzone, delay, players;
    int32_t fill;  // expected f
};

// clang-format off
constexpr SliderCase kSliderCases[] = {
    {"volume full",             0, 315, 100, 0,     0, 0, 2, 309},
    {"volume half",             0, 206,  50, 0,     0, 0, 2, 100},
    {"volume muted",            0, 315, 100, 1,     0, 0, 2,   0},
    {"volume zero",             0, 315,   0, 0,     0, 0, 2,   0},
    {"deadzone",                1, 306,   0, 0, 16384, 0, 2, 150},
    {"delay 1 of 2",            2, 206,   0, 0,     0, 1, 2, 100},
    {"delay over the maximum",  2, 206,   0, 0,     0, 3, 2, 200},  // drawn as at the maximum
    {"delay below zero",        2, 206,   0, 0,     0, -1, 2,  0},  // drawn as at zero
    {"delay 1 with 3 players",  2, 206,   0, 0,     0, 1, 3, 200},
    {"unknown id reads volume", 7, 206,  25, 1,     0, 2, 2,  50},
};
// clang-format on

void set_slider_settings(const SliderCase &c) {
    vl.settings.volume = c.volume;
    vl.settings.mute = c.mute;
    vl.settings.deadzone = c.deadzone;
    vl.settings.delay = c.delay;
    vl.settings.players = c.players;
}

TEST_F(WidgetPainter, DisabledSliderFillLengthFromLiveSettings) {
    for (const SliderCase &c : kSliderCases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &s = add(kSlider, 100, 100, c.w, 24);
        s.slider_id = c.slider_id;
        s.enabled = 0;
        set_slider_settings(c);
        paint_widget(0);
        const auto f = frame();
        const int32_t cy = 112;
        // A disabled slider has no knob, so the whole fill shows.
        const auto fill = span(f, cy, col_ink_dim);
        if (c.fill == 0) {
            EXPECT_EQ(fill.first, -1);
        } else {
            EXPECT_EQ(fill.first, 103);
            EXPECT_EQ(fill.second - fill.first, c.fill);
        }
        EXPECT_EQ(count(f, 103, cy - 2, c.fill, 4, col_ink_dim), 4 * c.fill);
        EXPECT_EQ(count(f, 90, 90, 960 - 90, 40, col_ink), 0);
        EXPECT_EQ(at(f, 100, cy - 5), A(col_well_edge));  // track outline
    }
}

TEST_F(WidgetPainter, EnabledSliderKnobSitsAtTheFillEnd) {
    for (const SliderCase &c : kSliderCases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.widget_count = 0;
        vl_widget &s = add(kSlider, 100, 100, c.w, 24);
        s.slider_id = c.slider_id;
        set_slider_settings(c);
        paint_widget(0);
        const auto f = frame();
        const int32_t cy = 112;
        const auto inner = span(f, cy, col_ink);
        EXPECT_EQ(inner.first, 100 + c.fill);
        EXPECT_EQ(inner.second, 100 + c.fill + 6);
        EXPECT_EQ(count(f, 100 + c.fill - 2, cy - 9, 10, 18, col_ink_on_accent), 10 * 18 - 6 * 14);
        // The fill runs from x + 3 up to the knob.
        const int32_t accent_from = span(f, cy, col_accent).first;
        EXPECT_EQ(accent_from, c.fill > 5 ? 103 : -1);
    }
}

// ---- bindings --------------------------------------------------------------------------

TEST_F(WidgetPainter, CapturedBindingIsAllAccentWithDarkText) {
    for (bool hot : {false, true}) {
        SCOPED_TRACE(hot ? "under the mouse" : "not under the mouse");
        clear();
        vl.widget_count = 0;
        vl.page = kPageKeyboard;
        vl_widget &k = add(kBinding, 300, 200, 90, 50);
        k.slot = 4;  // Start
        vl.capture = 4;
        vl.hover = hot ? 0 : -1;
        paint_widget(0);
        const auto f = frame();
        EXPECT_EQ(at(f, 300, 225), A(col_accent));  // rim
        EXPECT_EQ(at(f, 303, 225), A(col_accent));  // face
        EXPECT_GT(count(f, 300, 200, 90, 50, col_ink_on_accent), 10);
        EXPECT_EQ(count(f, 300, 200, 90, 50, col_ink), 0);
        EXPECT_EQ(count(f, 300, 200, 90, 50, col_face), 0);
    }
    // Another slot being captured leaves this one as usual.
    clear();
    vl.capture = 5;
    vl.hover = -1;
    paint_widget(0);
    const auto f = frame();
    EXPECT_EQ(at(f, 300, 225), A(col_well_edge));
    EXPECT_EQ(at(f, 303, 225), A(col_face));
}

// Pixels of `text` in font 2 drawn alone in col_ink.
int32_t ink_of_text(int32_t font, const char *text) {
    bench::clear_target();
    draw_text(font, text, 10, 10, col_ink);
    return count(vt::snapshot(), 0, 0, 200, 60, col_ink);
}

TEST_F(WidgetPainter, ControllerBindingShowsTheButtonLabel) {
    std::snprintf(vl.settings.buttons[2], sizeof vl.settings.buttons[2], "%s", "leftshoulder");
    std::snprintf(vl.settings.keys[2], sizeof vl.settings.keys[2], "%s", "Return");
    const int32_t lb = ink_of_text(2, "LB");
    const int32_t key = ink_of_text(2, "Return");
    ASSERT_GT(lb, 0);
    ASSERT_NE(lb, key);

    clear();
    vl.page = kPageController;
    vl_widget &k = add(kBinding, 300, 200, 90, 50);
    k.slot = 2;
    k.style = 1;  // shoulder
    paint_widget(0);
    auto f = frame();
    EXPECT_EQ(count(f, 300, 200, 90, 50, col_ink), lb);
    // Rounded corners: the corner pixel stays empty, the edge midpoint is rim.
    EXPECT_EQ(at(f, 300, 200), A(col_backdrop));
    EXPECT_EQ(at(f, 300, 225), A(col_well_edge));
    EXPECT_GT(count(f, 300, 200, 90, 20, col_ink_soft), 0);  // "L" above

    // The keyboard page reads the keys, never the controller's labels.
    clear();
    vl.page = kPageKeyboard;
    paint_widget(0);
    EXPECT_EQ(count(frame(), 300, 200, 90, 50, col_ink), key);
}

TEST_F(WidgetPainter, LongKeyNameIsCutToTheKeyWidth) {
    std::snprintf(vl.settings.keys[6], sizeof vl.settings.keys[6], "%s", "Left Shift");
    vl.page = kPageKeyboard;
    vl_widget &k = add(kBinding, 300, 200, 40, 50);
    k.slot = 6;
    paint_widget(0);
    const auto f = frame();
    const int32_t ink = count(f, 300, 200, 40, 50, col_ink);
    // Cut to w - 10 and centred: nothing of it reaches the outer 5 columns.
    EXPECT_EQ(count(f, 300, 200, 5, 50, col_ink) + count(f, 335, 200, 5, 50, col_ink), 0);
    EXPECT_GT(ink, 0);
    EXPECT_LT(ink, ink_of_text(2, "Left Shift"));
}

TEST_F(WidgetPainter, CircularBindingIsADisc) {
    std::snprintf(vl.settings.keys[0], sizeof vl.settings.keys[0], "%s", "X");
    vl.page = kPageKeyboard;
    vl_widget &k = add(kBinding, 400, 300, 56, 56);
    k.slot = 0;
    k.circular = 1;
    paint_widget(0);
    const auto f = frame();
    const int32_t cx = 428, cy = 328;
    EXPECT_EQ(at(f, 400, 300), A(col_backdrop));  // corner of the box is outside the disc
    EXPECT_EQ(at(f, cx - 28, cy), A(col_well_edge));
    EXPECT_EQ(at(f, cx + 28, cy), A(col_well_edge));
    EXPECT_EQ(at(f, cx - 29, cy), A(col_backdrop));
    EXPECT_EQ(at(f, cx, cy - 28), A(col_well_edge));
    EXPECT_EQ(at(f, cx - 25, cy), A(col_face));
    EXPECT_GT(count(f, 400, 300, 56, 56, col_accent), 0);  // the key text in font 0
    EXPECT_GT(count(f, 400, 300, 56, 56, col_ink), 0);     // the action "A" in font 5
}

TEST_F(WidgetPainter, BindingOutsideTheSlotsDrawsNothing) {
    for (int32_t slot : {-1, 10, 99}) {
        vl.widget_count = 0;
        vl_widget &k = add(kBinding, 300, 200, 90, 50);
        k.slot = slot;
        vl.capture = slot;
        paint_widget(0);
    }
    EXPECT_EQ(count(frame(), 0, 0, 960, 600, col_backdrop), 960 * 600);
}

// ---- text fields -----------------------------------------------------------------------

// Waits until the caret blink is in the wanted half with at least 60 ms of it left.
void wait_for_caret(bool visible) {
    for (;;) {
        const uint32_t t = SDL_GetTicks();
        if (((t / 400) % 2 == 0) == visible && t % 400 < 340) return;
        SDL_Delay(5);
    }
}

TEST_F(WidgetPainter, CaretSitsThirteenPixelsRightOfTheVisibleText) {
    struct Case {
        const char *name;
        std::string text;
    } cases[] = {{"empty", ""}, {"short", "Hello"}, {"wide tail", std::string(63, 'W')}};
    const int32_t advance = text_width(3, "W");
    ASSERT_GT(advance, 0);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        vl.widget_count = 0;
        vl_widget &t = add(kTextField, 100, 100, 300, 40);
        t.index = 0;
        vl.editing_field = 0;
        std::snprintf(vl.fields[0], sizeof vl.fields[0], "%s", c.text.c_str());
        // The visible text: the longest tail of whole characters within w - 24.
        int32_t shown = text_width(3, c.text.c_str());
        if (c.text.size() == 63) shown = (300 - 24) / advance * advance;
        const int32_t caret_x = 100 + shown + 13;

        clear();
        wait_for_caret(true);
        paint_widget(0);
        auto f = frame();
        EXPECT_EQ(count(f, caret_x, 109, 2, 22, col_accent), 2 * 22);
        EXPECT_NE(at(f, caret_x, 108), A(col_accent));
        EXPECT_NE(at(f, caret_x, 131), A(col_accent));
        EXPECT_NE(at(f, caret_x - 1, 120), A(col_accent));
        EXPECT_NE(at(f, caret_x + 2, 120), A(col_accent));
        EXPECT_EQ(at(f, 100, 120), A(col_accent));  // editing outlines the field in accent

        clear();
        wait_for_caret(false);
        paint_widget(0);
        EXPECT_EQ(count(frame(), caret_x, 109, 2, 22, col_accent), 0);
    }
    // A field not being edited has no caret and a quiet outline.
    clear();
    vl.editing_field = -1;
    wait_for_caret(true);
    paint_widget(0);
    const auto f = frame();
    EXPECT_EQ(at(f, 100, 120), A(col_well_edge));
    EXPECT_EQ(count(f, 102, 102, 296, 36, col_accent), 0);
}

TEST_F(WidgetPainter, PortFieldInkFollowsTheLeadingNumber) {
    struct Case {
        const char *text;
        int32_t index, enabled;
        uint32_t ink;
    } cases[] = {
        {"8080", 2, 1, col_ink},       {"65535", 2, 1, col_ink},      {"1", 2, 1, col_ink},
        {"8080abc", 2, 1, col_ink},    {"  8080", 2, 1, col_ink},     {"+80", 2, 1, col_ink},
        {"0", 2, 1, col_bad},          {"65536", 2, 1, col_bad},      {"abc", 2, 1, col_bad},
        {"-80", 2, 1, col_bad},        {"99999999999999999999", 2, 1, col_bad},
        {"4294975376", 2, 1, col_bad},  // would wrap to 8080 in 32 bits
        {"0", 0, 1, col_ink},          {"0", 2, 0, col_ink_soft},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\" in field " + std::to_string(c.index));
        clear();
        vl.widget_count = 0;
        vl.editing_field = -1;
        vl_widget &t = add(kTextField, 100, 100, 300, 40);
        t.index = c.index;
        t.enabled = c.enabled;
        std::snprintf(vl.fields[c.index], sizeof vl.fields[c.index], "%s", c.text);
        paint_widget(0);
        const auto f = frame();
        EXPECT_GT(count(f, 102, 102, 296, 36, c.ink), 3);
        for (uint32_t other : {col_ink, col_bad, col_ink_soft}) {
            if (other != c.ink) {
                EXPECT_EQ(count(f, 102, 102, 296, 36, other), 0);
            }
        }
    }
}

TEST_F(WidgetPainter, TextFieldOutsideTheThreeFieldsDrawsNothing) {
    for (int32_t index : {-1, 3, 64}) {
        vl.widget_count = 0;
        vl_widget &t = add(kTextField, 100, 100, 300, 40);
        t.index = index;
        vl.editing_field = index;
        paint_widget(0);
    }
    EXPECT_EQ(count(frame(), 0, 0, 960, 600, col_backdrop), 960 * 600);
}

// ---- address rows and cards ------------------------------------------------------------

TEST_F(WidgetPainter, AddressRowsReadTheListOrTheSingleAddress) {
    auto paint_rows = [] {
        clear();
        vl.widget_count = 0;
        for (int32_t i = 0; i < 4; ++i) add(kAddressRow, 100, 100 + 30 * i, 300, 26).index = i;
        for (int32_t i = 0; i < 4; ++i) paint_widget(i);
        return frame();
    };
    // An empty list: every row shows the single address.
    std::snprintf(vl.online.address, sizeof vl.online.address, "%s", "192.168.1.20");
    vl.address_pick = 1;
    auto f = paint_rows();
    const int32_t row_ink = count(f, 100, 100, 300, 26, col_ink);
    EXPECT_GT(row_ink, 0);
    EXPECT_EQ(count(f, 100, 160, 300, 26, col_ink), row_ink);
    EXPECT_EQ(count(f, 100, 190, 300, 26, col_ink), row_ink);
    // The picked row: filled, its text in col_good behind a ">" marker.
    EXPECT_EQ(at(f, 101, 131), A(col_rule));
    EXPECT_EQ(count(f, 100, 130, 300, 26, col_ink), 0);
    EXPECT_EQ(count(f, 100, 130, 300, 26, col_good), count(f, 100, 100, 300, 26, col_ink) > 0 ? row_ink : 0);
    EXPECT_GT(count(f, 100, 130, 22, 26, col_accent), 0);
    EXPECT_EQ(count(f, 100, 100, 22, 26, col_accent), 0);

    // A list: entries are shown by index, an empty entry shows nothing.
    std::snprintf(vl.online.addresses[0], sizeof vl.online.addresses[0], "%s", "10.0.0.5");
    std::snprintf(vl.online.addresses[2], sizeof vl.online.addresses[2], "%s", "192.168.1.20");
    vl.address_pick = 0;
    f = paint_rows();
    EXPECT_GT(count(f, 100, 100, 300, 26, col_good), 0);
    EXPECT_EQ(count(f, 100, 130, 300, 26, col_ink), 0);
    EXPECT_EQ(count(f, 100, 160, 300, 26, col_ink), row_ink);
    EXPECT_EQ(count(f, 100, 190, 300, 26, col_ink), 0);
}

TEST_F(WidgetPainter, CardTitleAndSubtitle) {
    struct Case {
        const char *label;
        int32_t enabled;
        bool hot;
        bool subtitle;
    } cases[] = {
        {"Settings|Video, audio, saves", 1, false, true},
        {"Settings", 1, false, false},
        {"Online|Cable link", 0, false, true},
        {"Input|Keyboard", 1, true, true},
        {"|only a subtitle", 1, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        clear();
        vl.widget_count = 0;
        vl_widget &w = add(kCard, 200, 400, 166, 62, c.label);
        w.enabled = c.enabled;
        vl.hover = c.hot ? 0 : -1;
        paint_widget(0);
        const auto f = frame();
        const uint32_t title_ink = c.enabled ? col_ink : col_ink_dim;
        const uint32_t sub_ink = c.enabled ? col_ink_soft : col_ink_dim;
        const bool title = c.label[0] != '|';
        EXPECT_EQ(count(f, 202, 402, 162, 30, title_ink) > 0, title);
        EXPECT_EQ(count(f, 202, 434, 162, 26, sub_ink) > 0, c.subtitle);
        EXPECT_EQ(at(f, 203, 405), A(c.hot ? col_card_hot : col_panel));
        uint32_t outline = c.enabled ? col_panel_edge : col_rule;
        if (c.hot) outline = col_accent;
        EXPECT_EQ(at(f, 200, 430), A(outline));
        EXPECT_EQ(at(f, 250, 463), c.enabled ? A(col_shadow) : A(col_backdrop));
    }
}

// ---- fills -----------------------------------------------------------------------------

TEST_F(WidgetPainter, RoundedRectAndDiscRows) {
    fill_rounded_rect(100, 100, 60, 30, 8, col_accent);
    auto f = frame();
    // Row i of a radius-8 corner is inset by 8 - isqrt(64 - (8 - i)^2).
    const int32_t insets[] = {8, 5, 3, 2, 2, 1, 1, 1, 0};
    for (int32_t i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(span(f, 100 + i, col_accent), std::make_pair(100 + insets[i], 160 - insets[i]));
        EXPECT_EQ(span(f, 129 - i, col_accent), std::make_pair(100 + insets[i], 160 - insets[i]));
    }
    EXPECT_EQ(span(f, 115, col_accent), std::make_pair(100, 160));

    clear();
    fill_disc(300, 300, 5, col_good);
    f = frame();
    const int32_t half[] = {5, 4, 4, 4, 3, 0};  // isqrt(25 - j^2) for j = 0..5
    for (int32_t j = 0; j <= 5; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(span(f, 300 + j, col_good), std::make_pair(300 - half[j], 301 + half[j]));
        EXPECT_EQ(span(f, 300 - j, col_good), std::make_pair(300 - half[j], 301 + half[j]));
    }
    EXPECT_EQ(span(f, 306, col_good).first, -1);
}

} // namespace
