// A fixed amount of work for instruction counting: N frames of every page.
// valgrind --tool=callgrind bench/frame_count 50
#include <cstdio>
#include <cstdlib>

#include "bench_scene.h"

int main(int argc, char **argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 50;
    if (!open_scene()) return 1;
    for (bench_page page : kBenchPages) {
        show_page(page);
        for (int i = 0; i < frames; ++i) loop_frame();
    }
    for (int i = 0; i < frames; ++i) floor_frame();
    close_scene();
    std::printf("rendered %d frames of %zu pages and %d floor frames\n", frames,
                sizeof kBenchPages / sizeof kBenchPages[0], frames);
    return 0;
}
