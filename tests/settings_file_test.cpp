// vorla.ini: the tolerant reader, the exact written file, and saves that either
// complete or leave the old file untouched.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "settings/file_io.h"
#include "settings/settings.h"
#include "test_support.h"

namespace {

// The file the defaults produce, line by line.
const char *const kDefaultLines[] = {
    "; vorla.ini - settings for the Vorla & The Glassmaze recompilation (v2)",
    "",
    "[video]",
    "; scale: window size = 240x160 * scale (1..6)",
    "scale=3",
    "; fullscreen: 1 = full screen (F11 toggles in game)",
    "fullscreen=0",
    "; scaling: integer = whole-number scale, fit = keep aspect ratio, stretch = fill the window",
    "scaling=fit",
    "; vsync: 1 = sync presents with the monitor",
    "vsync=0",
    "",
    "[audio]",
    "; volume: 0..100",
    "volume=100",
    "mute=0",
    "",
    "[keyboard]",
    "; SDL key names, by physical position (A = X, B = Z). Esc, F11 and F1 are reserved.",
    "a=X", "b=Z", "l=A", "r=S", "start=Return", "select=Backspace", "up=Up", "down=Down", "left=Left", "right=Right",
    "",
    "[controller]",
    "; SDL game controller button names (a/b follow the Xbox layout: GBA A = east button)",
    "a=b", "b=a", "l=leftshoulder", "r=rightshoulder", "start=start", "select=back", "up=dpup", "down=dpdown",
    "left=dpleft", "right=dpright",
    "stick_as_dpad=1",
    "deadzone=8000",
    "",
    "[launcher]",
    "; show: 0 = start the game directly (hold Shift to force the launcher)",
    "show=1",
    "language=en",
    "",
    "[link]",
    "; cable link (online). mode: off | host | join; the launcher writes it when you press HOST or JOIN",
    "mode=off",
    "; host: address to join (IP or name); port: 1..65535",
    "host=127.0.0.1",
    "port=47900",
    "; players: 2..4 (when hosting); delay: auto or 0..8 frames of host slack; name: shown in the lobby",
    "players=2",
    "delay=auto",
    "name=Player",
    "; transport: auto (UDP, falls back to TCP) | udp | tcp",
    "transport=auto",
};

// The default file with some lines replaced (1-based line number -> text).
std::string expected_file(const std::vector<std::pair<int, std::string>> &changes = {}) {
    std::string text;
    int number = 1;
    for (const char *line : kDefaultLines) {
        std::string current = line;
        for (const auto &change : changes)
            if (change.first == number) current = change.second;
        text += current + "\r\n";
        ++number;
    }
    return text;
}

vl_settings defaults() {
    vl_settings s;
    default_settings(&s);
    return s;
}

// Sets a text field as the library does: the rest of the array zeroed.
template <size_t N>
void put(char (&array)[N], const char *text) {
    std::memset(array, 0, N);
    std::memcpy(array, text, std::min(std::strlen(text), N - 1));
}

bool same_record(const vl_settings &a, const vl_settings &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

vl_settings load_text(const vt::TempDir &dir, const std::string &text) {
    const std::string path = dir.file("vorla.ini");
    vt::write_file(path, text);
    vl_settings s;
    EXPECT_EQ(load_settings(path.c_str(), &s), 0);
    return s;
}

std::vector<std::string> folder_entries(const std::string &path) {
    std::vector<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(path)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SettingsFile, DefaultsWriteTheExactSixtyTwoLineFile) {
    ASSERT_EQ(sizeof kDefaultLines / sizeof *kDefaultLines, 62u);
    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    const vl_settings s = defaults();
    ASSERT_EQ(save_settings(path.c_str(), &s), 0);
    EXPECT_EQ(vt::read_file(path), expected_file());
    // Only the file itself is left behind, no temporary.
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"vorla.ini"});

    vl_settings back;
    std::memset(&back, 0x33, sizeof back);
    ASSERT_EQ(load_settings(path.c_str(), &back), 0);
    EXPECT_TRUE(same_record(back, s));
}

TEST(SettingsFile, ValuesAreWrittenWithTheirSpellings) {
    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    vl_settings s = defaults();
    s.scale = 5; s.scaling = 0; s.volume = 0; s.mute = 1; s.delay = 0;
    put(s.keys[0], "Left Shift");
    put(s.buttons[9], "misc1");
    put(s.host, "[::1]");
    put(s.name, "Zo\xC3\xAB");
    put(s.mode, "join");
    ASSERT_EQ(save_settings(path.c_str(), &s), 0);
    EXPECT_EQ(vt::read_file(path), expected_file({{5, "scale=5"}, {9, "scaling=integer"}, {15, "volume=0"},
                                                  {16, "mute=1"}, {20, "a=Left Shift"}, {42, "right=misc1"},
                                                  {53, "mode=join"}, {55, "host=[::1]"}, {59, "delay=0"},
                                                  {60, "name=Zo\xC3\xAB"}}));
    s.scaling = 2;
    ASSERT_EQ(save_settings(path.c_str(), &s), 0);
    EXPECT_NE(vt::read_file(path).find("\r\nscaling=stretch\r\n"), std::string::npos);
}

TEST(SettingsFile, SaveWritesANormalisedCopyAndLeavesTheRecordAlone) {
    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    vl_settings s = defaults();
    s.scale = 0;
    s.volume = -5;
    put(s.keys[4], "F11");
    put(s.host, "bad host");
    const vl_settings before = s;
    ASSERT_EQ(save_settings(path.c_str(), &s), 0);
    EXPECT_TRUE(same_record(s, before));
    EXPECT_EQ(vt::read_file(path), expected_file());
}

TEST(SettingsFile, MissingFileLeavesTheDefaultsAndReturnsOne) {
    vt::TempDir dir;
    vl_settings s;
    std::memset(&s, 0x7F, sizeof s);
    EXPECT_EQ(load_settings(dir.file("absent.ini").c_str(), &s), 1);
    EXPECT_TRUE(same_record(s, defaults()));
    EXPECT_EQ(load_settings(nullptr, &s), 1);
}

TEST(SettingsFile, FirstFormatFileIsReadAndRewrittenInTheSecondFormat) {
    vt::TempDir dir;
    const vl_settings s = load_text(dir, "[vorla]\nscale=2\ninteger_scale=1\n");
    EXPECT_EQ(s.scale, 2);
    EXPECT_EQ(s.scaling, 0);
    const std::string path = dir.file("vorla.ini");
    ASSERT_EQ(save_settings(path.c_str(), &s), 0);
    EXPECT_EQ(vt::read_file(path), expected_file({{5, "scale=2"}, {9, "scaling=integer"}}));
}

struct ReadCase {
    const char *what;
    std::string text;
    std::function<void(vl_settings &)> expect;  // applied to the defaults
};

std::string repeat(char c, size_t n) { return std::string(n, c); }

// A CR-only file is one long line read in 255-byte pieces; only the first key of
// each piece counts. The second piece starts exactly at byte 255.
std::string cr_only_file() {
    std::string first = "scale=5\rvsync=1\r;";
    first += repeat('x', 255 - first.size());
    return first + "fullscreen=1\rmute=1\r";
}

// clang-format off
const ReadCase kReadCases[] = {
    {"retired key 1 alone is integer", "integer_scale=1\n", [](vl_settings &s) { s.scaling = 0; }},
    {"retired key 0 alone is fit", "[video]\nscaling=stretch\n[audio]\n[video]\ninteger_scale=0\n",
        [](vl_settings &s) { s.scaling = 2; }},
    {"retired key 0 without scaling", "integer_scale=0\n", [](vl_settings &) {}},
    {"scaling after the retired key wins", "[video]\ninteger_scale=1\nscaling=stretch\n", [](vl_settings &s) { s.scaling = 2; }},
    {"scaling before the retired key wins", "[video]\nscaling=stretch\ninteger_scale=1\n", [](vl_settings &s) { s.scaling = 2; }},
    {"retired key 2 is ignored", "integer_scale=2\n", [](vl_settings &) {}},
    {"last retired key wins", "integer_scale=0\ninteger_scale=1\n", [](vl_settings &s) { s.scaling = 0; }},
    {"invalid scaling does not hide the retired key", "integer_scale=1\nscaling=fits\n", [](vl_settings &s) { s.scaling = 0; }},
    {"retired key in the wrong section", "[audio]\ninteger_scale=1\n", [](vl_settings &) {}},

    {"volume before any header", "volume=40\nmute=1\n", [](vl_settings &s) { s.volume = 40; s.mute = 1; }},
    {"volume in section vorla, any case", "[VoRLa]\nvolume=40\n", [](vl_settings &s) { s.volume = 40; }},
    {"volume in section video is ignored", "[video]\nvolume=40\n", [](vl_settings &) {}},
    {"scale in section audio is ignored", "[audio]\nscale=2\n", [](vl_settings &) {}},
    {"show in section controller is ignored", "[controller]\nshow=0\n", [](vl_settings &) {}},
    {"binding in section link is ignored", "[link]\na=Q\n", [](vl_settings &) {}},
    {"unknown section ignores video keys", "[other]\nscale=2\n", [](vl_settings &) {}},
    {"empty section name is a section", "[]\nscale=2\n", [](vl_settings &) {}},
    {"section name is not trimmed", "[ video]\nscale=2\n", [](vl_settings &) {}},
    {"text after ] is ignored", "[audio] ; audio\nvolume=7\n", [](vl_settings &s) { s.volume = 7; }},

    {"spaces, key case and a trailing comment", "[video]\n \t Scale \t=  4 ; four\n", [](vl_settings &s) { s.scale = 4; }},
    {"hash comment after a value", "[video]\nscale=4# x\n", [](vl_settings &s) { s.scale = 4; }},
    {"comment lines", "[video]\n;scale=4\n  #scale=5\n", [](vl_settings &) {}},
    {"line without =", "[video]\nscale 4\nfullscreen=1\n", [](vl_settings &s) { s.fullscreen = 1; }},
    {"4x is not a number", "[video]\nscale=2\nscale=4x\n", [](vl_settings &s) { s.scale = 2; }},
    {"99 is read then corrected", "[video]\nscale=2\nscale=99\n", [](vl_settings &) {}},
    {"signs", "[video]\nscale=+2\n[audio]\nvolume=-0\n", [](vl_settings &s) { s.scale = 2; s.volume = 0; }},
    {"empty and bare-sign numbers", "[video]\nscale=2\nscale=\nscale=-\n", [](vl_settings &s) { s.scale = 2; }},
    {"number past the limit", "[video]\nscale=2\nscale=99999999999999999999\n", [](vl_settings &s) { s.scale = 2; }},
    {"values are case-sensitive", "[link]\nmode=HOST\n", [](vl_settings &) {}},
    {"scaling ignores case", "[video]\nscaling=stretch\nscaling=FIT\n", [](vl_settings &) {}},
    {"scaling fits is ignored", "[video]\nscaling=stretch\nscaling=fits\n", [](vl_settings &s) { s.scaling = 2; }},

    {"port with trailing text", "[link]\nport=8080abc\n", [](vl_settings &s) { s.port = 8080; }},
    {"players with trailing text", "[link]\nplayers=3 players\n", [](vl_settings &s) { s.players = 3; }},
    {"delay AUTO is zero", "[link]\ndelay=AUTO\n", [](vl_settings &s) { s.delay = 0; }},
    {"delay -1 is ignored", "[link]\ndelay=4\ndelay=-1\n", [](vl_settings &s) { s.delay = 4; }},
    {"delay auto", "[link]\ndelay=4\ndelay=auto\n", [](vl_settings &) {}},
    {"out-of-range leading numbers", "[link]\nport=0\nport=65536\nplayers=5\nplayers=1\ndelay=9\nport=99999999999999999999\n",
        [](vl_settings &) {}},
    {"link texts", "[link]\nmode=join\nhost=example.org\nname=Zo\xC3\xAB\ntransport=tcp\n",
        [](vl_settings &s) { put(s.mode, "join"); put(s.host, "example.org"); put(s.name, "Zo\xC3\xAB"); put(s.transport, "tcp"); }},
    {"name stops at a semicolon", "[link]\nname=Ann;B\n", [](vl_settings &s) { put(s.name, "Ann"); }},
    {"long name is cut to 15", "[link]\nname=ABCDEFGHIJKLMNOPQRST\n", [](vl_settings &s) { put(s.name, "ABCDEFGHIJKLMNO"); }},
    {"two-byte letter ending at byte 15 stays", "[link]\nname=ABCDEFGHIJKLM\xC3\xA9\n",
        [](vl_settings &s) { put(s.name, "ABCDEFGHIJKLM\xC3\xA9"); }},
    {"cut inside a two-byte letter", "[link]\nname=ABCDEFGHIJKLMN\xC3\xA9\n", [](vl_settings &) {}},
    {"long host is cut to 63", "[link]\nhost=" + repeat('h', 70) + "\n", [](vl_settings &s) { std::memset(s.host, 'h', 63); }},
    {"long transport is cut, then repaired", "[link]\ntransport=udpudpudp\n", [](vl_settings &) {}},
    {"language", "[launcher]\nlanguage=de\nshow=0\n", [](vl_settings &s) { put(s.language, "de"); s.show = 0; }},
    {"language of 8 bytes is ignored", "[launcher]\nlanguage=de\nlanguage=abcdefgh\n", [](vl_settings &s) { put(s.language, "de"); }},

    {"binding with a space", "[keyboard]\nA=Left Shift\n", [](vl_settings &s) { put(s.keys[0], "Left Shift"); }},
    {"reserved key is replaced by the default", "[keyboard]\nstart=Escape\n", [](vl_settings &) {}},
    {"binding value with = is ignored", "[keyboard]\na=a=b\n", [](vl_settings &) {}},
    {"binding of 32 bytes is ignored", "[keyboard]\na=" + repeat('k', 32) + "\n", [](vl_settings &) {}},
    {"duplicate binding resets all keys", "[keyboard]\nup=W\na=Z\n", [](vl_settings &) {}},
    {"controller keys", "[controller]\nA=x\nstick_as_dpad=0\nDeadzone=100\n",
        [](vl_settings &s) { put(s.buttons[0], "x"); s.stick_as_dpad = 0; s.deadzone = 100; }},
    {"binding file keys are whole words", "[keyboard]\naa=Q\nstart2=Q\n", [](vl_settings &) {}},

    {"byte order mark", "\xEF\xBB\xBF[video]\r\nscale=5\r\n", [](vl_settings &s) { s.scale = 5; }},
    {"CR LF lines", "[video]\r\nscale=5\r\n[link]\r\nname=Bo\r\n", [](vl_settings &s) { s.scale = 5; put(s.name, "Bo"); }},
    {"two bytes only", "\xEF\xBB", [](vl_settings &) {}},
    {"CR-only lines are read in pieces", cr_only_file(), [](vl_settings &s) { s.scale = 5; s.fullscreen = 1; }},
    {"a long line goes on in a new piece", ";" + repeat('x', 254) + "volume=9\n", [](vl_settings &s) { s.volume = 9; }},
    {"header without ] leaves no section", "[video]\nscale=2\n[audio\nvolume=7\nscale=4\n",
        [](vl_settings &s) { s.scale = 4; s.volume = 7; }},
    {"header name of 32 bytes leaves no section", "[audio]\n[" + repeat('v', 32) + "]\nscale=4\n", [](vl_settings &s) { s.scale = 4; }},
    {"header name of 31 bytes is an unknown section", "[" + repeat('v', 31) + "]\nscale=4\n", [](vl_settings &) {}},
    {"zero byte ends a line's text", std::string("[video]\nscale=4\0x\nfullscreen=1\n", 30),
        [](vl_settings &s) { s.scale = 4; s.fullscreen = 1; }},
};
// clang-format on

TEST(SettingsFile, ReaderCases) {
    vt::TempDir dir;
    for (const ReadCase &c : kReadCases) {
        SCOPED_TRACE(c.what);
        const vl_settings s = load_text(dir, c.text);
        vl_settings expected = defaults();
        c.expect(expected);
        EXPECT_TRUE(same_record(s, expected)) << "scale " << s.scale << " scaling " << s.scaling << " volume " << s.volume
                                              << " key0 " << s.keys[0] << " name " << s.name << " port " << s.port
                                              << " delay " << s.delay;
    }
}

TEST(SettingsFile, LoadSaveLoadSaveIsStable) {
    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    vt::write_file(path, "; hand-edited\n[LINK]\nname = M\xC3\xBCller ; me\nport=2000\ndelay=3\n[keyboard]\nselect=Tab\n"
                         "[controller]\nup=misc1\n[video]\nscale=6\nfullscreen=1\nextra=1\n");
    vl_settings first;
    ASSERT_EQ(load_settings(path.c_str(), &first), 0);
    ASSERT_EQ(save_settings(path.c_str(), &first), 0);
    const std::string once = vt::read_file(path);
    vl_settings second;
    ASSERT_EQ(load_settings(path.c_str(), &second), 0);
    EXPECT_TRUE(same_record(first, second));
    ASSERT_EQ(save_settings(path.c_str(), &second), 0);
    EXPECT_EQ(vt::read_file(path), once);
    EXPECT_EQ(once, expected_file({{5, "scale=6"}, {7, "fullscreen=1"}, {25, "select=Tab"}, {39, "up=misc1"},
                                   {56, "port=2000"}, {59, "delay=3"}, {60, "name=M\xC3\xBCller"}}));
}

TEST(SettingsFile, FailedSavesReturnMinusOneAndLeaveNoTrace) {
    vt::TempDir dir;
    const vl_settings s = defaults();

    // Folder that does not exist.
    EXPECT_EQ(save_settings(dir.file("missing/vorla.ini").c_str(), &s), -1);
    EXPECT_TRUE(folder_entries(dir.path()).empty());

    // A path naming an existing directory: the final move fails, the temporary goes.
    const std::string folder = dir.file("settings");
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    EXPECT_EQ(save_settings(folder.c_str(), &s), -1);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"settings"});
    EXPECT_TRUE(folder_entries(folder).empty());

    EXPECT_EQ(save_settings("", &s), -1);
    EXPECT_EQ(save_settings(nullptr, &s), -1);
}

TEST(SettingsFile, OldFileSurvivesASaveThatRunsOutOfSpace) {
#ifdef _WIN32
    GTEST_SKIP() << "needs a file size limit (POSIX)";
#else
    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    const std::string old = "; mine\n[video]\nscale=5\n[link]\nname=Keep Me\n";
    vt::write_file(path, old);
    vl_settings s = defaults();
    s.scale = 2;

    // A file size limit makes the write fail part-way, like a full disk.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 300;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    file_failure failure;
    const int32_t result = save_settings(path.c_str(), &s, &failure);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);

    EXPECT_EQ(result, -1);
    EXPECT_EQ(std::string(failure.text), "write " + path + ".tmp: File too large") << "the step that failed";
    EXPECT_EQ(vt::read_file(path), old);
    EXPECT_EQ(folder_entries(dir.path()), std::vector<std::string>{"vorla.ini"});

    // The next save tries again and succeeds.
    ASSERT_EQ(save_settings(path.c_str(), &s), 0);
    EXPECT_EQ(vt::read_file(path), expected_file({{5, "scale=2"}}));
#endif
}

TEST(SettingsFile, OldFileSurvivesWhenTheTemporaryCannotBeMade) {
    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    const std::string old = "[video]\nscale=4\n";
    vt::write_file(path, old);
    ASSERT_TRUE(std::filesystem::create_directory(path + ".tmp"));
    const vl_settings s = defaults();
    EXPECT_EQ(save_settings(path.c_str(), &s), -1);
    EXPECT_EQ(vt::read_file(path), old);
}

TEST(SettingsFile, BindingSlotsOfFileKeys) {
    const char *keys[] = {"a", "b", "l", "r", "start", "select", "up", "down", "left", "right"};
    for (int32_t slot = 0; slot < kBindingSlots; ++slot) EXPECT_EQ(binding_slot_of(keys[slot]), slot) << keys[slot];
    for (const char *other : {"", "A", "scale", "righ", "rights", "x"}) EXPECT_EQ(binding_slot_of(other), -1) << other;
    EXPECT_EQ(binding_slot_of(nullptr), -1);
}

// Plausible lines mixed with noise: whatever the file holds, the loaded record is
// already normal, and saving and reading it back changes nothing.
TEST(SettingsFile, AnyFileLoadsNormalisedAndRoundTrips) {
    const char *sections[] = {"[video]", "[audio]", "[keyboard]", "[controller]", "[launcher]", "[link]", "[vorla]",
                              "[VIDEO]", "[link", "[other]", ""};
    const char *keys[] = {"scale", "fullscreen", "vsync", "integer_scale", "scaling", "mute", "volume", "a", "B",
                          "start", "right", "stick_as_dpad", "deadzone", "show", "language", "mode", "host",
                          "port", "players", "delay", "name", "transport", "junk"};
    const char *values[] = {"0", "1", "2", "-1", "7", "100", "40000", "-1000000", "1000001", "fit", "INTEGER",
                            "stretch", "auto", "AUTO", "host", "join", "solo", "udp", "TCP", "X", "x", "Escape",
                            "f11", "Left Shift", "dpup", "a=b", "Zo\xC3\xAB", "\xC3\x97", "\xE2\x82\xAC",
                            "8080abc", "3 players", "[::1]", "my host", "", "abcdefgh",
                            "ABCDEFGHIJKLMN\xC3\xA9", "  spaced  ; c"};
    const char *ends[] = {"\n", "\r\n", "\r", ""};
    std::mt19937 random(20261210);
    auto pick = [&](auto &table) { return std::string(table[random() % (sizeof table / sizeof *table)]); };

    vt::TempDir dir;
    const std::string path = dir.file("vorla.ini");
    for (int round = 0; round < 250; ++round) {
        std::string text;
        if (round % 4 == 0) {
            for (int i = 0, n = static_cast<int>(random() % 600); i < n; ++i) text += static_cast<char>(random() % 256);
        } else {
            for (int i = 0, n = static_cast<int>(random() % 40); i < n; ++i) {
                switch (random() % 6) {
                case 0: text += pick(sections); break;
                case 1: text += std::string(random() % 3, ' ') + pick(keys) + "=" + pick(values); break;
                case 2: text += pick(keys) + pick(values); break;
                case 3: text += "; " + pick(values); break;
                default: text += pick(keys) + " = " + pick(values) + pick(values); break;
                }
                text += pick(ends);
            }
        }
        SCOPED_TRACE("round " + std::to_string(round));
        vt::write_file(path, text);
        vl_settings loaded;
        ASSERT_EQ(load_settings(path.c_str(), &loaded), 0);
        vl_settings again = loaded;
        EXPECT_EQ(normalise_settings(&again), 0);
        EXPECT_TRUE(same_record(again, loaded));

        ASSERT_EQ(save_settings(path.c_str(), &loaded), 0);
        const std::string saved = vt::read_file(path);
        vl_settings reread;
        ASSERT_EQ(load_settings(path.c_str(), &reread), 0);
        EXPECT_TRUE(same_record(reread, loaded));
        ASSERT_EQ(save_settings(path.c_str(), &reread), 0);
        EXPECT_EQ(vt::read_file(path), saved);
    }
}

} // namespace
