// Lobby rules: addresses, the start and ready rules, the delay limits and the settings
// changes of the automatic-delay switch and the player count (checked in the file too).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "frame/state.h"
#include "screens/lobby.h"
#include "screens/widgets.h"
#include "settings/settings.h"
#include "test_support.h"

namespace {

class Lobby : public testing::Test {
protected:
    void SetUp() override {
        std::memset(&vl.online, 0, sizeof vl.online);
        vl.online.local_slot = -1;
        vl.address_pick = 0;
        default_settings(&vl.settings);
        std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", dir.file("vorla.ini").c_str());
    }
    void TearDown() override { vl.settings_path[0] = '\0'; }

    // What a later run reads back from the file the rule wrote.
    vl_settings from_file() const {
        vl_settings s;
        default_settings(&s);
        EXPECT_EQ(load_settings(dir.file("vorla.ini").c_str(), &s), 0);
        return s;
    }

    vt::TempDir dir;
};

TEST_F(Lobby, StartRule) {
    struct Case {
        int32_t lobby;
        int32_t slots[4];
        bool start;
        int32_t connected;
    } cases[] = {
        {1, {3, 3, 0, 0}, true, 2},  {1, {3, 2, 0, 0}, false, 2}, {1, {3, 1, 3, 0}, true, 2},
        {1, {3, 0, 0, 0}, false, 1}, {3, {3, 3, 0, 0}, false, 2}, {1, {3, 4, 3, 3}, true, 3},
        {1, {2, 2, 2, 2}, false, 4}, {0, {3, 3, 3, 3}, false, 4}, {4, {3, 3, 0, 0}, false, 2},
        {1, {0, 0, 0, 0}, false, 0}, {1, {3, 3, 5, -1}, true, 2},
    };
    for (const Case &c : cases) {
        vl.online.lobby_state = c.lobby;
        std::memcpy(vl.online.slot_state, c.slots, sizeof c.slots);
        const std::string name = "lobby " + std::to_string(c.lobby) + " slots " + std::to_string(c.slots[0]) +
                                 std::to_string(c.slots[1]) + std::to_string(c.slots[2]) + std::to_string(c.slots[3]);
        EXPECT_EQ(start_allowed(), c.start) << name;
        EXPECT_EQ(connected_slots(), c.connected) << name;
        vl.page = kPageOnline;
        vl.keypad_field = -1;
        vl.confirm_open = false;
        build_page();
        EXPECT_EQ(vl.widgets[find_widget("online_start")].enabled, c.start ? 1 : 0) << name;
    }
}

TEST_F(Lobby, ReadyReadsCancelOnlyForTheLocalReadySlot) {
    struct Case {
        int32_t lobby, local, local_state;
        bool cancel;
    } cases[] = {
        {1, 0, 3, true},  {3, 2, 3, true},   {1, 0, 2, false}, {4, 0, 3, false},
        {1, -1, 3, false}, {1, 5, 3, false}, {1, 4, 3, false}, {0, 1, 3, true},
    };
    vl.page = kPageOnline;
    vl.keypad_field = -1;
    vl.confirm_open = false;
    for (const Case &c : cases) {
        for (int32_t &s : vl.online.slot_state) s = 3;  // every slot ready
        vl.online.lobby_state = c.lobby;
        vl.online.local_slot = c.local;
        if (c.local >= 0 && c.local < 4) {
            for (int32_t &s : vl.online.slot_state) s = 2;
            vl.online.slot_state[c.local] = c.local_state;
        }
        const std::string name = "lobby " + std::to_string(c.lobby) + " local " + std::to_string(c.local);
        EXPECT_EQ(local_player_ready(), c.cancel) << name;
        build_page();
        const int32_t i = find_widget("online_ready");
        ASSERT_GE(i, 0);
        EXPECT_STREQ(vl.widgets[i].label, c.cancel ? "Cancel" : "Ready") << name;
    }
}

TEST_F(Lobby, AddressCountAndPickedAddress) {
    struct Case {
        const char *list[4];
        const char *single;
        int32_t pick;
        int32_t count;
        const char *picked;
    } cases[] = {
        {{"", "", "", ""}, "", 0, 0, ""},
        {{"", "", "", ""}, "10.1.1.1", 3, 1, "10.1.1.1"},  // the single address whatever the pick
        {{"a", "b", "", "d"}, "x", 1, 2, "b"},
        {{"a", "b", "c", "d"}, "", 3, 4, "d"},
        {{"a", "", "", ""}, "x", 0, 1, "a"},
        {{"a", "b", "c", "d"}, "", -1, 4, "a"},  // a pick outside 0..3 never indexes past the list
        {{"a", "b", "c", "d"}, "", 9, 4, "a"},
    };
    for (const Case &c : cases) {
        for (int k = 0; k < 4; ++k) std::strcpy(vl.online.addresses[k], c.list[k]);
        std::strcpy(vl.online.address, c.single);
        vl.address_pick = c.pick;
        EXPECT_EQ(address_count(), c.count) << c.list[0] << "/" << c.single;
        EXPECT_STREQ(picked_address(), c.picked) << c.list[0] << "/" << c.single << " pick " << c.pick;
    }
}

TEST_F(Lobby, DelayLimitFollowsThePlayers) {
    const int32_t limits[][2] = {{2, 2}, {3, 1}, {4, 1}, {1, 2}, {5, 1}};
    for (const auto &l : limits) {
        vl.settings.players = l[0];
        EXPECT_EQ(delay_limit(), l[1]) << "players " << l[0];
    }
}

TEST_F(Lobby, AutomaticDelaySwitch) {
    struct Case {
        int32_t players, delay, remembered;
        int32_t delay_after, remembered_after;
    } cases[] = {
        {2, -1, 5, 2, 5},  // off: the remembered delay, held to the limit
        {4, -1, 5, 1, 5},
        {2, -1, 1, 1, 1},
        {3, -1, 0, 0, 0},
        {2, 0, 2, -1, 0},  // on: the current delay is remembered
        {2, 2, 0, -1, 2},
    };
    for (const Case &c : cases) {
        const std::string name = "players " + std::to_string(c.players) + " delay " + std::to_string(c.delay) +
                                 " remembered " + std::to_string(c.remembered);
        vl.settings.players = c.players;
        vl.settings.delay = c.delay;
        vl.remembered_delay = c.remembered;
        toggle_auto_delay();
        EXPECT_EQ(vl.settings.delay, c.delay_after) << name;
        EXPECT_EQ(vl.remembered_delay, c.remembered_after) << name;
        EXPECT_EQ(from_file().delay, c.delay_after) << name;
    }

    // On at 0, then off again, comes back to 0.
    vl.settings.players = 2;
    vl.settings.delay = 0;
    toggle_auto_delay();
    toggle_auto_delay();
    EXPECT_EQ(vl.settings.delay, 0);
}

TEST_F(Lobby, PlayerCountHoldsAFixedDelayToTheNewLimit) {
    struct Case {
        int32_t delay, players, delay_after;
    } cases[] = {{2, 3, 1}, {2, 4, 1}, {-1, 4, -1}, {1, 3, 1}, {0, 4, 0}, {2, 2, 2}, {1, 2, 1}};
    for (const Case &c : cases) {
        vl.settings.players = 2;
        vl.settings.delay = c.delay;
        vl.remembered_delay = 7;
        set_players(c.players);
        const std::string name = "delay " + std::to_string(c.delay) + " players " + std::to_string(c.players);
        EXPECT_EQ(vl.settings.players, c.players) << name;
        EXPECT_EQ(vl.settings.delay, c.delay_after) << name;
        EXPECT_EQ(vl.remembered_delay, 7) << name;
        const vl_settings s = from_file();
        EXPECT_EQ(s.players, c.players) << name;
        EXPECT_EQ(s.delay, c.delay_after) << name;
    }
}

TEST_F(Lobby, RoleIsJoinOnlyForTheExactMode) {
    struct Case {
        const char *mode;
        int32_t role;
    } cases[] = {{"join", 1}, {"Join", 0}, {"host", 0}, {"off", 0}, {"joined", 0}, {"", 0}};
    for (const Case &c : cases) {
        vl.role = 7;
        std::snprintf(vl.settings.mode, sizeof vl.settings.mode, "%s", c.mode);
        reset_role_from_settings();
        EXPECT_EQ(vl.role, c.role) << "mode '" << c.mode << "'";
    }
    // A mode filling its whole array without a terminator is still read safely.
    std::memset(vl.settings.mode, 'j', sizeof vl.settings.mode);
    reset_role_from_settings();
    EXPECT_EQ(vl.role, 0);
}

} // namespace
