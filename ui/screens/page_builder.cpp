// build_page: turns the current state into the widget list, from the tables of
// layouts.cpp, and keeps the focus and the address pick consistent with the new list.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "../draw/font.h"
#include "../frame/state.h"
#include "fields.h"
#include "layouts.h"
#include "lobby.h"
#include "widgets.h"

namespace {

bool text_is(const char *field, std::size_t size, const char *text) {
    return std::strncmp(field, text, size) == 0;
}

bool idle() { return vl.online.lobby_state == VL_LOBBY_NOT_CONNECTED; }

bool rom_usable() { return vl.status.rom_path[0] != '\0' && vl.status.rom_ok != 0; }

bool test(vl_rule rule, int32_t arg) {
    const vl_settings &s = vl.settings;
    switch (rule) {
    case kAlways: return true;
    case kNever: return false;
    case kPageIs: return vl.page == arg;
    case kPlayReady: return vl.status.state != VL_BUILD_NO_ROM && vl.status.rom_ok != 0;
    case kNotPreparing: return vl.status.state != VL_BUILD_PREPARING;
    case kRomUsable: return rom_usable();
    case kWindowed: return s.fullscreen == 0;
    case kFullscreen: return s.fullscreen != 0;
    case kScaleIs: return s.scale == arg;
    case kScalingIs: return s.scaling == arg;
    case kMuted: return s.mute != 0;
    case kStickAsDpad: return s.stick_as_dpad != 0;
    case kIdle: return idle();
    case kIdleManualDelay: return idle() && s.delay >= 0;
    case kAutoDelay: return s.delay < 0;
    case kPlayersIs: return s.players == arg;
    case kTransportIs: return text_is(s.transport, sizeof s.transport, kTransportNames[arg]);
    case kRoleIs: return vl.role == arg;
    case kHostAllowed: return idle() && port_text_is_valid(vl.fields[kFieldPort]);
    case kJoinAllowed: return idle() && port_text_is_valid(vl.fields[kFieldPort]) && vl.fields[kFieldHost][0] != '\0';
    case kCopyAllowed: return copy_allowed();
    case kReadyAllowed: return vl.online.lobby_state == VL_LOBBY_WAITING || vl.online.lobby_state == VL_LOBBY_CONNECTED;
    case kStartAllowed: return start_allowed();
    case kLinked: return !idle();
    case kLocalReady: return local_player_ready();
    case kHasAddress: return addresses_shown() && arg < address_count();
    case kKeypadFieldIs: return vl.keypad_field == arg;
    }
    return false;
}

bool holds(const vl_cond &c) { return test(c.rule, c.arg) != c.negate; }

const vl_layout &current_layout() {
    if (vl.keypad_field >= 0) return kKeypadLayout;
    if (vl.confirm_open) return kConfirmLayout;
    switch (vl.page) {
    case kPageSettings: return kSettingsLayout;
    case kPageOnline: return kOnlineLayout;
    case kPageKeyboard:
    case kPageController: return kInputLayout;
    default: return kMainLayout;
    }
}

void append(const vl_layout_row &row) {
    // 40 entries are far more than any layout needs; a further one is dropped.
    if (vl.widget_count >= kMaxWidgets) return;
    vl_widget &w = vl.widgets[vl.widget_count++];
    w.id = row.id;
    w.kind = row.kind;
    w.x = row.x;
    w.y = row.y;
    w.w = row.w;
    w.h = row.h;
    std::snprintf(w.label, sizeof w.label, "%s", row.label);
    w.enabled = holds(row.enabled) ? 1 : 0;
    w.on = holds(row.on) ? 1 : 0;
    w.style = row.style;
    w.segment = row.segment;
    w.slot = row.slot;
    w.circular = row.circular;
    w.slider_id = row.slider_id;
    w.index = row.index;
    if (row.w == kFitLabel) {
        const int32_t t = text_width(kFitFont, row.label);
        w.x = row.x - 2 * kFitPadding - t;
        w.w = t + 2 * kFitPadding;
    }
}

} // namespace

void build_page() {
    char remembered[32] = "";
    if (vl.widget_count > 0 && vl.focus >= 0 && vl.focus < vl.widget_count)
        std::snprintf(remembered, sizeof remembered, "%s", vl.widgets[vl.focus].id);

    vl.widget_count = 0;
    const vl_layout &layout = current_layout();
    for (int32_t i = 0; i < layout.count; ++i)
        if (holds(layout.rows[i].present)) append(layout.rows[i]);

    vl.focus = 0;
    if (remembered[0]) {
        const int32_t i = find_widget(remembered);
        if (i >= 0) vl.focus = i;
    }
    if (vl.refocus_id[0]) {
        const int32_t i = find_widget(vl.refocus_id);
        if (i >= 0) vl.focus = i;
        vl.refocus_id[0] = '\0';
    }

    // A pick beyond the addresses the host now reports falls back to the first one.
    if (vl.address_pick < 0 || vl.address_pick >= address_count()) vl.address_pick = 0;

    if (vl.page == kPageOnline && vl.focus < vl.widget_count && vl.widgets[vl.focus].kind == kAddressRow)
        vl.address_pick = vl.widgets[vl.focus].index;
}

int32_t find_widget(const char *id) {
    if (!id) return -1;
    for (int32_t i = 0; i < vl.widget_count; ++i)
        if (std::strcmp(vl.widgets[i].id, id) == 0) return i;
    return -1;
}
