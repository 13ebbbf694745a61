// What a host learns of failures: vl_last_error after settings files that cannot be
// written, and vl_run refused (VL_RUN_REFUSED) while a run is under way, from a callback
// or from another thread arriving at the same moment.
#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "frame/state.h"
#include "test_support.h"

namespace {

// A text a host can decode: whole UTF-8 characters only.
bool is_utf8(const std::string &text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t n = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : (lead & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || i + n > text.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// What one run told: the last error and the note while the run went on (after a setting
// changed and was written at once), and the last error after it.
struct RunReport {
    int32_t code = -1;
    std::string error_in_run;
    std::string note_in_run;
    std::string error_after;
};

// A run on the settings page that switches "mute" (a setting written at once), looks at
// the next poll, then quits. `between` runs after that look, before the quit.
RunReport run_changing_a_setting(const std::string &ini, const std::function<void()> &between = {}) {
    RunReport report;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call == 1) {
            vl_test_set_focus("mute");
            vt::push_key(SDLK_RETURN);
        }
        if (call == 3) {
            report.error_in_run = vl_last_error();
            report.note_in_run = vl_test_note();
            if (between) between();
            vt::push_quit();
        }
    };
    vl_set_start_page(VL_PAGE_SETTINGS);
    report.code = vt::run_host(ini, host);
    vl_set_start_page(VL_PAGE_MAIN);
    report.error_after = vl_last_error();
    return report;
}

constexpr const char *kNotWritten = "vorla_ui: settings file not written: ";

TEST(LastError, UnwritableSettingsPathsAreNamedWithTheirReason) {
    vt::TempDir dir;
    const std::string file = dir.file("file.txt");
    vt::write_file(file, "a file, not a folder");
    const std::string folder = dir.file("folder");
    std::filesystem::create_directory(folder);
    const std::string long_path = dir.path() + "/" + std::string(600, 'l') + ".ini";

    struct Row {
        const char *what;         // what the row proves
        std::string path;
        std::string must_name;    // the path (or its start) as the text names it
        const char *reason;       // the step and the system's reason
    } rows[] = {
        {"a path of 512 bytes or more is refused whole, named by its start", long_path,
         long_path.substr(0, 40), "its path is longer than 511 bytes"},
        {"an empty path names no file", "", "", "the path is empty"},
        {"a missing folder: the temporary file cannot be created", dir.file("missing/vorla.ini"),
         dir.file("missing/vorla.ini.tmp"), "create "},
        {"a path through a regular file: not a folder", file + "/vorla.ini", file + "/vorla.ini.tmp", "create "},
        {"a path naming a folder: the written temporary cannot replace it", folder, folder + ".tmp to " + folder,
         "rename "},
#ifndef _WIN32
        {"a folder where the system refuses new files", "/proc/vorla.ini", "/proc/vorla.ini.tmp", "create "},
#endif
    };
    for (const Row &row : rows) {
        const RunReport report = run_changing_a_setting(row.path);
        EXPECT_EQ(report.code, VL_EXIT_QUIT) << row.what;
        EXPECT_EQ(report.error_in_run.rfind(kNotWritten, 0), 0u) << row.what << ": " << report.error_in_run;
        EXPECT_EQ(report.note_in_run, "") << row.what << ": the player sees nothing of it";
        EXPECT_EQ(report.error_after, report.error_in_run) << row.what;
        EXPECT_NE(report.error_after.find(row.must_name), std::string::npos) << row.what << ": " << report.error_after;
        EXPECT_NE(report.error_after.find(row.reason), std::string::npos) << row.what << ": " << report.error_after;
        // After the step and the file, the system's reason: never an empty one.
        EXPECT_GT(report.error_after.size(), report.error_after.rfind(": ") + 2) << row.what;
        EXPECT_EQ(report.error_after.find('\n'), std::string::npos) << row.what;
    }

    const RunReport good = run_changing_a_setting(dir.file("vorla.ini"));
    EXPECT_EQ(good.error_in_run, "");
    EXPECT_EQ(good.error_after, "");
    EXPECT_TRUE(vt::file_exists(dir.file("vorla.ini")));
}

// The reasons are the system's own texts, checked here for Linux's C library.
TEST(LastError, SystemReasonsOfTheFailedSteps) {
#ifdef _WIN32
    GTEST_SKIP() << "the reasons are the C library's texts; these are glibc's";
#else
    vt::TempDir dir;
    const std::string file = dir.file("file.txt");
    vt::write_file(file, "x");
    std::filesystem::create_directory(dir.file("folder"));
    struct Row {
        std::string path;
        const char *ending;
    } rows[] = {
        {dir.file("missing/vorla.ini"), ": No such file or directory"},
        {file + "/vorla.ini", ": Not a directory"},
        {dir.file("folder"), ": Is a directory"},
    };
    for (const Row &row : rows) {
        const std::string error = run_changing_a_setting(row.path).error_after;
        const size_t at = error.size() - std::string(row.ending).size();
        EXPECT_EQ(error.find(row.ending), at) << error;
    }
    // Permission checks do not bite for root; for anyone else a read-only folder is one more row.
    if (geteuid() != 0) {
        const std::string locked = dir.file("locked");
        std::filesystem::create_directory(locked);
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        const std::string error = run_changing_a_setting(locked + "/vorla.ini").error_after;
        EXPECT_NE(error.find(": Permission denied"), std::string::npos) << error;
    }
#endif
}

// A path too long to use is named by its start, cut before a character it would split.
TEST(LastError, LongPathIsCutAtAWholeCharacter) {
    vt::TempDir dir;
    for (size_t pad = 0; pad < 3; ++pad) {  // the cut falls on each byte of a character once
        std::string long_path = dir.path() + "/" + std::string(pad, 'p');
        while (long_path.size() < 600) long_path += "\xE8\xA9\xA6";  // a three-byte character
        const std::string error = run_changing_a_setting(long_path).error_after;
        EXPECT_NE(error.find("longer than 511 bytes"), std::string::npos) << error;
        EXPECT_TRUE(is_utf8(error)) << "cut after " << pad;
    }
}

// A write during the run may fail and a later one succeed, or the other way round:
// after the run the text tells about the last write, made at the end with every setting.
TEST(LastError, TheLastWriteOfTheRunDecides) {
    vt::TempDir dir;
    const std::string folder = dir.file("later");
    const std::string ini = folder + "/vorla.ini";

    const RunReport made_later = run_changing_a_setting(ini, [&] { std::filesystem::create_directory(folder); });
    EXPECT_NE(made_later.error_in_run.find("create "), std::string::npos) << made_later.error_in_run;
    EXPECT_EQ(made_later.error_after, "");
    EXPECT_TRUE(vt::file_exists(ini));

    const RunReport removed_later = run_changing_a_setting(ini, [&] { std::filesystem::remove_all(folder); });
    EXPECT_EQ(removed_later.error_in_run, "");
    EXPECT_NE(removed_later.error_after.find(ini + ".tmp"), std::string::npos) << removed_later.error_after;
}

// vl_run from inside a callback: refused with -1, the refusal in the last error at once,
// the run under way untouched (its path, page and records), and that run's own end
// (settings written) leaves no error behind.
TEST(RefusedRun, FromInsideACallbackReturnsMinusOneAndChangesNothing) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    const std::string other = dir.file("other.ini");
    int32_t inner = 0;
    std::string err, error_in_run, path_after, page_after;
    int32_t state_after = -1;
    vt::Host host;
    host.status = [&](vl_status &status, int call) {
        status.state = VL_BUILD_READY;
        if (call == 1) {
            testing::internal::CaptureStderr();
            inner = vl_run(other.c_str(), nullptr);
            err = testing::internal::GetCapturedStderr();
            error_in_run = vl_last_error();
            path_after = vl.settings_path;
            page_after = vl_test_page();
            state_after = vl.status.state;
        }
        if (call == 3) vt::push_quit();
    };
    vl_set_start_page(VL_PAGE_ONLINE);
    EXPECT_EQ(vt::run_host(ini, host), VL_EXIT_QUIT);
    vl_set_start_page(VL_PAGE_MAIN);
    EXPECT_EQ(inner, VL_RUN_REFUSED);
    EXPECT_EQ(err, "vorla_ui: vl_run called while a run is under way; refused\n");
    EXPECT_EQ(error_in_run + "\n", err);
    EXPECT_EQ(path_after, ini);
    EXPECT_EQ(page_after, "online");
    EXPECT_EQ(state_after, VL_BUILD_READY);
    EXPECT_GE(host.status_calls, 4) << "the run went on";
    EXPECT_FALSE(vt::file_exists(other));
    EXPECT_STREQ(vl_last_error(), "");
    EXPECT_EQ(SDL_WasInit(0), 0u);
}

// Two host threads call vl_run at the same moment, released together round after round.
// Whichever gets in holds its run open until the other's call has returned, so the calls
// always overlap: exactly one run and one refusal each round, never a crash.
namespace two_threads {

std::atomic<int> returned{0};

void hold_until_the_other_returned(vl_status *) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (returned.load() == 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    vt::push_quit();
}

// Releases the two threads of a round together: each arrives, then spins until both have.
struct StartLine {
    std::atomic<int> arrived{0};
    void arrive_and_wait() {
        arrived.fetch_add(1);
        while (arrived.load() < 2) std::this_thread::yield();
    }
};

} // namespace two_threads

TEST(RefusedRun, TwoThreadsArrivingTogetherGiveOneRunAndOneRefusal) {
    using namespace two_threads;
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vl_set_poll_interval(1);
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        returned = 0;
        StartLine line;
        int32_t codes[2] = {0, 0};
        std::string errors[2];
        auto host_thread = [&](int k) {
            line.arrive_and_wait();
            codes[k] = vl_run(ini.c_str(), hold_until_the_other_returned);
            errors[k] = vl_last_error();  // this thread's own text
            returned.fetch_add(1);
            // SDL keeps per-thread data (its error text) for threads it did not start
            // until they release it; a host that ends its threads does the same.
            SDL_TLSCleanup();
        };
        testing::internal::CaptureStderr();
        std::thread a(host_thread, 0), b(host_thread, 1);
        a.join();
        b.join();
        testing::internal::GetCapturedStderr();

        const int refused = (codes[0] == VL_RUN_REFUSED) + (codes[1] == VL_RUN_REFUSED);
        ASSERT_EQ(refused, 1) << "round " << round << ": codes " << codes[0] << ", " << codes[1];
        const int loser = codes[0] == VL_RUN_REFUSED ? 0 : 1;
        EXPECT_EQ(codes[1 - loser], VL_EXIT_QUIT) << "round " << round;
        EXPECT_EQ(errors[loser], "vorla_ui: vl_run called while a run is under way; refused") << "round " << round;
        EXPECT_EQ(errors[1 - loser], "") << "round " << round;
        EXPECT_EQ(SDL_WasInit(0), 0u) << "round " << round;
    }
    // The refusal stayed on the thread that was refused: this one's text is untouched,
    // and a later run here starts and ends cleanly.
    vt::Host host;
    host.status = [](vl_status &, int call) {
        if (call == 1) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(ini, host), VL_EXIT_QUIT);
    EXPECT_STREQ(vl_last_error(), "");
}

// Refused inside a callback, the text says so at once; the run's own failed last write
// then takes its place, and the next run clears it when it starts.
TEST(RefusedRun, TheNextRunClearsTheLastErrorWhenItStarts) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    std::string in_callback, at_next_start;
    vt::Host nested;
    nested.status = [&](vl_status &, int call) {
        if (call != 1) return;
        testing::internal::CaptureStderr();
        vl_run(ini.c_str(), nullptr);
        testing::internal::GetCapturedStderr();
        in_callback = vl_last_error();
        vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("missing/vorla.ini"), nested), VL_EXIT_QUIT);
    EXPECT_NE(in_callback.find("refused"), std::string::npos);
    EXPECT_EQ(std::string(vl_last_error()).rfind(kNotWritten, 0), 0u) << vl_last_error();

    vt::Host next;
    next.status = [&](vl_status &, int call) {
        if (call == 0) at_next_start = vl_last_error();
        if (call == 1) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(ini, next), VL_EXIT_QUIT);
    EXPECT_EQ(at_next_start, "");
    EXPECT_STREQ(vl_last_error(), "");
}

} // namespace
