// A long seeded stream of random input against a host whose records change on every
// poll: the launcher never crashes, every exit code agrees with what the host last
// reported and with the settings file, and that file always loads without corrections.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "settings/settings.h"
#include "test_support.h"

namespace {

struct Monkey {
    std::mt19937 rng;
    SDL_Joystick *pad = nullptr;
    int pad_index = -1;

    explicit Monkey(uint32_t seed) : rng(seed) {}

    int pick(int n) { return static_cast<int>(rng() % static_cast<uint32_t>(n)); }

    void attach_pad() {
        pad_index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6, 21, 0);
        pad = pad_index >= 0 ? SDL_JoystickOpen(pad_index) : nullptr;
    }

    void detach_pad() {
        if (pad) SDL_JoystickClose(pad);
        if (pad_index >= 0) SDL_JoystickDetachVirtual(pad_index);
        pad = nullptr;
        pad_index = -1;
    }

    void forget_pad() {
        pad = nullptr;
        pad_index = -1;
    }

    void random_event() {
        static const SDL_Keycode keys[] = {SDLK_UP,     SDLK_DOWN,  SDLK_LEFT,  SDLK_RIGHT, SDLK_TAB,  SDLK_RETURN,
                                           SDLK_SPACE,  SDLK_ESCAPE, SDLK_BACKSPACE, SDLK_KP_ENTER, SDLK_a, SDLK_EQUALS,
                                           SDLK_F1,     SDLK_F11,   SDLK_v,     SDLK_x,     SDLK_LSHIFT};
        static const char *texts[] = {"a", "Z", "9", "é", "×", "€", "José Ñ", ".", ":", "\xE2\x82" "A", "12345678"};
        switch (pick(10)) {
        case 0:
        case 1:
        case 2: {
            const uint16_t mod = pick(6) == 0 ? KMOD_LSHIFT : pick(8) == 0 ? KMOD_LCTRL : 0;
            vt::push_key(keys[pick(sizeof keys / sizeof keys[0])], mod, pick(5) == 0);
            break;
        }
        case 3: vt::push_text(texts[pick(sizeof texts / sizeof texts[0])]); break;
        case 4: vt::push_mouse_move(pick(1000) - 20, pick(640) - 20); break;
        case 5: vt::push_click(pick(960), pick(600)); break;
        case 6: vt::push_mouse_button(pick(960), pick(600), pick(2) == 0); break;
        case 7:
            if (pad) {
                const int button = pick(15);
                SDL_JoystickSetVirtualButton(pad, button, 1);
                SDL_JoystickSetVirtualButton(pad, button, 0);
            }
            break;
        case 8:
            if (pad) SDL_JoystickSetVirtualAxis(pad, pick(2), static_cast<int16_t>(pick(65536) - 32768));
            break;
        case 9:
            if (pick(8) == 0) {
                if (pad) detach_pad();
                else attach_pad();
            }
            break;
        }
    }
};

void put(char *field, size_t size, const std::string &text) { std::snprintf(field, size, "%s", text.c_str()); }

TEST(Monkey, RandomInputAgainstAChangingHost) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    int ended_by_quit = 0, requests = 0;
    int codes[11] = {};
    for (uint32_t run = 0; run < 40; ++run) {
        Monkey monkey(1234 + run);
        vl_set_start_page(run % 5);
        int last_state = 0, last_rom_ok = 0, last_usable = 0, last_lobby = 0;
        vt::Host host;
        host.poll_interval_ms = 1;
        host.max_calls = 400;
        host.status = [&](vl_status &s, int call) {
            if (call == 0) monkey.attach_pad();
            s.state = monkey.pick(7) - 1;
            s.percent = monkey.pick(300) - 50;
            s.rom_ok = monkey.pick(3) != 0;
            if (monkey.pick(3) != 0) put(s.rom_path, sizeof s.rom_path, "/roms/Vorla (E).gba");
            if (monkey.pick(2)) std::memset(s.message, 'M', sizeof s.message);  // unterminated
            last_state = s.state;
            last_rom_ok = s.rom_ok;
            last_usable = s.rom_ok && s.rom_path[0];
            if (call > 0)
                for (int i = monkey.pick(4); i >= 0; --i) monkey.random_event();
        };
        host.online = [&](vl_online_status &o, int) {
            o.lobby_state = monkey.pick(9) - 1;
            for (int i = 0; i < 4; ++i) {
                o.slot_state[i] = monkey.pick(6);
                o.slot_ping[i] = monkey.pick(400) - 1;
                put(o.slot_name[i], sizeof o.slot_name[i], "Peer");
            }
            o.local_slot = monkey.pick(6) - 1;
            o.quality = monkey.pick(6) - 1;
            if (monkey.pick(2)) put(o.addresses[0], sizeof o.addresses[0], "192.168.1.20");
            if (monkey.pick(2)) put(o.addresses[1], sizeof o.addresses[1], "fd00::20");
            if (monkey.pick(3) == 0) std::memset(o.host_message, 'H', sizeof o.host_message);
            last_lobby = o.lobby_state;
        };
        const int32_t code = vt::run_host(ini, host);
        // Stopping SDL at the end of the run closed the pad and removed the virtual device.
        monkey.forget_pad();
        ASSERT_GE(code, 0);
        ASSERT_LE(code, 10);

        vl_settings saved;
        ASSERT_EQ(load_settings(ini.c_str(), &saved), 0) << "run " << run;
        vl_settings again = saved;
        EXPECT_EQ(normalise_settings(&again), 0) << "run " << run;

        switch (code) {
        case 0: ++ended_by_quit; break;
        case 1: EXPECT_NE(last_state, 0) << "run " << run; break;
        // "play" asks for a ROM in state 0; "selectrom" exists only while play reads "SELECT ROM".
        case 2: EXPECT_TRUE(last_state == 0 || !last_rom_ok) << "run " << run; break;
        case 3:
        case 4: EXPECT_TRUE(last_usable) << "run " << run; break;
        case 6: EXPECT_STREQ(saved.mode, "host") << "run " << run; break;
        case 7: EXPECT_STREQ(saved.mode, "join") << "run " << run; break;
        case 8: EXPECT_STREQ(saved.mode, "off") << "run " << run; break;
        case 9: EXPECT_EQ(last_lobby, 1) << "run " << run; break;
        case 10: EXPECT_TRUE(last_lobby == 1 || last_lobby == 3) << "run " << run; break;
        default: break;
        }
        if (code != 0) ++requests;
        ++codes[code];
    }
    vl_set_start_page(0);
    std::printf("monkey: exit codes 0..10 seen");
    for (int n : codes) std::printf(" %d", n);
    std::printf("\n");
    // The stream must reach past the first page often enough to mean something.
    EXPECT_GT(requests, 5);
}

} // namespace
