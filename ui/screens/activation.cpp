// activate: what pressing a widget does. Text fields and bindings act by kind; everything
// else by id through kIdRules: a whole id first, then a family by its prefix.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "../frame/frame.h"
#include "../frame/state.h"
#include "../settings/text_rules.h"
#include "activation.h"
#include "fields.h"
#include "layouts.h"
#include "lobby.h"
#include "widgets.h"

namespace {

void end_run(int32_t code) {
    vl.exit_code = code;
    vl.running = false;
}

void change_page(int32_t page) {
    vl.page = page;
    vl.capture = -1;
    vl.focus = 0;
}

void press_text_field(const vl_widget &w) {
    const int32_t f = w.index;
    if (f < 0 || f >= kFieldCount) return;
    end_editing();
    if (!vl.activated_by_pad) {
        vl.editing_field = f;
        SDL_StartTextInput();
    } else if (f != kFieldName) {
        vl.keypad_field = f;
        std::snprintf(vl.keypad_backup, sizeof vl.keypad_backup, "%s", vl.fields[f]);
        std::snprintf(vl.refocus_id, sizeof vl.refocus_id, "%s", kIdKeypadStart);
    } else {
        set_note("Type the name on a keyboard", 1);
    }
    build_page();
}

void press_binding(const vl_widget &w) {
    if (w.slot < 0 || w.slot >= kBindingSlots) return;
    if (vl.page == kPageController && !pad_present()) {
        set_note("No controller connected", 1);
        return;
    }
    vl.capture = w.slot;
    vl.note[0] = '\0';
}

// Kinds that act whatever their id; neither rebuilds the list through activate().
struct KindRule {
    int32_t kind;
    void (*press)(const vl_widget &w);
};
constexpr KindRule kKindRules[] = {
    {kTextField, press_text_field},
    {kBinding, press_binding},
};

const KindRule *kind_rule_for(int32_t kind) {
    for (const KindRule &rule : kKindRules)
        if (rule.kind == kind) return &rule;
    return nullptr;
}

// "online_host" and "online_join": the fields can have changed since the last build
// enabled the button, so the checks are made again on the committed text.
vl_after host_or_join(bool join) {
    end_editing();
    commit_fields();
    if (!port_text_is_valid(vl.fields[kFieldPort])) {
        set_note(kNotePortRange, 1);
    } else if (join && vl.fields[kFieldHost][0] == '\0') {
        set_note("Type the host address to join", 1);
    } else {
        set_text(vl.settings.mode, kModeNames[join ? kModeJoin : kModeHost]);
        save_live_settings();
        end_run(join ? VL_EXIT_LINK_JOIN : VL_EXIT_LINK_HOST);
    }
    return vl_after::rebuild;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A rest of one character: a digit whose value lies from `low` to `high`.
bool one_digit(const char *rest, int32_t low, int32_t high) {
    return rest[0] >= '0' + low && rest[0] <= '0' + high && rest[1] == '\0';
}

// Keys of the on-screen keypad other than the digits; each acts on the field it holds.
struct KeypadKey {
    const char *name;  // what follows "kp_"
    void (*press)(int32_t field);
};
constexpr KeypadKey kKeypadKeys[] = {
    {"dot", [](int32_t f) { insert_char(f, '.'); }},
    {"del", [](int32_t f) { delete_last_char(f); }},
    {"clr", [](int32_t f) { vl.fields[f][0] = '\0'; }},
    {"ok", [](int32_t) { close_keypad(true); }},
    {"cancel", [](int32_t) { close_keypad(false); }},
};

const KeypadKey *keypad_key_named(const char *name) {
    for (const KeypadKey &key : kKeypadKeys)
        if (!std::strcmp(name, key.name)) return &key;
    return nullptr;
}

bool is_keypad_key(const char *rest) { return one_digit(rest, 0, 9) || keypad_key_named(rest); }

// A keypad key pressed while the keypad is closed does nothing.
vl_after press_keypad_key(const char *rest) {
    const int32_t f = vl.keypad_field;
    if (f < 0) return vl_after::rebuild;
    if (is_digit(rest[0]))
        insert_char(f, static_cast<uint32_t>(rest[0]));
    else
        keypad_key_named(rest)->press(f);
    return vl_after::rebuild;
}

bool is_address_row(const char *rest) { return one_digit(rest, 0, kMaxAddresses - 1); }

bool is_window_scale(const char *rest) { return one_digit(rest, kScaleMin, kScaleMax); }

void set_transport(int32_t transport) {
    set_text(vl.settings.transport, kTransportNames[transport]);
    save_live_settings();
}

void set_scaling(int32_t scaling) {
    vl.settings.scaling = scaling;
    save_live_settings();
}

void toggle(int32_t &flag) {
    flag = flag ? 0 : 1;
    save_live_settings();
}

} // namespace

// set_players and toggle_auto_delay write the settings file themselves.
const vl_id_rule kIdRules[] = {
    {"online", nullptr, [](const char *) {
         change_page(kPageOnline);
         fill_fields_from_settings();
         reset_role_from_settings();
         return vl_after::rebuild;
     }},
    {"role_host", nullptr, [](const char *) { vl.role = kRoleHost; return vl_after::rebuild; }},
    {"role_join", nullptr, [](const char *) { vl.role = kRoleJoin; return vl_after::rebuild; }},
    {"online_p2", nullptr, [](const char *) { set_players(2); return vl_after::rebuild; }},
    {"online_p3", nullptr, [](const char *) { set_players(3); return vl_after::rebuild; }},
    {"online_p4", nullptr, [](const char *) { set_players(4); return vl_after::rebuild; }},
    {"online_net_auto", nullptr, [](const char *) { set_transport(kTransportAuto); return vl_after::rebuild; }},
    {"online_net_udp", nullptr, [](const char *) { set_transport(kTransportUdp); return vl_after::rebuild; }},
    {"online_net_tcp", nullptr, [](const char *) { set_transport(kTransportTcp); return vl_after::rebuild; }},
    {"online_auto", nullptr, [](const char *) { toggle_auto_delay(); return vl_after::rebuild; }},
    {"online_host", nullptr, [](const char *) { return host_or_join(false); }},
    {"online_join", nullptr, [](const char *) { return host_or_join(true); }},
    {"online_start", nullptr, [](const char *) { end_editing(); end_run(VL_EXIT_LINK_START); return vl_after::rebuild; }},
    {"online_ready", nullptr, [](const char *) { end_editing(); end_run(VL_EXIT_LINK_READY); return vl_after::rebuild; }},
    {"online_leave", nullptr, [](const char *) {
         end_editing();
         set_text(vl.settings.mode, kModeNames[kModeOff]);
         save_live_settings();
         end_run(VL_EXIT_LINK_LEAVE);
         return vl_after::rebuild;
     }},
    {"online_copy", nullptr, [](const char *) {
         if (copy_allowed()) {
             SDL_SetClipboardText(picked_address());
             set_note("Address copied", 0);
         }
         return vl_after::rebuild;
     }},
    {"fullscreen", nullptr, [](const char *) {
         toggle(vl.settings.fullscreen);
         apply_window_mode(false);
         return vl_after::rebuild;
     }},
    {"scale_integer", nullptr, [](const char *) { set_scaling(kScalingInteger); return vl_after::rebuild; }},
    {"scale_fit", nullptr, [](const char *) { set_scaling(kScalingFit); return vl_after::rebuild; }},
    {"scale_stretch", nullptr, [](const char *) { set_scaling(kScalingStretch); return vl_after::rebuild; }},
    {"mute", nullptr, [](const char *) { toggle(vl.settings.mute); return vl_after::rebuild; }},
    {"stick", nullptr, [](const char *) { toggle(vl.settings.stick_as_dpad); return vl_after::rebuild; }},
    {"settings", nullptr, [](const char *) { change_page(kPageSettings); return vl_after::rebuild; }},
    {"input", nullptr, [](const char *) { change_page(kPageKeyboard); return vl_after::rebuild; }},
    // The tabs keep the focus index, so the rebuild leaves the focus on the tab.
    {"tab_keyboard", nullptr, [](const char *) { vl.page = kPageKeyboard; vl.capture = -1; return vl_after::rebuild; }},
    {"tab_controller", nullptr, [](const char *) { vl.page = kPageController; vl.capture = -1; return vl_after::rebuild; }},
    {"back", nullptr, [](const char *) { leave_page(); return vl_after::rebuild; }},
    {"done", nullptr, [](const char *) { leave_page(); return vl_after::rebuild; }},
    {"reset", nullptr, [](const char *) {
         if (vl.page == kPageKeyboard) {
             reset_keys(&vl.settings);
             set_note("Keyboard reset to defaults", 0);
         } else {
             reset_buttons(&vl.settings);
             set_note("Controller reset to defaults", 0);
         }
         save_live_settings();
         vl.capture = -1;
         return vl_after::rebuild;
     }},
    {"save_open", nullptr, [](const char *) { end_run(VL_EXIT_SAVE_OPEN); return vl_after::rebuild; }},
    {"save_export", nullptr, [](const char *) { end_run(VL_EXIT_SAVE_EXPORT); return vl_after::rebuild; }},
    // The dialog opens on "No", so a hasty Return does not import.
    {"save_import", nullptr, [](const char *) {
         vl.confirm_open = true;
         build_page();
         vl.focus = 1;
         return vl_after::stop;
     }},
    {"confirm_yes", nullptr, [](const char *) {
         vl.confirm_open = false;
         end_run(VL_EXIT_SAVE_IMPORT);
         return vl_after::rebuild;
     }},
    {"confirm_no", nullptr, [](const char *) {
         vl.confirm_open = false;
         build_page();
         vl.focus = 0;
         return vl_after::stop;
     }},
    {"selectrom", nullptr, [](const char *) { end_run(VL_EXIT_CHOOSE_ROM); return vl_after::rebuild; }},
    // Whatever "play" reads, without a ROM the host can only be asked for one.
    {"play", nullptr, [](const char *) {
         end_run(vl.status.state != VL_BUILD_NO_ROM ? VL_EXIT_PLAY : VL_EXIT_CHOOSE_ROM);
         return vl_after::rebuild;
     }},
    {"quit", nullptr, [](const char *) { end_run(VL_EXIT_QUIT); return vl_after::rebuild; }},

    // Sliders change by dragging and by Left and Right; activating one only rebuilds.
    {"volume", nullptr, nullptr},
    {"deadzone", nullptr, nullptr},
    {"online_delay", nullptr, nullptr},

    // Families: the action gets what follows the prefix ("online_ip2" -> "2").
    {"online_ip", is_address_row, [](const char *rest) {
         if (rest[0] - '0' < address_count()) vl.address_pick = rest[0] - '0';
         return vl_after::rebuild;
     }},
    {"kp_", is_keypad_key, press_keypad_key},
    {"size", is_window_scale, [](const char *rest) {
         vl.settings.scale = rest[0] - '0';
         save_live_settings();
         apply_window_mode(false);
         return vl_after::rebuild;
     }},
};
const int32_t kIdRuleCount = static_cast<int32_t>(sizeof kIdRules / sizeof kIdRules[0]);

bool activated_by_kind(int32_t kind) { return kind_rule_for(kind) != nullptr; }

const vl_id_rule *id_rule_for(const char *id) {
    for (const vl_id_rule &rule : kIdRules)
        if (!rule.accepts && std::strcmp(id, rule.id) == 0) return &rule;
    for (const vl_id_rule &rule : kIdRules) {
        const size_t n = std::strlen(rule.id);
        if (rule.accepts && std::strncmp(id, rule.id, n) == 0 && rule.accepts(id + n)) return &rule;
    }
    return nullptr;
}

void activate(int32_t index) {
    if (index < 0 || index >= vl.widget_count) return;
    const vl_widget &w = vl.widgets[index];
    if (!w.enabled) return;
    if (const KindRule *rule = kind_rule_for(w.kind)) {
        rule->press(w);
        return;
    }
    // Ids are static texts, so the pointer outlives any rebuild an action makes.
    const char *id = w.id ? w.id : "";
    const vl_id_rule *rule = id_rule_for(id);
    const vl_after after = rule && rule->act ? rule->act(id + std::strlen(rule->id)) : vl_after::rebuild;
    if (after == vl_after::rebuild) build_page();
}

void leave_page() {
    end_editing();
    commit_fields();
    change_page(kPageMain);
}
