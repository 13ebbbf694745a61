// paint_widget: every widget kind in every state, plus the rounded, disc and panel fills
// it shares with the page painters. They read vl and the clock (caret blink) and write
// nothing.
#include "painters.h"

#include <cstdio>

#include "../frame/state.h"
#include "../screens/fields.h"
#include "../screens/lobby.h"
#include "fill_rows.h"
#include "font.h"
#include "palette.h"

namespace {

constexpr uint32_t kCaretHalfPeriodMs = 400;  // caret on for 400 ms, off for 400 ms

// Largest k with k * k <= n, found by counting up (n is small: radii of a few pixels).
int32_t counted_sqrt(int32_t n) {
    int32_t k = 0;
    while ((k + 1) * (k + 1) <= n) ++k;
    return k;
}

// Columns cut off each end of row i of a rounded rectangle h rows high.
int32_t rounded_inset(int32_t i, int32_t h, int32_t r) {
    int32_t depth = 0;  // rows into the nearer corner, counted from its tip
    if (i < r)
        depth = r - i;
    else if (i >= h - r)
        depth = i - (h - r) + 1;
    return depth == 0 ? 0 : r - counted_sqrt(r * r - depth * depth);
}

struct WidgetFlags {
    bool hot;      // under the mouse and enabled
    bool focused;  // the keyboard focus
};

// ---- buttons ---------------------------------------------------------------------------

struct ButtonLook {
    uint32_t fill;
    uint32_t outline;
    int32_t font;
    uint32_t ink;
};

// Plain (0), primary (1) and hero (4) buttons; any other style falls back to plain.
ButtonLook raised_button_look(const vl_widget &w, bool hot) {
    const bool loud = w.style == kPrimary || w.style == kHero;
    const int32_t loud_font = w.style == kHero ? 5 : 4;
    if (!w.enabled) return {col_face, col_panel_edge, loud ? loud_font : 3, col_ink_dim};
    if (loud) {
        const uint32_t fill = hot ? col_accent_hot : col_accent;
        return {fill, fill, loud_font, col_ink_on_accent};
    }
    return {col_face, hot ? col_accent : col_well_edge, 3, col_ink};
}

void paint_button(const vl_widget &w, WidgetFlags f) {
    if (w.style == kLink) {
        fill_rect(w.x, w.y, w.w, w.h, col_panel);
        outline_rect(w.x, w.y, w.w, w.h, f.hot ? col_accent : col_panel_edge);
        draw_text_centred(2, w.label, w.x, w.y, w.w, w.h, w.enabled ? col_ink : col_ink_dim);
        return;
    }
    if (w.style == kQuiet) {
        if (f.focused || f.hot) outline_rect(w.x, w.y, w.w, w.h, col_well_edge);
        draw_text_centred(3, w.label, w.x, w.y, w.w, w.h, f.hot ? col_ink : col_ink_soft);
        return;
    }
    const ButtonLook look = raised_button_look(w, f.hot);
    fill_panel(w.x, w.y, w.w, w.h, look.fill, look.outline, w.enabled != 0);
    draw_text_centred(look.font, w.label, w.x, w.y, w.w, w.h, look.ink);
}

// ---- choices and switches --------------------------------------------------------------

void paint_choice(const vl_widget &w, WidgetFlags f) {
    uint32_t fill;
    if (w.on)
        fill = w.enabled ? col_accent : col_well_edge;
    else
        fill = f.hot ? col_face : col_choice;
    fill_rect(w.x, w.y + 2, w.w, w.h - 4, fill);  // the top and bottom lines cover the rest

    // Joined choices share one 2-pixel separator: only the first of a row draws its left line.
    fill_rect(w.x, w.y, w.w, 2, col_well_edge);
    fill_rect(w.x, w.y + w.h - 2, w.w, 2, col_well_edge);
    if (w.segment == 1) fill_rect(w.x, w.y, 2, w.h, col_well_edge);
    fill_rect(w.x + w.w - 2, w.y, 2, w.h, col_well_edge);

    uint32_t ink;
    if (w.enabled)
        ink = w.on ? col_ink_on_accent : col_ink_choice;
    else
        ink = w.on ? col_ink : col_ink_dim;
    draw_text_centred(3, w.label, w.x, w.y, w.w, w.h, ink);
}

void paint_switch(const vl_widget &w) {
    const bool lit = w.enabled && w.on;
    fill_frame(w.x, w.y, w.w, w.h, 2, lit ? col_accent : col_well_edge);  // the inner fill covers the rest
    fill_rect(w.x + 2, w.y + 2, w.w - 4, w.h - 4, lit ? col_accent : col_well);
    const int32_t knob_x = w.on ? w.x + w.w - 18 : w.x + 4;
    uint32_t knob = w.on ? col_ink_on_accent : col_ink_soft;
    if (!w.enabled) knob = col_ink_dim;
    fill_rect(knob_x, w.y + 4, 14, 14, knob);
}

// ---- sliders ---------------------------------------------------------------------------

struct SliderReading {
    int64_t value;
    int64_t maximum;
};

// The live setting and maximum of a slider; unknown ids show the volume.
SliderReading slider_reading(int32_t slider_id) {
    const int32_t id = slider_maximum(slider_id) > 0 ? slider_id : kVolumeSlider;
    return {slider_value(id), slider_maximum(id)};
}

// Narrows a 64-bit length to a rectangle coordinate without wrapping around.
int32_t saturate32(int64_t v) {
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

void paint_slider(const vl_widget &w) {
    const int32_t cy = w.y + w.h / 2;
    fill_rect(w.x, cy - 5, w.w, 10, col_well);
    outline_rect(w.x, cy - 5, w.w, 10, col_well_edge);

    const SliderReading r = slider_reading(w.slider_id);
    // A value outside 0..maximum (a delay of 6 read from the file while 2 players allow 2)
    // is drawn at the nearer end, so fill and knob stay on the track; the setting keeps it.
    const int64_t shown = r.value < 0 ? 0 : r.value > r.maximum ? r.maximum : r.value;
    int32_t f = saturate32((static_cast<int64_t>(w.w) - 6) * shown / r.maximum);
    if (w.slider_id == kVolumeSlider && vl.settings.mute) f = 0;

    if (f > 0) fill_rect(w.x + 3, cy - 2, f, 4, w.enabled ? col_accent : col_ink_dim);
    if (!w.enabled) return;
    fill_rect(w.x + f - 2, cy - 9, 10, 18, col_ink_on_accent);
    fill_rect(w.x + f, cy - 7, 6, 14, col_ink);
}

// ---- bindings --------------------------------------------------------------------------

void paint_binding(const vl_widget &w, WidgetFlags f) {
    // The slot indexes the binding arrays; anything else has no key to show.
    if (w.slot < 0 || w.slot >= kBindingSlots) return;
    const bool capturing = vl.capture == w.slot;
    const uint32_t rim = f.hot || capturing ? col_accent : col_well_edge;
    const uint32_t face = capturing ? col_accent : col_face;

    const char *bound = vl.page == kPageKeyboard ? vl.settings.keys[w.slot] : vl.settings.buttons[w.slot];
    if (vl.page == kPageController) bound = button_label(bound);
    char key_text[40];
    fit_text(2, bound, w.circular ? w.w - 20 : w.w - 10, key_text, sizeof key_text);
    const char *action = kActionNames[w.slot];
    const int32_t cx = w.x + w.w / 2;

    if (w.circular) {
        const int32_t r = w.w / 2;
        const int32_t cy = w.y + w.h / 2;
        if (w.w >= 4) {
            fill_disc_ring(cx, cy, r, 2, rim);  // the face disc covers the rest of the rim disc
            fill_disc(cx, cy, r - 2, face);
        } else {
            fill_disc(cx, cy, r, rim);
        }
        char short_action[8];
        std::snprintf(short_action, sizeof short_action, "%.7s", action);
        draw_text(5, short_action, cx - text_width(5, short_action) / 2, cy - 18,
                  capturing ? col_ink_on_accent : col_ink);
        draw_text(0, key_text, cx - text_width(0, key_text) / 2, cy + 5, capturing ? col_ink_on_accent : col_accent);
        return;
    }

    if (w.style == 1) {  // shoulder buttons L and R
        // Only the rim shows around the face, so only the rim is filled.
        fill_rounded_ring(w.x, w.y, w.w, w.h, 8, 2, rim);
        fill_rounded_rect(w.x + 2, w.y + 2, w.w - 4, w.h - 4, 6, face);
    } else {
        fill_frame(w.x, w.y, w.w, w.h, 2, rim);
        fill_rect(w.x + 2, w.y + 2, w.w - 4, w.h - 4, face);
    }
    char caps[16];
    std::snprintf(caps, sizeof caps, "%.15s", action);
    for (char *p = caps; *p; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    draw_text(0, caps, cx - text_width(0, caps) / 2, w.y + 5, capturing ? col_ink_on_accent : col_ink_soft);
    draw_text(2, key_text, cx - text_width(2, key_text) / 2, w.y + w.h - h_height(2) - 11,
              capturing ? col_ink_on_accent : col_ink);
}

// ---- text fields -----------------------------------------------------------------------

// Skips leading characters until the rest fits, so the end of a long text stays visible.
const char *visible_tail(const char *text, int32_t max_width) {
    while (text_width(3, text) > max_width) {
        int32_t used = 0;
        decode_char(text, &used);
        if (used == 0) break;
        text += used;
    }
    return text;
}

void paint_text_field(const vl_widget &w, WidgetFlags f) {
    if (w.index < 0 || w.index >= kFieldCount) return;
    const bool editing = vl.editing_field == w.index;
    fill_rect(w.x, w.y, w.w, w.h, col_well);
    outline_rect(w.x, w.y, w.w, w.h, editing || f.hot ? col_accent : col_well_edge);

    const char *shown = visible_tail(vl.fields[w.index], w.w - 24);
    uint32_t ink = col_ink_soft;
    if (w.enabled) ink = w.index == kFieldPort && !port_text_looks_valid(vl.fields[kFieldPort]) ? col_bad : col_ink;
    draw_text(3, shown, w.x + 12, w.y + (w.h + h_height(3)) / 2 - font_table[3].ascent, ink);

    if (editing && (SDL_GetTicks() / kCaretHalfPeriodMs) % 2 == 0)
        fill_rect(w.x + text_width(3, shown) + 13, w.y + 9, 2, w.h - 18, col_accent);
}

// ---- address rows and cards ------------------------------------------------------------

void paint_address_row(const vl_widget &w) {
    if (w.index < 0 || w.index >= kMaxAddresses) return;
    const bool picked = w.index == vl.address_pick;
    if (picked) fill_rect(w.x, w.y, w.w, w.h, col_rule);
    const uint32_t ink = picked ? col_good : col_ink;

    char text[64];
    fit_text(2, address_at(w.index), w.w - 30, text, sizeof text);
    const int32_t ty = w.y + (w.h + h_height(2)) / 2 - font_table[2].ascent;
    draw_text(2, picked ? ">" : " ", w.x + 6, ty, col_accent);
    draw_text(2, text, w.x + 22, ty, ink);
}

void paint_card(const vl_widget &w, WidgetFlags f) {
    char title[48];
    char subtitle[48];
    const char *bar = nullptr;
    for (const char *p = w.label; *p && p < w.label + sizeof w.label; ++p)
        if (*p == '|') {
            bar = p;
            break;
        }
    if (bar) {
        std::snprintf(title, sizeof title, "%.*s", static_cast<int>(bar - w.label), w.label);
        std::snprintf(subtitle, sizeof subtitle, "%s", bar + 1);
    } else {
        std::snprintf(title, sizeof title, "%s", w.label);
        subtitle[0] = '\0';
    }

    uint32_t outline = col_rule;
    if (f.hot)
        outline = col_accent;
    else if (w.enabled)
        outline = col_panel_edge;
    fill_panel(w.x, w.y, w.w, w.h, f.hot ? col_card_hot : col_panel, outline, w.enabled != 0);
    draw_text(4, title, w.x + 14, w.y + 12, w.enabled ? col_ink : col_ink_dim);
    draw_text(1, subtitle, w.x + 14, w.y + 34, w.enabled ? col_ink_soft : col_ink_dim);
}

} // namespace

// Rows go out through a fill_row_batch: the same one-pixel rows, in a few draw calls.
void fill_rounded_rect(int32_t x, int32_t y, int32_t w, int32_t h, int32_t radius, uint32_t colour) {
    fill_row_batch rows(colour);
    for (int32_t i = 0; i < h; ++i) {
        const int32_t inset = rounded_inset(i, h, radius);
        rows.add(x + inset, y + i, w - 2 * inset);
    }
}

void fill_rounded_ring(int32_t x, int32_t y, int32_t w, int32_t h, int32_t radius, int32_t border,
                       uint32_t colour) {
    // Left and right pieces go to separate batches so that each can merge equal rows.
    fill_row_batch left(colour);
    fill_row_batch right(colour);
    const int32_t inner_w = w - 2 * border;
    const int32_t inner_h = h - 2 * border;
    for (int32_t i = 0; i < h; ++i) {
        const int32_t outer = rounded_inset(i, h, radius);
        const int32_t k = i - border;  // the same row of the inner shape
        const int32_t inner = k >= 0 && k < inner_h ? rounded_inset(k, inner_h, radius - border) : 0;
        if (k < 0 || k >= inner_h || inner_w - 2 * inner <= 0) {
            left.add(x + outer, y + i, w - 2 * outer);  // nothing of the inner shape on this row
            continue;
        }
        const int32_t piece = border + inner - outer;  // empty where the inner row reaches past the outer
        left.add(x + outer, y + i, piece);
        right.add(x + w - border - inner, y + i, piece);
    }
}

void fill_panel(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t fill, uint32_t outline, bool shadow) {
    // The shadow is the panel moved down 2 pixels; the opaque fill covers all of it but
    // the band below the panel, so only that band is filled.
    if (shadow) {
        const int32_t band = h < 2 ? h : 2;
        fill_rect(x, y + h + 2 - band, w, band, col_shadow);
    }
    fill_rect(x, y, w, h, fill);
    outline_rect(x, y, w, h, outline);
}

void fill_disc(int32_t cx, int32_t cy, int32_t r, uint32_t colour) {
    fill_row_batch rows(colour);
    for (int32_t j = -r; j <= r; ++j) {
        const int32_t k = counted_sqrt(r * r - j * j);
        rows.add(cx - k, cy + j, 2 * k + 1);
    }
}

void fill_disc_ring(int32_t cx, int32_t cy, int32_t r, int32_t border, uint32_t colour) {
    fill_row_batch left(colour);
    fill_row_batch right(colour);
    const int32_t inner_r = r - border;
    for (int32_t j = -r; j <= r; ++j) {
        const int32_t k = counted_sqrt(r * r - j * j);
        if (inner_r < 0 || j < -inner_r || j > inner_r) {
            left.add(cx - k, cy + j, 2 * k + 1);  // above or below the inner disc
            continue;
        }
        const int32_t inner_k = counted_sqrt(inner_r * inner_r - j * j);
        left.add(cx - k, cy + j, k - inner_k);
        right.add(cx + inner_k + 1, cy + j, k - inner_k);
    }
}

void paint_widget(int32_t index) {
    if (index < 0 || index >= vl.widget_count || index >= kMaxWidgets) return;
    const vl_widget &w = vl.widgets[index];
    const WidgetFlags f{index == vl.hover && w.enabled != 0, index == vl.focus};

    switch (w.kind) {
    case kButton: paint_button(w, f); break;
    case kChoice: paint_choice(w, f); break;
    case kSwitch: paint_switch(w); break;
    case kSlider: paint_slider(w); break;
    case kBinding: paint_binding(w, f); break;
    case kTextField: paint_text_field(w, f); break;
    case kAddressRow: paint_address_row(w); break;
    case kCard: paint_card(w, f); break;
    default: break;  // unknown kinds draw nothing of their own, but still show focus
    }

    if (!f.focused) return;
    if (w.kind == kAddressRow)
        outline_rect(w.x, w.y, w.w, w.h, col_caution);
    else
        outline_rect(w.x - 4, w.y - 4, w.w + 8, w.h + 8, col_caution);
}
