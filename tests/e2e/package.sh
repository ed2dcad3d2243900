#!/usr/bin/env bash
# The Windows release package: scripts/package (on what build/win32 holds)
# gives the zip with the 18 programs, quelor.exe, the user guide and the
# licence, and the NSIS installer; the zip is unpacked into a fresh Wine
# prefix, where Qyn31.exe starts and shows its setup window, quelor.exe
# checks a data file and makes the map, the report and the grid of a survey.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUELOR_WIN32_BUILD:-$root/build/win32}
name=package
fail() {
  echo "$name: FAIL: $*" >&2
  exit 1
}
for p in Zelko31 Qyn31 Zelko38 Qyn38 Zelko34-3 Qyn34-3 Zelko38MK2 Qyn38MK2 Zelko38-4 Qyn38-4 ZelkoCS-21 QynCS-21 \
         Zelko601 Qyn601 Zelko61LX2 Qyn61LX2 Zelko61MK2 Qyn61MK2 quelor; do
  [ -f "$build/$p.exe" ] || { echo "$name: SKIP: $p.exe is not built (cmake --build --preset win32)"; exit 0; }
done
command -v makensis >/dev/null || fail "makensis is not installed (scripts/setup)"

version=e2e-test
QUELOR_VERSION=$version QUELOR_WIN32_BUILD=$build "$root/scripts/package" --no-build >/dev/null ||
  fail "scripts/package failed"
zip=$root/dist/quelor-$version-win64.zip
setup=$root/dist/quelor-$version-win64-setup.exe
[ -f "$zip" ] || fail "no $zip"
[ -s "$setup" ] || fail "no installer $setup"
head -c 2 "$setup" | grep -q MZ || fail "the installer is not a Windows program"
listing=$(unzip -Z1 "$zip")
[ "$(grep -c '\.exe$' <<<"$listing")" -eq 19 ] || fail "the zip holds $(grep -c '\.exe$' <<<"$listing") programs, not 19"
for f in Qyn31.exe Zelko61MK2.exe quelor.exe user-guide.txt licence.txt; do
  grep -qx "quelor-$version-win64/$f" <<<"$listing" || fail "the zip lacks $f"
done
echo "$name: zip with 19 programs, the guide and the licence; installer $(stat -c %s "$setup") bytes"

work=$(mktemp -d)
xvfb=""
cleanup() {
  WINEPREFIX=$work/prefix wineserver -k >/dev/null 2>&1 || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work" "$zip" "$setup"
}
trap cleanup EXIT
unzip -q "$zip" -d "$work"
dir=$work/quelor-$version-win64
# shellcheck source=../../scripts/wine-env
QUELOR_WINEPREFIX=$work/prefix . "$root/scripts/wine-env"
if [ -z "${DISPLAY:-}" ]; then
  wine_env_start_xvfb || fail "no display"
  xvfb=$QUELOR_XVFB_PID
fi
export HOME=$work
WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
wineserver -w
# The Windows path of a file; the fresh prefix's first winepath may answer nothing.
wine_path() {
  local p try
  for try in 1 2 3; do
    p=$(winepath -w "$1" 2>/dev/null) && [ -n "$p" ] && { echo "$p"; return 0; }
    sleep 1
  done
  return 1
}
golden=$(wine_path "$root/tests/golden/datafile/Qyn31.dat") || fail "winepath gave no Windows path"
out=$(cd "$dir" && wine quelor.exe check "$golden" | tr -d '\r') ||
  fail "quelor.exe check failed: $out"
grep -q '"errors":\[\]' <<<"$out" || fail "quelor.exe check: $out"

# The end-of-day subcommands of quelor.exe on a survey with a line left out:
# map (its PNG written over MinGW's zlib), report, and grid where the tool has it.
command -v cs2cs >/dev/null || fail "cs2cs is not installed (scripts/setup)"
survey=$work/day.R31
python3 "$root/tests/cli/lib/survey_day.py" "$survey" --lines 6 --length 20 --skip 3 || fail "no survey file"
usage=$(cd "$dir" && wine quelor.exe --help 2>&1 | tr -d '\r' || true)
for sub in map report; do grep -qE "^  $sub +" <<<"$usage" || fail "quelor.exe has no $sub"; done
out=$(cd "$dir" && wine quelor.exe map "$(wine_path "$survey")" --out "$(wine_path "$work/map.png")" | tr -d '\r') ||
  fail "quelor.exe map failed: $out"
grep -q '"swaths":5' <<<"$out" || fail "quelor.exe map: $out"
[ "$(head -c 8 "$work/map.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "quelor.exe map wrote no PNG"
out=$(cd "$dir" && wine quelor.exe report "$(wine_path "$survey")" --out "$(wine_path "$work/report.html")" | tr -d '\r') ||
  fail "quelor.exe report failed: $out"
for want in '"gaps":1' '"coverage_map":true' '"grid_map":true' 'between line 3 and line 5'; do
  grep -qF "$want" <<<"$out" || fail "quelor.exe report lacks $want: $out"
done
[ "$(grep -o 'src="data:image/png;base64,' "$work/report.html" | wc -l)" -eq 2 ] || fail "the report holds not two images"
tools="map, report"
if grep -qE "^  grid +" <<<"$usage"; then
  out=$(cd "$dir" && wine quelor.exe grid "$(wine_path "$survey")" --out "$(wine_path "$work/grid.tif")" | tr -d '\r') ||
    fail "quelor.exe grid failed: $out"
  [ "$(head -c 4 "$work/grid.tif" | od -An -tx1 | tr -d ' \n')" = 49492a00 ] || fail "quelor.exe grid wrote no TIFF: $out"
  tools="grid, $tools"
fi
echo "$name: quelor.exe check, $tools on a survey file"
(cd "$dir" && exec wine Qyn31.exe) >/dev/null 2>&1 &
QUELOR_PROGRAM_PID=$!
wine_window_wait Qyn31 60 >/dev/null || fail "Qyn31.exe from the zip showed no window"
kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || fail "Qyn31.exe ended"
echo "$name: Qyn31.exe from the zip runs in a fresh prefix; all passed"
