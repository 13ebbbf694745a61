// The scenes: every page and overlay in the states worth a picture, and a hovered widget
// of each kind that paints hover, and a focused widget on each page.
#include <cstdio>
#include <string>

#include "frame/frame.h"
#include "frame/state.h"
#include "scenes.h"

namespace vt {
namespace {

std::function<void(vl_status &)> build_status(int32_t state, int32_t percent, const char *message,
                                              const char *rom_path) {
    return [=](vl_status &s) {
        s.state = state;
        s.percent = percent;
        std::snprintf(s.message, sizeof s.message, "%s", message);
        std::snprintf(s.rom_path, sizeof s.rom_path, "%s", rom_path ? rom_path : "");
        s.rom_ok = rom_path ? 1 : 0;
    };
}

std::function<void(vl_status &)> no_rom() { return build_status(0, 0, "", nullptr); }

std::function<void()> note(const char *text, int32_t is_error) {
    return [=] { set_note(text, is_error); };
}

// Four players whose pings cover every colour band and the 999 ms limit.
void four_players(vl_online_status &o, int32_t lobby, const int32_t (&states)[4]) {
    o.lobby_state = lobby;
    const char *names[] = {"Ann", "Bartholomew-Long", "Cy", ""};
    const int32_t pings[] = {24, 75, 180, 5000};
    for (int v = 0; v < 4; ++v) {
        o.slot_state[v] = states[v];
        o.slot_ping[v] = pings[v];
        std::snprintf(o.slot_name[v], sizeof o.slot_name[v], "%s", names[v]);
    }
    o.local_slot = 1;
    std::snprintf(o.addresses[0], sizeof o.addresses[0], "%s", "192.168.1.20");
    std::snprintf(o.addresses[1], sizeof o.addresses[1], "%s", "10.8.0.3");
}

// Slot states shown in lobby states 0 to 6.
constexpr int32_t kLobbySlots[7][4] = {
    {0, 0, 0, 0}, {3, 2, 0, 0}, {2, 1, 0, 0}, {3, 2, 3, 4}, {3, 3, 3, 3}, {3, 3, 4, 0}, {4, 4, 0, 0},
};

std::function<void(vl_online_status &)> lobby(int32_t state) {
    return [state](vl_online_status &o) {
        four_players(o, state, kLobbySlots[state]);
        o.quality = 1;
        o.p95_ms = 48;
    };
}

std::function<void()> settings(int32_t mute, int32_t volume, int32_t fullscreen) {
    return [=] {
        vl.settings.mute = mute;
        vl.settings.volume = volume;
        vl.settings.fullscreen = fullscreen;
    };
}

std::function<void()> keypad(int32_t field, std::string text) {
    return [=] {
        std::snprintf(vl.fields[field], sizeof vl.fields[field], "%s", text.c_str());
        vl.keypad_field = field;
    };
}

std::function<void()> pad(int32_t present, int32_t x, int32_t y, int32_t capture) {
    return [=] {
        vl.settings.deadzone = 8000;
        vl.capture = capture;
        vl_test_fake_pad(present, x, y);
    };
}

const char *const kLongRom =
    "/roms/Vorla and the Glassmaze - Collector's Edition (Europe) (En,Fr,De,Es,It) (Rev 2).gba";

std::vector<Scene> all_scenes() {
    std::vector<Scene> out;
    auto add = [&](Scene scene) { out.push_back(std::move(scene)); };

    // Main page: every build state, notes, a long ROM name.
    add({"main_no_rom", kPageMain, build_status(0, 0, "ignored while there is no ROM", nullptr)});
    add({"main_preparing", kPageMain, build_status(1, 37, "", "/home/player/roms/vorla.gba")});
    add({"main_building", kPageMain,
         build_status(2, 64, "Building compiled version... 812 of 1270 functions", "C:\\Games\\Vorla\\vorla.gba")});
    add({"main_building_no_chip", kPageMain, build_status(2, 64, "", "C:\\Games\\Vorla\\vorla.gba")});
    add({"main_ready", kPageMain, build_status(3, 12, "", "vorla.gba")});
    add({"main_error", kPageMain, build_status(4, 0, "The compiler stopped: out of disk space on drive C", "vorla.gba")});
    add({"main_unknown_state", kPageMain, build_status(9, 50, "", "vorla.gba")});
    add({"main_long_rom_name", kPageMain, build_status(3, 100, "", kLongRom)});
    add({"main_note", kPageMain, build_status(3, 100, "", "vorla.gba"), note("Save exported to the saves folder", 0)});
    add({"main_error_note", kPageMain, no_rom(), note("No save file to export", 1)});

    // Settings page, the dialog and the keypad.
    add({"settings_default", kPageSettings, nullptr, settings(0, 80, 0)});
    add({"settings_muted", kPageSettings, nullptr, settings(1, 80, 0)});
    add({"settings_fullscreen", kPageSettings, nullptr, settings(0, 35, 1)});
    add({"settings_no_rom", kPageSettings, no_rom(), settings(0, 100, 0)});
    add({"dialog_confirm", kPageSettings, nullptr, [] { vl.confirm_open = true; }});
    add({"dialog_and_keypad", kPageOnline, nullptr, [] {
             vl.confirm_open = true;
             vl.keypad_field = 2;
         }});
    add({"keypad_empty", kPageOnline, nullptr, keypad(2, "")});
    add({"keypad_long_address", kPageOnline, nullptr, keypad(1, "123456789.123456789.123456789.123456789.12345")});
    add({"keypad_63_bytes", kPageOnline, nullptr, keypad(1, std::string(63, '.'))});

    // Keyboard and controller pages.
    add({"keyboard_idle", kPageKeyboard, nullptr, [] { vl.capture = -1; }});
    add({"keyboard_capturing", kPageKeyboard, nullptr, [] { vl.capture = 7; }});
    add({"controller_idle", kPageController, nullptr, pad(1, 0, 0, -1)});
    add({"controller_capturing", kPageController, nullptr, pad(1, 0, 0, 0)});
    add({"controller_no_controller", kPageController, nullptr, pad(0, 0, 0, -1)});
    add({"controller_stick_inside", kPageController, nullptr, pad(1, 4000, -5000, -1)});
    add({"controller_stick_outside", kPageController, nullptr, pad(1, 30000, -20000, -1)});
    add({"controller_stick_corner", kPageController, nullptr, pad(1, -32768, -32768, -1)});

    // Online page in every lobby state, with a host message, in game, joining without a port.
    for (int32_t state = 0; state <= 6; ++state)
        add({"online_state" + std::to_string(state), kPageOnline, nullptr, [] { vl.settings.players = 4; },
             lobby(state)});
    add({"online_host_message", kPageOnline, nullptr, nullptr, [](vl_online_status &o) {
             four_players(o, 1, kLobbySlots[1]);
             std::string message;
             while (message.size() < 400) message += "The host says: please check your cable link settings. ";
             std::snprintf(o.host_message, sizeof o.host_message, "%s", message.c_str());
         }});
    add({"online_in_game_fair", kPageOnline, nullptr, nullptr, [](vl_online_status &o) {
             four_players(o, 4, kLobbySlots[4]);
             o.quality = 2;
             o.p95_ms = 1850;
             o.pauses = 12;
         }});
    add({"online_join_no_port", kPageOnline, nullptr, [] {
             vl.role = 1;
             vl.fields[2][0] = '\0';
         }, [](vl_online_status &o) { o.lobby_state = 0; }});

    // Hover, one widget of each kind (and button style) that paints it. Switches,
    // sliders and address rows look the same under the pointer.
    add({"hover_hero_button", kPageMain, nullptr, nullptr, nullptr, "play"});
    add({"hover_card", kPageMain, nullptr, nullptr, nullptr, "online"});
    add({"hover_quiet_button", kPageMain, nullptr, nullptr, nullptr, "quit"});
    add({"hover_link_button", kPageMain, no_rom(), nullptr, nullptr, "selectrom"});
    add({"hover_plain_button", kPageSettings, nullptr, nullptr, nullptr, "save_export"});
    add({"hover_primary_button", kPageSettings, nullptr, nullptr, nullptr, "done"});
    add({"hover_choice", kPageSettings, nullptr, nullptr, nullptr, "size5"});
    add({"hover_shoulder_binding", kPageKeyboard, nullptr, nullptr, nullptr, "btn_l"});
    add({"hover_round_binding", kPageController, nullptr, pad(1, 0, 0, -1), nullptr, "btn_a"});
    add({"hover_text_field", kPageOnline, nullptr, nullptr, nullptr, "online_name"});
    add({"hover_dialog_button", kPageSettings, nullptr, [] { vl.confirm_open = true; }, nullptr, "confirm_no"});

    // Focus away from the first widget, on each page and in the keypad; the main page's
    // and the keypad's are reached with keys.
    add({"focus_main_card", kPageMain, nullptr, nullptr, nullptr, nullptr, "online", {SDLK_DOWN, SDLK_RIGHT}});
    add({"focus_settings_slider", kPageSettings, nullptr, nullptr, nullptr, nullptr, "volume"});
    add({"focus_keyboard_binding", kPageKeyboard, nullptr, nullptr, nullptr, nullptr, "btn_a"});
    add({"focus_controller_switch", kPageController, nullptr, pad(1, 0, 0, -1), nullptr, nullptr, "stick"});
    add({"focus_online_address", kPageOnline, nullptr, nullptr, lobby(0), nullptr, "online_ip1"});
    add({"focus_keypad_key", kPageOnline, nullptr, keypad(2, "7777"), nullptr, nullptr, "kp_ok",
         {SDLK_DOWN, SDLK_DOWN, SDLK_DOWN, SDLK_RIGHT}});
    return out;
}

} // namespace

const std::vector<Scene> &scenes() {
    static const std::vector<Scene> table = all_scenes();
    return table;
}

} // namespace vt
