#!/usr/bin/env bash
# Builds the Debian package of a Linux build folder with cpack and checks it from the
# outside: name, version, architecture, the dependency on SDL2's runtime package, the
# shlibs entry for the SONAME, and that it holds the C package under /usr and nothing else.
# Usage: deb_test.sh BUILD WORK
set -euo pipefail
build=$(cd "$1" && pwd)
work=$2
fail() { echo "deb: $*" >&2; exit 1; }
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache CMAKE_PROJECT_VERSION)  # from the header's VL_UI_VERSION_* lines
[ -n "$version" ] || fail "no CMAKE_PROJECT_VERSION in $build/CMakeCache.txt"

rm -rf "$work"
mkdir -p "$work"
cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }
debs=("$work"/*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "cpack made [${debs[*]}], expected one .deb"
deb=${debs[0]}

field() { dpkg-deb -f "$deb" "$1"; }
arch=$(dpkg --print-architecture)
[ "$(field Package)" = libvorla-ui ] || fail "package name '$(field Package)', expected libvorla-ui"
[ "$(field Version)" = "$version" ] || fail "version '$(field Version)', expected $version"
[ "$(field Architecture)" = "$arch" ] || fail "architecture '$(field Architecture)', expected $arch"
[ "$(basename "$deb")" = "libvorla-ui_${version}_$arch.deb" ] || fail "file name $(basename "$deb")"
depends=$(field Depends)
grep -qE '(^|, )libsdl2-2\.0-0( |,|$)' <<<"$depends" || fail "Depends '$depends' lacks libsdl2-2.0-0"
! grep -q 'libsdl2-dev' <<<"$depends" || fail "Depends '$depends' asks for SDL's headers"
shlibs=$(dpkg-deb -I "$deb" shlibs)
[ "$shlibs" = "libvorla_ui 1 libvorla-ui (>= $version)" ] || fail "shlibs '$shlibs'"

libdir=usr/$(cache CMAKE_INSTALL_LIBDIR)
config=$(cache CMAKE_BUILD_TYPE | tr '[:upper:]' '[:lower:]')
package_dir=$libdir/cmake/vorla_ui
expected="usr/include/vorla_ui.h $libdir/pkgconfig/vorla_ui.pc
$libdir/libvorla_ui.so->libvorla_ui.so.1 $libdir/libvorla_ui.so.1->libvorla_ui.so.$version
$libdir/libvorla_ui.so.$version $package_dir/vorla_uiConfig.cmake $package_dir/vorla_uiConfigVersion.cmake
$package_dir/vorla_uiTargets.cmake $package_dir/vorla_uiTargets-${config:-noconfig}.cmake"
# Folders: exactly the ones above those files.
folders=$(for f in $expected; do
  d=$(dirname "${f%%->*}")
  while [ "$d" != . ]; do echo "$d/"; d=$(dirname "$d"); done
done | LC_ALL=C sort -u)
want=$(printf '%s\n' $expected $folders | sed 's|^|./|' | LC_ALL=C sort | tr '\n' ' ')
got=$(dpkg-deb -c "$deb" | awk '{ print $6 ($7 == "->" ? "->" $8 : "") }' | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "the package holds [$got], expected [$want]"
echo "deb: $(basename "$deb"): Depends: $depends"
