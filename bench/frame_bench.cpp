// Frame cost per page as a ratio to the floor (clear the target, copy it, present),
// build_page cost, heap allocations per frame and per build, and vl_run's start-up to
// its first presented frame as a ratio to the bare SDL start-up it cannot avoid.
//
// Times are the thread's CPU time, so a loaded machine that takes the core away does
// not count; floor and page frames alternate in the same loop, so the ratio compares
// frames that ran under the same conditions.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "bench_scene.h"
#include "frame/state.h"

namespace {

double cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

constexpr size_t kMaxSamples = 1 << 16;

void BM_Frame(benchmark::State &state) {
    const bench_page page = kBenchPages[state.range(0)];
    show_page(page);
    loop_frame();  // warm the atlases and the target
    state.SetLabel(bench_page_name(page));
    // Reserved up front: the samples must not show up in the allocation count.
    std::vector<double> frames, floors;
    frames.reserve(kMaxSamples);
    floors.reserve(kMaxSamples);
    uint64_t allocations = 0;
    for (auto _ : state) {
        double start = cpu_seconds();
        floor_frame();
        const double floor = cpu_seconds() - start;

        const uint64_t before = allocation_count();
        start = cpu_seconds();
        loop_frame();
        const double frame = cpu_seconds() - start;
        allocations += allocation_count() - before;

        state.SetIterationTime(frame);
        if (frames.size() < kMaxSamples) {
            frames.push_back(frame);
            floors.push_back(floor);
        }
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
    state.counters["floor_us"] = median(floors) * 1e6;
    state.counters["vs_floor"] = median(frames) / median(floors);
}
BENCHMARK(BM_Frame)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond)->UseManualTime()->MinTime(0.5);

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

// Every start-up measurement begins with the freed heap handed back to the system, so
// each one pays for touching its memory afresh, whatever ran before it. Without this
// the order of the measurements decides which of them finds warm memory.
void return_free_memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

double run_started = 0;
double first_present = -1;
bool timing_run = false;

void wake_status(vl_status *) {
    // Keeps the first loop pass from waiting for input, as the window's own events would.
    SDL_Event wake{};
    wake.type = SDL_USEREVENT;
    SDL_PushEvent(&wake);
}

// The bare start-up: what any run of this start-up order must ask of SDL before its
// first frame shows. `with_controllers` adds the game-controller subsystem, which the
// launcher starts as well (about a millisecond here, spent enumerating devices).
double bare_startup_seconds(bool with_controllers) {
    return_free_memory();
    const double start = cpu_seconds();
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    if (with_controllers) SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_Window *window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 960, 600,
                                          SDL_WINDOW_RESIZABLE);
    SDL_Renderer *renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    SDL_Texture *target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, 960, 600);
    // The first frame: the floor frame of the frame benchmarks.
    SDL_SetRenderTarget(renderer, target);
    SDL_RenderClear(renderer);
    SDL_SetRenderTarget(renderer, nullptr);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, target, nullptr, nullptr);
    SDL_RenderPresent(renderer);
    const double seconds = cpu_seconds() - start;
    SDL_DestroyTexture(target);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    if (with_controllers) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return seconds;
}

// vl_run from its call to the return of its first SDL_RenderPresent (see the wrapper
// below); the run then quits at its next event wait.
double run_startup_seconds() {
    vl_set_poll_interval(100);
    first_present = -1;
    return_free_memory();
    timing_run = true;
    run_started = cpu_seconds();
    vl_run("/tmp/vorla-bench.ini", wake_status);
    timing_run = false;
    return first_present;
}

// --- poll spacing --------------------------------------------------------------------

// Wall-clock gaps between the polls of one idle run at the given interval. A pass waits
// up to 16 ms for input, so an interval of 1 polls once a pass, and a longer interval
// polls at the first pass after it has passed.
std::vector<double> poll_times;
constexpr size_t kPolls = 40;

void time_poll(vl_status *) {
    poll_times.push_back(static_cast<double>(SDL_GetPerformanceCounter()) /
                         static_cast<double>(SDL_GetPerformanceFrequency()));
    if (poll_times.size() <= kPolls) return;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

double median_poll_gap_ms(int32_t interval) {
    poll_times.clear();
    poll_times.reserve(kPolls + 8);
    vl_set_poll_interval(interval);
    vl_run("/tmp/vorla-bench.ini", time_poll);
    std::vector<double> gaps;
    for (size_t i = 2; i < poll_times.size(); ++i) gaps.push_back((poll_times[i] - poll_times[i - 1]) * 1e3);
    return median(gaps);
}

} // namespace

// The bench links with --wrap=SDL_RenderPresent, so every present of the library comes
// through here: the first one of a timed run stops the clock.
extern "C" void __real_SDL_RenderPresent(SDL_Renderer *renderer);
extern "C" void __wrap_SDL_RenderPresent(SDL_Renderer *renderer) {
    __real_SDL_RenderPresent(renderer);
    if (!timing_run || first_present >= 0) return;
    first_present = cpu_seconds() - run_started;
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

int main(int argc, char **argv) {
    if (!open_scene()) {
        std::fprintf(stderr, "bench: could not open the scene: %s\n", SDL_GetError());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    close_scene();

    // Interleaved, so that the three medians see the same machine.
    std::vector<double> bare, bare_gc, run;
    for (int i = 0; i < 21; ++i) {
        bare.push_back(bare_startup_seconds(false));
        bare_gc.push_back(bare_startup_seconds(true));
        run.push_back(run_startup_seconds());
    }
    const double r = median(run), b = median(bare), bg = median(bare_gc);
    std::printf("startup: vl_run to first presented frame %.2f ms\n", r * 1e3);
    std::printf("startup: bare video+window+renderer+target+first frame %.2f ms, ratio %.2f\n", b * 1e3, r / b);
    std::printf("startup: bare as above plus game controllers %.2f ms, ratio %.2f\n", bg * 1e3, r / bg);
    for (int32_t interval : {1, 25, 100})
        std::printf("polls: interval %d ms, median gap %.1f ms\n", interval, median_poll_gap_ms(interval));
    benchmark::Shutdown();
    return 0;
}
