// Focus navigation on hand-made widget lists: the weighted directional search, slider
// stepping, Tab cycling, and the slider table with its saves.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame.h"
#include "state.h"
#include "test_support.h"

namespace {

struct W {
    const char *id;
    int32_t cx, cy;       // centre; the widget is 20 x 20 around it
    int32_t enabled = 1;
    int32_t kind = kButton;
    int32_t slider_id = 0;
};

void lay_out(const std::vector<W> &list, int32_t focus) {
    vl.widget_count = 0;
    for (const W &w : list) {
        vl_widget &out = vl.widgets[vl.widget_count++];
        out = vl_widget{};
        out.id = w.id;
        out.kind = w.kind;
        out.x = w.cx - 10;
        out.y = w.cy - 10;
        out.w = 20;
        out.h = 20;
        out.enabled = w.enabled;
        out.slot = -1;
        out.slider_id = w.slider_id;
    }
    vl.focus = focus;
}

// A live-settings fixture: defaults, a settings path in a fresh folder, no run.
class LiveSettings : public ::testing::Test {
protected:
    void SetUp() override {
        default_settings(&vl.settings);
        std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", ini().c_str());
        vl.page = kPageSettings;
        vl.editing_field = -1;
        vl.keypad_field = -1;
        vl.capture = -1;
        vl.confirm_open = false;
        vl.remembered_delay = 2;
    }
    std::string ini() const { return dir_.file("vorla.ini"); }
    bool saved() const { return vt::file_exists(ini()); }
    void forget_save() const { std::remove(ini().c_str()); }

private:
    vt::TempDir dir_;
};

enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };
constexpr int32_t k2p30 = int32_t{1} << 30;

TEST(MoveFocus, WeightedSearchPicksTheLowestScoreAndKeepsTheEarlierOfEqualOnes) {
    struct Case {
        const char *name;
        std::vector<W> widgets;  // widget 0 holds the focus
        int32_t direction;
        const char *expected;
    };
    const Case cases[] = {
        {"down: straight below (60) beats the nearer-across one (20 + 2 x 180 = 380)",
         {{"f", 480, 300}, {"across", 300, 320}, {"below", 480, 360}, {"same_centre", 480, 300}}, kDown, "below"},
        {"equal scores: the earlier of the list wins",
         {{"f", 480, 300}, {"left_one", 460, 340}, {"right_one", 500, 340}}, kDown, "left_one"},
        {"equal scores, listed the other way round",
         {{"f", 480, 300}, {"right_one", 500, 340}, {"left_one", 460, 340}}, kDown, "right_one"},
        {"a widget level with the focus is not ahead of it",
         {{"f", 480, 300}, {"above", 480, 200}}, kRight, "f"},
        {"left needs a centre strictly left: directly above is no candidate",
         {{"f", 480, 300}, {"above", 480, 200}}, kLeft, "f"},
        {"left reaches a widget above-left one pixel left of the centre",
         {{"f", 480, 300}, {"above_left", 479, 200}}, kLeft, "above_left"},
        {"left: the offset across counts twice (100 beats 50 + 80)",
         {{"f", 480, 300}, {"far", 380, 300}, {"near_low", 430, 340}}, kLeft, "far"},
        {"left: 40 + 20 beats 100",
         {{"f", 480, 300}, {"far", 380, 300}, {"near", 440, 310}}, kLeft, "near"},
        {"up: the offset across is horizontal (200 beats 50 + 160)",
         {{"f", 480, 300}, {"straight", 480, 100}, {"aside", 400, 250}}, kUp, "straight"},
        {"right: picks the nearer of two in line",
         {{"f", 100, 100}, {"far", 500, 100}, {"near", 300, 100}}, kRight, "near"},
        {"disabled widgets are skipped",
         {{"f", 480, 300}, {"dim", 480, 310, 0}, {"lit", 480, 400}}, kDown, "lit"},
        {"a disabled focused widget still measures from its centre",
         {{"f", 480, 300, 0}, {"up", 480, 200}, {"down", 480, 400}}, kUp, "up"},
        {"no candidate leaves the focus", {{"f", 480, 300}, {"up", 480, 200}}, kDown, "f"},
        {"a score of 2^30 is not below the start value",
         {{"f", 0, 0}, {"edge", 0, k2p30}}, kDown, "f"},
        {"a score just below 2^30 is taken", {{"f", 0, 0}, {"edge", 0, k2p30 - 1}}, kDown, "edge"},
    };
    for (const Case &c : cases) {
        lay_out(c.widgets, 0);
        move_focus(c.direction);
        EXPECT_STREQ(vl.widgets[vl.focus].id, c.expected) << c.name;
    }
}

TEST(MoveFocus, EmptyListOrFocusOutsideTheListChangesNothing) {
    lay_out({}, 0);
    move_focus(kDown);
    EXPECT_EQ(vl.focus, 0);

    lay_out({{"a", 100, 100}, {"b", 100, 200}}, 7);
    move_focus(kDown);
    EXPECT_EQ(vl.focus, 7);
    lay_out({{"a", 100, 100}, {"b", 100, 200}}, -1);
    move_focus(kUp);
    EXPECT_EQ(vl.focus, -1);
}

TEST_F(LiveSettings, LeftAndRightStepAFocusedSliderAndSaveOnlyAChange) {
    struct Case {
        int32_t slider_id, players, start, direction, expected;
    };
    const Case cases[] = {
        {0, 2, 98, kRight, 100},    {0, 2, 100, kRight, 100}, {0, 2, 3, kLeft, 0},
        {0, 2, 50, kLeft, 45},      {0, 2, 0, kLeft, 0},      {1, 2, 32000, kRight, 32767},
        {1, 2, 8000, kLeft, 7000},  {1, 2, 500, kLeft, 0},    {2, 2, 1, kRight, 2},
        {2, 2, 2, kRight, 2},       {2, 3, 0, kRight, 1},     {2, 4, 1, kRight, 1},
        {2, 2, 1, kLeft, 0},
    };
    for (const Case &c : cases) {
        const std::string row = "slider " + std::to_string(c.slider_id) + " at " + std::to_string(c.start) +
                                (c.direction == kLeft ? " left" : " right");
        default_settings(&vl.settings);
        vl.settings.players = c.players;
        lay_out({{"other", 100, 100}, {"slider", 300, 100, 1, kSlider, c.slider_id}, {"right", 500, 100}}, 1);
        set_slider_value(c.slider_id, c.start);
        vl.remembered_delay = 7;
        forget_save();

        move_focus(c.direction);
        EXPECT_EQ(vl.focus, 1) << row;
        EXPECT_EQ(slider_value(c.slider_id), c.expected) << row;
        EXPECT_EQ(saved(), c.expected != c.start) << row;
        if (c.slider_id == 2) {
            EXPECT_EQ(vl.remembered_delay, c.expected != c.start ? c.expected : 7) << row;
        }
    }
}

TEST_F(LiveSettings, DisabledFocusedSliderIgnoresLeftAndRightButNotUpAndDown) {
    lay_out({{"above", 300, 50}, {"volume", 300, 100, 0, kSlider, 0}, {"right", 500, 100}}, 1);
    set_slider_value(0, 40);
    forget_save();

    move_focus(kRight);
    move_focus(kLeft);
    EXPECT_EQ(vl.focus, 1);
    EXPECT_EQ(vl.settings.volume, 40);
    EXPECT_FALSE(saved());

    move_focus(kUp);
    EXPECT_STREQ(vl.widgets[vl.focus].id, "above");
}

TEST_F(LiveSettings, UpAndDownOnAFocusedSliderMoveTheFocus) {
    lay_out({{"volume", 300, 100, 1, kSlider, 0}, {"below", 300, 200}}, 0);
    set_slider_value(0, 40);
    move_focus(kDown);
    EXPECT_STREQ(vl.widgets[vl.focus].id, "below");
    EXPECT_EQ(vl.settings.volume, 40);
}

TEST(CycleFocus, WalksTheListSkippingDisabledWidgets) {
    struct Case {
        const char *name;
        std::vector<int32_t> enabled;
        int32_t start, step, expected;
    };
    const Case cases[] = {
        {"forward", {1, 1, 1}, 0, 1, 1},
        {"forward wraps", {1, 1, 1}, 2, 1, 0},
        {"backward wraps", {1, 1, 1}, 0, -1, 2},
        {"skips a disabled widget", {1, 0, 1}, 0, 1, 2},
        {"skips a disabled widget backwards", {1, 0, 1}, 2, -1, 0},
        {"one enabled widget keeps the focus", {0, 1, 0}, 1, 1, 1},
        {"one enabled widget keeps it backwards", {0, 1, 0}, 1, -1, 1},
        {"no enabled widget: back where it started", {0, 0, 0}, 1, 1, 1},
        {"no enabled widget, backwards", {0, 0, 0}, 2, -1, 2},
        {"from a disabled focus to the only enabled one", {1, 0, 0}, 1, 1, 0},
    };
    for (const Case &c : cases) {
        std::vector<W> list;
        for (size_t i = 0; i < c.enabled.size(); ++i)
            list.push_back({"w", static_cast<int32_t>(100 * i), 100, c.enabled[i]});
        lay_out(list, c.start);
        cycle_focus(c.step);
        EXPECT_EQ(vl.focus, c.expected) << c.name;
    }

    lay_out({}, 0);
    cycle_focus(1);
    EXPECT_EQ(vl.focus, 0) << "empty list";
}

TEST_F(LiveSettings, SliderTableMaximaStepsAndSettings) {
    struct Case {
        int32_t slider_id, players, maximum, step;
        int32_t vl_settings::*setting;
    };
    const Case cases[] = {
        {0, 2, 100, 5, &vl_settings::volume},    {1, 2, 32767, 1000, &vl_settings::deadzone},
        {2, 2, 2, 1, &vl_settings::delay},       {2, 3, 1, 1, &vl_settings::delay},
        {2, 4, 1, 1, &vl_settings::delay},
    };
    for (const Case &c : cases) {
        vl.settings.players = c.players;
        EXPECT_EQ(slider_maximum(c.slider_id), c.maximum) << "slider " << c.slider_id << ", " << c.players << " players";
        EXPECT_EQ(slider_step(c.slider_id), c.step) << "slider " << c.slider_id;
        vl.settings.*c.setting = 1;
        EXPECT_EQ(slider_value(c.slider_id), 1) << "slider " << c.slider_id;
    }
}

TEST_F(LiveSettings, SetSliderValueClampsAndReportsAndSavesOnlyChanges) {
    struct Case {
        int32_t slider_id, start, value, stored;
    };
    const Case cases[] = {
        {0, 50, 70, 70}, {0, 50, 50, 50},      {0, 50, -5, 0},          {0, 0, -5, 0},
        {0, 50, 250, 100}, {1, 8000, 40000, 32767}, {1, 8000, 8000, 8000}, {2, 0, 5, 2},
        {2, -1, 0, 0},   {2, 1, 1, 1},
    };
    for (const Case &c : cases) {
        const std::string row = "slider " + std::to_string(c.slider_id) + " from " + std::to_string(c.start) +
                                " to " + std::to_string(c.value);
        vl.settings.players = 2;
        int32_t &setting = c.slider_id == 0 ? vl.settings.volume : c.slider_id == 1 ? vl.settings.deadzone
                                                                                      : vl.settings.delay;
        setting = c.start;
        vl.remembered_delay = 7;
        forget_save();

        const bool changed = set_slider_value(c.slider_id, c.value);
        EXPECT_EQ(setting, c.stored) << row;
        EXPECT_EQ(changed, c.stored != c.start) << row;
        EXPECT_EQ(saved(), changed) << row;
        EXPECT_EQ(vl.remembered_delay, c.slider_id == 2 && changed ? c.stored : 7) << row;
    }
}

TEST_F(LiveSettings, SavedFileCarriesTheNewSliderValue) {
    set_slider_value(0, 35);
    EXPECT_NE(vt::read_file(ini()).find("\r\nvolume=35\r\n"), std::string::npos);
    set_slider_value(2, 1);
    EXPECT_NE(vt::read_file(ini()).find("\r\ndelay=1\r\n"), std::string::npos);
}

TEST(Sliders, UnknownSliderIdsHaveNoSettingAndChangeNothing) {
    default_settings(&vl.settings);
    const vl_settings before = vl.settings;
    for (int32_t id : {-1, 3, 99}) {
        EXPECT_EQ(slider_maximum(id), 0) << id;
        EXPECT_EQ(slider_value(id), 0) << id;
        EXPECT_FALSE(set_slider_value(id, 5)) << id;
    }
    EXPECT_EQ(std::memcmp(&before, &vl.settings, sizeof before), 0);
}

} // namespace
