#!/usr/bin/env bash
# Regenerates the gallery pictures in docs/gallery, which are also the golden frames that
# golden_frames_test compares every renderer's frames with: each scene of
# tests/support/scene_table.cpp, rendered by SDL's software renderer, the window icon,
# and the font specimen docs/fonts.png. Commit the pictures with the change that moved
# their pixels; the list printed at the end shows which ones changed.
# Usage: scripts/golden.sh [build folder]   (default build/test, or BUILD_DIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BUILD_DIR:-$root/build/test}}
"$root/scripts/setup-deps.sh"
cmake -S "$root" -B "$build" -DVORLA_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target golden
git -C "$root" status --short -- docs
