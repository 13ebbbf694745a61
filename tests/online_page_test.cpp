// The online page: state chip, captions, lobby rows, hint rules and wrapping, quality.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../ui/draw/palette.h"
#include "../ui/frame/frame.h"
#include "page_probe.h"

namespace {

constexpr int32_t kHintX = 537;
constexpr int32_t kHintY[] = {306, 324, 342, 360};

struct Lobby {
    int32_t state = 0;
    int32_t slots[4] = {0, 0, 0, 0};
    int32_t pings[4] = {-1, -1, -1, -1};
    int32_t local = -1;
    const char *message = "";
};

void fill(vl_online_status &o, const Lobby &l) {
    o.lobby_state = l.state;
    for (int v = 0; v < 4; ++v) {
        o.slot_state[v] = l.slots[v];
        o.slot_ping[v] = l.pings[v];
    }
    o.local_slot = l.local;
    std::snprintf(o.host_message, sizeof o.host_message, "%s", l.message);
}

probe::PageRun online_run(const Lobby &lobby) {
    probe::PageRun run;
    run.page = 3;
    run.online = [lobby](vl_online_status &o) { fill(o, lobby); };
    return run;
}

// Logged texts in the hint's column, top to bottom.
std::vector<probe::Logged> hint_lines(const std::vector<probe::Logged> &log) {
    std::vector<probe::Logged> out;
    for (const probe::Logged &t : log)
        if (t.x == kHintX && t.y >= kHintY[0] && t.y <= 380) out.push_back(t);
    return out;
}

TEST(OnlinePage, StateChipTextCountAndDot) {
    struct Case {
        Lobby lobby;
        const char *text;
        uint32_t dot;
    } cases[] = {
        {{3, {2, 3, 0, 0}}, "Connected (2 players)", col_good},
        {{3, {0, 0, 0, 0}}, "Connected (2 players)", col_good},  // nobody connected still reads 2
        {{3, {3, 0, 0, 0}}, "Connected (1 players)", col_good},
        {{3, {2, 3, 4, 3}}, "Connected (3 players)", col_good},
        {{0}, "Not connected", col_ink_soft},
        {{1}, "Waiting for players", col_good},
        {{2}, "Connecting...", col_good},
        {{4}, "In game", col_good},
        {{5}, "Desync detected", col_bad},
        {{6}, "Connection lost", col_bad},
        {{9}, "Not connected", col_good},
        {{-1}, "Not connected", col_good},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lobby.state << " " << c.text);
        probe::PageRun run = online_run(c.lobby);
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const int32_t w = text_width(2, c.text);
            const probe::Logged *t = probe::find_text(log, 2, c.text, 918 - w, 24);
            ASSERT_NE(t, nullptr);
            EXPECT_TRUE(probe::shows(frame, t, 2, c.text, col_ink));
            EXPECT_EQ(probe::count_colour(frame, 902 - w, 28, 8, 8, c.dot), 64);
            EXPECT_EQ(vt::pixel(frame, 890 - w, 30), vt::argb(col_panel_edge));  // chip outline
            EXPECT_EQ(vt::pixel(frame, 931, 30), vt::argb(col_panel_edge));
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, HintFollowsItsRules) {
    struct Case {
        Lobby lobby;
        const char *port;
        const char *host;
        int32_t role;
        std::vector<std::string> lines;  // empty: no hint
        uint32_t colour;
    } cases[] = {
        {{3, {2, 3, 0, 0}}, "7777", "", 0, {"The game starts when everybody is ready."}, col_ink_soft},
        {{3, {3, 3, 0, 0}}, "7777", "", 0, {}, 0},
        {{1, {2, 0, 0, 0}}, "7777", "", 0, {"Waiting for players. Everybody presses Ready."}, col_ink_soft},
        {{1, {2, 3, 0, 0}}, "7777", "", 0, {"The game starts when everybody is ready."}, col_ink_soft},
        {{1, {3, 3, 0, 0}}, "7777", "", 0, {}, 0},
        {{0}, "70000", "", 0, {"Port must be 1-65535"}, col_bad},
        {{0}, "0", "host", 0, {"Port must be 1-65535"}, col_bad},
        {{0}, "abc", "", 1, {"Port must be 1-65535"}, col_bad},
        {{0}, "", "", 0, {"Port must be 1-65535"}, col_bad},
        {{0}, "99999999999999999999", "", 0, {"Port must be 1-65535"}, col_bad},
        {{0}, "65535", "", 1, {"Type the host address to join."}, col_ink_soft},
        {{0}, "7777", "10.0.0.1", 1,
         {"Waiting for players. Share your address and port so others", "can join."}, col_ink_soft},
        {{0}, "1", "", 0, {"Waiting for players. Share your address and port so others", "can join."}, col_ink_soft},
        {{2, {2, 2, 0, 0}}, "7777", "", 0, {}, 0},
        {{4, {2, 2, 0, 0}}, "7777", "", 0, {}, 0},
        {{6}, "7777", "", 0, {}, 0},
        {{4, {2, 2, 0, 0}, {-1, -1, -1, -1}, -1, "Host paused the game"}, "7777", "", 0, {"Host paused the game"},
         col_accent},
        {{0, {}, {-1, -1, -1, -1}, -1, "Bad port? Never mind"}, "abc", "", 0, {"Bad port? Never mind"}, col_accent},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "lobby " << c.lobby.state << " port '" << c.port << "' role " << c.role);
        probe::PageRun run = online_run(c.lobby);
        run.prepare = [&] {
            std::snprintf(vl.fields[2], sizeof vl.fields[2], "%s", c.port);
            std::snprintf(vl.fields[1], sizeof vl.fields[1], "%s", c.host);
            vl.role = c.role;
        };
        run.check = [&] {
            const auto lines = hint_lines(probe::logged_texts());
            ASSERT_EQ(lines.size(), c.lines.size());
            const auto frame = vt::snapshot();
            for (size_t i = 0; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i].y, kHintY[i]);
                EXPECT_EQ(lines[i].w, text_width(2, c.lines[i].c_str())) << c.lines[i];
                EXPECT_TRUE(probe::shows(frame, &lines[i], 2, c.lines[i].c_str(), c.colour));
            }
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, HintWrapsIntoAtMostFourLines) {
    const std::string wide(18, 'W');  // two of these never share a line
    ASSERT_GT(2 * text_width(2, wide.c_str()) + text_width(2, " "), 377);
    struct Case {
        std::string message;
        std::vector<std::string> lines;
    } cases[] = {
        // A word that alone is too wide breaks inside the word.
        {std::string(40, 'W'), {std::string(34, 'W'), std::string(6, 'W')}},
        // Five words in the record's 95 bytes: four lines, the fifth word is not shown.
        {wide + " " + wide + " " + wide + " " + wide + " " + wide, {wide, wide, wide, wide}},
        // Only the space at the break is dropped from the line; the rest starts after
        // every space.
        {wide + "   " + wide, {wide + "  ", wide}},
        // A long text cut by the record still wraps at spaces within four lines.
        {std::string(400, 'a'), {}},
    };
    ASSERT_LT(text_width(2, std::string(34, 'W').c_str()), 378);
    ASSERT_GE(text_width(2, std::string(35, 'W').c_str()), 378);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.substr(0, 40));
        probe::PageRun run = online_run(Lobby{1, {}, {-1, -1, -1, -1}, -1, ""});
        run.online = [&](vl_online_status &o) {
            o.lobby_state = 1;
            std::snprintf(o.host_message, sizeof o.host_message, "%s", c.message.c_str());
        };
        run.check = [&] {
            const auto lines = hint_lines(probe::logged_texts());
            ASSERT_LE(lines.size(), 4u);
            for (size_t i = 0; i < lines.size(); ++i) {
                EXPECT_EQ(lines[i].y, kHintY[i]);
                EXPECT_LT(lines[i].w, 378);
            }
            if (c.lines.empty()) {
                // 95 bytes of 'a' without spaces: full lines then the rest, nothing lost.
                const int32_t total = text_width(2, std::string(95, 'a').c_str());
                int32_t sum = 0;
                for (const auto &l : lines) sum += l.w;
                EXPECT_EQ(sum, total);
                EXPECT_GE(lines.size(), 2u);
                return;
            }
            ASSERT_EQ(lines.size(), c.lines.size());
            for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].w, text_width(2, c.lines[i].c_str()));
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, PingTextsAndColours) {
    struct Case {
        Lobby lobby;
        const char *texts[4];
        uint32_t colours[4];
    } cases[] = {
        {{3, {2, 2, 3, 2}, {45, 60, 120, 5000}},
         {"45 ms", "60 ms", "120 ms", "999 ms"},
         {col_good, col_caution, col_bad, col_bad}},
        {{3, {2, 1, 3, 4}, {-1, 30, 0, 30}}, {"-", "-", "0 ms", "-"}, {col_ink_dim, col_ink_dim, col_good, col_ink_dim}},
        {{3, {3, 3, 0, 0}, {59, 119, 20, 20}}, {"59 ms", "119 ms", "-", "-"},
         {col_good, col_caution, col_ink_dim, col_ink_dim}},
    };
    for (const Case &c : cases) {
        probe::PageRun run = online_run(c.lobby);
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            for (int v = 0; v < 4; ++v) {
                SCOPED_TRACE(c.texts[v]);
                const probe::Logged *t = probe::find_right(log, 2, c.texts[v], 914, 152 + 34 * v);
                ASSERT_NE(t, nullptr);
                EXPECT_TRUE(probe::shows(frame, t, 2, c.texts[v], c.colours[v]));
            }
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, RowColoursNamesAndStates) {
    struct Case {
        Lobby lobby;
        int32_t players;
        uint32_t rows[4];
        const char *states[4];
    } cases[] = {
        {{3, {2, 3, 2, 4}, {10, 10, 10, 10}, 2}, 4, {col_ink, col_ink, col_accent, col_bad},
         {"Connected", "Ready", "Connected", "Lost"}},
        {{3, {2, 2, 4, 0}, {10, 10, 10, 10}, 2}, 4, {col_ink, col_ink, col_bad, col_ink_soft},
         {"Connected", "Connected", "Lost", "Empty"}},
        {{0}, 2, {col_ink_soft, col_ink_soft, col_ink_dim, col_ink_dim}, {"Empty", "Empty", "Empty", "Empty"}},
        {{1, {1, 0, 0, 7}}, 2, {col_ink, col_ink_soft, col_ink_soft, col_ink}, {"Joining", "Empty", "Empty", "Empty"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "lobby " << c.lobby.state << " players " << c.players);
        probe::PageRun run = online_run(c.lobby);
        run.online = [&](vl_online_status &o) {
            fill(o, c.lobby);
            std::snprintf(o.slot_name[0], sizeof o.slot_name[0], "%s", "Ann");
            std::snprintf(o.slot_name[1], sizeof o.slot_name[1], "%s", "WWWWWWWWWWWWWWW");  // wider than 130
        };
        run.prepare = [&] { vl.settings.players = c.players; };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const char *labels[] = {"P1", "P2", "P3", "P4"};
            for (int v = 0; v < 4; ++v) {
                SCOPED_TRACE(labels[v]);
                const int32_t y = 152 + 34 * v;
                const probe::Logged *label = probe::find_text(log, 2, labels[v], 537, y);
                ASSERT_NE(label, nullptr);
                EXPECT_TRUE(probe::shows(frame, label, 2, labels[v], c.rows[v]));
                const probe::Logged *state = probe::find_text(log, 2, c.states[v], 745, y);
                ASSERT_NE(state, nullptr);
                EXPECT_TRUE(probe::shows(frame, state, 2, c.states[v], std::strcmp(c.states[v], "Ready") ? c.rows[v] : col_good));
                EXPECT_EQ(vt::pixel(frame, 700, 144 + 34 * v), vt::argb(col_rule));
            }
            EXPECT_NE(probe::find_text(log, 2, "Ann", 603, 152), nullptr);
            EXPECT_NE(probe::find_text(log, 2, "-", 603, 220), nullptr);
            // The long name is cut to whole characters within 130 pixels.
            const int32_t w = text_width(2, "W");
            EXPECT_NE(probe::find_text(log, 2, std::string(130 / w, 'W').c_str(), 603, 186), nullptr);
            EXPECT_EQ(vt::pixel(frame, 700, 280), vt::argb(col_rule));
            // HOST tag beside P1.
            const int32_t tag_x = 543 + text_width(2, "P1");
            EXPECT_EQ(vt::pixel(frame, tag_x + 1, 152), vt::argb(col_panel_edge));
            EXPECT_NE(probe::find_text(log, 0, "HOST", tag_x + (text_width(0, "HOST") + 10 - text_width(0, "HOST")) / 2,
                                       151 + (18 + h_height(0)) / 2 - font_table[0].ascent),
                      nullptr);
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, ConnectionCaptionsFollowLobbyStateRoleAndDelay) {
    struct Case {
        int32_t lobby, role, delay;
        const char *address_caption;
        const char *delay_caption;
        uint32_t colour;
    } cases[] = {
        {0, 1, 3, "HOST ADDRESS", "DELAY . 3 FR", col_ink_soft},
        {0, 0, -1, "YOUR ADDRESS", "DELAY . AUTO", col_ink_soft},
        {1, 0, 0, "YOUR ADDRESS", "DELAY . 0 FR", col_ink_dim},
        {4, 1, 2, "HOST ADDRESS", "DELAY . 2 FR", col_ink_dim},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.address_caption);
        probe::PageRun run = online_run(Lobby{c.lobby});
        run.prepare = [&] {
            vl.role = c.role;
            vl.settings.delay = c.delay;
        };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const probe::Logged *texts[] = {
                probe::find_text(log, 0, "NAME", 46, 134),
                probe::find_text(log, 0, c.address_caption, 46, 198),
                probe::find_text(log, 0, "PORT", 393, 198),
                probe::find_text(log, 0, "PLAYERS", 46, 264),
                probe::find_text(log, 0, c.delay_caption, 290, 264),
                probe::find_right(log, 0, "AUTO", 437, 264),
                probe::find_text(log, 0, "TRANSPORT", 46, 324),
            };
            EXPECT_TRUE(probe::shows(frame, texts[4], 0, c.delay_caption, c.colour));
            for (const probe::Logged *t : texts) {
                ASSERT_NE(t, nullptr);
                EXPECT_GT(probe::ink_of(frame, t, c.colour), 0);
            }
            EXPECT_NE(probe::find_text(log, 4, "Connection", 46, 100), nullptr);
            EXPECT_NE(probe::find_text(log, 0, "CABLE LINK", text_width(6, "Online") + 154, 25), nullptr);
            EXPECT_EQ(vt::pixel(frame, 200, 393), vt::argb(col_rule));
        };
        probe::run_page(run);
    }
}

// delay=6 is a valid file value, but 2 players allow at most 2 frames: the slider shows
// its maximum and nothing beyond its track, while the caption and the file keep 6.
TEST(OnlinePage, DelaySliderAboveItsMaximumPaintsAsAtTheMaximum) {
    struct Shot {
        std::vector<uint32_t> frame;
        int32_t x = 0, y = 0, w = 0, h = 0;
        bool caption = false;
    };
    auto shoot = [](int32_t delay, Shot &shot, std::string &file_after) {
        vt::TempDir dir;
        const std::string ini = dir.file("vorla.ini");
        vt::write_file(ini, "[link]\r\nplayers=2\r\ndelay=" + std::to_string(delay) + "\r\n");
        vl_set_start_page(kPageOnline);
        vt::Host host;
        host.max_calls = 50;
        host.status = [&](vl_status &, int call) {
            if (call != 5) return;  // frames of the first records painted
            shot.frame = vt::snapshot();
            ASSERT_EQ(vl_test_widget("online_delay", &shot.x, &shot.y, &shot.w, &shot.h), 1);
            const std::string caption = "DELAY . " + std::to_string(delay) + " FR";
            shot.caption = probe::shows(shot.frame, probe::find_text(probe::logged_texts(), 0, caption.c_str(), 290, 264),
                                        0, caption.c_str(), col_ink_soft);
            vt::push_quit();
        };
        vt::run_host(ini, host);
        vl_set_start_page(kPageMain);
        file_after = vt::read_file(ini);
    };
    Shot at_limit, above;
    std::string file_at_limit, file_above;
    shoot(2, at_limit, file_at_limit);
    shoot(6, above, file_above);
    ASSERT_EQ(at_limit.frame.size(), 960u * 600u);
    ASSERT_EQ(above.frame.size(), 960u * 600u);
    EXPECT_TRUE(at_limit.caption);
    EXPECT_TRUE(above.caption) << "the caption shows the stored 6";
    EXPECT_NE(file_above.find("delay=6\r\n"), std::string::npos) << file_above;

    // The slider's rows, from its left end to the frame's right edge: the track and the
    // Lobby panel beside it.
    int32_t differing = 0;
    for (int32_t y = above.y; y < above.y + above.h; ++y)
        for (int32_t x = above.x; x < 960; ++x)
            if (vt::pixel(at_limit.frame, x, y) != vt::pixel(above.frame, x, y)) ++differing;
    EXPECT_EQ(differing, 0) << "pixels of the slider band that differ between delay 2 and delay 6";
}

TEST(OnlinePage, QualityLinesInGame) {
    struct Case {
        int32_t quality, p95, pauses;
        const char *line;
        uint32_t colour;
        const char *pause_line;
        uint32_t pause_colour;
    } cases[] = {
        {2, -1, 0, "Connection: Fair", col_caution, "Pauses over 100 ms: 0", col_ink_soft},
        {0, 80, 3, "Connection: Measuring...", col_ink_soft, "Pauses over 100 ms: 3", col_caution},
        {1, 42, 0, "Connection: Good (p95 42 ms)", col_good, "Pauses over 100 ms: 0", col_ink_soft},
        {3, 4000, 123456, "Connection: Poor (p95 999 ms)", col_bad, "Pauses over 100 ms: 9999", col_caution},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        probe::PageRun run = online_run(Lobby{4, {3, 3, 0, 0}});
        run.online = [&](vl_online_status &o) {
            fill(o, Lobby{4, {3, 3, 0, 0}});
            o.quality = c.quality;
            o.p95_ms = c.p95;
            o.pauses = c.pauses;
            std::snprintf(o.address, sizeof o.address, "%s", "10.0.0.2");
        };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const probe::Logged *line = probe::find_text(log, 3, c.line, 537, 384);
            const probe::Logged *pauses = probe::find_text(log, 2, c.pause_line, 537, 406);
            ASSERT_NE(line, nullptr);
            ASSERT_NE(pauses, nullptr);
            EXPECT_TRUE(probe::shows(frame, line, 3, c.line, c.colour));
            EXPECT_TRUE(probe::shows(frame, pauses, 2, c.pause_line, c.pause_colour));
            EXPECT_EQ(probe::find_text(log, 0, "YOUR ADDRESS", 537, 416), nullptr);  // not in game
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, OutOfRangeQualityReachingThePainterReadsMeasuring) {
    // Without an online callback the record is whatever the library holds; write it
    // directly so a value the poll would have corrected reaches the painter.
    probe::PageRun run;
    run.page = 3;
    run.prepare = [] {
        vl.online.lobby_state = 4;
        vl.online.quality = 7;
        vl.online.p95_ms = 50;
    };
    run.check = [] {
        const auto log = probe::logged_texts();
        const probe::Logged *line = probe::find_text(log, 3, "Connection: Measuring...", 537, 384);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(probe::shows(vt::snapshot(), line, 3, "Connection: Measuring...", col_ink_soft));
    };
    probe::run_page(run);
}

TEST(OnlinePage, AddressCaptionOutsideTheGame) {
    struct Case {
        const char *address, *first, *second;
        const char *caption;  // null: none
    } cases[] = {
        {"10.0.0.2", "", "", "YOUR ADDRESS"},
        {"", "10.0.0.2", "", "YOUR ADDRESS"},
        {"", "10.0.0.2", "192.168.1.4", "YOUR ADDRESSES  (UP/DOWN PICKS ONE)"},
        {"", "", "", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.caption ? c.caption : "none");
        probe::PageRun run = online_run(Lobby{1});
        run.online = [&](vl_online_status &o) {
            o.lobby_state = 1;
            std::snprintf(o.address, sizeof o.address, "%s", c.address);
            std::snprintf(o.addresses[0], sizeof o.addresses[0], "%s", c.first);
            std::snprintf(o.addresses[1], sizeof o.addresses[1], "%s", c.second);
        };
        run.check = [&] {
            const auto log = probe::logged_texts();
            bool any = false;
            for (const probe::Logged &t : log) any = any || (t.x == 537 && t.y == 416);
            EXPECT_EQ(any, c.caption != nullptr);
            if (c.caption) {
                EXPECT_NE(probe::find_text(log, 0, c.caption, 537, 416), nullptr);
            }
            EXPECT_EQ(probe::find_text(log, 3, "Connection: Measuring...", 537, 384), nullptr);
        };
        probe::run_page(run);
    }
}

TEST(OnlinePage, NoFooterAndNoNote) {
    probe::PageRun run;
    run.page = 3;
    run.prepare = [] { set_note("Something happened", 1); };
    run.check = [] {
        const auto log = probe::logged_texts();
        for (const probe::Logged &t : log) EXPECT_FALSE(t.x == 28 && t.y == 570);
        EXPECT_NE(vt::pixel(vt::snapshot(), 5, 552), vt::argb(col_rule));
        EXPECT_STRNE(vl_test_note(), "");  // the note is active, only not shown here
    };
    probe::run_page(run);
}

} // namespace
