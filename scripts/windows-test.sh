#!/usr/bin/env bash
# The Windows stage: cross-builds everything (scripts/windows-build.sh), then runs the
# library's GoogleTest suite, the DLL's export check and the launcher's tests under Wine
# through ctest, headless. Exits non-zero when anything fails.
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


# The zip as a user gets it: exactly the bundle files; unpacked, with a stand-in
# interpreter dropped into python\, VorlaRecomp.exe starts it on the launcher script.
echo "windows: checking the zip"
zip=$build/VorlaRecomp-windows-x64.zip
expected="VorlaRecomp/ VorlaRecomp/SDL2.dll VorlaRecomp/VorlaRecomp.exe VorlaRecomp/app/ VorlaRecomp/app/launcher/
VorlaRecomp/app/launcher/launcher.py VorlaRecomp/python/ VorlaRecomp/python/README.txt VorlaRecomp/vorla_ui.dll"
entries=$(cmake -E tar tf "$zip" | LC_ALL=C sort | tr '\n' ' ')
want=$(echo $expected | tr ' ' '\n' | LC_ALL=C sort | tr '\n' ' ')
if [ "$entries" != "$want" ]; then
  echo "windows: the zip holds [$entries], expected [$want]" >&2
  exit 1
fi
unpacked=$build/zip-check
rm -rf "$unpacked" && mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
for interp in python.exe pythonw.exe; do cp "$build/tests/windows/stub_python.exe" "$unpacked/VorlaRecomp/python/$interp"; done
echo 7 >"$unpacked/VorlaRecomp/python/exit_code.txt"
code=0
(cd "$unpacked/VorlaRecomp" && "$wine" VorlaRecomp.exe --console from-zip) || code=$?
record=$(iconv -f UTF-16LE -t UTF-8 "$unpacked/VorlaRecomp/python/record.bin" 2>/dev/null || true)
if [ "$code" != 7 ] || ! grep -qF 'python\python.exe" "' <<<"$record" \
   || ! grep -qF 'app\launcher\launcher.py" --console from-zip' <<<"$record"; then
  echo "windows: the unpacked launcher did not start python\\python.exe on the script (exit $code):" >&2
  echo "$record" >&2
  exit 1
fi
rm -rf "$unpacked"
echo "windows: zip checked"

jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600
