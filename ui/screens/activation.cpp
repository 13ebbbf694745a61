// activate: what pressing a widget does. Text fields and bindings are told apart by
// kind; everything else goes by id through kRules, first match wins.
#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "../frame/frame.h"
#include "../frame/state.h"
#include "fields.h"
#include "lobby.h"
#include "widgets.h"

namespace {

enum class After { kRebuild, kStop };  // kStop: the action rebuilt the list and placed the focus

void end_run(int32_t code) {
    vl.exit_code = code;
    vl.running = false;
}

void change_page(int32_t page) {
    vl.page = page;
    vl.capture = -1;
    vl.focus = 0;
}

void press_text_field(int32_t f) {
    end_editing();
    if (!vl.activated_by_pad) {
        vl.editing_field = f;
        SDL_StartTextInput();
    } else if (f != kFieldName) {
        vl.keypad_field = f;
        std::snprintf(vl.keypad_backup, sizeof vl.keypad_backup, "%s", vl.fields[f]);
        std::snprintf(vl.refocus_id, sizeof vl.refocus_id, "%s", "kp_5");
    } else {
        set_note("Type the name on a keyboard", 1);
    }
    build_page();
}

void press_binding(int32_t slot) {
    if (vl.page == kPageController && !pad_present()) {
        set_note("No controller connected", 1);
        return;
    }
    vl.capture = slot;
    vl.note[0] = '\0';
}

// "online_host" and "online_join": the fields can have changed since the last build
// enabled the button, so the checks are made again on the committed text.
After host_or_join(bool join) {
    end_editing();
    commit_fields();
    if (!port_text_is_valid(vl.fields[kFieldPort])) {
        set_note("Port must be 1-65535", 1);
    } else if (join && vl.fields[kFieldHost][0] == '\0') {
        set_note("Type the host address to join", 1);
    } else {
        std::snprintf(vl.settings.mode, sizeof vl.settings.mode, "%s", join ? "join" : "host");
        save_live_settings();
        end_run(join ? VL_EXIT_LINK_JOIN : VL_EXIT_LINK_HOST);
    }
    return After::kRebuild;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Keys of the on-screen keypad act on the field it holds.
After keypad_key(const char *key) {
    const int32_t f = vl.keypad_field;
    if (f < 0) return After::kRebuild;
    if (is_digit(key[0]) && key[1] == '\0') {
        insert_char(f, static_cast<uint32_t>(key[0]));
    } else if (!std::strcmp(key, "dot")) {
        insert_char(f, '.');
    } else if (!std::strcmp(key, "del")) {
        delete_last_char(f);
    } else if (!std::strcmp(key, "clr")) {
        vl.fields[f][0] = '\0';
    } else if (!std::strcmp(key, "ok")) {
        close_keypad(true);
    } else if (!std::strcmp(key, "cancel")) {
        close_keypad(false);
    }
    return After::kRebuild;
}

void set_transport(const char *transport) {
    std::snprintf(vl.settings.transport, sizeof vl.settings.transport, "%s", transport);
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

// One row of the id table. A family row ("online_ip", "kp_", "size") hands its action
// what follows the prefix ("online_ip2" -> "2"); the others get the empty rest.
struct Rule {
    const char *id;
    bool prefix;                      // id is a family prefix; the action gets the rest
    After (*act)(const char *rest);
};

// set_players and toggle_auto_delay write the settings file themselves.
constexpr Rule kRules[] = {
    {"online", false, [](const char *) {
         change_page(kPageOnline);
         fill_fields_from_settings();
         reset_role_from_settings();
         return After::kRebuild;
     }},
    {"role_host", false, [](const char *) { vl.role = 0; return After::kRebuild; }},
    {"role_join", false, [](const char *) { vl.role = 1; return After::kRebuild; }},
    {"online_p2", false, [](const char *) { set_players(2); return After::kRebuild; }},
    {"online_p3", false, [](const char *) { set_players(3); return After::kRebuild; }},
    {"online_p4", false, [](const char *) { set_players(4); return After::kRebuild; }},
    {"online_net_auto", false, [](const char *) { set_transport("auto"); return After::kRebuild; }},
    {"online_net_udp", false, [](const char *) { set_transport("udp"); return After::kRebuild; }},
    {"online_net_tcp", false, [](const char *) { set_transport("tcp"); return After::kRebuild; }},
    {"online_auto", false, [](const char *) { toggle_auto_delay(); return After::kRebuild; }},
    {"online_host", false, [](const char *) { return host_or_join(false); }},
    {"online_join", false, [](const char *) { return host_or_join(true); }},
    {"online_start", false, [](const char *) { end_editing(); end_run(VL_EXIT_LINK_START); return After::kRebuild; }},
    {"online_ready", false, [](const char *) { end_editing(); end_run(VL_EXIT_LINK_READY); return After::kRebuild; }},
    {"online_leave", false, [](const char *) {
         end_editing();
         std::snprintf(vl.settings.mode, sizeof vl.settings.mode, "%s", "off");
         save_live_settings();
         end_run(VL_EXIT_LINK_LEAVE);
         return After::kRebuild;
     }},
    {"online_copy", false, [](const char *) {
         if (vl.online.lobby_state != VL_LOBBY_IN_GAME && (vl.online.addresses[0][0] || vl.online.address[0])) {
             SDL_SetClipboardText(picked_address());
             set_note("Address copied", 0);
         }
         return After::kRebuild;
     }},
    {"online_ip", true, [](const char *rest) {
         if (is_digit(rest[0]) && rest[1] == '\0' && rest[0] - '0' < address_count()) vl.address_pick = rest[0] - '0';
         return After::kRebuild;
     }},
    {"kp_", true, keypad_key},
    {"size", true, [](const char *rest) {
         // Only the six window scales exist as widgets.
         if (rest[0] >= '1' && rest[0] <= '6' && rest[1] == '\0') {
             vl.settings.scale = rest[0] - '0';
             save_live_settings();
             apply_window_mode(false);
         }
         return After::kRebuild;
     }},
    {"fullscreen", false, [](const char *) {
         toggle(vl.settings.fullscreen);
         apply_window_mode(false);
         return After::kRebuild;
     }},
    {"scale_integer", false, [](const char *) { set_scaling(0); return After::kRebuild; }},
    {"scale_fit", false, [](const char *) { set_scaling(1); return After::kRebuild; }},
    {"scale_stretch", false, [](const char *) { set_scaling(2); return After::kRebuild; }},
    {"mute", false, [](const char *) { toggle(vl.settings.mute); return After::kRebuild; }},
    {"stick", false, [](const char *) { toggle(vl.settings.stick_as_dpad); return After::kRebuild; }},
    {"settings", false, [](const char *) { change_page(kPageSettings); return After::kRebuild; }},
    {"input", false, [](const char *) { change_page(kPageKeyboard); return After::kRebuild; }},
    // The tabs keep the focus index, so the rebuild leaves the focus on the tab.
    {"tab_keyboard", false, [](const char *) { vl.page = kPageKeyboard; vl.capture = -1; return After::kRebuild; }},
    {"tab_controller", false, [](const char *) { vl.page = kPageController; vl.capture = -1; return After::kRebuild; }},
    {"back", false, [](const char *) { leave_page(); return After::kRebuild; }},
    {"done", false, [](const char *) { leave_page(); return After::kRebuild; }},
    {"reset", false, [](const char *) {
         if (vl.page == kPageKeyboard) {
             reset_keys(&vl.settings);
             set_note("Keyboard reset to defaults", 0);
         } else {
             reset_buttons(&vl.settings);
             set_note("Controller reset to defaults", 0);
         }
         save_live_settings();
         vl.capture = -1;
         return After::kRebuild;
     }},
    {"save_open", false, [](const char *) { end_run(VL_EXIT_SAVE_OPEN); return After::kRebuild; }},
    {"save_export", false, [](const char *) { end_run(VL_EXIT_SAVE_EXPORT); return After::kRebuild; }},
    // The dialog opens on "No", so a hasty Return does not import.
    {"save_import", false, [](const char *) {
         vl.confirm_open = true;
         build_page();
         vl.focus = 1;
         return After::kStop;
     }},
    {"confirm_yes", false, [](const char *) {
         vl.confirm_open = false;
         end_run(VL_EXIT_SAVE_IMPORT);
         return After::kRebuild;
     }},
    {"confirm_no", false, [](const char *) {
         vl.confirm_open = false;
         build_page();
         vl.focus = 0;
         return After::kStop;
     }},
    {"selectrom", false, [](const char *) { end_run(VL_EXIT_CHOOSE_ROM); return After::kRebuild; }},
    // Whatever "play" reads, without a ROM the host can only be asked for one.
    {"play", false, [](const char *) {
         end_run(vl.status.state != VL_BUILD_NO_ROM ? VL_EXIT_PLAY : VL_EXIT_CHOOSE_ROM);
         return After::kRebuild;
     }},
    {"quit", false, [](const char *) { end_run(VL_EXIT_QUIT); return After::kRebuild; }},
};

After act_by_id(const char *id) {
    for (const Rule &rule : kRules) {
        const size_t n = std::strlen(rule.id);
        if (rule.prefix ? std::strncmp(id, rule.id, n) == 0 : std::strcmp(id, rule.id) == 0)
            return rule.act(id + (rule.prefix ? n : 0));
    }
    return After::kRebuild;  // sliders, address rows out of range, unknown ids
}

} // namespace

void activate(int32_t index) {
    if (index < 0 || index >= vl.widget_count) return;
    const vl_widget &w = vl.widgets[index];
    if (!w.enabled) return;
    if (w.kind == kTextField) {
        if (w.index >= kFieldName && w.index <= kFieldPort) press_text_field(w.index);
        return;
    }
    if (w.kind == kBinding) {
        if (w.slot >= 0 && w.slot < kBindingSlots) press_binding(w.slot);
        return;
    }
    // Ids are static texts, so the pointer outlives any rebuild an action makes.
    const char *id = w.id ? w.id : "";
    if (act_by_id(id) == After::kRebuild) build_page();
}

void leave_page() {
    end_editing();
    commit_fields();
    change_page(kPageMain);
}
