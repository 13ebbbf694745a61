#!/usr/bin/env bash
# The Windows stage: cross-builds everything (scripts/windows-build.sh), checks the release
# zips and the install tree, then runs the library's GoogleTest suite, the DLL's export
# check and the launcher's tests under Wine through ctest, headless. Exits non-zero when
# anything fails.
# Usage: scripts/windows-test.sh [build folder]   (default build/windows, or WIN_BUILD_DIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${WIN_BUILD_DIR:-$root/build/windows}}
"$root/scripts/windows-build.sh" "$build"
build=$(cd "$build" && pwd)

wine=/usr/lib/wine/wine64
command -v "$wine" >/dev/null || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

# A prefix of our own, no display (message boxes return at once), no Mono/Gecko
# installers, no debugger dialog: a crash fails the test at once.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64 SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
unset DISPLAY WAYLAND_DISPLAY
if [ ! -f "$WINEPREFIX/.vorla-ready" ]; then
  echo "windows: preparing the Wine prefix"
  "$wine" wineboot --init >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  touch "$WINEPREFIX/.vorla-ready"
fi
# One wine server for the whole run saves starting one per test program (one already
# running for this prefix serves as well).
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT
"$wineserver" -p >/dev/null 2>&1 || true
# Start Wine's session processes now, detached from ctest's pipes: started by the first
# test program they would hold its output open and outlast the test listing's time limit.
"$wine" wineboot </dev/null >/dev/null 2>&1


# The zips (plain, with a synthetic embeddable Python, refusals), then the install tree: a
# C program built against it with MinGW (CMake and pkg-config) runs under Wine.
WINE=$wine "$root/tests/windows/zip_check.sh" "$build"
echo "windows: checking the install tree"
WINE=$wine "$root/tests/install/consumer_test.sh" "$build" "$build/install-check" "$root/cmake/mingw-w64-x86_64.cmake"

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600
