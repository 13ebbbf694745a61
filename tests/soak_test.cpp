// Hundreds of launcher runs and progress-window cycles in one process: SDL's live
// allocations, the open descriptors or handles, the process's resident memory and SDL's
// state return to where they were. (glibc's own counters are no measure here: freed
// blocks kept in its per-thread caches still count as in use; unreachable blocks are the
// sanitizer build's job. Resident memory also sees what the renderer and the video
// driver allocate outside SDL's allocator: GL and Direct3D objects.)
#ifdef _WIN32
#include <windows.h>
#include <psapi.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "test_support.h"

namespace {

#ifdef _WIN32
int open_handles() {
    DWORD n = 0;
    return GetProcessHandleCount(GetCurrentProcess(), &n) ? static_cast<int>(n) : -1;
}

long resident_kib() {
    PROCESS_MEMORY_COUNTERS counters{};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<long>(counters.WorkingSetSize / 1024);
}
#else
int open_handles() {
    int n = 0;
    if (DIR *dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++n;
        closedir(dir);
    }
    return n;
}

long resident_kib() {
    long pages = 0, resident = 0;
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (!f) return -1;
    const bool read = std::fscanf(f, "%ld %ld", &pages, &resident) == 2;
    std::fclose(f);
    return read ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}
#endif

void one_cycle(const std::string &ini, int i) {
    vt::Host host;
    host.status = [i](vl_status &s, int call) {
        s.state = i % 5;
        s.rom_ok = 1;
        std::snprintf(s.rom_path, sizeof s.rom_path, "/roms/soak-%d.gba", i);
        if (call == 1) {
            // A snapshot, a page visit and a quit.
            vt::snapshot();
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

// VORLA_SOAK_CYCLES sets the number of measured cycles (250 unless set).
int measured_cycles() {
    const char *text = std::getenv("VORLA_SOAK_CYCLES");
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : 250;
}

// A leak of one 960x600 frame a cycle would grow the process by over 2 MB a cycle;
// the allowance covers what caches of the driver settle on after the warm-up.
constexpr long kResidentGrowthKib = 24 * 1024;

TEST(Soak, RunsAndProgressCyclesLeakNothing) {
    vt::TempDir dir;
    const std::string ini = dir.file("vorla.ini");
    for (int i = 0; i < 20; ++i) one_cycle(ini, i);  // warm up SDL's and the driver's one-time allocations
    const int handles = open_handles();
    const int allocations = SDL_GetNumAllocations();
    const long resident = resident_kib();
    long peak = resident;
    const int cycles = measured_cycles();
    for (int i = 0; i < cycles; ++i) {
        one_cycle(ini, i);
        ASSERT_EQ(SDL_WasInit(0), 0u) << "cycle " << i;
        ASSERT_EQ(vl_test_window_id(), 0u);
        const long now = resident_kib();
        if (now > peak) peak = now;
        if ((i + 1) % 50 == 0)
            std::printf("[ soak     ] cycle %d: resident %ld KiB, SDL allocations %d, handles %d\n", i + 1, now,
                        SDL_GetNumAllocations(), open_handles());
    }
    const long end = resident_kib();
    std::printf("[ soak     ] %d cycles: resident %ld KiB after the warm-up, %ld KiB at the end, peak %ld KiB\n",
                cycles, resident, end, peak);
    EXPECT_EQ(SDL_GetNumAllocations(), allocations);
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed blocks in quarantine (256 MB of them), so the resident
    // memory of its build grows without a leak; unreachable blocks are its leak check's job.
    std::printf("[ soak     ] resident memory not checked: AddressSanitizer's quarantine holds freed blocks\n");
#else
    EXPECT_LT(peak - resident, kResidentGrowthKib) << "resident memory grew";
#endif
#ifndef _WIN32
    // Under Wine the handle count includes Wine's own, which come and go.
    EXPECT_EQ(open_handles(), handles);
#else
    std::printf("[ soak     ] handles: %d after the warm-up, %d at the end\n", handles, open_handles());
#endif
}

} // namespace
