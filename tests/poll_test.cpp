// Host polling as a host sees it: the records handed to the callbacks, the sanitising
// of what comes back, the schedule, and the rebuild after every poll.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "frame/state.h"
#include "test_support.h"

namespace {

bool all_zero(const void *p, size_t n) {
    const unsigned char *b = static_cast<const unsigned char *>(p);
    return std::all_of(b, b + n, [](unsigned char c) { return c == 0; });
}

const vl_widget *widget(const char *id) {
    const int32_t i = find_widget(id);
    return i >= 0 ? &vl.widgets[i] : nullptr;
}

TEST(Poll, EveryStatusCallStartsFromAZeroedRecord) {
    vt::TempDir dir;
    vt::Host host;
    std::vector<int> dirty_calls;
    bool startup_on_live_record = false;
    host.status = [&](vl_status &s, int call) {
        if (!all_zero(&s, sizeof s)) dirty_calls.push_back(call);
        if (call == 0) startup_on_live_record = &s == &vl.status;
        std::memset(&s, 0x5A, sizeof s);  // leave garbage behind
        if (call == 4) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    EXPECT_EQ(host.status_calls, 5);
    EXPECT_TRUE(dirty_calls.empty()) << "first dirty call " << dirty_calls.front();
    EXPECT_TRUE(startup_on_live_record);
}

TEST(Poll, UnterminatedStatusTextsAreCutInsideTheirFields) {
    vt::TempDir dir;
    vt::Host host;
    std::vector<std::string> seen;
    host.status = [&](vl_status &s, int call) {
        if (call >= 1) {
            // vl.status still holds the previous, sanitised record during this call.
            seen.push_back(std::to_string(strnlen(vl.status.message, sizeof vl.status.message)) + " " +
                           std::to_string(strnlen(vl.status.rom_path, sizeof vl.status.rom_path)) + " " +
                           std::to_string(vl.status.rom_ok) + " " + std::to_string(vl.status.percent));
        }
        s.state = 2;
        s.percent = 40 + call;
        std::memset(s.message, 'M', sizeof s.message);
        std::memset(s.rom_path, 'R', sizeof s.rom_path);
        s.rom_ok = 1;
        if (call == 2) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    // The start-up call is sanitised like every poll.
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "95 259 1 40");
    EXPECT_EQ(seen[1], "95 259 1 41");
    EXPECT_EQ(vl.status.message[94], 'M');
    EXPECT_EQ(vl.status.rom_path[258], 'R');
}

TEST(Poll, OnlineRecordIsPresetAndSanitised) {
    vt::TempDir dir;
    vt::Host host;
    const int32_t qualities[] = {7, -1, 0, 1, 2, 3, 4, INT_MIN, INT_MAX};
    const int32_t shown[] = {0, 0, 0, 1, 2, 3, 0, 0, 0};
    const int n = static_cast<int>(sizeof qualities / sizeof qualities[0]);
    std::vector<std::string> problems;
    host.status = [](vl_status &, int) {};
    host.online = [&](vl_online_status &o, int call) {
        // Fresh preset each time: pings and local slot -1, everything else zero.
        vl_online_status expected;
        std::memset(&expected, 0, sizeof expected);
        for (int32_t &p : expected.slot_ping) p = -1;
        expected.local_slot = -1;
        if (std::memcmp(&o, &expected, sizeof o) != 0) problems.push_back("preset of call " + std::to_string(call));
        if (call >= 1) {
            const vl_online_status &prev = vl.online;  // the previous call's record, sanitised
            for (int k = 0; k < 4; ++k) {
                if (strnlen(prev.slot_name[k], 16) != 15) problems.push_back("slot_name " + std::to_string(k));
                if (strnlen(prev.addresses[k], 48) != 47) problems.push_back("addresses " + std::to_string(k));
            }
            if (strnlen(prev.address, 48) != 47) problems.push_back("address");
            if (strnlen(prev.host_message, 96) != 95) problems.push_back("host_message");
            if (prev.quality != shown[call - 1])
                problems.push_back("quality " + std::to_string(qualities[call - 1]) + " shown as " +
                                   std::to_string(prev.quality));
            if (prev.pauses != 9 || prev.p95_ms != -3 || prev.slot_ping[2] != 77)
                problems.push_back("numbers of call " + std::to_string(call - 1));
        }
        std::memset(&o, 'x', sizeof o);
        o.quality = qualities[call % n];
        o.pauses = 9;
        o.p95_ms = -3;
        o.slot_ping[2] = 77;
        if (call == n) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    EXPECT_EQ(host.online_calls, n + 1);
    for (const std::string &p : problems) ADD_FAILURE() << p;
}

TEST(Poll, UntouchedLocalSlotHighlightsNothingAndReadsReady) {
    vt::TempDir dir;
    vl_set_start_page(kPageOnline);
    vt::Host host;
    int32_t local_slot = 0;
    std::string ready_label;
    host.status = [&](vl_status &, int call) {
        if (call == 3) {
            local_slot = vl.online.local_slot;
            const vl_widget *w = widget("online_ready");
            ready_label = w ? w->label : "<absent>";
            vt::push_quit();
        }
    };
    host.online = [](vl_online_status &o, int) {
        o.lobby_state = 3;
        for (int32_t &s : o.slot_state) s = 3;  // everyone ready, local_slot left alone
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    vl_set_start_page(0);
    EXPECT_EQ(local_slot, -1);
    EXPECT_EQ(ready_label, "Ready");
}

Uint32 push_quit_later(Uint32, void *) {
    vt::push_quit();
    return 0;
}

int online_calls_without_status = 0;
void count_online(vl_online_status *) { ++online_calls_without_status; }

TEST(Poll, NoOnlinePollWithoutAStatusCallback) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_TIMER), 0) << SDL_GetError();
    online_calls_without_status = 0;
    vl_set_poll_interval(1);
    vl_set_online_poll(count_online);
    const SDL_TimerID timer = SDL_AddTimer(250, push_quit_later, nullptr);
    const uint32_t start = SDL_GetTicks();
    const int32_t code = vl_run(ini.c_str(), nullptr);
    const uint32_t took = SDL_GetTicks() - start;
    SDL_RemoveTimer(timer);
    vl_set_online_poll(nullptr);
    SDL_QuitSubSystem(SDL_INIT_TIMER);
    EXPECT_EQ(code, 0);
    EXPECT_GE(took, 200u) << "the run must last long enough for polls to have been due";
    EXPECT_EQ(online_calls_without_status, 0);
}

TEST(Poll, IntervalSetsTheSpacingOfPolls) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    // The library never polls before the interval has passed since the last poll; how
    // soon after it does is a matter of the machine, measured by BM_PollSpacing.
    struct Case {
        int32_t interval;
        uint32_t min_gap;
    } cases[] = {{25, 25}, {60, 60}};
    for (const Case &c : cases) {
        vt::Host host;
        host.poll_interval_ms = c.interval;
        std::vector<uint32_t> ticks;
        host.status = [&](vl_status &, int call) {
            if (call >= 1) ticks.push_back(SDL_GetTicks());
            if (call == 12) vt::push_quit();
        };
        EXPECT_EQ(vt::run_host(ini, host), 0);
        ASSERT_EQ(ticks.size(), 12u);
        std::vector<uint32_t> gaps;
        for (size_t i = 1; i < ticks.size(); ++i) gaps.push_back(ticks[i] - ticks[i - 1]);
        std::sort(gaps.begin(), gaps.end());
        EXPECT_GE(gaps.front(), c.min_gap) << "interval " << c.interval;
    }
}

TEST(Poll, EveryPollRebuildsThePage) {
    vt::TempDir dir;
    vl_set_start_page(kPageOnline);
    vt::Host host;
    std::vector<std::string> seen;
    host.status = [&](vl_status &s, int call) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "copy %d leave %d rows %d", vl_test_enabled("online_copy"),
                      vl_test_enabled("online_leave"), vl_test_widget("online_ip1", nullptr, nullptr, nullptr, nullptr));
        seen.push_back(buf);
        (void)s;
        if (call == 3) vt::push_quit();
    };
    host.online = [&](vl_online_status &o, int call) {
        if (call >= 1) {
            o.lobby_state = 1;
            std::strcpy(o.addresses[0], "192.168.1.20");
            std::strcpy(o.addresses[1], "fd00::20");
        }
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    vl_set_start_page(0);
    // Status call k sees the page built after online call k - 2.
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0], "copy 0 leave 0 rows 0");
    EXPECT_EQ(seen[1], "copy 0 leave 0 rows 0");
    EXPECT_EQ(seen[2], "copy 0 leave 0 rows 0");
    EXPECT_EQ(seen[3], "copy 1 leave 1 rows 1");
}

TEST(Poll, StartUpRecordIsBuiltBeforeTheFirstPoll) {
    vt::TempDir dir;
    vt::Host host;
    int32_t play_enabled = -1;
    std::string play_label;
    host.status = [&](vl_status &s, int call) {
        if (call == 0) {
            s.state = 1;
            std::strcpy(s.rom_path, "/roms/g.gba");
            s.rom_ok = 1;
        }
        if (call == 1) {
            play_enabled = vl_test_enabled("play");
            const vl_widget *w = widget("play");
            play_label = w ? w->label : "<absent>";
            vt::push_quit();
        }
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    EXPECT_EQ(play_enabled, 0);
    EXPECT_EQ(play_label, "PLAY");
}

} // namespace
