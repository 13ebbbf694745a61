#!/bin/sh
# Frame cost and start-up of the launcher window, headless on SDL's software renderer.
#
#   scripts/bench.sh [build-dir]          timings (Google Benchmark), then instruction counts
#   scripts/bench.sh [build-dir] time     timings only
#   scripts/bench.sh [build-dir] count    instruction counts only (needs valgrind)
#
# The build folder needs bench/frame_bench and bench/frame_count, from a Release build:
#   cmake -S . -B /tmp/build-perf -DCMAKE_BUILD_TYPE=Release -DVORLA_TESTS=OFF
#   cmake --build /tmp/build-perf -j2
# Instruction counts do not depend on the machine's load: they count exactly FRAMES
# frames of each page (callgrind collects inside loop_frame or floor_frame only) and
# report each page per frame and as a ratio to the floor frame.
set -eu

build=${1:-/tmp/build-perf}
mode=${2:-all}
frames=${FRAMES:-20}
export SDL_VIDEODRIVER=dummy

if [ ! -x "$build/bench/frame_count" ]; then
  echo "bench: $build/bench/frame_count is missing; build a Release tree first" >&2
  exit 1
fi

if [ "$mode" = all ] || [ "$mode" = time ]; then
  "$build/bench/frame_bench" --benchmark_counters_tabular=true
fi

if [ "$mode" = all ] || [ "$mode" = count ]; then
  command -v valgrind >/dev/null || { echo "bench: valgrind is not installed" >&2; exit 1; }
  out=$(mktemp -d)
  trap 'rm -rf "$out"' EXIT
  # Ir collected inside one function over one run of frame_count.
  collected() {  # $1 function pattern, $2 page or floor
    valgrind --tool=callgrind --callgrind-out-file="$out/cg" --toggle-collect="$1" \
      "$build/bench/frame_count" "$frames" "$2" >/dev/null 2>"$out/log"
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p' "$out/log"
  }
  floor=$(collected 'floor_frame*' floor)
  printf '%-22s %14s %10s\n' page instructions/frame vs_floor
  printf '%-22s %14d %10s\n' floor $((floor / frames)) 1.00
  for page in main_building keyboard controller online_four_players settings keypad_overlay; do
    n=$(collected 'loop_frame*' "$page")
    printf '%-22s %14d %10s\n' "$page" $((n / frames)) "$(awk "BEGIN { printf \"%.2f\", $n / $floor }")"
  done
fi
