#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only when one is missing
# (waiting, when another apt or dpkg holds the package lock: see scripts/apt.sh).
# Usage: scripts/setup-deps.sh [extra packages...]
set -euo pipefail
<<<<<<< HEAD
source "$(dirname "$0")/apt.sh"
apt_install_missing setup build-essential cmake pkg-config libsdl2-dev googletest libgtest-dev python3 "$@"
=======
packages=(build-essential cmake pkg-config libsdl2-dev googletest libgtest-dev libstb-dev zlib1g-dev python3 "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
>>>>>>> golden
