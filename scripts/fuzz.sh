#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a bounded time on a copy
# of its committed seed corpus: scripts/fuzz.sh [seconds per target]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-${FUZZ_SECONDS:-30}}
build=${FUZZ_BUILD_DIR:-build/fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLA_FUZZ=ON -DVORLA_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_settings fuzz_text_input fuzz_host_records
export SDL_VIDEODRIVER=dummy ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in settings text_input host_records; do
  work="$build/corpus-$target"
  rm -rf "$work" && mkdir -p "$work"
  cp fuzz/corpus/"$target"/* "$work"/
  echo "fuzz: $target for ${seconds}s"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -seed=1 -print_final_stats=1 "$work" 2>"$build/fuzz_$target.log" \
    || { tail -40 "$build/fuzz_$target.log"; echo "fuzz: $target FAILED"; exit 1; }
  grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$build/fuzz_$target.log" | tail -1 | sed "s/^/fuzz: $target: /"
done
