#!/usr/bin/env bash
# The Windows stages, under Wine through ctest:
#   scripts/windows-test.sh [build folder]
#     cross-builds everything (scripts/windows-build.sh), checks the release zips, the Python
#     wheel and the install tree, then runs the library's GoogleTest suite, the DLL's export check and
#     the launcher's tests headless, on SDL's dummy video driver (software renderer);
#   scripts/windows-test.sh --display [build folder]
#     runs the same ctest suite on a virtual X display (scripts/with-display.sh) with SDL's
#     windows video driver and the Direct3D renderer, as players get it, and the soak test
#     with VORLA_SOAK_CYCLES cycles (300 unless set). Builds first when the folder has no
#     build yet.
# The build folder defaults to build/windows (or WIN_BUILD_DIR). Exits non-zero when
# anything fails. A test program that Wine failed to start (a non-zero exit at once, with no
# output) is run once more; each stage ends by listing those retries.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=headless
if [ "${1:-}" = --display ]; then
  mode=display
  shift
fi
build=${1:-${WIN_BUILD_DIR:-$root/build/windows}}
if [ "$mode" = headless ] || [ ! -f "$build/CMakeCache.txt" ]; then
  "$root/scripts/windows-build.sh" "$build"
fi
build=$(cd "$build" && pwd)

wine=/usr/lib/wine/wine64
command -v "$wine" >/dev/null || wine=$(command -v wine64 || command -v wine)
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

# A prefix of our own, no Mono/Gecko installers, no debugger dialog: a crash fails the
# test at once. Headless there is no display (message boxes return at once); the dummy
# driver then draws with the software renderer, which is also what it must be: with a
# display at hand SDL would pick Direct3D 11 for the dummy window, which draws nothing.
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64 SDL_AUDIODRIVER=dummy
unset WAYLAND_DISPLAY
if [ "$mode" = headless ]; then
  export SDL_VIDEODRIVER=dummy VORLA_EXPECT_RENDERER=software
  unset DISPLAY
fi
if [ ! -f "$WINEPREFIX/.vorla-ready-2" ]; then
  echo "windows: preparing the Wine prefix"
  env -u DISPLAY "$wine" wineboot --init >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  # Windows that are not handed to a window manager: the virtual display has none, and
  # Wine otherwise waits about two seconds for one at every window's end.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  touch "$WINEPREFIX/.vorla-ready-2"
fi
# ctest starts the test programs through tests/windows/wine_start_retry.py (the toolchain's
# emulator), which runs a program once more when Wine failed to start it and notes it here;
# the stage ends with the count, passed or not.
export VORLA_WINE_RETRY_LOG=$build/wine-retries.log
: >"$VORLA_WINE_RETRY_LOG"
retries_summary() {
  local count
  count=$(wc -l <"$VORLA_WINE_RETRY_LOG")
  if [ "$count" -eq 0 ]; then
    echo "windows: no start failure of Wine was retried"
  else
    echo "windows: $count start failure(s) of Wine retried:"
    sed 's/^/windows:   /' "$VORLA_WINE_RETRY_LOG"
  fi
}
# One wine server for the whole run saves starting one per test program (one already
# running for this prefix serves as well).
trap 'retries_summary; "$wineserver" -k >/dev/null 2>&1 || true' EXIT
"$wineserver" -p >/dev/null 2>&1 || true
# Start Wine's session processes now, detached from ctest's pipes: started by the first
# test program they would hold its output open and outlast the test listing's time limit.
"$wine" wineboot </dev/null >/dev/null 2>&1

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2

if [ "$mode" = display ]; then
  [ -n "${DISPLAY:-}" ] || { echo "windows: --display runs on a display: use scripts/with-display.sh" >&2; exit 2; }
  export SDL_VIDEODRIVER=windows VORLA_EXPECT_RENDERER=direct3d VORLA_SOAK_CYCLES=${VORLA_SOAK_CYCLES:-300}
  echo "windows: the tests on $DISPLAY with SDL's windows driver and Direct3D"
  ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 900
  exit 0
fi

# The zips (plain, with a synthetic embeddable Python, refusals), then the install tree: a
# C program built against it with MinGW (CMake and pkg-config) runs under Wine.
WINE=$wine "$root/tests/windows/zip_check.sh" "$build"
echo "windows: checking the Python wheel"
wheels=("$build"/dist/vorla_ui-*-py3-none-win_amd64.whl)
[ ${#wheels[@]} -eq 1 ] && [ -f "${wheels[0]}" ] || { echo "windows: expected one Windows wheel in $build/dist" >&2; exit 1; }
python3 "$root/tests/py/wheel_check.py" "${wheels[0]}" win_amd64
echo "windows: checking the install tree"
WINE=$wine "$root/tests/install/consumer_test.sh" "$build" "$build/install-check" "$root/cmake/mingw-w64-x86_64.cmake"

ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600
