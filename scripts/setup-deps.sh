#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing
# (waiting, when another apt or dpkg holds the package lock: see scripts/apt.sh).
# Usage: scripts/setup-deps.sh [extra packages...]
set -euo pipefail
source "$(dirname "$0")/apt.sh"
# libstb-dev and zlib1g-dev: the tests' and tools' PNG files.
apt_install_missing setup build-essential cmake pkg-config libsdl2-dev googletest libgtest-dev libstb-dev \
  zlib1g-dev python3 "$@"
