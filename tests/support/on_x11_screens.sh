#!/usr/bin/env bash
# Runs a test program on X screens of its own (scripts/with-display.sh with the given
# --screen and --xinerama options), for checks that need a given desktop geometry or a
# keyboard no other test's window takes. Only
# in the display stage, where SDL_VIDEODRIVER is x11; elsewhere it says so and exits 77,
# which ctest reports as skipped.
# Usage: on_x11_screens.sh [--screen WxHxD]... [--xinerama] PROGRAM [ARGUMENT...]
set -euo pipefail
if [ "${SDL_VIDEODRIVER:-}" != x11 ]; then
  echo "SKIPPED: needs SDL_VIDEODRIVER=x11 (the display stage of ./test)"
  exit 77
fi
exec "$(dirname "$0")/../../scripts/with-display.sh" "$@"
