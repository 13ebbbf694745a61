// The settings page's fixed content: readout, dimmed window size and the saves panel.
#include <gtest/gtest.h>

#include <cstdio>

#include "../ui/draw/palette.h"
#include "page_probe.h"

namespace {

TEST(SettingsPage, VolumeReadoutIsRightAlignedAt912) {
    struct Case {
        int32_t mute, volume;
        const char *shown;
    } cases[] = {{1, 80, "Muted"}, {0, 80, "80%"}, {0, 0, "0%"}, {0, 100, "100%"}, {1, 0, "Muted"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.shown);
        probe::PageRun run;
        run.page = 4;
        run.prepare = [&] {
            vl.settings.mute = c.mute;
            vl.settings.volume = c.volume;
        };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const probe::Logged *t = probe::find_right(log, 3, c.shown, 912, 123);
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t->x + t->w, 912);
            EXPECT_TRUE(probe::shows(vt::snapshot(), t, 3, c.shown, col_accent));
        };
        probe::run_page(run);
    }
}

TEST(SettingsPage, WindowSizeDimsInFullScreenWhileItsExplanationStaysSoft) {
    for (int32_t fullscreen : {0, 1}) {
        SCOPED_TRACE(fullscreen);
        probe::PageRun run;
        run.page = 4;
        run.prepare = [&] { vl.settings.fullscreen = fullscreen; };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const probe::Logged *name = probe::find_text(log, 3, "Window size", 46, 124);
            const probe::Logged *line = probe::find_text(log, 1, "Multiple of the 240x160 GBA screen", 46, 143);
            ASSERT_NE(name, nullptr);
            ASSERT_NE(line, nullptr);
            EXPECT_TRUE(probe::shows(frame, name, 3, "Window size", fullscreen ? col_ink_dim : col_ink));
            EXPECT_TRUE(probe::shows(frame, line, 1, "Multiple of the 240x160 GBA screen", col_ink_soft));
        };
        probe::run_page(run);
    }
}

TEST(SettingsPage, SavesPanelFollowsRomAvailability) {
    struct Case {
        int32_t rom_ok;
        const char *path;
        bool available;
    } cases[] = {
        {1, "/roms/game.gba", true},
        {1, "", false},
        {0, "/roms/game.gba", false},
        {0, "", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.rom_ok << " '" << c.path << "'");
        probe::PageRun run;
        run.page = 4;
        run.status = [&](vl_status &s) {
            s.state = 3;
            s.rom_ok = c.rom_ok;
            std::snprintf(s.rom_path, sizeof s.rom_path, "%s", c.path);
        };
        run.check = [&] {
            const auto log = probe::logged_texts();
            const auto frame = vt::snapshot();
            const probe::Logged *heading = probe::find_text(log, 4, "Saves", 595, 254);
            ASSERT_NE(heading, nullptr);
            EXPECT_TRUE(probe::shows(frame, heading, 4, "Saves", c.available ? col_accent : col_ink_dim));
            const char *expected = c.available ? "Back up or move your save data." : "Load a ROM to manage its save.";
            const char *other = c.available ? "Load a ROM to manage its save." : "Back up or move your save data.";
            const probe::Logged *line = probe::find_text(log, 1, expected, 597, 274);
            ASSERT_NE(line, nullptr);
            EXPECT_TRUE(probe::shows(frame, line, 1, expected, col_ink_soft));
            EXPECT_EQ(probe::find_text(log, 1, other, 597, 274), nullptr);
        };
        probe::run_page(run);
    }
}

TEST(SettingsPage, FixedTextsAndPanelsAreInPlace) {
    probe::PageRun run;
    run.page = 4;
    run.check = [] {
        const auto log = probe::logged_texts();
        struct Text {
            int32_t font, x, y;
            const char *text;
        } texts[] = {
            {4, 46, 100, "Video"},          {3, 46, 198, "Fullscreen"}, {1, 46, 217, "Toggle any time with F11"},
            {3, 46, 272, "Scaling"},        {1, 46, 291, "Integer keeps pixels sharp"},
            {4, 595, 100, "Audio"},         {3, 597, 123, "Volume"},    {3, 597, 190, "Mute"},
        };
        for (const Text &t : texts) EXPECT_NE(probe::find_text(log, t.font, t.text, t.x, t.y), nullptr) << t.text;
        EXPECT_NE(probe::find_right(log, 0, "VIDEO . AUDIO . SAVES", 932, 25), nullptr);

        const auto frame = vt::snapshot();
        // Rules across the video panel and the audio panel, and a panel's fill and edge.
        EXPECT_EQ(vt::pixel(frame, 300, 178), vt::argb(col_rule));
        EXPECT_EQ(vt::pixel(frame, 300, 253), vt::argb(col_rule));
        EXPECT_EQ(vt::pixel(frame, 700, 175), vt::argb(col_rule));
        EXPECT_EQ(vt::pixel(frame, 540, 330), vt::argb(col_panel));
        EXPECT_EQ(vt::pixel(frame, 28, 200), vt::argb(col_panel_edge));
        EXPECT_EQ(vt::pixel(frame, 931, 300), vt::argb(col_panel_edge));
    };
    probe::run_page(run);
}

} // namespace
