// The frame order, the chrome and the main page, painted on a bench renderer and through
// a real run; checked by pixels and by the page's text log.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../ui/draw/painters.h"
#include "frame/frame.h"
#include "paint_bench.h"

namespace {

using bench::at;
using bench::count;
using bench::span;

uint32_t A(uint32_t packed) { return vt::argb(packed); }

struct Entry {
    int32_t x, y, w, h;
    bool operator==(const Entry &o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

std::ostream &operator<<(std::ostream &out, const Entry &e) {
    return out << "(" << e.x << ", " << e.y << ", " << e.w << " x " << e.h << ")";
}

std::vector<Entry> text_log() {
    std::vector<Entry> out;
    for (int32_t i = 0; i < vl_test_text_count(); ++i) {
        Entry e{};
        vl_test_text(i, &e.x, &e.y, &e.w, &e.h);
        out.push_back(e);
    }
    return out;
}

int32_t line(int32_t font) { return font_table[font].ascent + font_table[font].descent; }

Entry text_at(int32_t font, const char *text, int32_t x, int32_t y) { return {x, y, text_width(font, text), line(font)}; }
Entry text_right(int32_t font, const char *text, int32_t right, int32_t y) {
    return text_at(font, text, right - text_width(font, text), y);
}
Entry text_centred_on_page(int32_t font, const char *text, int32_t y) {
    return text_at(font, text, (960 - text_width(font, text)) / 2, y);
}
// Where draw_text_centred puts a text in a rectangle.
Entry text_in(int32_t font, const char *text, int32_t x, int32_t y, int32_t w, int32_t h) {
    return text_at(font, text, x + (w - text_width(font, text)) / 2,
                   y + (h + h_height(font)) / 2 - font_table[font].ascent);
}

constexpr const char *kMainHint = "TAB / ARROWS MOVE  .  ENTER SELECT  .  ESC QUIT";
constexpr const char *kSubtitle = "Vorla & The Glassmaze  -  GBA recompilation";

class FramePainter : public bench::PaintBench {
protected:
    void SetUp() override {
        PaintBench::SetUp();
        vl.status = vl_status{};
    }
    static void set_status(int32_t state, int32_t percent, const char *message = "", const char *rom = nullptr) {
        vl.status.state = state;
        vl.status.percent = percent;
        std::snprintf(vl.status.message, sizeof vl.status.message, "%s", message);
        std::snprintf(vl.status.rom_path, sizeof vl.status.rom_path, "%s", rom ? rom : "");
        vl.status.rom_ok = rom ? 1 : 0;
    }
};

// ---- main page -------------------------------------------------------------------------

struct BadgeCase {
    int32_t state;
    const char *badge;
    uint32_t outer, inner, ink;
    const char *line;
};

constexpr uint32_t kQuietInner = rgb(36, 37, 74);
constexpr uint32_t kGoodOuter = rgb(42, 106, 85);
constexpr uint32_t kGoodInner = rgb(23, 58, 52);
// clang-format off
constexpr BadgeCase kBadges[] = {
    {0,  "No ROM",           col_well_edge, kQuietInner,      col_ink_soft, "Waiting for a ROM"},
    {1,  "Preparing",        col_well_edge, kQuietInner,      col_ink_soft, "Preparing the fast mode..."},
    {2,  "You can play now", kGoodOuter,    kGoodInner,       col_good,     "Building compiled version..."},
    {3,  "Ready to play",    kGoodOuter,    kGoodInner,       col_good,     "Compiled version ready"},
    {4,  "Error",            col_bad,       rgb(70, 30, 40),  col_bad,      "Error"},
    {5,  "Error",            kGoodOuter,    kGoodInner,       col_good,     "Error"},
    {-1, "Error",            kGoodOuter,    kGoodInner,       col_good,     "Error"},  // huge when unsigned
};
// clang-format on

TEST_F(FramePainter, BadgePerBuildState) {
    for (const BadgeCase &c : kBadges) {
        SCOPED_TRACE(c.state);
        set_status(c.state, 50);
        paint_frame();
        const auto f = frame();
        const int32_t w = text_width(2, c.badge);
        const int32_t left = 704 - w;
        EXPECT_EQ(at(f, left, 256), A(c.outer));
        EXPECT_EQ(at(f, left + 1, 256), A(c.outer));
        EXPECT_EQ(at(f, left + 2, 256), A(c.inner));
        EXPECT_EQ(at(f, 721, 256), A(c.inner));
        EXPECT_EQ(at(f, 722, 256), A(c.outer));
        EXPECT_EQ(at(f, 723, 256), A(c.outer));
        EXPECT_EQ(at(f, 724, 256), A(col_panel));
        EXPECT_EQ(at(f, 710, 245), A(c.outer));
        EXPECT_EQ(at(f, 710, 266), A(c.outer));
        EXPECT_EQ(at(f, 710, 244), A(col_panel));
        EXPECT_GT(count(f, left, 245, w + 20, 22, c.ink), 5);

        // The badge text, centred in the outer box, and the default status line.
        const auto log = text_log();
        const Entry badge = text_in(2, c.badge, left, 245, w + 20, 22);
        const Entry status = text_at(3, c.line, 236, 280);
        EXPECT_NE(std::find(log.begin(), log.end(), badge), log.end()) << badge;
        ASSERT_NE(std::find(log.begin(), log.end(), status), log.end()) << status;
        EXPECT_GT(count(f, status.x, status.y, status.w, status.h, c.state == 4 ? col_bad : col_ink), 5);
    }
}

TEST_F(FramePainter, StatusLineComesFromTheMessageExceptWithoutRom) {
    const std::string long_message(90, 'M');
    struct Case {
        int32_t state;
        const char *message;
        const char *shown;
    } cases[] = {
        {0, "A message while there is no ROM", "Waiting for a ROM"},
        {2, "Linking 3 of 7", "Linking 3 of 7"},
        {2, "", "Building compiled version..."},
        {4, "Disk full", "Disk full"},
        {9, "Odd state", "Odd state"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        set_status(c.state, 0, c.message);
        paint_frame();
        const auto log = text_log();
        const Entry want = text_at(3, c.shown, 236, 280);
        EXPECT_NE(std::find(log.begin(), log.end(), want), log.end()) << want;
    }
    // A long message is cut to 340 pixels.
    set_status(2, 0, long_message.c_str());
    paint_frame();
    bool found = false;
    for (const Entry &e : text_log())
        if (e.x == 236 && e.y == 280) {
            found = true;
            EXPECT_LE(e.w, 340);
            EXPECT_GT(e.w, 340 - text_width(3, "M"));
        }
    EXPECT_TRUE(found);
}

TEST_F(FramePainter, PercentageAndProgressFill) {
    struct Case {
        int32_t state, progress;
        const char *percent;  // null: not shown
        int32_t fill;         // -1: no bar at all
    } cases[] = {
        {1, -5, "0%", 0},      {1, 0, "0%", 0},          {1, 1, "1%", 4},     {1, 50, "50%", 241},
        {2, 100, "100%", 482}, {2, 250, "100%", 482},    {2, -2147483647 - 1, "0%", 0},
        {3, 12, "100%", -1},   {3, -5, "100%", -1},      {0, 50, nullptr, -1}, {4, 50, nullptr, -1},
        {6, 50, nullptr, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " progress " << c.progress);
        set_status(c.state, c.progress);
        paint_frame();
        const auto f = frame();
        const auto log = text_log();
        bool right_aligned = false;
        for (const Entry &e : log) right_aligned |= e.y == 280 && e.x + e.w == 724;
        if (c.percent) {
            const Entry want = text_right(3, c.percent, 724, 280);
            EXPECT_NE(std::find(log.begin(), log.end(), want), log.end()) << want;
            EXPECT_GT(count(f, want.x, want.y, want.w, want.h, col_accent), 3);
        } else {
            EXPECT_FALSE(right_aligned);
        }
        const bool bar = c.fill >= 0;
        EXPECT_EQ(vl.bar_shown, bar);
        EXPECT_EQ(at(f, 236, 308), bar ? A(col_well_edge) : A(col_panel));
        EXPECT_EQ(at(f, 723, 317), bar ? A(col_well_edge) : A(col_panel));
        const auto fill = span(f, 312, col_accent);
        if (c.fill > 0) {
            EXPECT_EQ(fill, std::make_pair(239, 239 + c.fill));
            EXPECT_EQ(count(f, 239, 311, c.fill, 4, col_accent), 4 * c.fill);
            EXPECT_EQ(count(f, 239, 310, 482, 1, col_accent), 0);
            EXPECT_EQ(count(f, 239, 315, 482, 1, col_accent), 0);
        } else {
            EXPECT_EQ(fill.first, -1);
        }
        if (bar) {
            EXPECT_EQ(at(f, 500, 312), c.fill >= 262 ? A(col_accent) : A(col_well));
        }
    }
}

TEST_F(FramePainter, RomChipFromTheBaseNameEndsAt932) {
    const std::string long_name = "/roms/" + std::string(80, 'x') + ".gba";
    struct Case {
        const char *path;
        const char *chip;  // null: cut, checked by width
    } cases[] = {
        {"C:\\roms\\game.gba", "game.gba  -  OK"},
        {"/home/me/roms/game.gba", "game.gba  -  OK"},
        {"C:/mixed\\sep/last.gba", "last.gba  -  OK"},
        {"plain.gba", "plain.gba  -  OK"},
        {"C:\\roms\\", "  -  OK"},
        {long_name.c_str(), nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        set_status(3, 100, "", c.path);
        paint_frame();
        const auto f = frame();
        const auto log = text_log();
        int32_t w = 0;
        if (c.chip) {
            w = text_width(2, c.chip);
            const Entry want = text_at(2, c.chip, 918 - w, 21);
            EXPECT_NE(std::find(log.begin(), log.end(), want), log.end()) << want;
        } else {
            // Cut to 200 pixels before "  -  OK" is added.
            const int32_t tail = text_width(2, "  -  OK");
            for (const Entry &e : log)
                if (e.y == 21 && e.x + e.w == 918) w = e.w;
            EXPECT_LE(w, 200 + tail);
            EXPECT_GT(w, 200 + tail - text_width(2, "x"));
        }
        EXPECT_EQ(at(f, 931, 29), A(col_panel_edge));
        EXPECT_EQ(at(f, 932, 29), A(col_backdrop));
        EXPECT_EQ(at(f, 890 - w, 29), A(col_panel_edge));
        EXPECT_EQ(at(f, 889 - w, 29), A(col_backdrop));
        EXPECT_EQ(at(f, 900, 16), A(col_panel_edge));
        EXPECT_EQ(at(f, 900, 41), A(col_panel_edge));
        EXPECT_EQ(count(f, 902 - w, 25, 8, 8, col_good), 64);  // status dot
        EXPECT_EQ(at(f, 901 - w, 29), A(col_panel));
        EXPECT_EQ(at(f, 910 - w, 29), A(col_panel));
    }
}

TEST_F(FramePainter, RomChipNeedsABuildStateAndTheRomFlag) {
    struct Case {
        int32_t state, rom_ok;
        bool chip;
    } cases[] = {{0, 1, false}, {2, 0, false}, {2, 1, true}, {7, 1, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " rom_ok " << c.rom_ok);
        set_status(c.state, 10, "", "game.gba");
        vl.status.rom_ok = c.rom_ok;
        paint_frame();
        EXPECT_EQ(at(frame(), 931, 29), c.chip ? A(col_panel_edge) : A(col_backdrop));
    }
}

TEST_F(FramePainter, MainPageLogsItsTextsInPaintOrderAndNoWidgetText) {
    // Widgets with labels are on the list; none of their texts may be logged.
    vl_widget &b = add(kButton, 350, 358, 260, 46, "Play");
    b.style = kHero;
    add(kCard, 220, 432, 166, 62, "Settings|Video, audio, saves");

    const int32_t badge2 = text_width(2, "You can play now");
    struct Case {
        const char *name;
        int32_t state;
        const char *rom;
        std::vector<Entry> expected;
    } cases[] = {
        {"no ROM", 0, nullptr,
         {text_at(0, "RECOMP LAUNCHER", 48, 25), text_centred_on_page(7, "VORLA RECOMP", 100),
          text_centred_on_page(3, kSubtitle, 192), text_at(0, "BUILD STATUS", 236, 250),
          text_in(2, "No ROM", 704 - text_width(2, "No ROM"), 245, text_width(2, "No ROM") + 20, 22),
          text_at(3, "Waiting for a ROM", 236, 280), text_at(0, kMainHint, 28, 570)}},
        {"building with a ROM", 2, "C:\\roms\\game.gba",
         {text_at(0, "RECOMP LAUNCHER", 48, 25),
          text_at(2, "game.gba  -  OK", 918 - text_width(2, "game.gba  -  OK"), 21),
          text_centred_on_page(7, "VORLA RECOMP", 100), text_centred_on_page(3, kSubtitle, 192),
          text_at(0, "BUILD STATUS", 236, 250), text_in(2, "You can play now", 704 - badge2, 245, badge2 + 20, 22),
          text_at(3, "Building compiled version...", 236, 280), text_right(3, "42%", 724, 280),
          text_at(0, kMainHint, 28, 570)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        set_status(c.state, 42, "", c.rom);
        paint_frame();
        EXPECT_EQ(text_log(), c.expected);
        EXPECT_FALSE(vl.text_log_on);
    }
}

TEST_F(FramePainter, MainPageFixedPieces) {
    set_status(0, 0);
    paint_frame();
    const auto f = frame();
    EXPECT_EQ(count(f, 28, 28, 10, 10, col_accent), 100);        // logo square
    EXPECT_EQ(at(f, 40, 40), A(col_well_edge));                   // its shadow
    EXPECT_EQ(at(f, 30, 39), A(col_backdrop));
    EXPECT_EQ(at(f, 220, 280), A(col_panel_edge));                // status panel
    EXPECT_EQ(at(f, 739, 333), A(col_panel_edge));
    EXPECT_EQ(at(f, 740, 333), A(col_backdrop));
    EXPECT_EQ(at(f, 230, 320), A(col_panel));
    EXPECT_EQ(count(f, 0, 552, 960, 2, col_rule), 2 * 960);      // footer rule
    EXPECT_GT(count(f, 200, 100, 560, 80, col_accent), 500);      // the big title
}

// ---- chrome ----------------------------------------------------------------------------

TEST_F(FramePainter, FooterHintPerPage) {
    struct Case {
        int32_t page;
        const char *hint;
    } cases[] = {
        {0, kMainHint},
        {1, "ARROWS MOVE  .  ENTER REMAP  .  ESC BACK"},
        {2, "ARROWS MOVE  .  ENTER REMAP  .  ESC BACK"},
        {4, "TAB / ARROWS MOVE  .  ENTER SELECT  .  ESC BACK"},
        {7, kMainHint},
        {-3, kMainHint},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.page);
        clear();
        vl.page = c.page;
        vl.text_log_count = 0;
        vl.text_log_on = true;
        paint_footer();
        vl.text_log_on = false;
        EXPECT_EQ(text_log(), std::vector<Entry>{text_at(0, c.hint, 28, 570)});
        const auto f = frame();
        EXPECT_GT(count(f, 28, 570, text_width(0, c.hint), line(0), col_ink_soft), 20);
        EXPECT_EQ(count(f, 0, 552, 960, 2, col_rule), 2 * 960);
    }
}

TEST_F(FramePainter, FooterNoteWhileItLasts) {
    const uint32_t now = SDL_GetTicks();
    struct Case {
        const char *name;
        const char *note;
        uint32_t until;
        int32_t is_error;
        bool shown;
    } cases[] = {
        {"information", "SAVE EXPORTED", now + 60000, 0, true},
        {"error", "NO SAVE FILE", now + 60000, 1, true},
        {"expired", "SAVE EXPORTED", now, 0, false},
        {"empty", "", now + 60000, 0, false},
        // Compared unsigned: a deadline in the upper half of the tick range is still ahead.
        {"late deadline", "LATE", 0xFFFFFFF0u, 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        vl.page = 0;
        std::snprintf(vl.note, sizeof vl.note, "%s", c.note);
        vl.note_until = c.until;
        vl.note_is_error = c.is_error;
        vl.text_log_count = 0;
        vl.text_log_on = true;
        paint_footer();
        vl.text_log_on = false;
        const Entry want = c.shown ? text_at(0, c.note, 28, 570) : text_at(0, kMainHint, 28, 570);
        EXPECT_EQ(text_log(), std::vector<Entry>{want});
        const uint32_t ink = !c.shown ? col_ink_soft : c.is_error ? col_bad : col_good;
        EXPECT_GT(count(frame(), want.x, want.y, want.w, want.h, ink), 10);
    }
}

TEST_F(FramePainter, HeaderBand) {
    vl.text_log_on = true;
    paint_header_band("Settings");
    vl.text_log_on = false;
    const auto f = frame();
    EXPECT_EQ(count(f, 0, 63, 960, 2, col_rule), 2 * 960);
    EXPECT_EQ(at(f, 500, 62), A(col_backdrop));
    EXPECT_EQ(at(f, 500, 65), A(col_backdrop));
    EXPECT_EQ(text_log(), std::vector<Entry>{text_at(6, "Settings", 140, 18)});
    EXPECT_GT(count(f, 140, 18, text_width(6, "Settings"), line(6), col_accent), 30);
}

// ---- frame order -----------------------------------------------------------------------

TEST_F(FramePainter, FrameStartsClearAndUnknownPagesShowTheMainPage) {
    fill_rect(0, 0, 960, 600, col_bad);
    vl.page = 7;
    set_status(1, 30);
    paint_frame();
    const auto f = frame();
    EXPECT_EQ(at(f, 5, 5), A(col_backdrop));
    EXPECT_EQ(at(f, 955, 595), A(col_backdrop));
    const auto log = text_log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), text_at(0, "RECOMP LAUNCHER", 48, 25));
    EXPECT_EQ(log.back(), text_at(0, kMainHint, 28, 570));
    EXPECT_TRUE(vl.bar_shown);

    // bar_shown is recomputed by every frame.
    set_status(3, 30);
    paint_frame();
    EXPECT_FALSE(vl.bar_shown);
}

TEST_F(FramePainter, WidgetsArePaintedAgainOverEachOverlay) {
    vl_widget &b = add(kButton, 20, 80, 100, 30);
    b.style = kPrimary;
    struct Case {
        const char *name;
        bool confirm;
        int32_t keypad;
    } cases[] = {{"confirmation", true, -1}, {"keypad", false, 1}, {"both", true, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        vl.confirm_open = c.confirm;
        vl.keypad_field = c.keypad;
        paint_frame();
        const auto f = frame();
        // The page behind is dimmed, the widget on top is not.
        EXPECT_NE(at(f, 5, 300), A(col_backdrop));
        EXPECT_EQ(at(f, 60, 95), A(col_accent));
        EXPECT_FALSE(vl.text_log_on);
    }
    vl.confirm_open = false;
    vl.keypad_field = -1;
    paint_frame();
    EXPECT_EQ(at(frame(), 5, 300), A(col_backdrop));
}

// ---- through a real run ----------------------------------------------------------------

TEST(MainPageRun, BarAndTextsReportedThroughInspection) {
    vt::TempDir dir;
    vt::Host host;
    int32_t bar[4] = {0, 0, 0, 0};
    int32_t bar_result = -1, bar_after = -1, texts = -1;
    std::vector<uint32_t> shot;
    host.status = [&](vl_status &s, int call) {
        s.state = call < 6 ? 1 : 3;
        s.percent = 250;
        if (call == 5) {
            bar_result = vl_test_bar(&bar[0], &bar[1], &bar[2], &bar[3]);
            texts = vl_test_text_count();
            shot = vt::snapshot();
        }
        if (call == 9) {
            bar_after = vl_test_bar(nullptr, nullptr, nullptr, nullptr);
            vt::push_quit();
        }
    };
    host.max_calls = 100;
    vt::run_host(dir.file("vorla.ini"), host);
    EXPECT_EQ(bar_result, 1);
    EXPECT_EQ(std::vector<int32_t>(bar, bar + 4), (std::vector<int32_t>{236, 308, 488, 10}));
    EXPECT_EQ(texts, 8);  // no chip: logo text, title, subtitle, caption, badge, line, percentage, hint
    EXPECT_EQ(span(shot, 312, col_accent), std::make_pair(239, 239 + 482));
    EXPECT_EQ(bar_after, 0);
}

} // namespace
