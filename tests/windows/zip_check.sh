#!/usr/bin/env bash
# The release zips, checked as a user and a maintainer get them (run by scripts/windows-test.sh
# after the plain build, with $WINE and a prepared Wine prefix):
#   1. the plain zip holds exactly the programs, every *.py under app/ of the source tree and
#      python\README.txt; unpacked, with the recording stand-in interpreter dropped into
#      python\, VorlaRecomp.exe --console starts it on the launcher script;
#   2. a zip packed from an app folder that also holds a vorla_ui package carries it;
#   3. scripts/windows-build.sh --python-embed with a synthetic embeddable Python (the stand-in
#      as python.exe and pythonw.exe, a tiny python311.dll, a python311._pth) gives a zip with
#      that interpreter in python\ and our search-path lines in its ._pth, and unpacked as it
#      is, VorlaRecomp.exe starts that interpreter on the launcher script;
#   4. embeddable Pythons that are not fit are refused with one line and leave no zip;
#   5. the plain build again, so the build folder ends with the plain zip.
# Usage: tests/windows/zip_check.sh BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
: "${WINE:?WINE names the Wine loader}"
zip=$build/VorlaRecomp-windows-x64.zip
stub=$build/tests/windows/stub_python.exe
work=$build/zip-check
rm -rf "$work"
mkdir -p "$work"
fail() { echo "zip check: $*" >&2; exit 1; }

# Entries of VorlaRecomp/app/ for every *.py under an app folder, with the folders above them.
app_entries() {
  echo VorlaRecomp/app/
  (cd "$1" && find . -type f -name '*.py' | sed 's|^\./||') | while IFS= read -r file; do
    echo "VorlaRecomp/app/$file"
    folder=$(dirname "$file")
    while [ "$folder" != . ]; do echo "VorlaRecomp/app/$folder/"; folder=$(dirname "$folder"); done
  done
}
# expect_entries ZIP ENTRY...: the zip holds exactly these entries.
expect_entries() {
  local archive=$1 got want
  shift
  got=$(cmake -E tar tf "$archive" | LC_ALL=C sort | tr '\n' ' ')
  want=$(printf '%s\n' "$@" | LC_ALL=C sort -u | tr '\n' ' ')
  [ "$got" = "$want" ] || fail "$(basename "$archive") holds [$got], expected [$want]"
}
programs="VorlaRecomp/ VorlaRecomp/VorlaRecomp.exe VorlaRecomp/vorla_ui.dll VorlaRecomp/SDL2.dll VorlaRecomp/python/"
# run_unpacked ZIP ARGUMENT...: unpacks ZIP, runs VorlaRecomp.exe under Wine with the stand-in
# interpreter answering 7; sets record (its command line and the rest) and code.
run_unpacked() {
  local archive=$1 folder=$work/unpacked
  shift
  rm -rf "$folder" && mkdir -p "$folder"
  (cd "$folder" && cmake -E tar xf "$archive")
  echo 7 >"$folder/VorlaRecomp/python/exit_code.txt"
  code=0
  (cd "$folder/VorlaRecomp" && "$WINE" VorlaRecomp.exe "$@") || code=$?
  record=$(iconv -f UTF-16LE -t UTF-8 "$folder/VorlaRecomp/python/record.bin" 2>/dev/null || true)
}

echo "zip check: the plain zip"
expect_entries "$zip" $programs VorlaRecomp/python/README.txt $(app_entries "$root/app")
mkdir -p "$work/plain"
cp "$zip" "$work/plain/plain.zip"
# The plain zip has no interpreter: drop the stand-in in, as a user drops one in.
rm -rf "$work/unpacked" && mkdir -p "$work/unpacked"
(cd "$work/unpacked" && cmake -E tar xf "$work/plain/plain.zip")
for interp in python.exe pythonw.exe; do cp "$stub" "$work/unpacked/VorlaRecomp/python/$interp"; done
(cd "$work/unpacked" && cmake -E tar cf "$work/plain/with-stand-in.zip" --format=zip VorlaRecomp)
run_unpacked "$work/plain/with-stand-in.zip" --console from-zip
if [ "$code" != 7 ] || ! grep -qF 'python\python.exe" "' <<<"$record" ||
   ! grep -qF 'app\launcher\launcher.py" --console from-zip' <<<"$record"; then
  fail "the unpacked launcher did not start python\\python.exe on the script (exit $code): $record"
fi

echo "zip check: an app folder with the vorla_ui package"
mkdir -p "$work/binding"
cp -r "$root/app" "$work/binding/app"
mkdir -p "$work/binding/app/vorla_ui/__pycache__"
echo '"""Placeholder package for the zip check."""' >"$work/binding/app/vorla_ui/__init__.py"
echo 'compiled' >"$work/binding/app/vorla_ui/__pycache__/__init__.cpython-311.pyc"
cmake -DZIP="$work/binding/binding.zip" -DSTAGE="$work/binding/stage" \
  "-DPROGRAMS=$build/bundle/VorlaRecomp.exe;$build/bundle/vorla_ui.dll;$build/bundle/SDL2.dll" \
  -DAPP_DIR="$work/binding/app" -DREADME="$build/bundle/python/README.txt" -P "$root/cmake/windows-zip.cmake"
expect_entries "$work/binding/binding.zip" $programs VorlaRecomp/python/README.txt $(app_entries "$work/binding/app")
grep -qx 'VorlaRecomp/app/vorla_ui/__init__.py' <<<"$(cmake -E tar tf "$work/binding/binding.zip")" ||
  fail "the zip lacks app/vorla_ui/__init__.py"

echo "zip check: a synthetic embeddable Python"
fixture=$work/embed
mkdir -p "$fixture/good"
cp "$stub" "$fixture/good/python.exe"
cp "$stub" "$fixture/good/pythonw.exe"
echo 'int python_stand_in;' | x86_64-w64-mingw32-gcc -shared -x c - -o "$fixture/good/python311.dll"
cp "$fixture/good/python311.dll" "$fixture/good/python3.dll"
pth_lines=$'python311.zip\r\n.\r\n\r\n# Uncomment to run site.main() automatically\r\n#import site\r\n'
printf '%s' "$pth_lines" >"$fixture/good/python311._pth"
echo 'license' >"$fixture/good/LICENSE.txt"
embed_files="python.exe pythonw.exe python3.dll python311.dll python311._pth LICENSE.txt"
# make_embed NAME FILE...: zips these files of good/ as NAME.
make_embed() {
  local name=$1
  shift
  (cd "$fixture/good" && cmake -E tar cf "$fixture/$name" --format=zip "$@")
}
make_embed python-3.11.9-embed-amd64.zip $embed_files
"$root/scripts/windows-build.sh" --python-embed "$fixture/python-3.11.9-embed-amd64.zip" "$build" >"$work/embed-build.log" 2>&1 ||
  { cat "$work/embed-build.log" >&2; fail "the build with the synthetic embeddable Python failed"; }
expect_entries "$zip" $programs $(app_entries "$root/app") $(printf 'VorlaRecomp/python/%s ' $embed_files)
pth=$(cd "$work" && cmake -E tar xf "$zip" VorlaRecomp/python/python311._pth && cat VorlaRecomp/python/python311._pth)
ours=$(sed 's/\r$//; s/$/\r/' "$root/cmake/embed-python-paths.txt")
[ "$pth" = "$pth_lines$ours" ] || fail "python311._pth in the zip reads [$pth], expected the embed's lines and ours"
run_unpacked "$zip" from-embed
if [ "$code" != 7 ] || ! grep -qF 'python\pythonw.exe" "' <<<"$record" ||
   ! grep -qF 'app\launcher\launcher.py" from-embed' <<<"$record"; then
  fail "the unpacked zip did not start its python\\pythonw.exe on the script (exit $code): $record"
fi

echo "zip check: embeddable Pythons that are refused"
printf 'int mainCRTStartup(void) { return 0; }\n' >"$fixture/main32.c"
x86_64-w64-mingw32-gcc -m32 -c "$fixture/main32.c" -o "$fixture/main32.o"
mkdir -p "$fixture/i386"
cp -r "$fixture/good/." "$fixture/i386/"
ld -m i386pe -e _mainCRTStartup -o "$fixture/i386/python.exe" "$fixture/main32.o"
(cd "$fixture/i386" && cmake -E tar cf "$fixture/32-bit-python.zip" --format=zip $embed_files)
make_embed no-pth.zip python.exe pythonw.exe python3.dll python311.dll
make_embed no-pythonw.zip python.exe python3.dll python311.dll python311._pth
make_embed no-dll.zip python.exe pythonw.exe python3.dll python311._pth
echo 'not a zip' >"$fixture/text.zip"
while IFS='|' read -r name expected; do
  echo stale >"$zip"  # a zip from before must not stay looking like the result
  rc=0
  "$root/scripts/windows-build.sh" --python-embed "$fixture/$name" "$build" >"$work/refused.out" 2>"$work/refused.err" || rc=$?
  [ "$rc" = 1 ] || fail "$name: windows-build.sh exited $rc, expected 1"
  [ "$(wc -l <"$work/refused.err")" = 1 ] && grep -qF "$expected" "$work/refused.err" ||
    fail "$name: expected one line saying '$expected', got: $(cat "$work/refused.err")"
  for left in "$zip" "$zip.partial" "$build/python-embed" "$build/python-embed.partial"; do
    [ ! -e "$left" ] || fail "$name: $left is left behind"
  done
  echo "zip check: $name refused: $(cat "$work/refused.err")"
done <<'EOF_CASES'
32-bit-python.zip|python.exe is not a 64-bit (x86-64) Windows program (pei-i386)
no-pth.zip|no python311._pth beside python311.dll
no-pythonw.zip|no pythonw.exe at its top
no-dll.zip|no python3XX.dll at its top
text.zip|not a zip archive
EOF_CASES
echo "zip check: the plain zip again, which the build folder keeps"
"$root/scripts/windows-build.sh" "$build" >"$work/plain-build.log" 2>&1 ||
  { cat "$work/plain-build.log" >&2; fail "the plain build failed"; }
expect_entries "$zip" $programs VorlaRecomp/python/README.txt $(app_entries "$root/app")
rm -rf "$work"
echo "zip check: passed"
