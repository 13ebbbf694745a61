// The online page: state chip, connection captions, lobby table, hint and quality.
// No footer is painted here; the hint and quality lines take the bottom of the page.
#include <cstdio>

#include "../frame/state.h"
#include "../screens/fields.h"
#include "../screens/lobby.h"
#include "hint_lines.h"
#include "page_items.h"
#include "painters.h"
#include "palette.h"

namespace {

struct lobby_state_look {
    const char *text;
    uint32_t dot;
};
// Lobby states VL_LOBBY_NOT_CONNECTED to VL_LOBBY_LOST; any other value reads as the last row.
constexpr lobby_state_look kLobbyStates[] = {
    {"Not connected", col_ink_soft},        {"Waiting for players", col_good},
    {"Connecting...", col_good},            {"Connected (%d players)", col_good},
    {"In game", col_good},                  {"Desync detected", col_bad},
    {"Connection lost", col_bad},           {"Not connected", col_good},
};
static_assert(sizeof kLobbyStates / sizeof kLobbyStates[0] == VL_LOBBY_LOST + 2, "a row per lobby state, and one more");

constexpr const char *kSlotLabels[kPlayerSlots] = {"P1", "P2", "P3", "P4"};
constexpr const char *kSlotStates[] = {"Empty", "Joining", "Connected", "Ready", "Lost"};
static_assert(sizeof kSlotStates / sizeof kSlotStates[0] == VL_SLOT_LOST + 1, "a text per slot state");

constexpr const char *kQualityTexts[] = {"Measuring...", "Good", "Fair", "Poor"};
constexpr uint32_t kQualityColours[] = {col_ink_soft, col_good, col_caution, col_bad};
static_assert(sizeof kQualityTexts / sizeof kQualityTexts[0] == VL_QUALITY_POOR + 1, "a text per quality");

constexpr int32_t kMaxShownMs = 999;
constexpr int32_t kMaxShownPauses = 9999;

constexpr vl_page_item kLobbyHead[] = {
    item_panel(519, 86, 413, 446),
    item_text(537, 100, 4, col_accent, "Lobby"),
    item_text(537, 128, 0, col_ink_soft, "SLOT"),
    item_text(603, 128, 0, col_ink_soft, "NAME"),
    item_text(745, 128, 0, col_ink_soft, "STATE"),
    item_right(914, 128, 0, col_ink_soft, "PING"),
};

int32_t lobby_index(int32_t state) { return state >= VL_LOBBY_NOT_CONNECTED && state <= VL_LOBBY_LOST ? state : VL_LOBBY_LOST + 1; }

int32_t capped(int32_t v, int32_t cap) { return v > cap ? cap : v; }

void paint_state_chip() {
    const vl_online_status &o = vl.online;
    const lobby_state_look &look = kLobbyStates[lobby_index(o.lobby_state)];
    char text[48];
    if (o.lobby_state == VL_LOBBY_CONNECTED) {
        const int32_t connected = connected_slots();
        std::snprintf(text, sizeof text, look.text, connected > 0 ? connected : 2);
    } else {
        std::snprintf(text, sizeof text, "%s", look.text);
    }
    const int32_t w = text_width(2, text);
    fill_panel_plain(890 - w, 19, w + 42, 26);
    fill_rect(902 - w, 28, 8, 8, look.dot);
    draw_text(2, text, 918 - w, 19 + (26 + h_height(2)) / 2 - font_table[2].ascent, col_ink);
}

// Captions of the connection panel in painting order, all in font 0. Two read the
// state: the address caption follows the role, the delay caption the setting.
enum class caption_text : uint8_t { fixed, address, delay };
struct connection_caption {
    int16_t x, y;
    bool right_aligned;  // x is the right edge
    caption_text source;
    const char *text;
};
constexpr connection_caption kConnectionCaptions[] = {
    {46, 134, false, caption_text::fixed, "NAME"},
    {46, 198, false, caption_text::address, nullptr},
    {393, 198, false, caption_text::fixed, "PORT"},
    {46, 264, false, caption_text::fixed, "PLAYERS"},
    {290, 264, false, caption_text::delay, nullptr},
    {437, 264, true, caption_text::fixed, "AUTO"},
    {46, 324, false, caption_text::fixed, "TRANSPORT"},
};

// The captions dim once a link is up, since the set-up fields can then not be edited.
void paint_connection_panel() {
    const uint32_t colour = vl.online.lobby_state == VL_LOBBY_NOT_CONNECTED ? col_ink_soft : col_ink_dim;
    fill_panel_plain(28, 86, 475, 446);
    draw_text(4, "Connection", 46, 100, col_accent);
    char delay[32];
    if (vl.settings.delay < 0)
        std::snprintf(delay, sizeof delay, "%s", "DELAY . AUTO");
    else
        std::snprintf(delay, sizeof delay, "DELAY . %d FR", vl.settings.delay);
    for (const connection_caption &c : kConnectionCaptions) {
        const char *text = c.text;
        if (c.source == caption_text::address) text = vl.role != kRoleHost ? "HOST ADDRESS" : "YOUR ADDRESS";
        if (c.source == caption_text::delay) text = delay;
        if (c.right_aligned)
            draw_text_right(0, text, c.x, c.y, colour);
        else
            draw_text(0, text, c.x, c.y, colour);
    }
    fill_rect(46, 392, 439, 2, col_rule);
}

uint32_t row_colour(int32_t v) {
    const vl_online_status &o = vl.online;
    const int32_t state = o.slot_state[v];
    if (state == VL_SLOT_LOST) return col_bad;
    if (state == VL_SLOT_EMPTY) return o.lobby_state == VL_LOBBY_NOT_CONNECTED && v >= vl.settings.players ? col_ink_dim : col_ink_soft;
    return v == o.local_slot ? col_accent : col_ink;
}

uint32_t ping_colour(int32_t ping) {
    return ping < 60 ? col_good : (ping < 120 ? col_caution : col_bad);
}

void paint_host_tag() {
    const int32_t tag_w = text_width(0, "HOST") + 10;
    const int32_t x = 543 + text_width(2, "P1");
    fill_rect(x, 151, tag_w, 18, col_panel_edge);
    draw_text_centred(0, "HOST", x, 151, tag_w, 18, col_ink_soft);
}

void paint_lobby_row(int32_t v) {
    const vl_online_status &o = vl.online;
    const int32_t y = 152 + 34 * v;
    const uint32_t colour = row_colour(v);
    fill_rect(521, 144 + 34 * v, 409, 2, col_rule);

    draw_text(2, kSlotLabels[v], 537, y, colour);
    if (v == 0) paint_host_tag();

    char name[16];
    fit_text(2, o.slot_name[v][0] ? o.slot_name[v] : "-", 130, name, sizeof name);
    draw_text(2, name, 603, y, colour);

    const int32_t state = o.slot_state[v];
    const char *state_text = state >= 0 && state <= VL_SLOT_LOST ? kSlotStates[state] : kSlotStates[VL_SLOT_EMPTY];
    draw_text(2, state_text, 745, y, state == VL_SLOT_READY ? col_good : colour);

    const int32_t ping = o.slot_ping[v];
    if ((state == VL_SLOT_CONNECTED || state == VL_SLOT_READY) && ping >= 0) {
        char text[16];
        std::snprintf(text, sizeof text, "%d ms", capped(ping, kMaxShownMs));
        draw_text_right(2, text, 914, y, ping_colour(ping));
    } else {
        draw_text_right(2, "-", 914, y, col_ink_dim);
    }
}

bool any_slot_in(int32_t wanted) {
    for (int32_t state : vl.online.slot_state)
        if (state == wanted) return true;
    return false;
}

// The hint by its rules: host message, then set-up problems, then lobby progress.
// Returns null when the page shows no hint.
const char *hint_text(uint32_t *colour) {
    const vl_online_status &o = vl.online;
    *colour = col_ink_soft;
    if (o.host_message[0]) {
        *colour = col_accent;
        return o.host_message;
    }
    switch (o.lobby_state) {
    case VL_LOBBY_NOT_CONNECTED:
        if (!port_text_looks_valid(vl.fields[kFieldPort])) {
            *colour = col_bad;
            return kNotePortRange;
        }
        if (vl.fields[kFieldHost][0] || vl.role != kRoleJoin)
            return "Waiting for players. Share your address and port so others can join.";
        return "Type the host address to join.";
    case VL_LOBBY_WAITING:
        if (connected_slots() < 2) return "Waiting for players. Everybody presses Ready.";
        [[fallthrough]];
    case VL_LOBBY_CONNECTED:
        return any_slot_in(VL_SLOT_CONNECTED) ? "The game starts when everybody is ready." : nullptr;
    default:
        return nullptr;
    }
}

void paint_hint() {
    uint32_t colour = col_ink_soft;
    const char *hint = hint_text(&colour);
    if (!hint) return;
    char text[160];
    std::snprintf(text, sizeof text, "%s", hint);
    draw_hint_lines(text, 537, 306, colour);
}

void paint_quality() {
    const vl_online_status &o = vl.online;
    const bool known = o.quality >= VL_QUALITY_MEASURING && o.quality <= VL_QUALITY_POOR;
    const int32_t q = known ? o.quality : VL_QUALITY_MEASURING;
    char text[64];
    if (q != VL_QUALITY_MEASURING && o.p95_ms >= 0)
        std::snprintf(text, sizeof text, "Connection: %s (p95 %d ms)", kQualityTexts[q], capped(o.p95_ms, kMaxShownMs));
    else
        std::snprintf(text, sizeof text, "Connection: %s", kQualityTexts[q]);
    draw_text(3, text, 537, 384, known ? kQualityColours[o.quality] : col_ink_soft);

    char pauses[48];
    std::snprintf(pauses, sizeof pauses, "Pauses over 100 ms: %d", capped(o.pauses, kMaxShownPauses));
    draw_text(2, pauses, 537, 406, o.pauses > 0 ? col_caution : col_ink_soft);
}

void paint_address_caption() {
    const int32_t addresses = address_count();
    if (addresses == 0) return;
    const bool several = addresses > 1;
    draw_text(0, several ? "YOUR ADDRESSES  (UP/DOWN PICKS ONE)" : "YOUR ADDRESS", 537, 416, col_ink_soft);
}

} // namespace

void paint_online_page() {
    paint_header_band("Online");
    draw_text(0, "CABLE LINK", text_width(6, "Online") + 154, 25, col_ink_soft);
    paint_state_chip();
    paint_connection_panel();
    paint_items(kLobbyHead);
    for (int32_t v = 0; v < kPlayerSlots; ++v) paint_lobby_row(v);
    fill_rect(521, 280, 409, 2, col_rule);
    paint_hint();
    if (vl.online.lobby_state == VL_LOBBY_IN_GAME)
        paint_quality();
    else
        paint_address_caption();
}
