#!/usr/bin/env bash
# Cross-builds the Windows deliverables with MinGW-w64: vorla_ui.dll, VorlaRecomp.exe, the
# tests, and the zip a user unpacks (VorlaRecomp-windows-x64.zip in the build folder).
# SDL2 and GoogleTest are built once for Windows from Debian's sources and kept in the
# build folder's deps/ (delete it to rebuild them).
# Usage: scripts/windows-build.sh [build folder]   (default build/windows, or WIN_BUILD_DIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${WIN_BUILD_DIR:-$root/build/windows}}
mkdir -p "$build"
build=$(cd "$build" && pwd)
deps=$build/deps
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
toolchain=$root/cmake/mingw-w64-x86_64.cmake
sdl_version=2.26.5  # Debian 12's libsdl2

as_root() { if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi; }

# Packages: the cross compiler, Wine to run the results, dpkg-dev for apt-get source, stb
# and zlib for the tests' PNG files.
packages=(g++-mingw-w64-x86-64 wine64 dpkg-dev cmake googletest libstb-dev libz-mingw-w64-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
apt_updated=0
if [ ${#missing[@]} -gt 0 ]; then
  echo "windows: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  apt_updated=1
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# SDL2 for Windows from Debian's own source package, built once.
sdl_prefix=$deps/sdl2-$sdl_version
if [ ! -f "$sdl_prefix/lib/cmake/SDL2/SDL2Config.cmake" ] || [ ! -f "$sdl_prefix/bin/SDL2.dll" ]; then
  if ! grep -rqsE '^(deb-src |Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "windows: adding source entries beside the binary ones for apt-get source"
    for f in /etc/apt/sources.list.d/*.sources; do
      [ -e "$f" ] || continue
      case "$f" in *vorla-deb-src.sources) continue ;; esac
      sed 's/^Types: deb$/Types: deb-src/' "$f"
      echo
    done | as_root tee /etc/apt/sources.list.d/vorla-deb-src.sources >/dev/null
    if [ -f /etc/apt/sources.list ]; then
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee /etc/apt/sources.list.d/vorla-deb-src.list >/dev/null
    fi
    apt_updated=0
  fi
  [ "$apt_updated" = 1 ] || as_root apt-get update -qq
  rm -rf "$deps/sdl-src" "$deps/sdl-build"
  mkdir -p "$deps/sdl-src"
  echo "windows: fetching and building SDL2 $sdl_version (a few minutes, once)"
  (cd "$deps/sdl-src" && apt-get source -qq libsdl2 >/dev/null)
  src=$(find "$deps/sdl-src" -mindepth 1 -maxdepth 1 -type d -name "libsdl2-$sdl_version*" | head -n1)
  [ -n "$src" ] || { echo "windows: apt-get source libsdl2 gave no SDL $sdl_version source folder" >&2; exit 1; }
  # Audio, sensors, power and GL ES are not used; HIDAPI stays for the virtual joystick.
  cmake -S "$src" -B "$deps/sdl-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$sdl_prefix" -DSDL_STATIC=OFF -DSDL_TEST=OFF -DSDL_AUDIO=OFF \
    -DSDL_SENSOR=OFF -DSDL_POWER=OFF -DSDL_OPENGLES=OFF -DSDL_VULKAN=OFF >"$deps/sdl-configure.log"
  cmake --build "$deps/sdl-build" -j"$jobs" >"$deps/sdl-build.log"
  cmake --install "$deps/sdl-build" >/dev/null
  rm -rf "$deps/sdl-src" "$deps/sdl-build"
fi

# GoogleTest for Windows from Debian's googletest sources, built once.
gtest_prefix=$deps/googletest
if [ ! -f "$gtest_prefix/lib/cmake/GTest/GTestConfig.cmake" ]; then
  echo "windows: building GoogleTest (once)"
  rm -rf "$deps/gtest-build"
  cmake -S /usr/src/googletest -B "$deps/gtest-build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$gtest_prefix" -DBUILD_GMOCK=OFF \
    -Dgtest_force_shared_crt=ON >"$deps/gtest-configure.log"
  cmake --build "$deps/gtest-build" -j"$jobs" >"$deps/gtest-build.log"
  cmake --install "$deps/gtest-build" >/dev/null
  rm -rf "$deps/gtest-build"
fi

echo "windows: cross-building into $build"
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DVORLA_WERROR=ON -DVORLA_TESTS=ON \
  -DSDL2_DIR="$sdl_prefix/lib/cmake/SDL2" -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" >/dev/null
cmake --build "$build" -j"$jobs"
cmake --build "$build" --target windows_zip
echo "windows: bundle in $build/bundle, zip at $build/VorlaRecomp-windows-x64.zip"
