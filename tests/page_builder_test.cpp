// The widget list of every page and overlay: layouts, labels, enabled and on states,
// the focus rules across rebuilds and the address pick. Unit level: set the state,
// build, read the list.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "draw/font.h"
#include "frame/state.h"
#include "screens/fields.h"
#include "screens/widgets.h"
#include "settings/text_rules.h"
#include "test_support.h"

namespace {

class Builder : public testing::Test {
protected:
    void SetUp() override {
        vl.page = kPageMain;
        vl.keypad_field = -1;
        vl.confirm_open = false;
        vl.widget_count = 0;
        vl.focus = 0;
        vl.refocus_id[0] = '\0';
        vl.address_pick = 0;
        vl.role = 0;
        std::memset(&vl.status, 0, sizeof vl.status);
        std::memset(&vl.online, 0, sizeof vl.online);
        vl.online.local_slot = -1;
        vl_settings &s = vl.settings;
        std::memset(&s, 0, sizeof s);
        s.scale = 3;
        s.scaling = 1;
        s.players = 2;
        s.delay = 2;
        s.port = 47900;
        std::strcpy(s.transport, "auto");
        std::strcpy(s.mode, "off");
        std::strcpy(vl.fields[0], "Player");
        std::strcpy(vl.fields[1], "10.0.0.2");
        std::strcpy(vl.fields[2], "47900");
    }

    static const vl_widget *widget(const char *id) {
        const int32_t i = find_widget(id);
        return i >= 0 ? &vl.widgets[i] : nullptr;
    }
    static bool enabled(const char *id) {
        const vl_widget *w = widget(id);
        return w && w->enabled;
    }
    static bool on(const char *id) {
        const vl_widget *w = widget(id);
        return w && w->on;
    }
    static std::string label(const char *id) {
        const vl_widget *w = widget(id);
        return w ? w->label : "<absent>";
    }
    static std::string focused() {
        return vl.focus >= 0 && vl.focus < vl.widget_count ? vl.widgets[vl.focus].id : "<none>";
    }
    static void use_rom(int32_t state, const char *path, int32_t rom_ok) {
        vl.status.state = state;
        std::strcpy(vl.status.rom_path, path);
        vl.status.rom_ok = rom_ok;
    }
};

// The design's table of one widget; x of -1 skips the rectangle (checked elsewhere).
struct Row {
    const char *id;
    int32_t kind, x, y, w, h;
    const char *label;
    int32_t style, segment, slot, circular, slider_id, index;
};

void expect_rows(const std::vector<Row> &rows) {
    ASSERT_EQ(vl.widget_count, static_cast<int32_t>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row &r = rows[i];
        const vl_widget &w = vl.widgets[i];
        SCOPED_TRACE(std::string("row ") + std::to_string(i) + " " + r.id);
        EXPECT_STREQ(w.id, r.id);
        EXPECT_EQ(w.kind, r.kind);
        if (r.x >= 0) {
            EXPECT_EQ(w.x, r.x);
            EXPECT_EQ(w.y, r.y);
            EXPECT_EQ(w.w, r.w);
            EXPECT_EQ(w.h, r.h);
        }
        EXPECT_STREQ(w.label, r.label);
        EXPECT_EQ(w.style, r.style);
        EXPECT_EQ(w.segment, r.segment);
        EXPECT_EQ(w.slot, r.slot);
        EXPECT_EQ(w.circular, r.circular);
        EXPECT_EQ(w.slider_id, r.slider_id);
        EXPECT_EQ(w.index, r.index);
    }
}

TEST_F(Builder, MainPageLayout) {
    build_page();
    expect_rows({
        {"play", kButton, 350, 358, 260, 46, "SELECT ROM", 4, 0, -1, 0, 0, 0},
        {"selectrom", kButton, 700, 16, 232, 26, "No ROM - select one...", 3, 0, -1, 0, 0, 0},
        {"settings", kCard, 220, 432, 167, 62, "Settings|Video, audio, saves", 0, 0, -1, 0, 0, 0},
        {"input", kCard, 397, 432, 167, 62, "Input|Keyboard and controller", 0, 0, -1, 0, 0, 0},
        {"online", kCard, 574, 432, 166, 62, "Online|Cable link multiplayer", 0, 0, -1, 0, 0, 0},
        {"quit", kButton, 862, 556, 70, 32, "Quit", 2, 0, -1, 0, 0, 0},
    });
}

TEST_F(Builder, MainPageFollowsTheBuildStateAndTheRom) {
    struct Case {
        int32_t state;
        const char *rom_path;
        int32_t rom_ok;
        const char *play;
        bool play_enabled, selectrom, online;
        int32_t count;
    } cases[] = {
        {0, "", 0, "SELECT ROM", true, true, false, 6},
        {0, "/r/g.gba", 1, "SELECT ROM", true, true, true, 6},   // state 0 never reads PLAY
        {1, "/r/g.gba", 1, "PLAY", false, false, true, 5},       // preparing: play is dimmed
        {2, "/r/g.gba", 1, "PLAY", true, false, true, 5},
        {3, "/r/g.gba", 0, "SELECT ROM", true, true, false, 6},  // ROM refused
        {3, "", 1, "PLAY", true, false, false, 5},               // accepted but no path
        {4, "/r/g.gba", 1, "PLAY", true, false, true, 5},
        {1, "", 0, "SELECT ROM", false, true, false, 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("state ") + std::to_string(c.state) + " path '" + c.rom_path + "' ok " +
                     std::to_string(c.rom_ok));
        use_rom(c.state, c.rom_path, c.rom_ok);
        build_page();
        EXPECT_EQ(vl.widget_count, c.count);
        EXPECT_EQ(label("play"), c.play);
        EXPECT_EQ(enabled("play"), c.play_enabled);
        EXPECT_EQ(widget("selectrom") != nullptr, c.selectrom);
        EXPECT_EQ(enabled("online"), c.online);
        EXPECT_TRUE(enabled("settings"));
        EXPECT_TRUE(enabled("input"));
        EXPECT_TRUE(enabled("quit"));
    }
}

TEST_F(Builder, InputPagesLayout) {
    const std::vector<Row> common_head = {
        {"back", kButton, 28, 16, 96, 32, "< Back", 0, 0, -1, 0, 0, 0},
    };
    const std::vector<Row> pad = {
        {"tab_keyboard", kChoice, 387, 84, 100, 30, "Keyboard", 0, 1, -1, 0, 0, 0},
        {"tab_controller", kChoice, 487, 84, 106, 30, "Controller", 0, 2, -1, 0, 0, 0},
        {"btn_l", kBinding, 196, 126, 150, 40, "", 1, 0, 2, 0, 0, 0},
        {"btn_r", kBinding, 614, 126, 150, 40, "", 1, 0, 3, 0, 0, 0},
        {"btn_up", kBinding, 250, 196, 56, 40, "", 0, 0, 6, 0, 0, 0},
        {"btn_left", kBinding, 188, 242, 56, 40, "", 0, 0, 8, 0, 0, 0},
        {"btn_right", kBinding, 312, 242, 56, 40, "", 0, 0, 9, 0, 0, 0},
        {"btn_down", kBinding, 250, 288, 56, 40, "", 0, 0, 7, 0, 0, 0},
        {"btn_select", kBinding, 388, 340, 88, 40, "", 0, 0, 5, 0, 0, 0},
        {"btn_start", kBinding, 484, 340, 88, 40, "", 0, 0, 4, 0, 0, 0},
        {"btn_b", kBinding, 628, 264, 58, 58, "", 0, 0, 1, 1, 0, 0},
        {"btn_a", kBinding, 698, 224, 58, 58, "", 0, 0, 0, 1, 0, 0},
    };
    const Row done = {"done", kButton, 832, 556, 100, 32, "Done", 1, 0, -1, 0, 0, 0};

    std::vector<Row> keyboard = common_head;
    keyboard.push_back({"reset", kButton, -1, 0, 0, 0, "Reset keyboard", 0, 0, -1, 0, 0, 0});
    keyboard.insert(keyboard.end(), pad.begin(), pad.end());
    keyboard.push_back(done);

    std::vector<Row> controller = common_head;
    controller.push_back({"reset", kButton, -1, 0, 0, 0, "Reset controller", 0, 0, -1, 0, 0, 0});
    controller.insert(controller.end(), pad.begin(), pad.end());
    controller.push_back({"stick", kSwitch, 28, 502, 42, 22, "", 0, 0, -1, 0, 0, 0});
    controller.push_back({"deadzone", kSlider, 398, 502, 210, 22, "", 0, 0, -1, 0, 1, 0});
    controller.push_back(done);

    vl.page = kPageKeyboard;
    build_page();
    {
        SCOPED_TRACE("keyboard");
        expect_rows(keyboard);
        EXPECT_EQ(vl.widget_count, 15);
        EXPECT_TRUE(on("tab_keyboard"));
        EXPECT_FALSE(on("tab_controller"));
    }
    vl.page = kPageController;
    vl.settings.stick_as_dpad = 1;
    build_page();
    {
        SCOPED_TRACE("controller");
        expect_rows(controller);
        EXPECT_EQ(vl.widget_count, 17);
        EXPECT_FALSE(on("tab_keyboard"));
        EXPECT_TRUE(on("tab_controller"));
        EXPECT_TRUE(on("stick"));
    }
    for (int32_t i = 0; i < vl.widget_count; ++i) EXPECT_EQ(vl.widgets[i].enabled, 1) << vl.widgets[i].id;
    vl.settings.stick_as_dpad = 0;
    build_page();
    EXPECT_FALSE(on("stick"));
}

TEST_F(Builder, ResetButtonGrowsLeftWithItsLabel) {
    struct Case {
        int32_t page;
        const char *text;
        int32_t x, w;  // with the font's advances of the reference design
    } cases[] = {{kPageKeyboard, "Reset keyboard", 790, 142}, {kPageController, "Reset controller", 784, 148}};
    bool reference_widths = true;
    for (const Case &c : cases) {
        vl.page = c.page;
        build_page();
        const vl_widget *w = widget("reset");
        ASSERT_NE(w, nullptr);
        const int32_t t = text_width(3, c.text);
        EXPECT_EQ(w->x, 900 - t) << c.text;
        EXPECT_EQ(w->y, 16);
        EXPECT_EQ(w->w, t + 32) << c.text;
        EXPECT_EQ(w->h, 32);
        reference_widths = reference_widths && t == (c.page == kPageKeyboard ? 110 : 116);
        if (t == (c.page == kPageKeyboard ? 110 : 116)) {
            EXPECT_EQ(w->x, c.x);
            EXPECT_EQ(w->w, c.w);
        }
    }
    if (!reference_widths)
        GTEST_SKIP() << "font 3 measures the reset labels as " << text_width(3, "Reset keyboard") << " and "
                     << text_width(3, "Reset controller") << ", not 110 and 116; exact rectangles not checked";
}

TEST_F(Builder, SettingsPageLayout) {
    vl.page = kPageSettings;
    build_page();
    expect_rows({
        {"back", kButton, 28, 16, 96, 32, "< Back", 0, 0, -1, 0, 0, 0},
        {"size1", kChoice, 290, 122, 40, 28, "1x", 0, 1, -1, 0, 0, 0},
        {"size2", kChoice, 330, 122, 40, 28, "2x", 0, 0, -1, 0, 0, 0},
        {"size3", kChoice, 370, 122, 40, 28, "3x", 0, 0, -1, 0, 0, 0},
        {"size4", kChoice, 410, 122, 40, 28, "4x", 0, 0, -1, 0, 0, 0},
        {"size5", kChoice, 450, 122, 40, 28, "5x", 0, 0, -1, 0, 0, 0},
        {"size6", kChoice, 490, 122, 40, 28, "6x", 0, 2, -1, 0, 0, 0},
        {"fullscreen", kSwitch, 491, 205, 42, 22, "", 0, 0, -1, 0, 0, 0},
        {"scale_integer", kChoice, 331, 274, 76, 28, "Integer", 0, 1, -1, 0, 0, 0},
        {"scale_fit", kChoice, 407, 274, 52, 28, "Fit", 0, 0, -1, 0, 0, 0},
        {"scale_stretch", kChoice, 459, 274, 74, 28, "Stretch", 0, 2, -1, 0, 0, 0},
        {"volume", kSlider, 597, 142, 315, 22, "", 0, 0, -1, 0, 0, 0},
        {"mute", kSwitch, 870, 188, 42, 22, "", 0, 0, -1, 0, 0, 0},
        {"save_open", kButton, 597, 296, 112, 32, "Open folder", 0, 0, -1, 0, 0, 0},
        {"save_export", kButton, 717, 296, 90, 32, "Export...", 0, 0, -1, 0, 0, 0},
        {"save_import", kButton, 815, 296, 97, 32, "Import...", 0, 0, -1, 0, 0, 0},
        {"done", kButton, 832, 556, 100, 32, "Done", 1, 0, -1, 0, 0, 0},
    });
}

TEST_F(Builder, SettingsPageChoicesFollowTheSettings) {
    vl.page = kPageSettings;
    const char *sizes[] = {"size1", "size2", "size3", "size4", "size5", "size6"};
    const char *scalings[] = {"scale_integer", "scale_fit", "scale_stretch"};
    struct Case {
        int32_t scale, fullscreen, scaling, mute;
    } cases[] = {{1, 0, 0, 0}, {3, 1, 1, 1}, {6, 0, 2, 0}, {0, 0, 3, 0}, {7, 1, -1, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE("scale " + std::to_string(c.scale) + " fullscreen " + std::to_string(c.fullscreen) +
                     " scaling " + std::to_string(c.scaling));
        vl.settings.scale = c.scale;
        vl.settings.fullscreen = c.fullscreen;
        vl.settings.scaling = c.scaling;
        vl.settings.mute = c.mute;
        build_page();
        for (int n = 1; n <= 6; ++n) {
            EXPECT_EQ(on(sizes[n - 1]), n == c.scale) << sizes[n - 1];  // on even while dimmed
            EXPECT_EQ(enabled(sizes[n - 1]), c.fullscreen == 0) << sizes[n - 1];
        }
        for (int k = 0; k < 3; ++k) EXPECT_EQ(on(scalings[k]), k == c.scaling) << scalings[k];
        EXPECT_EQ(on("fullscreen"), c.fullscreen != 0);
        EXPECT_EQ(on("mute"), c.mute != 0);
        EXPECT_TRUE(enabled("fullscreen"));
        EXPECT_TRUE(enabled("volume"));
    }
}

TEST_F(Builder, SaveButtonsNeedAUsableRom) {
    vl.page = kPageSettings;
    struct Case {
        const char *path;
        int32_t rom_ok;
        bool usable;
    } cases[] = {{"", 0, false}, {"", 1, false}, {"/r/g.gba", 0, false}, {"/r/g.gba", 1, true}};
    for (const Case &c : cases) {
        use_rom(2, c.path, c.rom_ok);
        build_page();
        for (const char *id : {"save_open", "save_export", "save_import"})
            EXPECT_EQ(enabled(id), c.usable) << id << " path '" << c.path << "' ok " << c.rom_ok;
    }
}

TEST_F(Builder, OnlinePageLayout) {
    vl.page = kPageOnline;
    std::strcpy(vl.online.addresses[0], "192.168.1.20");
    std::strcpy(vl.online.addresses[1], "fd00::20");
    build_page();
    expect_rows({
        {"back", kButton, 28, 16, 96, 32, "< Back", 0, 0, -1, 0, 0, 0},
        {"online_name", kTextField, 46, 152, 439, 34, "", 0, 0, -1, 0, 0, 0},
        {"online_addr", kTextField, 46, 216, 335, 34, "", 0, 0, -1, 0, 0, 1},
        {"online_port", kTextField, 393, 216, 92, 34, "", 0, 0, -1, 0, 0, 2},
        {"online_p2", kChoice, 46, 282, 42, 30, "2", 0, 1, -1, 0, 0, 0},
        {"online_p3", kChoice, 88, 282, 42, 30, "3", 0, 0, -1, 0, 0, 0},
        {"online_p4", kChoice, 130, 282, 42, 30, "4", 0, 2, -1, 0, 0, 0},
        {"online_delay", kSlider, 290, 290, 195, 22, "", 0, 0, -1, 0, 2, 0},
        {"online_auto", kSwitch, 443, 262, 42, 22, "", 0, 0, -1, 0, 0, 0},
        {"online_net_auto", kChoice, 46, 342, 64, 30, "Auto", 0, 1, -1, 0, 0, 0},
        {"online_net_udp", kChoice, 110, 342, 56, 30, "UDP", 0, 0, -1, 0, 0, 0},
        {"online_net_tcp", kChoice, 166, 342, 56, 30, "TCP", 0, 2, -1, 0, 0, 0},
        {"role_host", kChoice, 46, 408, 56, 32, "Host", 0, 1, -1, 0, 0, 0},
        {"role_join", kChoice, 102, 408, 56, 32, "Join", 0, 2, -1, 0, 0, 0},
        {"online_host", kButton, 170, 408, 132, 32, "Host game", 1, 0, -1, 0, 0, 0},
        {"online_copy", kButton, 419, 408, 66, 32, "Copy", 0, 0, -1, 0, 0, 0},
        {"online_ready", kButton, 46, 450, 96, 32, "Ready", 0, 0, -1, 0, 0, 0},
        {"online_start", kButton, 150, 450, 96, 32, "Start", 0, 0, -1, 0, 0, 0},
        {"online_leave", kButton, 254, 450, 96, 32, "Leave", 0, 0, -1, 0, 0, 0},
        {"online_ip0", kAddressRow, 537, 436, 377, 20, "", 0, 0, -1, 0, 0, 0},
        {"online_ip1", kAddressRow, 537, 456, 377, 20, "", 0, 0, -1, 0, 0, 1},
    });

    vl.role = 1;
    build_page();
    EXPECT_EQ(find_widget("online_host"), -1);
    ASSERT_EQ(find_widget("online_join"), 14);
    EXPECT_EQ(label("online_join"), "Join game");
    EXPECT_EQ(vl.widgets[14].style, 1);
    EXPECT_TRUE(on("role_join"));
    EXPECT_FALSE(on("role_host"));
}

TEST_F(Builder, PortRuleDecidesTheHostAndJoinButtons) {
    vl.page = kPageOnline;
    struct Case {
        const char *port;
        bool valid;
    } cases[] = {
        {"12ab", true}, {"1", true}, {"65535", true}, {"+80", true},
        {"0", false}, {"65536", false}, {"", false}, {"-5", false}, {"abc", false}, {"-", false},
        {"4294967297", false},  // would wrap to 1 in 32 bits
        {"99999999999999999999", false},
    };
    for (const Case &c : cases) {
        std::strcpy(vl.fields[2], c.port);
        vl.role = 0;
        build_page();
        EXPECT_EQ(enabled("online_host"), c.valid) << "port '" << c.port << "'";
        vl.role = 1;
        std::strcpy(vl.fields[1], "10.0.0.2");
        build_page();
        EXPECT_EQ(enabled("online_join"), c.valid) << "port '" << c.port << "'";
        vl.fields[1][0] = '\0';
        build_page();
        EXPECT_FALSE(enabled("online_join")) << "empty host address, port '" << c.port << "'";
    }
    vl.role = 0;
    std::strcpy(vl.fields[2], "47900");
    build_page();
    EXPECT_TRUE(enabled("online_host")) << "hosting needs no host address";
}

TEST_F(Builder, LobbyStatesLockTheSetUpAndOpenTheLobbyButtons) {
    vl.page = kPageOnline;
    std::strcpy(vl.online.address, "10.1.1.1");
    const char *set_up[] = {"online_name", "online_addr", "online_port", "online_p2", "online_p3", "online_p4",
                            "online_delay", "online_auto", "online_net_auto", "online_net_udp",
                            "online_net_tcp", "role_host", "role_join", "online_host"};
    struct Case {
        int32_t lobby;
        bool ready, leave, copy_and_rows;
    } cases[] = {
        {0, false, false, true}, {1, true, true, true},   {2, false, true, true},  {3, true, true, true},
        {4, false, true, false}, {5, false, true, true},  {6, false, true, true},  {9, false, true, true},
        {-1, false, true, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("lobby_state " + std::to_string(c.lobby));
        vl.online.lobby_state = c.lobby;
        build_page();
        for (const char *id : set_up) EXPECT_EQ(enabled(id), c.lobby == 0) << id;
        EXPECT_TRUE(enabled("back"));
        EXPECT_EQ(enabled("online_ready"), c.ready);
        EXPECT_FALSE(enabled("online_start"));  // no connected slots in any case here
        EXPECT_EQ(enabled("online_leave"), c.leave);
        EXPECT_EQ(enabled("online_copy"), c.copy_and_rows);
        EXPECT_EQ(find_widget("online_ip0") >= 0, c.copy_and_rows);
        EXPECT_EQ(vl.widget_count, c.copy_and_rows ? 20 : 19);
    }
}

TEST_F(Builder, DelayPlayersAndTransportChoices) {
    vl.page = kPageOnline;
    struct Case {
        int32_t players, delay;
        const char *transport;
    } cases[] = {{2, 0, "auto"}, {3, -1, "udp"}, {4, 1, "tcp"}, {5, 2, "TCP"}, {1, -1, "udp2"}};
    const char *players[] = {"online_p2", "online_p3", "online_p4"};
    const char *transports[] = {"online_net_auto", "online_net_udp", "online_net_tcp"};
    const char *names[] = {"auto", "udp", "tcp"};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("players ") + std::to_string(c.players) + " delay " + std::to_string(c.delay) +
                     " transport " + c.transport);
        vl.settings.players = c.players;
        vl.settings.delay = c.delay;
        std::snprintf(vl.settings.transport, sizeof vl.settings.transport, "%s", c.transport);
        build_page();
        for (int k = 0; k < 3; ++k) EXPECT_EQ(on(players[k]), c.players == k + 2) << players[k];
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(on(transports[k]), std::strcmp(c.transport, names[k]) == 0) << transports[k];
        EXPECT_EQ(on("online_auto"), c.delay < 0);
        EXPECT_EQ(enabled("online_delay"), c.delay >= 0);
        EXPECT_TRUE(enabled("online_auto"));
    }
}

TEST_F(Builder, AddressRowsStopAtTheFirstEmptyEntry) {
    vl.page = kPageOnline;
    struct Case {
        const char *list[4];
        const char *single;
        int32_t rows;
        bool copy;
    } cases[] = {
        {{"", "", "", ""}, "", 0, false},
        {{"", "", "", ""}, "10.1.1.1", 1, true},
        {{"a", "", "c", ""}, "", 1, true},
        {{"a", "b", "c", "d"}, "x", 4, true},
        {{"", "b", "c", ""}, "", 0, false},  // an empty first entry ends the list at once
    };
    for (const Case &c : cases) {
        std::memset(&vl.online, 0, sizeof vl.online);
        for (int k = 0; k < 4; ++k) std::strcpy(vl.online.addresses[k], c.list[k]);
        std::strcpy(vl.online.address, c.single);
        build_page();
        int32_t rows = 0;
        for (int32_t i = 0; i < vl.widget_count; ++i)
            if (vl.widgets[i].kind == kAddressRow) {
                EXPECT_EQ(vl.widgets[i].index, rows);
                EXPECT_EQ(vl.widgets[i].y, 436 + 20 * rows);
                EXPECT_EQ(vl.widgets[i].id, "online_ip" + std::to_string(rows));
                ++rows;
            }
        EXPECT_EQ(rows, c.rows) << "first entry '" << c.list[0] << "' single '" << c.single << "'";
        EXPECT_EQ(enabled("online_copy"), c.copy);
    }
}

TEST_F(Builder, AddressPickIsBoundedAndFollowsTheFocus) {
    vl.page = kPageOnline;
    for (const char *a : {"a", "b", "c"}) std::strcpy(vl.online.addresses[a[0] - 'a'], a);
    vl.address_pick = 2;
    build_page();
    EXPECT_EQ(vl.address_pick, 2);

    // In game the rows vanish, but the pick stays while it is below the count.
    vl.online.lobby_state = 4;
    build_page();
    EXPECT_EQ(find_widget("online_ip0"), -1);
    EXPECT_FALSE(enabled("online_copy"));
    EXPECT_EQ(vl.address_pick, 2);

    // The host now reports one address only.
    vl.online.lobby_state = 0;
    vl.online.addresses[1][0] = '\0';
    build_page();
    EXPECT_EQ(vl.address_pick, 0);

    // Moving the focus onto a row picks it at the next build.
    std::strcpy(vl.online.addresses[1], "b");
    build_page();
    vl.focus = find_widget("online_ip2");
    ASSERT_GE(vl.focus, 0);
    build_page();
    EXPECT_EQ(vl.address_pick, 2);
    EXPECT_EQ(focused(), "online_ip2");

    // Any page bounds the pick; only the online page follows the focus.
    vl.page = kPageMain;
    vl.address_pick = 3;
    build_page();
    EXPECT_EQ(vl.address_pick, 0);
}

TEST_F(Builder, FocusIsKeptByIdAcrossRebuilds) {
    vl.page = kPageOnline;
    build_page();
    vl.focus = 3;
    ASSERT_EQ(focused(), "online_port");
    build_page();
    EXPECT_EQ(vl.focus, 3);

    // "online_host" becomes "online_join": the id is gone, so the focus returns to 0.
    vl.focus = find_widget("online_host");
    vl.role = 1;
    build_page();
    EXPECT_EQ(vl.focus, 0);

    // An id found at another index follows the widget.
    vl.page = kPageMain;
    use_rom(0, "", 0);
    build_page();
    vl.focus = find_widget("quit");
    ASSERT_EQ(vl.focus, 5);
    use_rom(2, "/r/g.gba", 1);  // "selectrom" disappears
    build_page();
    EXPECT_EQ(focused(), "quit");
    EXPECT_EQ(vl.focus, 4);

    vl.focus = find_widget("settings");
    vl.page = kPageSettings;
    build_page();
    EXPECT_EQ(vl.focus, 0) << "no widget of the settings page is called settings";
}

TEST_F(Builder, FocusOutOfRangeRemembersNothing) {
    for (int32_t bad : {-1, 6, 40, 1000}) {
        vl.page = kPageMain;
        build_page();
        vl.focus = bad;
        build_page();
        EXPECT_EQ(vl.focus, 0) << "focus " << bad;
    }
    // An emptied list remembers nothing either.
    vl.widget_count = 0;
    vl.focus = 3;
    build_page();
    EXPECT_EQ(vl.focus, 0);
}

TEST_F(Builder, RefocusIdWinsOnceAndIsCleared) {
    vl.page = kPageOnline;
    build_page();
    vl.focus = find_widget("online_port");
    vl.keypad_field = 2;
    std::strcpy(vl.refocus_id, "kp_5");
    build_page();
    EXPECT_EQ(vl.focus, 4);
    EXPECT_EQ(focused(), "kp_5");
    EXPECT_EQ(vl.refocus_id[0], '\0');

    vl.focus = find_widget("kp_9");
    std::strcpy(vl.refocus_id, "no_such");
    build_page();
    EXPECT_EQ(focused(), "kp_9") << "an unknown refocus id keeps the remembered focus";
    EXPECT_EQ(vl.refocus_id[0], '\0');

    vl.keypad_field = -1;
    std::strcpy(vl.refocus_id, "online_port");
    build_page();
    EXPECT_EQ(focused(), "online_port");
    EXPECT_EQ(vl.refocus_id[0], '\0');
}

TEST_F(Builder, OverlaysReplaceEveryPage) {
    for (int32_t page : {0, 1, 2, 3, 4}) {
        SCOPED_TRACE("page " + std::to_string(page));
        vl.page = page;
        vl.confirm_open = true;
        build_page();
        expect_rows({
            {"confirm_yes", kButton, 300, 330, 150, 40, "Yes", 0, 0, -1, 0, 0, 0},
            {"confirm_no", kButton, 510, 330, 150, 40, "No", 1, 0, -1, 0, 0, 0},
        });
        vl.keypad_field = 1;  // the keypad wins over the dialog
        build_page();
        EXPECT_EQ(vl.widget_count, 15);
        EXPECT_STREQ(vl.widgets[0].id, "kp_1");
        vl.keypad_field = -1;
        vl.confirm_open = false;
    }
}

TEST_F(Builder, KeypadLayoutAndItsDotKey) {
    vl.keypad_field = 1;
    build_page();
    std::vector<Row> rows;
    const char *digits[] = {"kp_1", "kp_2", "kp_3", "kp_4", "kp_5", "kp_6", "kp_7", "kp_8", "kp_9"};
    const char *labels[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    const int32_t xs[] = {276, 376, 476}, ys[] = {214, 270, 326};
    for (int n = 0; n < 9; ++n) rows.push_back({digits[n], kButton, xs[n % 3], ys[n / 3], 92, 48, labels[n], 0, 0, -1, 0, 0, 0});
    rows.push_back({"kp_del", kButton, 576, 214, 108, 48, "Del", 0, 0, -1, 0, 0, 0});
    rows.push_back({"kp_clr", kButton, 576, 270, 108, 48, "Clear", 0, 0, -1, 0, 0, 0});
    rows.push_back({"kp_dot", kButton, 576, 326, 108, 48, ".", 0, 0, -1, 0, 0, 0});
    rows.push_back({"kp_0", kButton, 276, 382, 92, 48, "0", 0, 0, -1, 0, 0, 0});
    rows.push_back({"kp_ok", kButton, 376, 382, 192, 48, "OK", 1, 0, -1, 0, 0, 0});
    rows.push_back({"kp_cancel", kButton, 576, 382, 108, 48, "Cancel", 0, 0, -1, 0, 0, 0});
    expect_rows(rows);

    for (int32_t field : {0, 1, 2}) {
        vl.keypad_field = field;
        build_page();
        EXPECT_EQ(enabled("kp_dot"), field == 1) << "field " << field;
        EXPECT_TRUE(enabled("kp_0"));
        EXPECT_TRUE(enabled("kp_ok"));
    }
}

TEST(Numbers, LeadingNumberAndPortText) {
    struct Case {
        const char *text;
        int32_t number;
        bool port;
    } cases[] = {
        {"47900", 47900, true}, {"12ab", 12, true},   {"+7", 7, true},        {"-7", -7, false},
        {"", 0, false},         {"x12", 0, false},    {"-", 0, false},        {"+", 0, false},
        {"0", 0, false},        {"65535", 65535, true}, {"65536", 65536, false}, {"007", 7, true},
        {" 80", 0, false},      {"2147483647", 2147483647, false},
        {"2147483648", 2147483647, false},  // saturates instead of wrapping
        {"-2147483649", -2147483647 - 1, false},
        {"4294967297", 2147483647, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(leading_number(c.text), c.number) << "'" << c.text << "'";
        EXPECT_EQ(port_text_is_valid(c.text), c.port) << "'" << c.text << "'";
    }
    EXPECT_EQ(leading_number(nullptr), 0);
    EXPECT_FALSE(port_text_is_valid(nullptr));
}

// The two readings of one reader: only leading white space tells them apart. Requests
// take the port as the file does; the field is drawn as atoi reads it.
TEST(Numbers, TheTwoReadingsDifferOnlyInLeadingBlanks) {
    struct Case {
        const char *text;
        int32_t plain, after_blanks;
        bool valid, looks_valid;
    } cases[] = {
        {"8080", 8080, 8080, true, true},        {"  8080", 0, 8080, false, true},
        {"\t\n\v\f\r+7", 0, 7, false, true},    {" -7", 0, -7, false, false},
        {" ", 0, 0, false, false},              {"", 0, 0, false, false},
        {" 99999999999", 0, 2147483647, false, false}, {"0x50", 0, 0, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
        EXPECT_EQ(leading_number(c.text), c.plain);
        EXPECT_EQ(leading_number_after_blanks(c.text), c.after_blanks);
        EXPECT_EQ(port_text_is_valid(c.text), c.valid);
        EXPECT_EQ(port_text_looks_valid(c.text), c.looks_valid);
    }
    // The settings file hands the reader a value that is not terminated where it ends.
    EXPECT_EQ(leading_number("8080", 2), 80);
    EXPECT_EQ(leading_number("-5", 1), 0);
    EXPECT_EQ(leading_number_after_blanks(nullptr), 0);
    EXPECT_FALSE(port_text_looks_valid(nullptr));
}

// The same rules seen by a host through the exports while vl_run runs.
TEST(BuilderThroughHost, StatusPollsDriveTheMainPage) {
    vt::TempDir dir;
    vt::Host host;
    std::vector<std::string> seen;
    host.status = [&](vl_status &s, int call) {
        if (call >= 2) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "%d %d %d %d", vl_test_enabled("play"), vl_test_widget("selectrom", nullptr, nullptr, nullptr, nullptr),
                          vl_test_enabled("online"), vl.widget_count);
            seen.push_back(buf);
        }
        if (call >= 1) {
            s.state = 1;
            std::strcpy(s.rom_path, "/roms/g.gba");
            s.rom_ok = 1;
        }
        if (call == 2) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], "0 0 1 5");
}

TEST(BuilderThroughHost, AddressPickFollowsTheFocusAndFallsBackWhenAddressesGo) {
    vt::TempDir dir;
    vl_set_start_page(kPageOnline);
    vt::Host host;
    int32_t pick_on_row = -1, pick_after = -1;
    std::string focus_after;
    host.status = [&](vl_status &, int call) {
        if (call == 2) vl_test_set_focus("online_ip2");
        if (call == 3) pick_on_row = vl_test_addr_sel();
        if (call == 6) {
            pick_after = vl_test_addr_sel();
            focus_after = vl_test_focus();
            vt::push_quit();
        }
    };
    host.online = [](vl_online_status &o, int call) {
        std::strcpy(o.addresses[0], "192.168.1.20");
        if (call < 4) {
            std::strcpy(o.addresses[1], "10.0.0.20");
            std::strcpy(o.addresses[2], "fd00::20");
        }
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    vl_set_start_page(0);
    EXPECT_EQ(pick_on_row, 2);
    EXPECT_EQ(pick_after, 0);
    EXPECT_EQ(focus_after, "back");
}

} // namespace
