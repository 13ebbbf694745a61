#!/usr/bin/env bash
# Builds the Debian packages of a Linux build folder with cpack and checks them from the
# outside:
#   - the runtime package (named after the SONAME) and the -dev package: names, versions,
#     architecture, sections; the runtime's dependency on SDL2's runtime package, its
#     shlibs entry and ldconfig trigger, no maintainer scripts; the -dev package's
#     dependency on exactly this version of the runtime;
#   - what each holds under /usr, and its copyright and changelog;
#   - unpacked with dpkg-deb: a C host builds against both (pkg-config) and runs with the
#     runtime package alone;
#   - lintian: no error, and no warning but the accepted ones below.
# Usage: deb_test.sh BUILD WORK
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
work=$2
fail() { echo "deb: $*" >&2; exit 1; }
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache CMAKE_PROJECT_VERSION)  # from the header's VL_UI_VERSION_* lines
[ -n "$version" ] || fail "no CMAKE_PROJECT_VERSION in $build/CMakeCache.txt"
major=${version%%.*}
runtime=libvorla-ui$major
dev=libvorla-ui-dev
soname=libvorla_ui.so.$major

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
cpack -G DEB -B "$work" --config "$build/CPackConfig.cmake" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack -G DEB failed"; }

arch=$(dpkg --print-architecture)
deb_version=$version-1  # Debian revision 1 of the project's version
deb_of() { echo "$work/$1_${deb_version}_$arch.deb"; }
debs=$(cd "$work" && ls -- *.deb | tr '\n' ' ')
[ "$debs" = "$(basename "$(deb_of "$dev")") $(basename "$(deb_of "$runtime")") " ] ||
  fail "cpack made [$debs], expected $runtime and $dev of version $deb_version for $arch"

# Control fields and control files, per package.
field() { dpkg-deb -f "$(deb_of "$1")" "$2"; }
for package in "$runtime" "$dev"; do
  [ "$(field "$package" Package)" = "$package" ] || fail "$package: Package is '$(field "$package" Package)'"
  [ "$(field "$package" Architecture)" = "$arch" ] || fail "$package: Architecture '$(field "$package" Architecture)'"
  scripts=$(dpkg-deb --ctrl-tarfile "$(deb_of "$package")" | tar t | grep -E '/(pre|post)(inst|rm)$' || true)
  [ -z "$scripts" ] || fail "$package has maintainer scripts: $scripts"
done
[ "$(field "$runtime" Version)" = "$deb_version" ] && [ "$(field "$dev" Version)" = "$deb_version" ] ||
  fail "versions '$(field "$runtime" Version)' and '$(field "$dev" Version)', expected $deb_version"
[ "$(field "$runtime" Section)" = libs ] && [ "$(field "$dev" Section)" = libdevel ] ||
  fail "sections '$(field "$runtime" Section)' and '$(field "$dev" Section)', expected libs and libdevel"
depends=$(field "$runtime" Depends)
grep -qE '(^|, )libsdl2-2\.0-0( |,|$)' <<<"$depends" || fail "$runtime: Depends '$depends' lacks libsdl2-2.0-0"
! grep -q 'libsdl2-dev' <<<"$depends" || fail "$runtime: Depends '$depends' asks for SDL's headers"
[ "$(field "$dev" Depends)" = "$runtime (= $deb_version)" ] ||
  fail "$dev: Depends '$(field "$dev" Depends)', expected exactly '$runtime (= $deb_version)'"
shlibs=$(dpkg-deb -I "$(deb_of "$runtime")" shlibs)
[ "$shlibs" = "libvorla_ui $major $runtime (>= $deb_version)" ] || fail "$runtime: shlibs '$shlibs'"
triggers=$(dpkg-deb -I "$(deb_of "$runtime")" triggers) || fail "$runtime has no triggers file"
[ "$triggers" = "activate-noawait ldconfig" ] || fail "$runtime: triggers '$triggers'"

# What each package holds: exactly these files and links, and the folders above them.
libdir=usr/$(cache CMAKE_INSTALL_LIBDIR)
config=$(cache CMAKE_BUILD_TYPE | tr '[:upper:]' '[:lower:]')
package_dir=$libdir/cmake/vorla_ui
docs() { echo "usr/share/doc/$1/copyright usr/share/doc/$1/changelog.Debian.gz"; }
holds() {  # holds PACKAGE FILE... (a link as NAME->TARGET)
  local package=$1 folders want got
  shift
  folders=$(for f in "$@"; do
    d=$(dirname "${f%%->*}")
    while [ "$d" != . ]; do echo "$d/"; d=$(dirname "$d"); done
  done | LC_ALL=C sort -u)
  want=$(printf '%s\n' ./ "$@" $folders | sed 's|^\([^.]\)|./\1|' | LC_ALL=C sort | tr '\n' ' ')
  got=$(dpkg-deb -c "$(deb_of "$package")" | awk '{ print $6 ($7 == "->" ? "->" $8 : "") }' | LC_ALL=C sort | tr '\n' ' ')
  [ "$got" = "$want" ] || fail "$package holds [$got], expected [$want]"
}
holds "$runtime" $(docs "$runtime") "$libdir/libvorla_ui.so.$version" "$libdir/$soname->libvorla_ui.so.$version"
holds "$dev" $(docs "$dev") usr/include/vorla_ui.h "$libdir/libvorla_ui.so->$soname" "$libdir/pkgconfig/vorla_ui.pc" \
  "$package_dir/vorla_uiConfig.cmake" "$package_dir/vorla_uiConfigVersion.cmake" \
  "$package_dir/vorla_uiTargets.cmake" "$package_dir/vorla_uiTargets-${config:-noconfig}.cmake"

# Unpacked: each package alone, and both together as a developer installs them.
for package in "$runtime" "$dev"; do
  dpkg-deb -x "$(deb_of "$package")" "$work/root-$package"
  dpkg-deb -x "$(deb_of "$package")" "$work/root-both"
  doc=$work/root-$package/usr/share/doc/$package
  [ "$(head -n1 "$doc/copyright")" = "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ] ||
    fail "$package: the copyright file is not in the machine-readable format"
  # gzip -n: no file name and no time stamp in the header (flag bit 3, bytes 4 to 7).
  header=$(od -An -tx1 -N8 "$doc/changelog.Debian.gz" | tr -d ' \n')
  [ "${header:0:6}" = 1f8b08 ] && [ $((0x${header:6:2} & 8)) = 0 ] && [ "${header:8:8}" = 00000000 ] ||
    fail "$package: changelog.Debian.gz has a name or a time stamp in its header ($header)"
  entry=$(dpkg-parsechangelog -l "$doc/changelog.Debian.gz" -S Version) ||
    fail "$package: changelog.Debian.gz is not a Debian changelog"
  [ "$entry" = "$deb_version" ] || fail "$package: the changelog's latest entry is $entry, not $deb_version"
done
lib=$work/root-$runtime/$libdir/$soname
[ "$(objdump -p "$lib" | awk '$1 == "SONAME" { print $2 }')" = "$soname" ] ||
  fail "$runtime: $libdir/$soname is not the library of SONAME $soname"
[ "$(realpath "$work/root-both/$libdir/libvorla_ui.so")" = "$(realpath "$work/root-both/$libdir/libvorla_ui.so.$version")" ] ||
  fail "$dev: libvorla_ui.so does not lead to the runtime's library"

# A C host: built against both packages through pkg-config, run with the runtime alone.
export PKG_CONFIG_LIBDIR=$work/root-both/$libdir/pkgconfig
read -r -a pc_flags <<<"$(pkg-config --cflags --libs vorla_ui)"
cc -std=c11 -Wall -Wextra -Werror "$here/consumer/consumer.c" "${pc_flags[@]}" -ldl -o "$work/consumer" ||
  fail "a C host does not build against $dev"
mkdir -p "$work/run"
resolved=$(LD_LIBRARY_PATH=$work/root-$runtime/$libdir ldd "$work/consumer" | awk -v so="$soname" '$1 == so { print $3 }')
[ "$resolved" = "$work/root-$runtime/$libdir/$soname" ] || fail "the C host loads $soname from '$resolved'"
out=$(cd "$work/run" && LD_LIBRARY_PATH=$work/root-$runtime/$libdir SDL_VIDEODRIVER=dummy timeout 120 ../consumer vorla.ini 2>&1) ||
  fail "the C host failed with $runtime alone (exit $?): $out"
grep -q '^consumer: ok' <<<"$out" || fail "the C host printed: $out"

# lintian: any error fails; so does any warning but these, each with its reason.
#   initial-upload-closes-no-bugs: the packages are not uploaded to Debian's archive, so
#     their first changelog entry has no ITP bug to close.
accepted='initial-upload-closes-no-bugs'
command -v lintian >/dev/null || fail "lintian is not installed (the test command installs it)"
lintian --no-cfg --fail-on none --display-info "$(deb_of "$runtime")" "$(deb_of "$dev")" >"$work/lintian.log" 2>&1 ||
  { cat "$work/lintian.log" >&2; fail "lintian could not check the packages"; }
grep -v 'running with root privileges' "$work/lintian.log" | sed 's/^/deb: lintian: /'
refused=$(grep -E '^(E|W): ' "$work/lintian.log" | grep -vE "^W: [^ ]+ ($accepted)( |$)" || true)
[ -z "$refused" ] || fail "lintian: $refused"
echo "deb: $(basename "$(deb_of "$runtime")") (Depends: $depends) and $(basename "$(deb_of "$dev")")"
