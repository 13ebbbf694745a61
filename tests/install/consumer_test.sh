#!/usr/bin/env bash
# Installs vorla_ui from a build folder into a fresh prefix, checks that the prefix holds
# exactly the C package, then builds consumer/consumer.c against it twice (CMake's
# find_package, and pkg-config) and runs both under SDL's dummy video driver.
# Usage: consumer_test.sh BUILD WORK                  a Linux build folder
#        consumer_test.sh BUILD WORK TOOLCHAIN_FILE   the Windows cross build: MinGW compiles,
#                                                     $WINE runs the programs
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
work=$2
toolchain=${3:+$(realpath "$3")}
fail() { echo "install: $*" >&2; exit 1; }
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache CMAKE_PROJECT_VERSION)  # from the header's VL_UI_VERSION_* lines
[ -n "$version" ] || fail "no CMAKE_PROJECT_VERSION in $build/CMakeCache.txt"

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

libdir=$(cache CMAKE_INSTALL_LIBDIR)
config=$(cache CMAKE_BUILD_TYPE | tr '[:upper:]' '[:lower:]')
package_dir=$libdir/cmake/vorla_ui
expected="include/vorla_ui.h $libdir/pkgconfig/vorla_ui.pc $package_dir/vorla_uiConfig.cmake
$package_dir/vorla_uiConfigVersion.cmake $package_dir/vorla_uiTargets.cmake
$package_dir/vorla_uiTargets-${config:-noconfig}.cmake"
if [ -n "$toolchain" ]; then
  expected+=" bin/vorla_ui.dll bin/SDL2.dll $libdir/libvorla_ui.dll.a"
else
  expected+=" $libdir/libvorla_ui.so $libdir/libvorla_ui.so.1 $libdir/libvorla_ui.so.$version"
fi
want=$(tr ' ' '\n' <<<"$expected" | sed '/^$/d' | LC_ALL=C sort | tr '\n' ' ')
got=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "the prefix holds [$got], expected [$want]"

if [ -n "$toolchain" ]; then
  dll=$(x86_64-w64-mingw32-dlltool --identify "$prefix/$libdir/libvorla_ui.dll.a")
  [ "$dll" = vorla_ui.dll ] || fail "the import library names '$dll', expected vorla_ui.dll"
else
  [ "$(readlink "$prefix/$libdir/libvorla_ui.so")" = libvorla_ui.so.1 ] &&
    [ "$(readlink "$prefix/$libdir/libvorla_ui.so.1")" = libvorla_ui.so.$version ] ||
    fail "libvorla_ui.so -> libvorla_ui.so.1 -> libvorla_ui.so.$version expected"
  soname=$(objdump -p "$prefix/$libdir/libvorla_ui.so.$version" | awk '$1 == "SONAME" { print $2 }')
  [ "$soname" = libvorla_ui.so.1 ] || fail "SONAME is '$soname', expected libvorla_ui.so.1"
fi

# CMake: a fresh project that knows only the prefix. Finding SDL2 is switched off, so a
# package that asked for it would fail here.
cmake_args=(-DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_DISABLE_FIND_PACKAGE_SDL2=ON
            -DCMAKE_FIND_PACKAGE_NO_PACKAGE_REGISTRY=ON -DCMAKE_BUILD_TYPE=Release)
if [ -n "$toolchain" ]; then
  # The toolchain confines package searches to the MinGW root; name the package folder.
  cmake_args+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -Dvorla_ui_DIR="$prefix/$package_dir")
fi
cmake -S "$here/consumer" -B "$work/cmake-build" "${cmake_args[@]}" >"$work/cmake-configure.log" 2>&1 ||
  { cat "$work/cmake-configure.log" >&2; fail "find_package(vorla_ui) against the prefix failed"; }
found=$(sed -n 's/^vorla_ui_DIR:[A-Z]*=//p' "$work/cmake-build/CMakeCache.txt")
[ "$found" = "$prefix/$package_dir" ] || fail "find_package took vorla_ui from '$found', not from the prefix"
cmake --build "$work/cmake-build" >"$work/cmake-build.log" 2>&1 ||
  { cat "$work/cmake-build.log" >&2; fail "building the consumer with CMake failed"; }

# pkg-config: the search path is the prefix alone, so nothing else on the machine
# (SDL2's own .pc among it) can be drawn in.
export PKG_CONFIG_LIBDIR=$prefix/$libdir/pkgconfig
pc_version=$(pkg-config --modversion vorla_ui)
[ "$pc_version" = "$version" ] || fail "pkg-config gives version '$pc_version', expected $version"
read -r -a pc_flags <<<"$(pkg-config --cflags --libs vorla_ui)"
mkdir -p "$work/pc-build"
if [ -n "$toolchain" ]; then
  x86_64-w64-mingw32-gcc -std=c11 -Wall -Wextra -Werror "$here/consumer/consumer.c" "${pc_flags[@]}" \
    -o "$work/pc-build/consumer.exe"
else
  cc -std=c11 -Wall -Wextra -Werror "$here/consumer/consumer.c" "${pc_flags[@]}" \
    -Wl,-rpath,"$(pkg-config --variable=libdir vorla_ui)" -ldl -o "$work/pc-build/consumer"
fi

for way in cmake pc; do
  folder=$work/$way-build
  mkdir -p "$folder/run"
  if [ -n "$toolchain" ]; then
    # Windows looks for vorla_ui.dll and SDL2.dll on PATH after the program's own folder.
    out=$(cd "$folder/run" && WINEPATH="Z:${prefix//\//\\}\\bin" SDL_VIDEODRIVER=dummy \
          timeout 120 "${WINE:?WINE names the Wine loader}" ../consumer.exe vorla.ini 2>&1) ||
      fail "the $way consumer failed under Wine (exit $?): $out"
  else
    resolved=$(ldd "$folder/consumer" | awk '$1 == "libvorla_ui.so.1" { print $3 }')
    [ "$(realpath -ms "$resolved")" = "$prefix/$libdir/libvorla_ui.so.1" ] ||
      fail "the $way consumer loads libvorla_ui.so.1 from '$resolved', not from the prefix"
    out=$(cd "$folder/run" && SDL_VIDEODRIVER=dummy timeout 120 ../consumer vorla.ini 2>&1) ||
      fail "the $way consumer failed (exit $?): $out"
  fi
  grep -q "^consumer: ok .*, header version $version\b" <<<"$out" || fail "the $way consumer printed: $out"
  echo "install: $way consumer: $out"
done
echo "install: the installed package works from $prefix"
