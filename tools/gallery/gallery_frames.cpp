// Renders the settings, keyboard, controller and online pages and the two dialogs in
// their interesting states, through a real vl_run with a scripted host, to PNG files.
// Usage: gallery_pages [OUTPUT_DIR]   (default docs/gallery)
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "frame/state.h"
#include "test_support.h"

namespace {

struct Scene {
    std::string file;
    int32_t page;
    std::function<void()> prepare;                       // vl fields, every poll
    std::function<void(vl_online_status &)> online;      // null: no online callback
    bool rom = true;
};

void fill_status(vl_status &s, bool rom) {
    s.state = rom ? 3 : 0;
    s.percent = 100;
    std::snprintf(s.rom_path, sizeof s.rom_path, "%s", rom ? "/roms/vorla.gba" : "");
    s.rom_ok = rom ? 1 : 0;
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

std::vector<Scene> scenes() {
    std::vector<Scene> out;
    auto settings = [](int32_t mute, int32_t volume, int32_t fullscreen) {
        return [=] {
            vl.settings.mute = mute;
            vl.settings.volume = volume;
            vl.settings.fullscreen = fullscreen;
        };
    };
    out.push_back({"settings_default", 4, settings(0, 80, 0), nullptr});
    out.push_back({"settings_muted", 4, settings(1, 80, 0), nullptr});
    out.push_back({"settings_fullscreen", 4, settings(0, 35, 1), nullptr});
    out.push_back({"settings_no_rom", 4, settings(0, 100, 0), nullptr, false});

    out.push_back({"dialog_confirm", 4, [] { vl.confirm_open = true; }, nullptr});
    out.push_back({"dialog_and_keypad", 3, [] {
                       vl.confirm_open = true;
                       vl.keypad_field = 2;
                   }, nullptr});

    auto keypad = [](int32_t field, std::string text) {
        return [=] {
            std::snprintf(vl.fields[field], sizeof vl.fields[field], "%s", text.c_str());
            vl.keypad_field = field;
        };
    };
    out.push_back({"keypad_empty", 3, keypad(2, ""), nullptr});
    out.push_back({"keypad_long_address", 3, keypad(1, "123456789.123456789.123456789.123456789.12345"), nullptr});
    out.push_back({"keypad_63_bytes", 3, keypad(1, std::string(63, '.')), nullptr});

    out.push_back({"keyboard_idle", 1, [] { vl.capture = -1; }, nullptr});
    out.push_back({"keyboard_capturing", 1, [] { vl.capture = 7; }, nullptr});

    auto pad = [](int32_t present, int32_t x, int32_t y, int32_t capture) {
        return [=] {
            vl.settings.deadzone = 8000;
            vl.capture = capture;
            vl_test_fake_pad(present, x, y);
        };
    };
    out.push_back({"controller_idle", 2, pad(1, 0, 0, -1), nullptr});
    out.push_back({"controller_capturing", 2, pad(1, 0, 0, 0), nullptr});
    out.push_back({"controller_no_controller", 2, pad(0, 0, 0, -1), nullptr});
    out.push_back({"controller_stick_inside", 2, pad(1, 4000, -5000, -1), nullptr});
    out.push_back({"controller_stick_outside", 2, pad(1, 30000, -20000, -1), nullptr});
    out.push_back({"controller_stick_corner", 2, pad(1, -32768, -32768, -1), nullptr});

    const int32_t lobby_slots[7][4] = {
        {0, 0, 0, 0}, {3, 2, 0, 0}, {2, 1, 0, 0}, {3, 2, 3, 4}, {3, 3, 3, 3}, {3, 3, 4, 0}, {4, 4, 0, 0},
    };
    for (int32_t state = 0; state <= 6; ++state) {
        const std::string file = "online_state" + std::to_string(state);
        out.push_back({file, 3, [] { vl.settings.players = 4; }, [state, lobby_slots](vl_online_status &o) {
                           four_players(o, state, lobby_slots[state]);
                           o.quality = 1;
                           o.p95_ms = 48;
                       }});
    }
    out.push_back({"online_host_message", 3, nullptr, [lobby_slots](vl_online_status &o) {
                       four_players(o, 1, lobby_slots[1]);
                       std::string message;
                       while (message.size() < 400) message += "The host says: please check your cable link settings. ";
                       std::snprintf(o.host_message, sizeof o.host_message, "%s", message.c_str());
                   }});
    out.push_back({"online_in_game_fair", 3, nullptr, [lobby_slots](vl_online_status &o) {
                       four_players(o, 4, lobby_slots[4]);
                       o.quality = 2;
                       o.p95_ms = 1850;
                       o.pauses = 12;
                   }});
    out.push_back({"online_join_no_port", 3, [] {
                       vl.role = 1;
                       vl.fields[2][0] = '\0';
                   }, [](vl_online_status &o) { o.lobby_state = 0; }});
    return out;
}

bool render_scene(const Scene &scene, const std::string &dir) {
    vt::TempDir temp;
    vt::Host host;
    bool written = false;
    vl_set_start_page(static_cast<uint32_t>(scene.page));
    host.status = [&](vl_status &s, int call) {
        fill_status(s, scene.rom);
        if (call >= 1 && scene.prepare) scene.prepare();
        // Frames after call 2 show what calls 1 and 2 delivered.
        if (call == 4) {
            const std::vector<uint32_t> frame = vt::snapshot();
            written = !frame.empty() && vt::write_png(dir + "/" + scene.file + ".png", frame.data(), 960, 600);
            vt::push_quit();
        }
    };
    if (scene.online) host.online = [&](vl_online_status &o, int) { scene.online(o); };
    vt::run_host(temp.file("vorla.ini"), host);
    vl_set_start_page(0);
    return written;
}

} // namespace

int main(int argc, char **argv) {
    const std::string dir = argc > 1 ? argv[1] : "docs/gallery";
    int failures = 0;
    for (const Scene &scene : scenes()) {
        if (!render_scene(scene, dir)) {
            std::fprintf(stderr, "gallery_pages: %s not written\n", scene.file.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
