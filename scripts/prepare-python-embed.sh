#!/usr/bin/env bash
# Checks a Windows embeddable Python zip (python-3.X.Y-embed-amd64.zip) and unpacks it into
# a folder ready to become the release zip's python\ folder.
#   - python.exe, pythonw.exe and one python3XX.dll at its top, each a 64-bit (x86-64)
#     Windows program, and the python3XX._pth the interpreter reads beside that DLL;
#   - that ._pth gets the lines of cmake/embed-python-paths.txt, so the isolated interpreter
#     finds ..\app (the vorla_ui binding and the launcher script) on its path.
# On a refusal it says why in one line on stderr, exits 1 and leaves no OUT_FOLDER.
# Usage: scripts/prepare-python-embed.sh EMBED_ZIP OUT_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# = 2 ] || { echo "usage: scripts/prepare-python-embed.sh EMBED_ZIP OUT_FOLDER" >&2; exit 2; }
embed=$1
out=$2
partial=$out.partial
refuse() {
  echo "windows: refusing --python-embed $embed: $*" >&2
  rm -rf "$partial"
  exit 1
}
rm -rf "$out" "$partial"
[ -f "$embed" ] || refuse "no such file"
embed=$(cd "$(dirname "$embed")" && pwd)/$(basename "$embed")

entries=$(cmake -E tar tf "$embed" 2>/dev/null) || refuse "not a zip archive"
if grep -qE '(^/|^[A-Za-z]:|(^|[/\\])\.\.([/\\]|$))' <<<"$entries"; then
  refuse "it holds paths outside its own folder"
fi
mkdir -p "$partial"
(cd "$partial" && cmake -E tar xf "$embed" >/dev/null 2>&1) || refuse "it cannot be unpacked"

dlls=$(cd "$partial" && find . -maxdepth 1 -type f -regextype posix-extended -regex '\./python3[0-9]+\.dll' -printf '%f\n')
[ -n "$dlls" ] || refuse "no python3XX.dll at its top (an embeddable Python has one)"
[ "$(wc -l <<<"$dlls")" = 1 ] || refuse "more than one python3XX.dll: $(echo $dlls)"
pth=${dlls%.dll}._pth
for program in python.exe pythonw.exe "$dlls"; do
  [ -f "$partial/$program" ] || refuse "no $program at its top"
  format=$(x86_64-w64-mingw32-objdump -f "$partial/$program" 2>/dev/null | sed -n 's/.*file format //p')
  [ "$format" = pei-x86-64 ] || refuse "$program is not a 64-bit (x86-64) Windows program (${format:-not a PE image})"
done
[ -f "$partial/$pth" ] || refuse "no $pth beside $dlls (the interpreter reads its search path there)"

# The lines go in with the line ends the file already uses.
eol=$'\n'
grep -q $'\r' "$partial/$pth" && eol=$'\r\n'
[ ! -s "$partial/$pth" ] || [ -z "$(tail -c 1 "$partial/$pth")" ] || printf '%s' "$eol" >>"$partial/$pth"
while IFS= read -r line || [ -n "$line" ]; do
  printf '%s%s' "${line%$'\r'}" "$eol"
done <"$root/cmake/embed-python-paths.txt" >>"$partial/$pth"
mv "$partial" "$out"
echo "windows: embeddable Python $(basename "$embed") ready ($dlls, $pth amended)"
