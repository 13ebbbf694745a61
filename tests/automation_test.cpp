// The inspection exports: lookups on the widget list, the texts they return (never
// null), the note's expiry, the controller override and the frame snapshot.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/frame.h"
#include "frame/state.h"
#include "test_support.h"

namespace {

// A hand-made list, so that the exports are checked apart from the page builder.
class Inspect : public testing::Test {
protected:
    void SetUp() override {
        vl.widget_count = 0;
        add("alpha", 1, 2, 3, 4, 1);
        add("beta", 10, 20, 30, 40, 0);
        add("alpha", 5, 6, 7, 8, 0);  // a second "alpha": lookups take the first
        vl.focus = 0;
    }
    void TearDown() override {
        vl.widget_count = 0;
        vl.controller = nullptr;
        vl.fake_pad = -1;
        vl.bar_shown = false;
        vl.text_log_count = 0;
        vl.note[0] = '\0';
    }
    static void add(const char *id, int32_t x, int32_t y, int32_t w, int32_t h, int32_t enabled) {
        vl_widget &wd = vl.widgets[vl.widget_count++];
        std::memset(&wd, 0, sizeof wd);
        wd.id = id;
        wd.x = x;
        wd.y = y;
        wd.w = w;
        wd.h = h;
        wd.enabled = enabled;
    }
};

TEST_F(Inspect, WidgetLookupWritesTheFirstMatchOrNothing) {
    struct Case {
        const char *id;
        int32_t found, x, y, w, h, enabled;
    } cases[] = {
        {"alpha", 1, 1, 2, 3, 4, 1},  {"beta", 1, 10, 20, 30, 40, 0},
        {"gamma", 0, 77, 77, 77, 77, 0}, {"ALPHA", 0, 77, 77, 77, 77, 0},
        {"alph", 0, 77, 77, 77, 77, 0},  {"alphabet", 0, 77, 77, 77, 77, 0},
        {"", 0, 77, 77, 77, 77, 0},
    };
    for (const Case &c : cases) {
        int32_t x = 77, y = 77, w = 77, h = 77;
        EXPECT_EQ(vl_test_widget(c.id, &x, &y, &w, &h), c.found) << c.id;
        EXPECT_EQ(x, c.x) << c.id;
        EXPECT_EQ(y, c.y) << c.id;
        EXPECT_EQ(w, c.w) << c.id;
        EXPECT_EQ(h, c.h) << c.id;
        EXPECT_EQ(vl_test_enabled(c.id), c.enabled) << c.id;
    }
    // Any of the four pointers may be null.
    int32_t h = 0;
    EXPECT_EQ(vl_test_widget("beta", nullptr, nullptr, nullptr, &h), 1);
    EXPECT_EQ(h, 40);
}

TEST_F(Inspect, FocusTextIsNeverNull) {
    struct Case {
        int32_t count, focus;
        const char *shown;
    } cases[] = {{3, 1, "beta"}, {3, 0, "alpha"}, {0, 0, ""}, {3, -1, ""}, {3, 3, ""}};
    for (const Case &c : cases) {
        vl.widget_count = c.count;
        vl.focus = c.focus;
        const char *focus = vl_test_focus();
        ASSERT_NE(focus, nullptr) << "count " << c.count << " focus " << c.focus;
        EXPECT_STREQ(focus, c.shown) << "count " << c.count << " focus " << c.focus;
    }
}

TEST_F(Inspect, SetFocusFindsTheFirstWidgetAndDoesNotRebuild) {
    vl.focus = 1;
    vl_test_set_focus("alpha");
    EXPECT_EQ(vl.focus, 0);
    vl_test_set_focus("beta");
    EXPECT_EQ(vl.focus, 1);
    vl_test_set_focus("nothing");
    EXPECT_EQ(vl.focus, 1);
    // A rebuild would have replaced the hand-made list.
    EXPECT_EQ(vl.widget_count, 3);
    EXPECT_STREQ(vl.widgets[2].id, "alpha");
}

TEST_F(Inspect, PageNamesAndFields) {
    const char *names[] = {"main", "keyboard", "controller", "online", "settings"};
    for (int32_t page = 0; page < 5; ++page) {
        vl.page = page;
        EXPECT_STREQ(vl_test_page(), names[page]);
    }
    vl.page = 0;
    std::strcpy(vl.fields[0], "Ann");
    std::strcpy(vl.fields[1], "10.0.0.9");
    std::strcpy(vl.fields[2], "47900");
    const std::pair<uint32_t, const char *> fields[] = {
        {0, "Ann"}, {1, "10.0.0.9"}, {2, "47900"}, {3, ""}, {0x80000000u, ""}, {0xFFFFFFFFu, ""}};
    for (const auto &f : fields) {
        ASSERT_NE(vl_test_field(f.first), nullptr) << f.first;
        EXPECT_STREQ(vl_test_field(f.first), f.second) << f.first;
    }
}

TEST_F(Inspect, NoteShowsUntilItsTimeIsUp) {
    const uint32_t before = SDL_GetTicks();
    set_note("Address copied", 0);
    const uint32_t after = SDL_GetTicks();
    EXPECT_STREQ(vl_test_note(), "Address copied");
    EXPECT_GE(vl.note_until, before + 3000);
    EXPECT_LE(vl.note_until, after + 3000);

    // 3000 ms later: the text is still held but no longer shown.
    vl.note_until = SDL_GetTicks();
    ASSERT_NE(vl_test_note(), nullptr);
    EXPECT_STREQ(vl_test_note(), "");
    EXPECT_STREQ(vl.note, "Address copied");

    vl.note[0] = '\0';
    vl.note_until = SDL_GetTicks() + 3000;
    EXPECT_STREQ(vl_test_note(), "");
}

TEST_F(Inspect, FakePadOverridesTheController) {
    // vl_test_pad_present only looks at whether a controller is open.
    SDL_GameController *const some_controller = reinterpret_cast<SDL_GameController *>(&vl);
    struct Case {
        int32_t fake;
        bool controller;
        int32_t present;
    } cases[] = {{-1, false, 0}, {-1, true, 1}, {0, true, 0}, {0, false, 0}, {1, false, 1}, {-7, true, 1}};
    for (const Case &c : cases) {
        vl.controller = c.controller ? some_controller : nullptr;
        vl_test_fake_pad(c.fake, 1200, -800);
        EXPECT_EQ(vl_test_pad_present(), c.present) << "fake " << c.fake << " controller " << c.controller;
        EXPECT_EQ(pad_present(), c.present != 0) << "fake " << c.fake << " controller " << c.controller;
        EXPECT_EQ(vl.fake_stick[0], 1200);
        EXPECT_EQ(vl.fake_stick[1], -800);
    }
}

TEST_F(Inspect, BarAndTextLogWriteOnlyWhatExists) {
    int32_t x = 77, y = 77, w = 77, h = 77;
    vl.bar_shown = false;
    EXPECT_EQ(vl_test_bar(&x, &y, &w, &h), 0);
    EXPECT_EQ(x + y + w + h, 4 * 77);
    vl.bar_shown = true;
    EXPECT_EQ(vl_test_bar(&x, &y, &w, &h), 1);
    EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), std::vector<int32_t>({236, 308, 488, 10}));
    EXPECT_EQ(vl_test_bar(nullptr, nullptr, nullptr, nullptr), 1);

    vl.text_log_count = 2;
    const int32_t entries[2][4] = {{10, 11, 12, 13}, {20, 21, 22, 23}};
    std::memcpy(vl.text_log, entries, sizeof entries);
    EXPECT_EQ(vl_test_text_count(), 2);
    EXPECT_EQ(vl_test_text(1, &x, &y, &w, &h), 1);
    EXPECT_EQ(std::vector<int32_t>({x, y, w, h}), std::vector<int32_t>({20, 21, 22, 23}));
    x = y = w = h = 77;
    for (int32_t bad : {-1, 2, 80})
        EXPECT_EQ(vl_test_text(bad, &x, &y, &w, &h), 0) << bad;
    EXPECT_EQ(x + y + w + h, 4 * 77);
}

TEST(InspectOutsideARun, NoWindowMeansZeroesAndNoSnapshot) {
    std::vector<uint32_t> pixels(576000, 0x12345678u);
    int32_t w = 77, h = 77, full = 77;
    EXPECT_EQ(vl_test_snapshot(pixels.data(), 576000, &w, &h), -1);
    EXPECT_EQ(w, 77);
    EXPECT_EQ(pixels[0], 0x12345678u);
    EXPECT_EQ(vl_test_window_id(), 0u);
    vl_test_video(&w, &h, &full);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(full, 0);
}

TEST(InspectInARun, SnapshotChecksCapacityFillsTheFrameAndRestoresTheTarget) {
    vt::TempDir dir;
    vt::Host host;
    constexpr uint32_t kSentinel = 0x12345678u;
    constexpr size_t kGuard = 64;
    std::vector<uint32_t> pixels(576000 + kGuard, kSentinel);
    int32_t small = 0, full = -9, w = 77, h = 77, small_w = 77, small_h = 77;
    bool target_restored = false;
    host.status = [&](vl_status &, int call) {
        if (call != 3) return;
        small = vl_test_snapshot(pixels.data(), 575999, &small_w, &small_h);
        SDL_Texture *other = SDL_CreateTexture(vl.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 8, 8);
        SDL_SetRenderTarget(vl.renderer, other);
        full = vl_test_snapshot(pixels.data(), 576000, &w, &h);
        target_restored = other && SDL_GetRenderTarget(vl.renderer) == other;
        SDL_SetRenderTarget(vl.renderer, nullptr);
        SDL_DestroyTexture(other);
        vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    EXPECT_EQ(small, -1);
    EXPECT_EQ(small_w, 77);
    EXPECT_EQ(small_h, 77);
    EXPECT_EQ(full, 0);
    EXPECT_EQ(w, 960);
    EXPECT_EQ(h, 600);
    EXPECT_TRUE(target_restored);
    size_t untouched = 0;
    for (size_t i = 0; i < 576000; ++i) untouched += pixels[i] == kSentinel;
    EXPECT_EQ(untouched, 0u) << "all 2304000 bytes are written";
    for (size_t i = 576000; i < pixels.size(); ++i) ASSERT_EQ(pixels[i], kSentinel) << "wrote past the frame at " << i;
}

TEST(InspectInARun, WindowVideoAndBarDuringARun) {
    vt::TempDir dir;
    // The main page draws the build's progress bar while preparing (1) and building (2).
    struct Case {
        int32_t state;
        uint32_t page;
        int32_t bar;
    } cases[] = {{1, 0, 1}, {2, 0, 1}, {3, 0, 0}, {0, 0, 0}, {2, 4, 0}, {2, 3, 0}};
    for (const Case &c : cases) {
        vl_set_start_page(c.page);
        vt::Host host;
        int32_t bar = -1, x = 0, y = 0, bw = 0, bh = 0, w = 0, h = 0, full = -1;
        uint32_t id = 0;
        host.status = [&](vl_status &s, int call) {
            s.state = c.state;
            s.percent = 50;
            std::strcpy(s.rom_path, "/roms/g.gba");
            s.rom_ok = 1;
            if (call == 3) {
                bar = vl_test_bar(&x, &y, &bw, &bh);
                id = vl_test_window_id();
                vl_test_video(&w, &h, &full);
                vt::push_quit();
            }
        };
        EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
        const std::string name = "state " + std::to_string(c.state) + " page " + std::to_string(c.page);
        EXPECT_EQ(bar, c.bar) << name;
        if (c.bar) {
            EXPECT_EQ(std::vector<int32_t>({x, y, bw, bh}), std::vector<int32_t>({236, 308, 488, 10})) << name;
        }
        EXPECT_NE(id, 0u) << name;
        EXPECT_GT(w, 0) << name;
        EXPECT_GT(h, 0) << name;
        EXPECT_EQ(full, 0) << name;
    }
    vl_set_start_page(0);
    EXPECT_EQ(vl_test_window_id(), 0u);
}

} // namespace
