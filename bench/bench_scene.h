// A launcher window set up without vl_run, so single frames and page builds can be
// measured: the same window, renderer, target and atlases a run creates.
#pragma once

#include <cstdint>

enum class bench_page { main_building, keyboard, controller, online_four, settings, keypad };

constexpr bench_page kBenchPages[] = {bench_page::main_building, bench_page::keyboard, bench_page::controller,
                                      bench_page::online_four,   bench_page::settings, bench_page::keypad};
const char *bench_page_name(bench_page page);

bool open_scene();   // SDL video, a 960x600 window, renderer, target, atlases
void close_scene();
void show_page(bench_page page);  // fills the state and builds the page

void loop_frame();   // what one loop pass paints and presents
void floor_frame();  // clear the target, copy it to the window, present

// Heap allocations counted by the C++ allocator and SDL's allocator since start.
uint64_t allocation_count();
