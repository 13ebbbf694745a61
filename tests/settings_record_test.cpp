// The settings record: defaults, every normalisation step and its correction count,
// the binding resets and the safe-text rule.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/settings.h"

namespace {

vl_settings defaults() {
    vl_settings s;
    std::memset(&s, 0x5A, sizeof s);  // stale bytes must not survive default_settings
    default_settings(&s);
    return s;
}

bool same_record(const vl_settings &a, const vl_settings &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void put(char *array, size_t size, const char *text) {
    std::memset(array, 0, size);
    std::memcpy(array, text, std::strlen(text) < size ? std::strlen(text) : size);
}
template <size_t N>
void put(char (&array)[N], const char *text) { put(array, N, text); }

TEST(SettingsRecord, DefaultsMatchTheDesignTableAndAreValid) {
    vl_settings s = defaults();
    EXPECT_EQ(s.scale, 3);
    EXPECT_EQ(s.mute, 0);
    EXPECT_EQ(s.fullscreen, 0);
    EXPECT_EQ(s.vsync, 0);
    EXPECT_EQ(s.scaling, 1);
    EXPECT_EQ(s.volume, 100);
    const char *keys[] = {"X", "Z", "A", "S", "Return", "Backspace", "Up", "Down", "Left", "Right"};
    const char *buttons[] = {"b", "a", "leftshoulder", "rightshoulder", "start", "back", "dpup", "dpdown", "dpleft", "dpright"};
    for (int slot = 0; slot < kBindingSlots; ++slot) {
        EXPECT_STREQ(s.keys[slot], keys[slot]) << slot;
        EXPECT_STREQ(s.buttons[slot], buttons[slot]) << slot;
    }
    EXPECT_EQ(s.stick_as_dpad, 1);
    EXPECT_EQ(s.deadzone, 8000);
    EXPECT_EQ(s.show, 1);
    EXPECT_STREQ(s.language, "en");
    EXPECT_STREQ(s.mode, "off");
    EXPECT_STREQ(s.host, "127.0.0.1");
    EXPECT_EQ(s.port, 47900);
    EXPECT_EQ(s.players, 2);
    EXPECT_EQ(s.delay, -1);
    EXPECT_STREQ(s.name, "Player");
    EXPECT_STREQ(s.transport, "auto");

    const vl_settings before = s;
    EXPECT_EQ(normalise_settings(&s), 0);
    EXPECT_TRUE(same_record(s, before));
}

TEST(SettingsRecord, ValidNonDefaultRecordIsLeftAlone) {
    vl_settings s = defaults();
    s.scale = 6; s.mute = 1; s.fullscreen = 1; s.vsync = 1; s.scaling = 0; s.volume = 0;
    put(s.keys[0], "Left Shift"); put(s.keys[1], "F12"); put(s.keys[2], "Esc");
    put(s.buttons[0], "dpup "); put(s.buttons[6], "x");
    s.stick_as_dpad = 0; s.deadzone = 32767; s.show = 0;
    put(s.language, "abcdefg"); put(s.mode, "solo"); put(s.host, "[::1]");
    s.port = 65535; s.players = 4; s.delay = 8;
    put(s.name, "Zo\xC3\xAB \xC3\x80\xC3\xBF"); put(s.transport, "tcp");
    const vl_settings before = s;
    EXPECT_EQ(normalise_settings(&s), 0);
    EXPECT_TRUE(same_record(s, before));
}

struct NormaliseCase {
    const char *what;
    void (*spoil)(vl_settings &);
    int32_t corrections;
    // Expected record: the defaults changed by `expect` (null: exactly the defaults).
    void (*expect)(vl_settings &);
};

// clang-format off
const NormaliseCase kNormaliseCases[] = {
    {"scale 0",              [](vl_settings &s) { s.scale = 0; }, 1, nullptr},
    {"scale 7",              [](vl_settings &s) { s.scale = 7; }, 1, nullptr},
    {"scale -1",             [](vl_settings &s) { s.scale = -1; }, 1, nullptr},
    {"scale 1 stays",        [](vl_settings &s) { s.scale = 1; }, 0, [](vl_settings &s) { s.scale = 1; }},
    {"mute 2",               [](vl_settings &s) { s.mute = 2; }, 1, nullptr},
    {"mute -1",              [](vl_settings &s) { s.mute = -1; }, 1, nullptr},
    {"fullscreen 5",         [](vl_settings &s) { s.fullscreen = 5; }, 1, nullptr},
    {"vsync -3",             [](vl_settings &s) { s.vsync = -3; }, 1, nullptr},
    {"scaling 3 is fit",     [](vl_settings &s) { s.scaling = 3; }, 1, nullptr},
    {"scaling -1 is fit",    [](vl_settings &s) { s.scaling = -1; }, 1, nullptr},
    {"negative volume is 100", [](vl_settings &s) { s.volume = -5; }, 1, nullptr},
    {"volume 101",           [](vl_settings &s) { s.volume = 101; }, 1, nullptr},
    {"volume 0 stays",       [](vl_settings &s) { s.volume = 0; }, 0, [](vl_settings &s) { s.volume = 0; }},
    {"stick 2",              [](vl_settings &s) { s.stick_as_dpad = 2; }, 1, nullptr},
    {"deadzone 40000",       [](vl_settings &s) { s.deadzone = 40000; }, 1, nullptr},
    {"deadzone -1",          [](vl_settings &s) { s.deadzone = -1; }, 1, nullptr},
    {"show -1",              [](vl_settings &s) { s.show = -1; }, 1, nullptr},
    {"port 0",               [](vl_settings &s) { s.port = 0; }, 1, nullptr},
    {"port 70000",           [](vl_settings &s) { s.port = 70000; }, 1, nullptr},
    {"port int min",         [](vl_settings &s) { s.port = INT32_MIN; }, 1, nullptr},
    {"port 1 stays",         [](vl_settings &s) { s.port = 1; }, 0, [](vl_settings &s) { s.port = 1; }},
    {"players 1",            [](vl_settings &s) { s.players = 1; }, 1, nullptr},
    {"players 5",            [](vl_settings &s) { s.players = 5; }, 1, nullptr},
    {"delay 9",              [](vl_settings &s) { s.delay = 9; }, 1, nullptr},
    {"delay -2",             [](vl_settings &s) { s.delay = -2; }, 1, nullptr},
    {"delay 0 stays",        [](vl_settings &s) { s.delay = 0; }, 0, [](vl_settings &s) { s.delay = 0; }},
    {"each number counts",   [](vl_settings &s) { s.scale = 0; s.volume = -5; s.port = 0; s.delay = 20; }, 4, nullptr},

    {"reserved F11",         [](vl_settings &s) { put(s.keys[4], "F11"); }, 1, nullptr},
    {"reserved escape",      [](vl_settings &s) { put(s.keys[2], "escape"); }, 1, nullptr},
    {"reserved f1",          [](vl_settings &s) { put(s.keys[9], "f1"); }, 1, nullptr},
    {"key with =",           [](vl_settings &s) { put(s.keys[0], "a=b"); }, 1, nullptr},
    {"key with [",           [](vl_settings &s) { put(s.keys[0], "[x"); }, 1, nullptr},
    {"empty key",            [](vl_settings &s) { put(s.keys[7], ""); }, 1, nullptr},
    {"key with tab",         [](vl_settings &s) { put(s.keys[7], "a\tb"); }, 1, nullptr},
    {"unterminated key is cut to 31",
                             [](vl_settings &s) { std::memset(s.keys[5], 'Q', 32); }, 0,
                             [](vl_settings &s) { std::memset(s.keys[5], 'Q', 31); s.keys[5][31] = 0; }},
    {"button with #",        [](vl_settings &s) { put(s.buttons[3], "dp#up"); }, 1, nullptr},
    {"empty button",         [](vl_settings &s) { put(s.buttons[0], ""); }, 1, nullptr},
    {"reserved names are fine as buttons",
                             [](vl_settings &s) { put(s.buttons[0], "Escape"); }, 0,
                             [](vl_settings &s) { put(s.buttons[0], "Escape"); }},
    {"duplicate keys ignoring case reset all ten, once",
                             [](vl_settings &s) { put(s.keys[0], "x"); put(s.keys[3], "X"); put(s.keys[6], "W"); }, 1, nullptr},
    {"a repaired key that duplicates another resets all",
                             [](vl_settings &s) { put(s.keys[0], "F1"); put(s.keys[3], "x"); }, 2, nullptr},
    {"duplicate buttons reset the buttons, not stick or deadzone",
                             [](vl_settings &s) { put(s.buttons[0], "A"); s.stick_as_dpad = 0; s.deadzone = 100; }, 1,
                             [](vl_settings &s) { s.stick_as_dpad = 0; s.deadzone = 100; }},

    {"language of 7 bytes stays", [](vl_settings &s) { put(s.language, "abcdefg"); }, 0,
                             [](vl_settings &s) { put(s.language, "abcdefg"); }},
    {"language of 8 bytes (no terminator)", [](vl_settings &s) { std::memcpy(s.language, "abcdefgh", 8); }, 1, nullptr},
    {"language with ;",      [](vl_settings &s) { put(s.language, "e;n"); }, 1, nullptr},
    {"empty language",       [](vl_settings &s) { put(s.language, ""); }, 1, nullptr},

    {"mode Host",            [](vl_settings &s) { put(s.mode, "Host"); }, 1, nullptr},
    {"mode join stays",      [](vl_settings &s) { put(s.mode, "join"); }, 0, [](vl_settings &s) { put(s.mode, "join"); }},
    {"unterminated mode",    [](vl_settings &s) { std::memset(s.mode, 'h', 16); }, 1, nullptr},
    {"transport UDP",        [](vl_settings &s) { put(s.transport, "UDP"); }, 1, nullptr},
    {"transport udp stays",  [](vl_settings &s) { put(s.transport, "udp"); }, 0, [](vl_settings &s) { put(s.transport, "udp"); }},

    {"host with a space",    [](vl_settings &s) { put(s.host, "my host"); }, 1, nullptr},
    {"host with ;",          [](vl_settings &s) { put(s.host, "a;b"); }, 1, nullptr},
    {"host with DEL",        [](vl_settings &s) { put(s.host, "a\x7F"); }, 1, nullptr},
    {"host with UTF-8",      [](vl_settings &s) { put(s.host, "h\xC3\xA9"); }, 1, nullptr},
    {"empty host",           [](vl_settings &s) { put(s.host, ""); }, 1, nullptr},
    {"IPv6 host stays",      [](vl_settings &s) { put(s.host, "[fe80::1%eth0]"); }, 0,
                             [](vl_settings &s) { put(s.host, "[fe80::1%eth0]"); }},

    {"name e diaeresis stays", [](vl_settings &s) { put(s.name, "Zo\xC3\xAB"); }, 0, [](vl_settings &s) { put(s.name, "Zo\xC3\xAB"); }},
    {"name with times sign", [](vl_settings &s) { put(s.name, "a\xC3\x97" "b"); }, 1, nullptr},
    {"name with divide sign", [](vl_settings &s) { put(s.name, "a\xC3\xB7"); }, 1, nullptr},
    {"name with euro sign",  [](vl_settings &s) { put(s.name, "\xE2\x82\xAC"); }, 1, nullptr},
    {"name with C2 byte",    [](vl_settings &s) { put(s.name, "\xC2\xA9"); }, 1, nullptr},
    {"name ending inside a letter", [](vl_settings &s) { put(s.name, "Ann\xC3"); }, 1, nullptr},
    {"name with =",          [](vl_settings &s) { put(s.name, "Ann=B"); }, 1, nullptr},
    {"empty name",           [](vl_settings &s) { put(s.name, ""); }, 1, nullptr},
    {"unterminated name is cut to 15", [](vl_settings &s) { std::memset(s.name, 'N', 16); }, 0,
                             [](vl_settings &s) { std::memset(s.name, 'N', 15); s.name[15] = 0; }},
};
// clang-format on

TEST(SettingsRecord, NormalisationCorrectsEachFieldAndCountsTheSteps) {
    for (const NormaliseCase &c : kNormaliseCases) {
        SCOPED_TRACE(c.what);
        vl_settings s = defaults();
        c.spoil(s);
        vl_settings expected = defaults();
        if (c.expect) c.expect(expected);
        EXPECT_EQ(normalise_settings(&s), c.corrections);
        // Whole-record comparison: a repaired text leaves no stale bytes and nothing
        // else in the record moves.
        EXPECT_TRUE(same_record(s, expected));
        EXPECT_EQ(normalise_settings(&s), 0) << "normalisation must be idempotent";
    }
}

TEST(SettingsRecord, ResetsTouchOnlyTheirOwnFields) {
    vl_settings changed = defaults();
    for (int slot = 0; slot < kBindingSlots; ++slot) {
        put(changed.keys[slot], ("K" + std::to_string(slot)).c_str());
        put(changed.buttons[slot], ("misc" + std::to_string(slot)).c_str());
    }
    changed.stick_as_dpad = 0;
    changed.deadzone = 1234;
    changed.volume = 55;
    put(changed.name, "Zed");

    vl_settings s = changed;
    reset_keys(&s);
    vl_settings expected = changed;
    std::memcpy(expected.keys, defaults().keys, sizeof expected.keys);
    EXPECT_TRUE(same_record(s, expected));

    s = changed;
    reset_buttons(&s);
    expected = changed;
    const vl_settings d = defaults();
    std::memcpy(expected.buttons, d.buttons, sizeof expected.buttons);
    expected.stick_as_dpad = 1;
    expected.deadzone = 8000;
    EXPECT_TRUE(same_record(s, expected));
}

TEST(SettingsRecord, SafeTextRule) {
    const std::string longest(31, 'k');
    const std::string too_long(32, 'k');
    struct Case {
        const char *text;
        bool safe;
    } cases[] = {
        {nullptr, false}, {"", false}, {longest.c_str(), true}, {too_long.c_str(), false},
        {"Left Shift", true}, {" ", true}, {"~!$%", true}, {"a#", false}, {"a;", false},
        {"a=", false}, {"[a", false}, {"a]", false}, {"\t", false}, {"\x7F", false},
        {"\x1F", false}, {"\xC3\xA9", false},
    };
    for (const Case &c : cases) EXPECT_EQ(is_ini_safe(c.text), c.safe) << (c.text ? c.text : "(null)");
}

} // namespace
