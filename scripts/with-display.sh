#!/usr/bin/env bash
# Runs a command on a virtual X display of its own: starts Xvfb (one screen of 1920x1080,
# 24 bits, unless --screen says otherwise) on a display number of its own, parks the pointer in
# the top-left corner, away from the centred launcher window, runs the command with
# DISPLAY set, and stops the server again. Exits with the command's exit code.
# Usage: scripts/with-display.sh [--screen WxHxD]... [--xinerama] COMMAND [ARGUMENT...]
#   --screen WxHxD  a screen of that size (repeat for more screens; the first is screen 0)
#   --xinerama      joins the screens into one desktop with Xinerama
# Needs xvfb and xdotool (scripts/setup-deps.sh installs them for the display stage).
set -euo pipefail
usage="usage: $0 [--screen WxHxD]... [--xinerama] COMMAND [ARGUMENT...]"
screens=()
xinerama=()
while [ $# -gt 0 ]; do
  case "$1" in
    --screen)
      [[ "${2:-}" =~ ^[0-9]+x[0-9]+x[0-9]+$ ]] || { echo "$usage" >&2; exit 2; }
      screens+=(-screen "$(( ${#screens[@]} / 3 ))" "$2")
      shift 2 ;;
    --xinerama) xinerama=(+xinerama); shift ;;
    *) break ;;
  esac
done
[ $# -gt 0 ] || { echo "$usage" >&2; exit 2; }
[ ${#screens[@]} -gt 0 ] || screens=(-screen 0 1920x1080x24)
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "with-display: $tool is not installed" >&2; exit 2; }
done

log=$(mktemp /tmp/with-display-xvfb.XXXXXX)
number=$(mktemp /tmp/with-display-number.XXXXXX)
# -displayfd: Xvfb takes the first free display number itself (its lock file decides, so
# two scripts started together never share a server) and writes it once it is ready.
# -noreset: by default the server resets when its last client leaves and refuses the
# connections that arrive meanwhile, so a test that opens the display right after the
# previous one closed it would fail now and then with "x11 not available".
Xvfb -displayfd 3 "${screens[@]}" ${xinerama[@]+"${xinerama[@]}"} -nolisten tcp -noreset \
  3>"$number" >"$log" 2>&1 &
server=$!
stop() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -f "$log" "$number"
}
trap stop EXIT

for _ in $(seq 100); do
  grep -q '^[0-9][0-9]*$' "$number" && break
  kill -0 "$server" 2>/dev/null || { echo "with-display: Xvfb did not start:" >&2; cat "$log" >&2; exit 1; }
  sleep 0.1
done
grep -q '^[0-9][0-9]*$' "$number" || { echo "with-display: Xvfb gave no display number in 10 s" >&2; exit 1; }
export DISPLAY=:$(cat "$number")
unset WAYLAND_DISPLAY
xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "with-display: Xvfb on $DISPLAY does not answer" >&2; exit 1; }
xdotool mousemove 0 0
echo "with-display: Xvfb on $DISPLAY ($(xdotool getdisplaygeometry)), pointer parked at 0,0"

code=0
"$@" || code=$?
exit "$code"
