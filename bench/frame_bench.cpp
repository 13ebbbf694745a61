// Frame cost per page as a ratio to the floor (clear the target, copy it, present),
// build_page cost, heap allocations per frame and per build, and vl_run's start-up
// to its first presented frame as a ratio to a bare window + renderer + target.
// Ratios are measured in the same run, so they hold on a noisy machine.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench_scene.h"
#include "frame/state.h"

namespace {

using clock_type = std::chrono::steady_clock;

double floor_seconds = 0;

double seconds_since(clock_type::time_point start) {
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double measure_floor() {
    std::vector<double> samples;
    for (int i = 0; i < 300; ++i) {
        const auto start = clock_type::now();
        floor_frame();
        samples.push_back(seconds_since(start));
    }
    return median(samples);
}

void BM_Frame(benchmark::State &state) {
    const bench_page page = kBenchPages[state.range(0)];
    show_page(page);
    loop_frame();  // warm the atlases and the target
    state.SetLabel(bench_page_name(page));
    std::vector<double> samples;
    const uint64_t before = allocation_count();
    for (auto _ : state) {
        const auto start = clock_type::now();
        loop_frame();
        samples.push_back(seconds_since(start));
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocation_count() - before) / static_cast<double>(state.iterations());
    state.counters["vs_floor"] = median(samples) / floor_seconds;
}
BENCHMARK(BM_Frame)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_Floor(benchmark::State &state) {
    for (auto _ : state) floor_frame();
}
BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

void BM_BuildPage(benchmark::State &state) {
    const bench_page page = kBenchPages[state.range(0)];
    show_page(page);
    state.SetLabel(bench_page_name(page));
    const uint64_t before = allocation_count();
    for (auto _ : state) build_page();
    state.counters["allocs_per_build"] =
        static_cast<double>(allocation_count() - before) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BuildPage)->DenseRange(0, 5)->Unit(benchmark::kNanosecond);

// --- start-up ---------------------------------------------------------------------

clock_type::time_point run_started;
double first_frame_seconds = 0;

int status_calls = 0;
void timed_status(vl_status *) {
    // Call 0 is the start-up call and call 1 runs before the first frame of the first
    // pass; call 2 comes after that frame was presented.
    if (status_calls == 2) {
        first_frame_seconds = seconds_since(run_started);
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    } else {
        // Keep the first passes from waiting for input.
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        SDL_PushEvent(&wake);
    }
    ++status_calls;
}

double bare_startup_seconds() {
    const auto start = clock_type::now();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_Window *window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 960, 600,
                                          SDL_WINDOW_RESIZABLE);
    SDL_Renderer *renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    SDL_Texture *target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 960, 600);
    SDL_RenderClear(renderer);
    SDL_RenderPresent(renderer);
    const double seconds = seconds_since(start);
    SDL_DestroyTexture(target);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return seconds;
}

double run_startup_seconds() {
    status_calls = 0;
    vl_set_poll_interval(1);
    run_started = clock_type::now();
    vl_run("/tmp/vorla-bench.ini", timed_status);
    return first_frame_seconds;
}

} // namespace

int main(int argc, char **argv) {
    if (!open_scene()) {
        std::fprintf(stderr, "bench: could not open the scene: %s\n", SDL_GetError());
        return 1;
    }
    floor_seconds = measure_floor();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    close_scene();

    std::vector<double> bare, run;
    for (int i = 0; i < 15; ++i) {
        bare.push_back(bare_startup_seconds());
        run.push_back(run_startup_seconds());
    }
    std::printf("startup: vl_run to first frame %.2f ms, bare window+renderer+target %.2f ms, ratio %.2f\n",
                median(run) * 1e3, median(bare) * 1e3, median(run) / median(bare));
    std::printf("floor frame: %.1f us\n", floor_seconds * 1e6);
    benchmark::Shutdown();
    return 0;
}
