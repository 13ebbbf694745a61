#!/usr/bin/env bash
# The bundle copied elsewhere, as a user copies a folder, still loads its library: it holds
# no symbolic links (the versioned library's links stay in the build's lib/), and its
# libvorla_ui.so is the versioned library itself, loaded from the copy by that name.
# Usage: bundle_copy_test.sh BUNDLE WORK
set -euo pipefail
bundle=$1
work=$2
fail() { echo "bundle: $*" >&2; exit 1; }

links=$(find "$bundle" -type l)
[ -z "$links" ] || fail "the bundle holds symbolic links: $links"
rm -rf "$work"
mkdir -p "$work"
cp -r "$bundle" "$work/bundle"
lib=$work/bundle/libvorla_ui.so
[ -f "$lib" ] || fail "the bundle has no libvorla_ui.so"
soname=$(objdump -p "$lib" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = libvorla_ui.so.1 ] || fail "the bundle's libvorla_ui.so has SONAME '$soname'"
page=$(python3 -c '
import ctypes, sys
lib = ctypes.CDLL(sys.argv[1])
lib.vl_test_page.restype = ctypes.c_char_p
print(lib.vl_test_page().decode())' "$lib") || fail "the copied bundle's library does not load"
[ "$page" = main ] || fail "vl_test_page() of the copy gives '$page'"
echo "bundle: the copy loads $soname as libvorla_ui.so"
