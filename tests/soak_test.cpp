// Hundreds of launcher runs and progress-window cycles in one process: SDL's live
// allocations, the open file descriptors and SDL's state return to where they were.
// (glibc's own counters are no measure here: freed blocks kept in its per-thread
// caches still count as in use; unreachable blocks are the sanitizer build's job.)
#include <dirent.h>

#include <gtest/gtest.h>

#include <string>

#include "test_support.h"

namespace {

int open_descriptors() {
    int n = 0;
    if (DIR *dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++n;
        closedir(dir);
    }
    return n;
}

void one_cycle(const std::string &ini, int i) {
    vt::Host host;
    host.status = [i](vl_status &s, int call) {
        s.state = i % 5;
        s.rom_ok = 1;
        std::snprintf(s.rom_path, sizeof s.rom_path, "/roms/soak-%d.gba", i);
        if (call == 1) {
            // Visit a page and leave a drop queued behind the quit.
            vt::push_key(SDLK_TAB);
            vt::push_quit();
        }
    };
    host.online = [](vl_online_status &o, int) { o.lobby_state = 1; };
    ASSERT_EQ(vt::run_host(ini, host), 0);
    ASSERT_EQ(vui_open("Soak"), 0);
    ASSERT_EQ(vui_progress(i % 101, "soaking"), 1);
    vui_close();
}

TEST(Soak, RunsAndProgressCyclesLeakNothing) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    for (int i = 0; i < 20; ++i) one_cycle(ini, i);  // warm up SDL's one-time allocations
    [[maybe_unused]] const int fds = open_descriptors();
    const int allocations = SDL_GetNumAllocations();
    for (int i = 0; i < 250; ++i) {
        one_cycle(ini, i);
        ASSERT_EQ(SDL_WasInit(0), 0u) << "cycle " << i;
        ASSERT_EQ(vl_test_window_id(), 0u);
    }
#ifndef _WIN32
    // Under Wine /proc/self/fd lists Wine's own descriptors, which come and go.
    EXPECT_EQ(open_descriptors(), fds);
#endif
    EXPECT_EQ(SDL_GetNumAllocations(), allocations);
}

} // namespace
