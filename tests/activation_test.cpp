// Pressing widgets: exit codes, page changes, overlays, settings switches and bindings.
// Unit cases call activate on a hand-made list; the run cases press widgets with
// Return in a live window and read the results back through the exports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "frame/state.h"
#include "screens/fields.h"
#include "test_support.h"

namespace {

vl_widget make_widget(const char *id, int32_t kind = kButton) {
    vl_widget w{};
    w.id = id;
    w.kind = kind;
    w.w = w.h = 10;
    w.enabled = 1;
    w.slot = -1;
    return w;
}

class Activation : public ::testing::Test {
protected:
    vt::TempDir dir;

    void SetUp() override { vt::reset_run_state(ini_path(), kPageMain); }

    std::string ini_path() const { return dir.file("vorla.ini"); }
    bool file_written() const { return vt::file_exists(ini_path()); }

    // A one-widget list; activate(0) presses it.
    static void show(const vl_widget &w) {
        vl.widgets[0] = w;
        vl.widget_count = 1;
    }
    static void press(const char *id) {
        show(make_widget(id));
        activate(0);
    }
};

TEST_F(Activation, ExitCodesOfTheButtons) {
    struct Case {
        const char *id;
        int32_t state;
        int32_t code;
    } cases[] = {
        {"quit", 3, 0},        {"play", 3, 1},        {"play", 1, 1},       {"play", 0, 2},
        {"selectrom", 3, 2},   {"save_open", 3, 3},   {"save_export", 3, 4}, {"confirm_yes", 3, 5},
        {"online_start", 1, 9}, {"online_ready", 1, 10},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.status.state = c.state;
        vl.confirm_open = true;
        press(c.id);
        EXPECT_EQ(vl.exit_code, c.code) << c.id << " with state " << c.state;
        EXPECT_FALSE(vl.running) << c.id;
        // "confirm_yes" closes the dialog as it leaves; the others do not touch it.
        EXPECT_EQ(vl.confirm_open, std::strcmp(c.id, "confirm_yes") != 0) << c.id;
    }
}

TEST_F(Activation, OutOfRangeAndDisabledWidgetsDoNothing) {
    vl_widget quit = make_widget("quit");
    quit.enabled = 0;
    show(quit);
    activate(0);
    activate(1);
    activate(-1);
    EXPECT_TRUE(vl.running);
    EXPECT_EQ(vl.widget_count, 1);  // no rebuild either
    EXPECT_STREQ(vl.widgets[0].id, "quit");
}

TEST_F(Activation, UnknownIdsAndSlidersOnlyRebuild) {
    const char *ids[] = {"volume", "deadzone", "online_delay", "kp_5", "online_p5", "online_p22", "size", "sizex", "nothing"};
    for (const char *id : ids) {
        SetUp();
        press(id);
        EXPECT_TRUE(vl.running) << id;
        EXPECT_EQ(vl.page, kPageMain) << id;
        EXPECT_EQ(vl.settings.scale, 3) << id;
        EXPECT_EQ(vl.settings.players, 2) << id;
        EXPECT_FALSE(file_written()) << id;
    }
}

TEST_F(Activation, PageChangesResetCaptureAndFocus) {
    struct Case {
        const char *id;
        int32_t from;
        int32_t to;
        int32_t focus_after;  // -1: the focus index is left alone
    } cases[] = {
        {"settings", kPageMain, kPageSettings, 0},
        {"input", kPageMain, kPageKeyboard, 0},
        {"online", kPageMain, kPageOnline, 0},
        {"tab_controller", kPageKeyboard, kPageController, -1},
        {"tab_keyboard", kPageController, kPageKeyboard, -1},
        {"tab_keyboard", kPageKeyboard, kPageKeyboard, -1},
        {"back", kPageSettings, kPageMain, 0},
        {"done", kPageController, kPageMain, 0},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.page = c.from;
        vl.capture = 4;
        show(make_widget(c.id));
        // Put the widget at index 2 so that a kept focus index can be seen.
        vl.widgets[2] = vl.widgets[0];
        vl.widgets[0] = vl.widgets[1] = make_widget("filler");
        vl.widget_count = 3;
        vl.focus = 2;
        activate(2);
        EXPECT_EQ(vl.page, c.to) << c.id;
        EXPECT_EQ(vl.capture, -1) << c.id;
        if (c.focus_after >= 0) {
            EXPECT_EQ(vl.focus, c.focus_after) << c.id;
        }
    }
}

TEST_F(Activation, OnlineCardRefillsTheFieldsAndTheRole) {
    std::snprintf(vl.fields[kFieldName], sizeof vl.fields[0], "%s", "stale");
    vl.fields[kFieldPort][0] = '\0';
    std::snprintf(vl.settings.name, sizeof vl.settings.name, "%s", "Cyd");
    std::snprintf(vl.settings.mode, sizeof vl.settings.mode, "%s", "join");
    vl.settings.port = 5000;
    vl.role = 0;
    press("online");
    EXPECT_STREQ(vl.fields[kFieldName], "Cyd");
    EXPECT_STREQ(vl.fields[kFieldPort], "5000");
    EXPECT_EQ(vl.role, 1);
}

TEST_F(Activation, BackCommitsTheFieldsAndEndsEditing) {
    vl.page = kPageOnline;
    vl.editing_field = kFieldPort;
    std::snprintf(vl.fields[kFieldPort], sizeof vl.fields[0], "%s", "6000");
    press("back");
    EXPECT_EQ(vl.editing_field, -1);
    EXPECT_EQ(vl.settings.port, 6000);
    EXPECT_TRUE(file_written());
    // Even from the input pages, leaving writes the file.
    SetUp();
    vl.page = kPageKeyboard;
    press("done");
    EXPECT_TRUE(file_written());
}

TEST_F(Activation, SwitchesAndChoicesStoreAndWrite) {
    struct Case {
        const char *id;
        int32_t *field;
        int32_t before;
        int32_t after;
    } cases[] = {
        {"mute", &vl.settings.mute, 0, 1},
        {"mute", &vl.settings.mute, 1, 0},
        {"stick", &vl.settings.stick_as_dpad, 1, 0},
        {"fullscreen", &vl.settings.fullscreen, 0, 1},
        {"scale_integer", &vl.settings.scaling, 1, 0},
        {"scale_fit", &vl.settings.scaling, 2, 1},
        {"scale_stretch", &vl.settings.scaling, 0, 2},
        {"size1", &vl.settings.scale, 3, 1},
        {"size6", &vl.settings.scale, 3, 6},
        {"size3", &vl.settings.scale, 3, 3},
    };
    for (const Case &c : cases) {
        SetUp();
        std::remove(ini_path().c_str());
        *c.field = c.before;
        press(c.id);
        EXPECT_EQ(*c.field, c.after) << c.id;
        EXPECT_TRUE(file_written()) << c.id;
        EXPECT_TRUE(vl.running) << c.id;
    }
}

TEST_F(Activation, ResetDependsOnThePage) {
    struct Case {
        int32_t page;
        const char *note;
        bool keys_reset;
    } cases[] = {
        {kPageKeyboard, "Keyboard reset to defaults", true},
        {kPageController, "Controller reset to defaults", false},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.page = c.page;
        vl.capture = 3;
        std::snprintf(vl.settings.keys[0], sizeof vl.settings.keys[0], "%s", "Q");
        std::snprintf(vl.settings.buttons[0], sizeof vl.settings.buttons[0], "%s", "x");
        vl.settings.stick_as_dpad = 0;
        press("reset");
        EXPECT_STREQ(vl.note, c.note);
        EXPECT_EQ(vl.note_is_error, 0);
        EXPECT_EQ(vl.capture, -1);
        EXPECT_TRUE(file_written());
        EXPECT_STREQ(vl.settings.keys[0], c.keys_reset ? "X" : "Q") << c.note;
        EXPECT_STREQ(vl.settings.buttons[0], c.keys_reset ? "x" : "b") << c.note;
        EXPECT_EQ(vl.settings.stick_as_dpad, c.keys_reset ? 0 : 1) << c.note;
    }
}

TEST_F(Activation, ConfirmationDialogOpensOnNoAndNoClosesIt) {
    vl.page = kPageSettings;
    press("save_import");
    EXPECT_TRUE(vl.confirm_open);
    EXPECT_EQ(vl.focus, 1);
    EXPECT_TRUE(vl.running);
    press("confirm_no");
    EXPECT_FALSE(vl.confirm_open);
    EXPECT_EQ(vl.focus, 0);
    EXPECT_TRUE(vl.running);
}

TEST_F(Activation, BindingsStartACaptureWithoutRebuilding) {
    struct Case {
        int32_t page;
        int32_t fake_pad;
        bool controller_open;
        bool captures;
    } cases[] = {
        {kPageKeyboard, 0, false, true},  // the keyboard never needs a controller
        {kPageController, 1, false, true},
        {kPageController, -1, true, true},
        {kPageController, 0, true, false},  // the override wins over an open controller
        {kPageController, -1, false, false},
    };
    // Only compared with null here; never handed to SDL.
    alignas(8) static char stand_in_controller[8];
    for (const Case &c : cases) {
        SetUp();
        vl.page = c.page;
        vl.fake_pad = c.fake_pad;
        vl.controller = c.controller_open ? reinterpret_cast<SDL_GameController *>(stand_in_controller) : nullptr;
        set_note("Cancelled", 0);
        vl_widget binding = make_widget("btn_r", kBinding);
        binding.slot = 3;
        show(binding);
        vl.widgets[1] = make_widget("marker");
        vl.widget_count = 2;
        activate(0);
        EXPECT_EQ(vl.capture, c.captures ? 3 : -1) << "page " << c.page << " pad " << c.fake_pad;
        EXPECT_STREQ(vl.note, c.captures ? "" : "No controller connected");
        if (!c.captures) {
            EXPECT_EQ(vl.note_is_error, 1);
        }
        EXPECT_EQ(vl.widget_count, 2);
        EXPECT_STREQ(vl.widgets[1].id, "marker");
        vl.controller = nullptr;
    }
}

TEST_F(Activation, TextFieldsStartTypingOrOpenTheKeypad) {
    struct Case {
        int32_t field;
        bool by_pad;
        int32_t editing;
        int32_t keypad;
        const char *note;
    } cases[] = {
        {kFieldName, false, kFieldName, -1, ""},
        {kFieldPort, false, kFieldPort, -1, ""},
        {kFieldHost, true, -1, kFieldHost, ""},
        {kFieldPort, true, -1, kFieldPort, ""},
        {kFieldName, true, -1, -1, "Type the name on a keyboard"},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.page = kPageOnline;
        vl_widget field = make_widget("a_field", kTextField);
        field.index = c.field;
        show(field);
        vl.activated_by_pad = c.by_pad;
        activate(0);
        vl.activated_by_pad = false;
        EXPECT_EQ(vl.editing_field, c.editing) << c.field << (c.by_pad ? " by pad" : " by keyboard");
        EXPECT_EQ(vl.keypad_field, c.keypad) << c.field;
        EXPECT_STREQ(vl.note, c.note) << c.field;
        if (c.keypad >= 0) {
            EXPECT_STREQ(vl.keypad_backup, vl.fields[c.keypad]);
        }
    }
}

TEST_F(Activation, PressingAnotherFieldCommitsTheOneBeingTyped) {
    vl.page = kPageOnline;
    vl.editing_field = kFieldPort;
    std::snprintf(vl.fields[kFieldPort], sizeof vl.fields[0], "%s", "6001");
    vl_widget name = make_widget("online_name", kTextField);
    name.index = kFieldName;
    show(name);
    activate(0);
    EXPECT_EQ(vl.settings.port, 6001);
    EXPECT_EQ(vl.editing_field, kFieldName);
    EXPECT_TRUE(file_written());
}

TEST_F(Activation, KeypadKeysEditItsField) {
    struct Case {
        int32_t field;
        const char *start;
        const char *key;
        const char *expected;
    } cases[] = {
        {kFieldPort, "500", "kp_7", "5007"},
        {kFieldPort, "65535", "kp_1", "65535"},
        {kFieldPort, "50", "kp_dot", "50"},
        {kFieldHost, "10", "kp_dot", "10."},
        {kFieldHost, "10.0", "kp_del", "10."},
        {kFieldHost, "10.0", "kp_clr", ""},
        {kFieldHost, "10.0", "kp_other", "10.0"},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.page = kPageOnline;
        vl.keypad_field = c.field;
        std::snprintf(vl.fields[c.field], sizeof vl.fields[0], "%s", c.start);
        press(c.key);
        EXPECT_STREQ(vl.fields[c.field], c.expected) << c.key << " on " << c.start;
        EXPECT_EQ(vl.keypad_field, c.field) << c.key;
    }
    // With the keypad closed its keys do nothing.
    SetUp();
    std::snprintf(vl.fields[kFieldPort], sizeof vl.fields[0], "%s", "1");
    press("kp_2");
    EXPECT_STREQ(vl.fields[kFieldPort], "1");
}

// ---- Through the running window ----

struct PressScript {
    int32_t start_page;
    int32_t state;
    int32_t rom_ok;
    int32_t lobby_state;        // -1: no online callback
    std::vector<int32_t> slots;
    const char *ini;            // written before the run
    std::vector<const char *> presses;  // one per poll, from the second poll on
    int32_t code;
    const char *line;           // a line the file holds when vl_run returns
};

// Presses each widget in turn with Return; a missing or disabled widget ends the run
// with SDL_QUIT and is reported. The online record first arrives with the first poll,
// after its status call, so pressing starts at the second.
int32_t run_presses(const PressScript &r, const std::string &ini, std::string *problem) {
    vl_set_start_page(static_cast<uint32_t>(r.start_page));
    vt::Host host;
    host.status = [&](vl_status &status, int call) {
        status.state = r.state;
        status.rom_ok = r.rom_ok;
        std::snprintf(status.rom_path, sizeof status.rom_path, "%s", "/roms/game.gba");
        if (call < 2 || call > static_cast<int>(r.presses.size()) + 1) return;
        const char *id = r.presses[call - 2];
        if (!vl_test_enabled(id)) {
            *problem = std::string("not pressable: ") + id + " on page " + vl_test_page();
            vt::push_quit();
            return;
        }
        vl_test_set_focus(id);
        vt::push_key(SDLK_RETURN);
    };
    if (r.lobby_state >= 0) {
        host.online = [&](vl_online_status &online, int) {
            online.lobby_state = r.lobby_state;
            online.local_slot = 0;
            for (size_t i = 0; i < r.slots.size() && i < 4; ++i) online.slot_state[i] = r.slots[i];
        };
    }
    host.max_calls = 200;
    const int32_t code = vt::run_host(ini, host);
    vl_set_start_page(0);
    if (host.timed_out) *problem = "timed out";
    return code;
}

TEST(ActivationRun, EveryExitCodeFromItsPage) {
    const PressScript runs[] = {
        {0, 3, 1, -1, {}, "", {"quit"}, 0, "mode=off"},
        {0, 3, 1, -1, {}, "", {"play"}, 1, "scale=3"},
        {0, 3, 0, -1, {}, "", {"play"}, 1, "scale=3"},  // reads "SELECT ROM" yet plays
        {0, 0, 0, -1, {}, "", {"play"}, 2, "scale=3"},
        {0, 0, 0, -1, {}, "", {"selectrom"}, 2, "scale=3"},
        {0, 3, 1, -1, {}, "", {"settings", "save_open"}, 3, "scale=3"},
        {4, 3, 1, -1, {}, "", {"save_export"}, 4, "scale=3"},
        {4, 3, 1, -1, {}, "", {"save_import", "confirm_yes"}, 5, "scale=3"},
        {0, 3, 1, 0, {}, "", {"online", "online_host"}, 6, "mode=host"},
        {3, 3, 1, 0, {}, "[link]\r\nhost=10.0.0.9\r\n", {"role_join", "online_join"}, 7, "mode=join"},
        {3, 3, 1, 1, {3, 2}, "[link]\r\nmode=host\r\n", {"online_leave"}, 8, "mode=off"},
        {3, 3, 1, 1, {3, 3}, "[link]\r\nmode=host\r\n", {"online_start"}, 9, "mode=host"},
        {3, 3, 1, 3, {3, 2}, "[link]\r\nmode=join\r\n", {"online_ready"}, 10, "mode=join"},
    };
    for (const PressScript &r : runs) {
        vt::TempDir dir;
        const std::string ini = dir.file("vorla.ini");
        if (r.ini[0]) vt::write_file(ini, r.ini);
        std::string problem;
        const int32_t code = run_presses(r, ini, &problem);
        const std::string last = r.presses.back();
        EXPECT_EQ(problem, "") << last;
        EXPECT_EQ(code, r.code) << last << " from page " << r.start_page;
        EXPECT_NE(vt::read_file(ini).find(std::string("\r\n") + r.line + "\r\n"), std::string::npos)
            << last << " should leave " << r.line;
    }
}

TEST(ActivationRun, ImportDialogThenReturnSaysNo) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vl_set_start_page(4);
    std::string focus_in_dialog, page_after;
    int32_t confirm_after = -1;
    vt::Host host;
    host.status = [&](vl_status &status, int call) {
        status.state = 3;
        status.rom_ok = 1;
        std::snprintf(status.rom_path, sizeof status.rom_path, "%s", "/roms/game.gba");
        if (call == 1) {
            vl_test_set_focus("save_import");
            vt::push_key(SDLK_RETURN);
        } else if (call == 2) {
            focus_in_dialog = vl_test_focus();
            vt::push_key(SDLK_RETURN);
        } else if (call == 3) {
            confirm_after = vl_test_confirm();
            page_after = vl_test_page();
            vt::push_quit();
        }
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_FALSE(host.timed_out);
    EXPECT_EQ(focus_in_dialog, "confirm_no");
    EXPECT_EQ(confirm_after, 0);
    EXPECT_EQ(page_after, "settings");
}

TEST(ActivationRun, SizeOfTheCurrentScaleStillWritesAndReappliesTheWindow) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, "[video]\r\nscale=3\r\n");
    vl_set_start_page(4);
    int32_t w = 0, h = 0;
    bool rewritten = false;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call == 1) {
            // Shrink the window behind the launcher's back, and take the file away.
            SDL_SetWindowSize(SDL_GetWindowFromID(vl_test_window_id()), 700, 500);
            std::remove(ini.c_str());
            vl_test_set_focus("size3");
            vt::push_key(SDLK_RETURN);
        } else if (call == 2) {
            rewritten = vt::file_exists(ini);
            vl_test_video(&w, &h, nullptr);
            vt::push_quit();
        }
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_TRUE(rewritten);
    EXPECT_EQ(w, 960);
    EXPECT_EQ(h, 600);
}

} // namespace
