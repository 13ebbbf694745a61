#!/usr/bin/env bash
# The ABI of libvorla_ui, kept against the baselines recorded at releases of its major
# version (abi/libvorla_ui-<major>.<minor>.<patch>.abi; abi/README.md says when and why).
# Usage: abi/abi.sh check BUILD    compare BUILD's library with each baseline (a test)
#        abi/abi.sh record BUILD   write the baseline of BUILD's library's version
# BUILD is a Linux build folder with debug info (Debug or RelWithDebInfo). Only the exported
# functions count, with the records and types they reach: the exports map lets out
# vl_* and vui_* alone, all declared in the public header, so nothing private is reached.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "abi: $*" >&2; exit 1; }
[ $# = 2 ] || fail "usage: abi/abi.sh check|record BUILD"
verb=$1
build=$(cd "$2" && pwd)
cache() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
version=$(cache CMAKE_PROJECT_VERSION)
major=${version%%.*}
lib=$(realpath "$build/lib/libvorla_ui.so.$major") || fail "no libvorla_ui.so.$major in $build/lib"
sections=$(readelf -S "$lib")
if [[ $sections != *.debug_info* ]]; then
  echo "abi: skipped: $lib has no debug info (build type '$(cache CMAKE_BUILD_TYPE)')"
  exit 77
fi

# The ABI as abidw sees it, written to $2. Both sides of a check are made by this one
# command. Paths of this machine are left out; type ids come from hashes, so a baseline
# recorded again differs only where the ABI does. No header filter (--header-file with
# --drop-private-types): abidw matches headers by the path in the debug info, which is
# not canonical where a source includes the header through "../frame/", and it then took
# the host records for private and dropped their fields.
describe() {
  abidw --exported-interfaces-only --no-corpus-path --no-comp-dir-path --short-locs --no-elf-needed \
    --type-id-style hash --out-file "$2" "$1"
  # Records left as bare declarations would have no fields to compare.
  local record
  for record in vl_status vl_online_status; do
    grep -q "<class-decl name='$record' size-in-bits=" "$2" || fail "$2 lacks the layout of $record"
  done
}

case $verb in
record)
  out=$here/libvorla_ui-$version.abi
  # A recorded baseline is what was released: recording it again could take in a break.
  [ ! -e "$out" ] || fail "$out exists; a baseline is recorded once, at its release"
  describe "$lib" "$out"
  echo "abi: recorded $out"
  ;;
check)
  baselines=("$here"/libvorla_ui-"$major".*.abi)
  [ -f "${baselines[0]}" ] || fail "no baseline abi/libvorla_ui-$major.*.abi"
  # The exports map lets out the C interface and nothing else (a version node, type A,
  # is not an export).
  others=$(nm -D --defined-only "$lib" | awk '$2 != "A" && $3 !~ /^(vl|vui)_/ { print $3 }')
  [ -z "$others" ] || fail "$lib exports more than vl_* and vui_*: $others"
  current=$build/abi-current.abi
  describe "$lib" "$current"
  for baseline in "${baselines[@]}"; do
    name=$(basename "$baseline")
    # Additions pass: they are listed, not judged. abidiff sets its bit 4 (ABI_CHANGE) for
    # an addition too, so the verdict comes from a second run that leaves additions out:
    # there any difference fails, bit 8 (incompatible) or bit 4 alone (a field's type
    # changed at the same size, a changed signature). --harmless counts what abidiff
    # would otherwise filter out as binary-compatible, such as a renamed field: hosts
    # name fields.
    abidiff "$baseline" "$current" >"$build/abi-diff.txt" 2>&1 || true
    grep -E '^  \[A\] ' "$build/abi-diff.txt" | sed "s/^  \[A\]/abi: added since $name:/" || true
    rc=0
    abidiff --no-added-syms --harmless "$baseline" "$current" >"$build/abi-diff.txt" 2>&1 || rc=$?
    if [ "$rc" != 0 ]; then
      cat "$build/abi-diff.txt" >&2
      fail "$(basename "$lib") differs from $name by more than additions (abidiff exit $rc)"
    fi
    echo "abi: $(basename "$lib") keeps the ABI of $name"
  done
  ;;
*) fail "usage: abi/abi.sh check|record BUILD" ;;
esac
