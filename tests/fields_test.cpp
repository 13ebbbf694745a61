// The three text fields of the online page: what each accepts, deleting, committing to
// the settings file, keyboard editing and the on-screen keypad.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "frame/state.h"
#include "screens/fields.h"
#include "test_support.h"

namespace {

class Fields : public ::testing::Test {
protected:
    vt::TempDir dir;

    void SetUp() override {
        std::snprintf(vl.settings_path, sizeof vl.settings_path, "%s", ini_path().c_str());
        default_settings(&vl.settings);
        for (auto &field : vl.fields) field[0] = '\0';
        vl.editing_field = -1;
        vl.keypad_field = -1;
        vl.refocus_id[0] = '\0';
    }

    std::string ini_path() const { return dir.file("vorla.ini"); }
    std::string ini() const { return vt::read_file(ini_path()); }
    static void set_field(int32_t f, const char *text) {
        std::snprintf(vl.fields[f], sizeof vl.fields[f], "%s", text);
    }
};

TEST_F(Fields, InsertTextKeepsOnlyWhatEachFieldAccepts) {
    struct Case {
        const char *what;
        int32_t field;
        const char *start;
        std::vector<const char *> typed;
        const char *expected;
    } cases[] = {
        {"Latin-1 letters in the name", kFieldName, "", {"Jos\xC3\xA9 \xC3\x91"}, "Jos\xC3\xA9 \xC3\x91"},
        {"same text in the host address", kFieldHost, "", {"Jos\xC3\xA9 \xC3\x91"}, "Jos"},
        {"name punctuation", kFieldName, "", {"a-b.c_d 9"}, "a-b.c_d 9"},
        {"name refuses other ASCII", kFieldName, "", {"a:b/c@d;e"}, "abcde"},
        {"host punctuation", kFieldHost, "", {"fd00::1.x-y_z"}, "fd00::1.x-y_z"},
        {"host refuses space and slash", kFieldHost, "", {"a b/c"}, "abc"},
        {"port takes digits only", kFieldPort, "", {"4a7-9.0 0"}, "47900"},
        {"multiplication, division and euro signs", kFieldName, "a", {"\xC3\x97", "\xC3\xB7", "\xE2\x82\xAC"}, "a"},
        {"Latin-1 non-letters", kFieldName, "", {"\xC2\xA9\xC2\xBF"}, ""},
        {"cut three-byte lead then a letter", kFieldName, "", {"\xE2\x82" "A"}, "A"},
        {"four-byte character", kFieldName, "", {"\xF0\x9F\x98\x80" "b"}, "b"},
        {"two-byte lead without continuation", kFieldName, "", {"\xC3" "x"}, "x"},
        {"overlong lead and stray continuation", kFieldName, "", {"\xC0\x80y\xA9"}, "y"},
        {"control characters and DEL", kFieldName, "", {"a\tb\x7F" "c\n"}, "abc"},
        {"port stops at five digits", kFieldPort, "", {"65535", "1"}, "65535"},
        {"port can hold a number too large", kFieldPort, "", {"70000"}, "70000"},
        {"twenty letters pasted into the name", kFieldName, "", {"ABCDEFGHIJKLMNOPQRST"}, "ABCDEFGHIJKLMNO"},
        {"14-byte name refuses a two-byte letter", kFieldName, "ABCDEFGHIJKLMN", {"\xC3\xA9"}, "ABCDEFGHIJKLMN"},
        {"14-byte name takes one ASCII letter", kFieldName, "ABCDEFGHIJKLMN", {"\xC3\xA9xy"}, "ABCDEFGHIJKLMNx"},
        {"13-byte name takes a two-byte letter", kFieldName, "ABCDEFGHIJKLM", {"\xC3\xA9"}, "ABCDEFGHIJKLM\xC3\xA9"},
        {"host address stops at 45 bytes", kFieldHost, "", {"0123456789012345678901234567890123456789abcdefghij"},
         "0123456789012345678901234567890123456789abcde"},
    };
    for (const Case &c : cases) {
        set_field(c.field, c.start);
        for (const char *piece : c.typed) insert_text(c.field, piece);
        EXPECT_STREQ(vl.fields[c.field], c.expected) << c.what;
    }
}

TEST_F(Fields, InsertCharFollowsTheSameRules) {
    insert_char(kFieldHost, '.');
    insert_char(kFieldPort, '.');
    insert_char(kFieldPort, '7');
    EXPECT_STREQ(vl.fields[kFieldHost], ".");
    EXPECT_STREQ(vl.fields[kFieldPort], "7");
    // A code point above ASCII is stored as UTF-8, never as one raw byte.
    insert_char(kFieldName, 0xE9);
    insert_char(kFieldName, 0xD7);
    insert_char(kFieldHost, 0xE9);
    EXPECT_STREQ(vl.fields[kFieldName], "\xC3\xA9");
    EXPECT_STREQ(vl.fields[kFieldHost], ".");
    // Field numbers outside 0..2 are ignored rather than written past the array.
    insert_char(3, 'a');
    insert_char(-1, 'a');
    insert_text(7, "abc");
    delete_last_char(5);
}

TEST_F(Fields, DeleteRemovesTheWholeLastCharacter) {
    struct Case {
        const char *start;
        const char *expected;
    } cases[] = {
        {"a\xC3\xA9", "a"},
        {"\xC3\xA9", ""},
        {"ab", "a"},
        {"a", ""},
        {"", ""},
        {"\xC3\xA9\xC3\xA9", "\xC3\xA9"},
    };
    for (const Case &c : cases) {
        set_field(kFieldName, c.start);
        delete_last_char(kFieldName);
        EXPECT_STREQ(vl.fields[kFieldName], c.expected) << "from \"" << c.start << "\"";
    }
}

TEST_F(Fields, FillTakesNameHostAndPortFromTheSettings) {
    std::snprintf(vl.settings.name, sizeof vl.settings.name, "%s", "Ann");
    std::snprintf(vl.settings.host, sizeof vl.settings.host, "%s", "10.0.0.2");
    vl.settings.port = 5000;
    fill_fields_from_settings();
    EXPECT_STREQ(vl.fields[kFieldName], "Ann");
    EXPECT_STREQ(vl.fields[kFieldHost], "10.0.0.2");
    EXPECT_STREQ(vl.fields[kFieldPort], "5000");
}

TEST_F(Fields, CommitStoresValidTextsAndWritesTheFile) {
    struct Case {
        const char *what;
        const char *name, *host, *port;
        const char *stored_name, *stored_host;
        int32_t stored_port;
    } cases[] = {
        {"all valid", "Ann", "10.0.0.2", "5000", "Ann", "10.0.0.2", 5000},
        {"empty name reads Player", "", "h", "1", "Player", "h", 1},
        {"empty host keeps the old one", "Bo", "", "65535", "Bo", "127.0.0.1", 65535},
        {"port too large kept out", "Bo", "h", "70000", "Bo", "h", 47900},
        {"port zero kept out", "Bo", "h", "0", "Bo", "h", 47900},
        {"empty port kept out", "Bo", "h", "", "Bo", "h", 47900},
        {"longest name", "ABCDEFGHIJKLMNO", "h", "8", "ABCDEFGHIJKLMNO", "h", 8},
    };
    for (const Case &c : cases) {
        default_settings(&vl.settings);
        std::remove(ini_path().c_str());
        set_field(kFieldName, c.name);
        set_field(kFieldHost, c.host);
        set_field(kFieldPort, c.port);
        commit_fields();
        EXPECT_STREQ(vl.settings.name, c.stored_name) << c.what;
        EXPECT_STREQ(vl.settings.host, c.stored_host) << c.what;
        EXPECT_EQ(vl.settings.port, c.stored_port) << c.what;
        // The fields themselves are left as typed.
        EXPECT_STREQ(vl.fields[kFieldName], c.name) << c.what;
        EXPECT_STREQ(vl.fields[kFieldPort], c.port) << c.what;
        const std::string file = ini();
        EXPECT_NE(file.find(std::string("\r\nname=") + c.stored_name + "\r\n"), std::string::npos) << c.what;
        EXPECT_NE(file.find("\r\nport=" + std::to_string(c.stored_port) + "\r\n"), std::string::npos) << c.what;
    }
}

TEST_F(Fields, EndEditingCommitsOnlyWhileAFieldIsTyped) {
    set_field(kFieldPort, "5000");
    end_editing();
    EXPECT_FALSE(vt::file_exists(ini_path()));
    EXPECT_EQ(vl.settings.port, 47900);

    vl.editing_field = kFieldPort;
    end_editing();
    EXPECT_EQ(vl.editing_field, -1);
    EXPECT_EQ(vl.settings.port, 5000);
    EXPECT_NE(ini().find("\r\nport=5000\r\n"), std::string::npos);
}

TEST_F(Fields, CloseKeypadRestoresOrKeepsAndNamesTheFieldToFocus) {
    // Cancel: the text before the keypad opened comes back; nothing is committed.
    set_field(kFieldPort, "50001");
    std::snprintf(vl.keypad_backup, sizeof vl.keypad_backup, "%s", "5000");
    vl.keypad_field = kFieldPort;
    close_keypad(false);
    EXPECT_STREQ(vl.fields[kFieldPort], "5000");
    EXPECT_EQ(vl.keypad_field, -1);
    EXPECT_STREQ(vl.refocus_id, "online_port");
    EXPECT_EQ(vl.settings.port, 47900);
    EXPECT_FALSE(vt::file_exists(ini_path()));

    // OK on the host address: committed and written.
    set_field(kFieldHost, "10.1.1.1");
    std::snprintf(vl.keypad_backup, sizeof vl.keypad_backup, "%s", "10.");
    vl.keypad_field = kFieldHost;
    close_keypad(true);
    EXPECT_STREQ(vl.fields[kFieldHost], "10.1.1.1");
    EXPECT_STREQ(vl.settings.host, "10.1.1.1");
    EXPECT_STREQ(vl.refocus_id, "online_addr");
    EXPECT_NE(ini().find("\r\nhost=10.1.1.1\r\n"), std::string::npos);

    // Closed already: nothing at all.
    vl.refocus_id[0] = '\0';
    close_keypad(false);
    EXPECT_STREQ(vl.refocus_id, "");
}

// ---- Through the running window ----

void press(const char *id) {
    vl_test_set_focus(id);
    vt::push_key(SDLK_RETURN);
}

void push_pad_a() {
    SDL_Event event{};
    event.type = SDL_CONTROLLERBUTTONDOWN;
    event.cbutton.button = SDL_CONTROLLER_BUTTON_A;
    event.cbutton.state = SDL_PRESSED;
    SDL_PushEvent(&event);
}

void pad_press(const char *id) {
    vl_test_set_focus(id);
    push_pad_a();
}

TEST(FieldsRun, TypingAndPastingIntoTheNameReachTheFile) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, "[link]\r\nname=Bob\r\n");
    vl_set_start_page(3);
    std::string typed, pasted, host_typed;
    int32_t editing = -2;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        switch (call) {
        case 1:
            press("online_name");
            for (int k = 0; k < 3; ++k) vt::push_key(SDLK_BACKSPACE);
            vt::push_text("Jos\xC3\xA9 \xC3\x91");
            break;
        case 2:
            editing = vl_test_editing();
            typed = vl_test_field(0);
            for (int k = 0; k < 6; ++k) vt::push_key(SDLK_BACKSPACE, 0, k > 0);
            SDL_SetClipboardText("ABCDEFGHIJKLMNOPQRST");
            vt::push_key(SDLK_v, KMOD_LCTRL);
            vt::push_key(SDLK_RETURN);
            break;
        case 3:
            pasted = vl_test_field(0);
            press("online_addr");
            for (int k = 0; k < 9; ++k) vt::push_key(SDLK_BACKSPACE, 0, k > 0);
            vt::push_text("Jos\xC3\xA9 \xC3\x91");
            break;
        case 4:
            host_typed = vl_test_field(1);
            vt::push_key(SDLK_ESCAPE);
            break;
        case 5:
            vt::push_quit();
            break;
        }
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_FALSE(host.timed_out);
    EXPECT_EQ(editing, kFieldName);
    EXPECT_EQ(typed, "Jos\xC3\xA9 \xC3\x91");
    EXPECT_EQ(typed.size(), 8u);
    EXPECT_EQ(pasted, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(host_typed, "Jos");
    const std::string file = vt::read_file(ini);
    EXPECT_NE(file.find("\r\nname=ABCDEFGHIJKLMNO\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nhost=Jos\r\n"), std::string::npos);
}

TEST(FieldsRun, KeypadCancelRestoresThePortAndRefocusesIt) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, "[link]\r\nport=5000\r\n");
    vl_set_start_page(3);
    int32_t keypad_open = -2, keypad_after = -2;
    std::string focus_open, field_open, field_after, focus_after;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        switch (call) {
        case 1:
            pad_press("online_port");
            break;
        case 2:
            keypad_open = vl_test_keypad();
            focus_open = vl_test_focus();
            pad_press("kp_1");
            break;
        case 3:
            field_open = vl_test_field(2);
            pad_press("kp_cancel");
            break;
        case 4:
            keypad_after = vl_test_keypad();
            field_after = vl_test_field(2);
            focus_after = vl_test_focus();
            vt::push_quit();
            break;
        }
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_EQ(keypad_open, kFieldPort);
    EXPECT_EQ(focus_open, "kp_5");
    EXPECT_EQ(field_open, "50001");
    EXPECT_EQ(keypad_after, -1);
    EXPECT_EQ(field_after, "5000");
    EXPECT_EQ(focus_after, "online_port");
    EXPECT_NE(vt::read_file(ini).find("\r\nport=5000\r\n"), std::string::npos);
}

TEST(FieldsRun, KeypadOkWithAnInvalidPortKeepsTheStoredPort) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, "[link]\r\nport=7000\r\n");
    vl_set_start_page(3);
    std::string field_after, focus_after;
    bool file_after_ok = false;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        switch (call) {
        case 1:
            std::remove(ini.c_str());
            pad_press("online_port");
            break;
        case 2:
            pad_press("kp_0");
            break;
        case 3:
            pad_press("kp_ok");
            break;
        case 4:
            field_after = vl_test_field(2);
            focus_after = vl_test_focus();
            // OK commits, so the file is back before the run ends.
            file_after_ok = vt::file_exists(ini);
            vt::push_quit();
            break;
        }
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_EQ(field_after, "70000");
    EXPECT_EQ(focus_after, "online_port");
    EXPECT_TRUE(file_after_ok);
    EXPECT_NE(vt::read_file(ini).find("\r\nport=7000\r\n"), std::string::npos);
}

TEST(FieldsRun, AnEmptiedNameIsStoredAsPlayerWhileTheFieldStaysEmpty) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::write_file(ini, "[link]\r\nname=Al\r\n");
    vl_set_start_page(3);
    std::string field_after;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call == 1) {
            press("online_name");
            vt::push_key(SDLK_BACKSPACE);
            vt::push_key(SDLK_BACKSPACE, 0, true);
            vt::push_key(SDLK_TAB);
        } else if (call == 2) {
            field_after = vl_test_field(0);
            vt::push_quit();
        }
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    EXPECT_EQ(field_after, "");
    EXPECT_NE(vt::read_file(ini).find("\r\nname=Player\r\n"), std::string::npos);
}

} // namespace
