// Reserved keys, controller button labels and apply_binding with its swap on conflict,
// its file write and its note.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "frame/dispatch.h"
#include "frame/state.h"
#include "settings/settings.h"
#include "test_support.h"

namespace {

TEST(KeyNames, ReservedKeysAreWholeNamesIgnoringCase) {
    struct Case {
        const char *name;
        bool reserved;
    } cases[] = {
        {"Escape", true}, {"escape", true}, {"ESCAPE", true}, {"F11", true}, {"f11", true}, {"F1", true},
        {"f1", true}, {"Esc", false}, {"F12", false}, {"F10", false}, {"F1 ", false}, {"F111", false},
        {"XEscape", false}, {"", false}, {nullptr, false}, {"Return", false},
    };
    for (const Case &c : cases) EXPECT_EQ(is_reserved_key(c.name), c.reserved) << (c.name ? c.name : "(null)");
}

TEST(KeyNames, ButtonLabels) {
    struct Case {
        const char *name;
        const char *label;
    } cases[] = {
        {"leftshoulder", "LB"}, {"LeftShoulder", "LB"}, {"rightshoulder", "RB"}, {"lefttrigger", "LT"},
        {"righttrigger", "RT"}, {"leftstick", "LS"}, {"rightstick", "RS"}, {"dpup", "Up"}, {"dpdown", "Down"},
        {"dpleft", "Left"}, {"dpright", "Right"}, {"back", "Back"}, {"start", "Start"}, {"guide", "Guide"},
        {"a", "A"}, {"B", "B"}, {"x", "X"}, {"y", "Y"}, {"misc1", "misc1"}, {"dpup ", "dpup "}, {"", ""},
    };
    for (const Case &c : cases) EXPECT_STREQ(button_label(c.name), c.label) << c.name;
    const char *unknown = "paddle1";
    EXPECT_EQ(button_label(unknown), unknown);  // shown unchanged, not copied
}

// apply_binding works on the library's state: a settings file in a fresh folder,
// default settings, a capture running on the given page.
class Binding : public ::testing::Test {
protected:
    void SetUp() override {
        default_settings(&vl.settings);
        std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", path().c_str());
        vl.note[0] = '\0';
    }
    void start_capture(int32_t page, int32_t slot) {
        vl.page = page;
        vl.capture = slot;
    }
    std::string path() const { return dir_.file("vorla.ini"); }
    vl_settings reloaded() const {
        vl_settings s;
        EXPECT_EQ(load_settings(path().c_str(), &s), 0);
        return s;
    }

private:
    vt::TempDir dir_;
};

TEST_F(Binding, ConflictOnTheKeyboardSwapsTheTwoSlots) {
    for (const char *name : {"X", "x"}) {
        SCOPED_TRACE(name);
        SetUp();
        start_capture(1, 1);
        apply_binding(1, name);
        EXPECT_STREQ(vl.settings.keys[1], name);
        EXPECT_STREQ(vl.settings.keys[0], "Z");
        EXPECT_EQ(vl.capture, -1);
        EXPECT_EQ(std::string(vl.note), std::string("B = ") + name + "  (swapped with A)");
        EXPECT_EQ(vl.note_is_error, 0);
        const vl_settings file = reloaded();
        EXPECT_STREQ(file.keys[0], "Z");
        EXPECT_STREQ(file.keys[1], name);
        EXPECT_TRUE(std::memcmp(file.buttons, vl.settings.buttons, sizeof file.buttons) == 0);
    }
}

TEST_F(Binding, ConflictOnTheControllerSwapsButtonsAndShowsLabels) {
    start_capture(2, 0);
    apply_binding(0, "A");  // slot 1 holds "a"
    EXPECT_STREQ(vl.settings.buttons[0], "A");
    EXPECT_STREQ(vl.settings.buttons[1], "b");
    EXPECT_STREQ(vl.note, "A = A  (swapped with B)");
    EXPECT_STREQ(vl.settings.keys[0], "X");  // the keyboard array is not touched

    start_capture(2, 3);
    apply_binding(3, "leftshoulder");  // held by slot 2 (L)
    EXPECT_STREQ(vl.settings.buttons[3], "leftshoulder");
    EXPECT_STREQ(vl.settings.buttons[2], "rightshoulder");
    EXPECT_STREQ(vl.note, "R = LB  (swapped with L)");
    EXPECT_STREQ(reloaded().buttons[3], "leftshoulder");
}

TEST_F(Binding, ControllerNameIsStoredButReportedAsItsLabel) {
    std::strcpy(vl.settings.buttons[2], "x");
    start_capture(2, 3);
    apply_binding(3, "leftshoulder");
    EXPECT_STREQ(vl.settings.buttons[3], "leftshoulder");
    EXPECT_STREQ(vl.note, "R = LB");
    EXPECT_STREQ(reloaded().buttons[3], "leftshoulder");
}

TEST_F(Binding, KeyboardPageShowsTheKeyNameItself) {
    start_capture(1, 6);
    apply_binding(6, "dpup");  // a key that happens to look like a button name
    EXPECT_STREQ(vl.note, "Up = dpup");
}

TEST_F(Binding, RebindingTheSameKeyWritesTheFileAgainWithoutASwap) {
    vt::write_file(path(), "stale");
    start_capture(1, 0);
    apply_binding(0, "X");
    EXPECT_STREQ(vl.settings.keys[0], "X");
    EXPECT_STREQ(vl.note, "A = X");
    EXPECT_EQ(vl.capture, -1);
    const std::string file = vt::read_file(path());
    EXPECT_NE(file.find("\r\na=X\r\nb=Z\r\n"), std::string::npos);
    EXPECT_EQ(file.rfind("; vorla.ini", 0), 0u);
}

TEST_F(Binding, LongNamesAreCutAndAnAliasedNameIsSafe) {
    start_capture(1, 4);
    apply_binding(4, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij");
    EXPECT_STREQ(vl.settings.keys[4], "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");

    // Binding the name slot 0 already holds, passed straight from the array.
    start_capture(1, 2);
    apply_binding(2, vl.settings.keys[0]);
    EXPECT_STREQ(vl.settings.keys[2], "X");
    EXPECT_STREQ(vl.settings.keys[0], "A");
    EXPECT_STREQ(vl.note, "L = X  (swapped with A)");
}

TEST_F(Binding, SlotOutsideTheTableChangesNothing) {
    const vl_settings before = vl.settings;
    for (int32_t slot : {-1, 10, 1000}) {
        vl.capture = 3;
        apply_binding(slot, "Q");
        EXPECT_EQ(std::memcmp(&before, &vl.settings, sizeof before), 0) << slot;
    }
    EXPECT_FALSE(vt::file_exists(path()));
}

bool same_ignoring_case(const char *a, const char *b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    for (; *a && lower(*a) == lower(*b); ++a, ++b) {}
    return lower(*a) == lower(*b);
}

bool pairwise_different(const char (*entries)[32]) {
    for (int i = 0; i < kBindingSlots; ++i)
        for (int j = i + 1; j < kBindingSlots; ++j)
            if (same_ignoring_case(entries[i], entries[j])) return false;
    return true;
}

TEST_F(Binding, AnySequenceKeepsTheEntriesDistinctAndSurvivesAReload) {
    const char *names[] = {"X", "x", "Z", "a", "A", "S", "Return", "return", "Up", "W", "Left Shift", "b", "B",
                           "dpup", "DPUP", "leftshoulder", "start", "back", "misc1", "Tab", "y"};
    std::mt19937 random(77);
    for (int step = 0; step < 300; ++step) {
        const int32_t page = 1 + static_cast<int32_t>(random() % 2);
        const int32_t slot = static_cast<int32_t>(random() % kBindingSlots);
        const char *name = names[random() % (sizeof names / sizeof *names)];
        start_capture(page, slot);
        apply_binding(slot, name);
        SCOPED_TRACE("step " + std::to_string(step));
        ASSERT_STREQ((page == 1 ? vl.settings.keys : vl.settings.buttons)[slot], name);
        ASSERT_TRUE(pairwise_different(vl.settings.keys));
        ASSERT_TRUE(pairwise_different(vl.settings.buttons));
    }
    vl_settings copy = vl.settings;
    EXPECT_EQ(normalise_settings(&copy), 0);
    const vl_settings file = reloaded();
    EXPECT_EQ(std::memcmp(&file, &vl.settings, sizeof file), 0);
}

} // namespace
