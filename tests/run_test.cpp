// The run lifecycle as a host sees it: exit codes, the dropped path, the setters,
// the settings path and the start-up failure exit.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/state.h"
#include "test_support.h"

namespace {

TEST(Run, ClosingTheWindowReturnsZeroAndWritesTheSettings) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::Host host;
    host.status = [](vl_status &, int call) {
        if (call == 2) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(ini, host), 0);
    EXPECT_FALSE(host.timed_out);
    EXPECT_EQ(vl_dropped_path(), nullptr);
}

TEST(Run, DroppedFileEndsTheRunWithTwoAndKeepsThePathUntilTheNextRun) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    vt::Host host;
    host.status = [](vl_status &, int call) {
        if (call != 1) return;
        SDL_Event drop{};
        drop.type = SDL_DROPFILE;
        drop.drop.file = SDL_strdup("/roms/some game.gba");
        SDL_PushEvent(&drop);
        // Still queued when SDL stops: its text must be released (the sanitizer
        // build's leak check sees it otherwise).
        SDL_Event late = drop;
        late.drop.file = SDL_strdup("/roms/late.gba");
        SDL_PushEvent(&late);
    };
    EXPECT_EQ(vt::run_host(ini, host), 2);
    ASSERT_NE(vl_dropped_path(), nullptr);
    EXPECT_STREQ(vl_dropped_path(), "/roms/some game.gba");
    EXPECT_STREQ(vl_dropped_path(), "/roms/some game.gba");  // stable between runs

    vt::Host quiet;
    quiet.status = [](vl_status &, int call) {
        if (call == 1) vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(ini, quiet), 0);
    EXPECT_EQ(vl_dropped_path(), nullptr);
}

TEST(Run, NullPathAndNullCallbackUseVorlaIniInTheCurrentFolder) {
    vt::TempDir dir;
    char *previous = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(dir.path().c_str()), 0);
    // Without a status callback nothing polls; a quit queued before the run ends it.
    SDL_Init(SDL_INIT_EVENTS);
    vt::push_quit();
    const int32_t code = vl_run(nullptr, nullptr);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    ASSERT_EQ(chdir(previous), 0);
    std::free(previous);
    EXPECT_EQ(code, 0);
}

TEST(Run, StartPageSetterBoundsAndPersistence) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    struct Case {
        uint32_t page;
        const char *shown;
    } cases[] = {{3, "online"}, {7, "main"}, {4, "settings"}, {static_cast<uint32_t>(-1), "main"}, {1, "keyboard"}, {0, "main"}};
    for (const Case &c : cases) {
        vl_set_start_page(c.page);
        std::string page;
        vt::Host host;
        host.status = [&](vl_status &, int call) {
            if (call == 1) {
                page = vl_test_page();
                vt::push_quit();
            }
        };
        EXPECT_EQ(vt::run_host(ini, host), 0);
        EXPECT_EQ(page, c.shown) << "start page " << c.page;
    }
    vl_set_start_page(0);
}

// How often polls come at a given interval is a matter of time, measured by the
// benchmarks (bench/frame_bench.cpp, BM_PollSpacing); here: what is stored and that a
// run polls with it.
TEST(Run, PollIntervalBelowOneIsStoredAsOne) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    for (int32_t interval : {0, -5, 1, 7}) {
        vt::Host host;
        host.poll_interval_ms = interval;
        int32_t stored = -1;
        host.status = [&](vl_status &, int call) {
            if (call == 1) stored = vl.poll_interval_ms;
            if (call == 21) vt::push_quit();
        };
        EXPECT_EQ(vt::run_host(ini, host), 0);
        EXPECT_FALSE(host.timed_out);
        EXPECT_EQ(stored, interval < 1 ? 1 : interval) << "interval " << interval;
    }
}

// A failed start returns 0 (hosts stop on it) and tells why through vl_last_error.
TEST(Run, UnknownVideoDriverFailsStartUpWithoutWritingSettings) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    bool called = false;
    int32_t code = -1;
    std::string err;
    {
        vt::ScopedEnv driver("SDL_VIDEODRIVER", "no-such-driver");
        testing::internal::CaptureStderr();
        vt::Host host;
        host.status = [&](vl_status &, int) { called = true; };
        code = vt::run_host(ini, host);
        err = testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(called);
    EXPECT_EQ(err.rfind("vorla_ui: SDL_InitSubSystem failed: ", 0), 0u) << err;
    EXPECT_EQ(err.back(), '\n');
    EXPECT_EQ(std::string(vl_last_error()) + "\n", err) << "the host reads the same line";
    EXPECT_FALSE(vt::file_exists(ini));
    EXPECT_EQ(SDL_WasInit(0), 0u);
}

TEST(Run, RepeatedRunsLeaveNoSdlStateBehind) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    for (int i = 0; i < 5; ++i) {
        vt::Host host;
        host.status = [](vl_status &, int call) {
            if (call == 1) vt::push_quit();
        };
        EXPECT_EQ(vt::run_host(ini, host), 0);
        EXPECT_EQ(SDL_WasInit(0), 0u) << "run " << i;
        EXPECT_EQ(vl_test_window_id(), 0u);
    }
}

} // namespace

namespace {

TEST(Run, DroppedFileEndsTheRunAtOnceLeavingLaterEventsQueued) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    // The host keeps the event queue alive, so what the run left can be inspected.
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    vt::Host host;
    host.status = [](vl_status &, int call) {
        if (call != 1) return;
        SDL_Event drop{};
        drop.type = SDL_DROPFILE;
        drop.drop.file = SDL_strdup("/roms/first.gba");
        SDL_PushEvent(&drop);
        SDL_Event second = drop;
        second.drop.file = SDL_strdup("/roms/second.gba");
        SDL_PushEvent(&second);
        SDL_Event user{};
        user.type = SDL_USEREVENT;
        SDL_PushEvent(&user);
    };
    EXPECT_EQ(vt::run_host(ini, host), 2);
    EXPECT_STREQ(vl_dropped_path(), "/roms/first.gba");
    // Window events of the destroyed window may be queued too; the drop and the
    // user event that followed the first drop must be there, in order.
    SDL_Event left[16];
    const int n = SDL_PeepEvents(left, 16, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    std::vector<uint32_t> kept;
    for (int i = 0; i < n; ++i) {
        if (left[i].type == SDL_DROPFILE) {
            EXPECT_STREQ(left[i].drop.file, "/roms/second.gba");
            SDL_free(left[i].drop.file);
        }
        if (left[i].type == SDL_DROPFILE || left[i].type == SDL_USEREVENT) kept.push_back(left[i].type);
    }
    EXPECT_EQ(kept, (std::vector<uint32_t>{SDL_DROPFILE, SDL_USEREVENT}));
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
    EXPECT_EQ(SDL_WasInit(0), 0u);
}

// A settings path longer than the library holds (511 bytes) would be cut to the name of
// another file, here an unrelated one in an existing folder: the run reads and writes no
// settings file at all, not the host's and not the cut one.
TEST(Run, SettingsPathThatDoesNotFitReadsAndWritesNoFile) {
#ifdef _WIN32
    GTEST_SKIP() << "a path of 600 bytes needs long-path support on Windows";
#else
    vt::TempDir dir;
    const std::string folder = dir.path() + "/" + std::string(200, 'd') + "/" + std::string(200, 'e');
    std::filesystem::create_directories(folder);
    const std::string ini = folder + "/" + std::string(600 - folder.size() - 5, 'f') + ".ini";
    ASSERT_EQ(ini.size(), 600u);
    const std::string cut = ini.substr(0, 511);
    vt::write_file(ini, "[video]\r\nscale=5\r\n");
    vt::write_file(cut, "unrelated");

    int32_t scale = -1;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call == 1) {
            scale = vl.settings.scale;
            vl_test_set_focus("mute");  // a setting changed: written at once, normally
            vt::push_key(SDLK_RETURN);
        }
        if (call == 3) vt::push_quit();
    };
    vl_set_start_page(4);
    EXPECT_EQ(vt::run_host(ini, host), 0);
    vl_set_start_page(0);
    vl_settings defaults{};
    default_settings(&defaults);
    EXPECT_EQ(scale, defaults.scale) << "the host's file was read";
    EXPECT_EQ(vt::read_file(ini), "[video]\r\nscale=5\r\n");
    EXPECT_EQ(vt::read_file(cut), "unrelated");
    int files = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) files += entry.is_regular_file();
    EXPECT_EQ(files, 2) << "a file was written beside them";
#endif
}

// A dropped path longer than the library holds (1023 bytes) would reach the host cut,
// naming another file: it is refused with an error note and the run goes on.
TEST(Run, DroppedPathThatDoesNotFitIsRefusedWithANote) {
    vt::TempDir dir;
    const std::string longest = "/roms/" + std::string(1023 - 10, 'r') + ".gba";
    ASSERT_EQ(longest.size(), 1023u);
    const std::string too_long = longest + "x";
    std::string note;
    int32_t error = -1;
    vt::Host host;
    auto drop = [](const std::string &path) {
        SDL_Event event{};
        event.type = SDL_DROPFILE;
        event.drop.file = SDL_strdup(path.c_str());
        SDL_PushEvent(&event);
    };
    host.status = [&](vl_status &, int call) {
        if (call == 1) drop(too_long);
        if (call == 3) {
            note = vl_test_note();
            error = vl.note_is_error;
            drop(longest);
        }
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 2);
    EXPECT_FALSE(host.timed_out);
    EXPECT_EQ(note, "That file's path is too long - move the file to a shorter path");
    EXPECT_EQ(error, 1);
    ASSERT_NE(vl_dropped_path(), nullptr);
    EXPECT_EQ(std::string(vl_dropped_path()), longest);
}

// Each stage of the test command names the renderer its driver must give
// (VORLA_EXPECT_RENDERER), so that a stage meant for OpenGL or Direct3D cannot pass on a
// quiet fallback to the software renderer.
TEST(Run, RendererIsTheOneTheStageExpects) {
    const char *expected = std::getenv("VORLA_EXPECT_RENDERER");
    if (!expected || !expected[0]) GTEST_SKIP() << "VORLA_EXPECT_RENDERER is not set";
    vt::TempDir dir;
    std::string renderer;
    vt::Host host;
    host.status = [&](vl_status &, int call) {
        if (call != 1) return;
        renderer = vt::renderer_name();
        vt::push_quit();
    };
    EXPECT_EQ(vt::run_host(dir.file("vorla.ini"), host), 0);
    EXPECT_EQ(renderer, expected) << "video driver " << (std::getenv("SDL_VIDEODRIVER") ? std::getenv("SDL_VIDEODRIVER") : "(default)");
}

} // namespace
