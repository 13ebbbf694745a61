// The online page's widgets: the host and join checks, player count and delay,
// transport, automatic delay, the address pick, copying an address and leaving.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "frame/state.h"
#include "screens/fields.h"
#include "test_support.h"

namespace {

class LobbyActions : public ::testing::Test {
protected:
    vt::TempDir dir;

    void SetUp() override { vt::reset_run_state(ini_path(), kPageOnline); }

    std::string ini_path() const { return dir.file("vorla.ini"); }
    std::string ini() const { return vt::read_file(ini_path()); }
    bool file_holds(const std::string &line) const {
        return ini().find("\r\n" + line + "\r\n") != std::string::npos;
    }
    static void set_field(int32_t f, const char *text) {
        std::snprintf(vl.fields[f], sizeof vl.fields[f], "%s", text);
    }
    static void press(const char *id) {
        vl_widget w{};
        w.id = id;
        w.enabled = 1;
        w.slot = -1;
        vl.widgets[0] = w;
        vl.widget_count = 1;
        activate(0);
    }
};

TEST_F(LobbyActions, HostAndJoinChecksCommitFirstAndStopOnBadEntries) {
    struct Case {
        const char *id;
        const char *host, *port;
        const char *note;     // empty: the run ends
        int32_t code;
        const char *mode;
        int32_t stored_port;
    } cases[] = {
        {"online_host", "", "5000", "", 6, "host", 5000},
        {"online_join", "10.0.0.2", "5000", "", 7, "join", 5000},
        {"online_host", "h", "70000", "Port must be 1-65535", -1, "off", 47900},
        {"online_join", "h", "0", "Port must be 1-65535", -1, "off", 47900},
        {"online_join", "h", "", "Port must be 1-65535", -1, "off", 47900},
        {"online_join", "", "5000", "Type the host address to join", -1, "off", 5000},
        {"online_join", "", "99999", "Port must be 1-65535", -1, "off", 47900},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.editing_field = kFieldPort;  // typing is committed as part of the check
        set_field(kFieldName, "Ann");
        set_field(kFieldHost, c.host);
        set_field(kFieldPort, c.port);
        press(c.id);
        const std::string what = std::string(c.id) + " host '" + c.host + "' port '" + c.port + "'";
        EXPECT_EQ(vl.editing_field, -1) << what;
        EXPECT_STREQ(vl.settings.name, "Ann") << what;
        EXPECT_EQ(vl.settings.port, c.stored_port) << what;
        EXPECT_STREQ(vl.settings.mode, c.mode) << what;
        EXPECT_EQ(vl.running, c.note[0] != '\0') << what;
        if (c.note[0]) {
            EXPECT_STREQ(vl.note, c.note) << what;
            EXPECT_EQ(vl.note_is_error, 1) << what;
        } else {
            EXPECT_EQ(vl.exit_code, c.code) << what;
        }
        // The file reflects the committed fields whatever the outcome.
        EXPECT_TRUE(file_holds("name=Ann")) << what;
        EXPECT_TRUE(file_holds(std::string("mode=") + c.mode)) << what;
        EXPECT_TRUE(file_holds("port=" + std::to_string(c.stored_port))) << what;
    }
}

TEST_F(LobbyActions, PlayerCountClampsTheDelayButKeepsAutomatic) {
    struct Case {
        const char *id;
        int32_t players_before, delay_before;
        int32_t players, delay;
    } cases[] = {
        {"online_p3", 2, 2, 3, 1},
        {"online_p4", 2, 2, 4, 1},
        {"online_p3", 2, -1, 3, -1},
        {"online_p4", 2, 0, 4, 0},
        {"online_p2", 4, 1, 2, 1},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.settings.players = c.players_before;
        vl.settings.delay = c.delay_before;
        vl.remembered_delay = 5;
        press(c.id);
        EXPECT_EQ(vl.settings.players, c.players) << c.id << " from delay " << c.delay_before;
        EXPECT_EQ(vl.settings.delay, c.delay) << c.id << " from delay " << c.delay_before;
        EXPECT_EQ(vl.remembered_delay, 5) << c.id;
        EXPECT_TRUE(file_holds("players=" + std::to_string(c.players))) << c.id;
    }
}

TEST_F(LobbyActions, AutomaticDelayTogglesThroughTheRememberedValue) {
    vl.settings.players = 2;
    vl.settings.delay = -1;
    vl.remembered_delay = 5;
    press("online_auto");
    EXPECT_EQ(vl.settings.delay, 2);
    EXPECT_TRUE(file_holds("delay=2"));
    vl.settings.delay = 0;
    press("online_auto");
    EXPECT_EQ(vl.settings.delay, -1);
    EXPECT_EQ(vl.remembered_delay, 0);
    EXPECT_TRUE(file_holds("delay=auto"));
    press("online_auto");
    EXPECT_EQ(vl.settings.delay, 0);
}

TEST_F(LobbyActions, TransportAndRoleChoices) {
    const char *transports[][2] = {{"online_net_udp", "udp"}, {"online_net_tcp", "tcp"}, {"online_net_auto", "auto"}};
    for (const auto &t : transports) {
        std::remove(ini_path().c_str());
        press(t[0]);
        EXPECT_STREQ(vl.settings.transport, t[1]);
        EXPECT_TRUE(file_holds(std::string("transport=") + t[1])) << t[0];
    }
    // The role only chooses the button; nothing is written.
    std::remove(ini_path().c_str());
    press("role_join");
    EXPECT_EQ(vl.role, 1);
    press("role_host");
    EXPECT_EQ(vl.role, 0);
    EXPECT_FALSE(vt::file_exists(ini_path()));
    EXPECT_STREQ(vl.settings.mode, "off");
}

TEST_F(LobbyActions, AddressRowsPickOnlyExistingAddresses) {
    // Off the online page, so that the rebuild's focus-follows-pick rule stays out of it.
    vl.page = kPageMain;
    std::snprintf(vl.online.addresses[0], sizeof vl.online.addresses[0], "%s", "192.168.1.20");
    std::snprintf(vl.online.addresses[1], sizeof vl.online.addresses[1], "%s", "fd00::20");
    struct Case {
        const char *id;
        int32_t pick;
    } cases[] = {{"online_ip1", 1}, {"online_ip3", 1}, {"online_ip2", 1}, {"online_ip0", 0}, {"online_ipx", 0}, {"online_ip10", 0}};
    for (const Case &c : cases) {
        press(c.id);
        EXPECT_EQ(vl.address_pick, c.pick) << c.id;
    }
}

TEST_F(LobbyActions, LeaveStartAndReadyCommitTypingAndEndTheRun) {
    struct Case {
        const char *id;
        int32_t code;
        const char *mode;
    } cases[] = {{"online_leave", 8, "off"}, {"online_start", 9, "host"}, {"online_ready", 10, "host"}};
    for (const Case &c : cases) {
        SetUp();
        std::snprintf(vl.settings.mode, sizeof vl.settings.mode, "%s", "host");
        vl.editing_field = kFieldName;
        set_field(kFieldName, "Dee");
        press(c.id);
        EXPECT_EQ(vl.exit_code, c.code) << c.id;
        EXPECT_FALSE(vl.running) << c.id;
        EXPECT_EQ(vl.editing_field, -1) << c.id;
        EXPECT_STREQ(vl.settings.name, "Dee") << c.id;
        EXPECT_STREQ(vl.settings.mode, c.mode) << c.id;
        EXPECT_TRUE(file_holds(std::string("mode=") + c.mode)) << c.id;
    }
}

TEST_F(LobbyActions, CopyNeedsAnAddressAndNoGameUnderWay) {
    struct Case {
        int32_t lobby_state;
        const char *first_of_list;
        const char *single;
        bool copies;
    } cases[] = {
        {0, "192.168.1.20", "", true},
        {1, "", "10.0.0.1", true},
        {4, "192.168.1.20", "10.0.0.1", false},
        {0, "", "", false},
    };
    for (const Case &c : cases) {
        SetUp();
        vl.online.lobby_state = c.lobby_state;
        std::snprintf(vl.online.addresses[0], sizeof vl.online.addresses[0], "%s", c.first_of_list);
        std::snprintf(vl.online.address, sizeof vl.online.address, "%s", c.single);
        press("online_copy");
        EXPECT_STREQ(vl.note, c.copies ? "Address copied" : "") << "lobby " << c.lobby_state;
        if (c.copies) {
            EXPECT_EQ(vl.note_is_error, 0);
        }
    }
}

// ---- Through the running window ----

void press_now(const char *id) {
    vl_test_set_focus(id);
    vt::push_key(SDLK_RETURN);
}

void click_widget(const char *id) {
    int32_t x = 0, y = 0, w = 0, h = 0;
    if (vl_test_widget(id, &x, &y, &w, &h)) vt::push_click(x + w / 2, y + h / 2);
}

TEST(LobbyActionsRun, JoinWithTheAddressEmptiedSinceTheLastBuild) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, "[link]\r\nmode=off\r\nport=5000\r\nname=Old\r\nhost=10.0.0.7\r\n");
    vl_set_start_page(3);
    std::string note, page, file_then;
    int32_t join_enabled = -1;
    vt::Host host;
    host.status = [&](vl_status &status, int call) {
        status.state = 3;
        status.rom_ok = 1;
        if (call == 1) {
            press_now("role_join");
        } else if (call == 2) {
            join_enabled = vl_test_enabled("online_join");
            // One batch, no poll in between: the list still shows "online_join" enabled.
            click_widget("online_name");
            for (int k = 0; k < 3; ++k) vt::push_key(SDLK_BACKSPACE);
            vt::push_text("Neo");
            click_widget("online_addr");
            for (int k = 0; k < 8; ++k) vt::push_key(SDLK_BACKSPACE);
            click_widget("online_join");
        } else if (call == 3) {
            note = vl_test_note();
            page = vl_test_page();
            file_then = vt::read_file(ini);
            vt::push_quit();
        }
    };
    const int32_t code = vt::run_host(ini, host);
    vl_set_start_page(0);
    EXPECT_EQ(code, 0);  // the run went on until the quit
    EXPECT_FALSE(host.timed_out);
    EXPECT_EQ(join_enabled, 1);
    EXPECT_EQ(note, "Type the host address to join");
    EXPECT_EQ(page, "online");
    EXPECT_NE(file_then.find("\r\nname=Neo\r\n"), std::string::npos);
    EXPECT_NE(file_then.find("\r\nport=5000\r\n"), std::string::npos);
    EXPECT_NE(file_then.find("\r\nmode=off\r\n"), std::string::npos);
    EXPECT_NE(file_then.find("\r\nhost=10.0.0.7\r\n"), std::string::npos);  // empty field keeps it
}

TEST(LobbyActionsRun, CopyPutsThePickedAddressOnTheClipboard) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vl_set_start_page(3);
    std::string picked_copy, single_copy, note;
    int32_t pick = -1;
    bool single = false;
    vt::Host host;
    host.status = [&](vl_status &status, int call) {
        status.state = 3;
        status.rom_ok = 1;
        // The online record first arrives with the first poll, after its status call.
        switch (call) {
        case 2:
            press_now("online_ip1");
            break;
        case 3:
            pick = vl_test_addr_sel();
            SDL_SetClipboardText("before");
            press_now("online_copy");
            break;
        case 4: {
            note = vl_test_note();
            char *text = SDL_GetClipboardText();
            picked_copy = text ? text : "";
            SDL_free(text);
            single = true;  // from the next poll on only `address` is reported
            break;
        }
        case 5:
            press_now("online_copy");
            break;
        case 6: {
            char *text = SDL_GetClipboardText();
            single_copy = text ? text : "";
            SDL_free(text);
            vt::push_quit();
            break;
        }
        }
    };
    host.online = [&](vl_online_status &online, int) {
        if (single) {
            std::snprintf(online.address, sizeof online.address, "%s", "10.9.8.7");
            return;
        }
        std::snprintf(online.addresses[0], sizeof online.addresses[0], "%s", "192.168.1.20");
        std::snprintf(online.addresses[1], sizeof online.addresses[1], "%s", "fd00::20");
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_FALSE(host.timed_out);
    EXPECT_EQ(pick, 1);
    EXPECT_EQ(note, "Address copied");
    EXPECT_EQ(picked_copy, "fd00::20");
    EXPECT_EQ(single_copy, "10.9.8.7");
}

} // namespace
