// A fixed amount of work for instruction counting, N frames of one page, of every page,
// or of the floor (clear the target, copy it, present):
//   frame_count [frames] [all|floor|main_building|keyboard|...]
// valgrind --tool=callgrind --toggle-collect='loop_frame*' frame_count 20 keyboard
// counts exactly 20 frames of that page; scripts/bench.sh does this for every page.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench_scene.h"

int main(int argc, char **argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 50;
    const char *which = argc > 2 ? argv[2] : "all";
    const bool all = std::strcmp(which, "all") == 0;
    if (!open_scene()) return 1;
    int pages = 0;
    for (bench_page page : kBenchPages) {
        if (!all && std::strcmp(which, bench_page_name(page)) != 0) continue;
        show_page(page);
        for (int i = 0; i < frames; ++i) loop_frame();
        ++pages;
    }
    const bool floor = all || std::strcmp(which, "floor") == 0;
    if (floor)
        for (int i = 0; i < frames; ++i) floor_frame();
    close_scene();
    if (pages == 0 && !floor) {
        std::fprintf(stderr, "frame_count: no page named %s\n", which);
        return 2;
    }
    std::printf("rendered %d frames of %d pages%s\n", frames, pages, floor ? " and of the floor" : "");
    return 0;
}
