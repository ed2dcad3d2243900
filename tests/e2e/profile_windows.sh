#!/usr/bin/env bash
# The profile, decay and bar windows of the logging window, with the map
# shown and without it: each program surveys its simulated instrument (L; F
# and Enter; G; a walk), then P, M and V (Toggle View), G and another walk.
# In both views the logging window must show exactly the profile windows of
# the instrument (EM61-LX2, Grad601, EM38-4 and CS-21 two CurveWnd, one per
# sensor or coil group, never the first; EM31-MK2 the first CurveWnd, the
# decay window and both bar windows, as EM38-MK2; EM34-3 and
# EM61-MK2 the first CurveWnd alone),
# none overlapping another, each holding trace pixels in the screenshot and
# each bar window a drawn gauge. Run it on a portrait screen with
# QUELOR_SCREEN=800x1280x24. QUELOR_VARIANTS narrows the programs;
# screenshots land in build/win32/e2e/. By default one row of each window
# plan runs; QUELOR_PROFILE_ROWS=all runs them all.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup profile_windows
walk=${QUELOR_E2E_WALK:-5}

# program, settings stem, version, devsim arguments, settings lines (N=VALUE,
# 1-based, "-" for none), then the shown windows: CurveWnd count, DecayWnd,
# BarQWnd, BarIWnd. Scales that put the simulated readings inside the profiles.
rows=(
  # EM31-MK2: conductivity (about 23 mS/m here) on a 0-50 mS/m scale, off the window's bottom edge.
  Zelko31 Zelko31MK2 230 "--instrument em31mk2" "32=0.000000 33=50.000000" "1 1 1 1"
  Zelko38MK2 Zelko38MK2 229 "--instrument em38mk2" "-" "1 1 1 1"
  Qyn34-3 Qyn34-3 215 "--instrument em34-3" "-" "1 0 0 0"
  Zelko38-4 Zelko38-4 100 "--instrument em38-4" "-" "2 0 0 0"
  QynCS-21 QynCS-21 100 "--instrument cs21" "-" "2 0 0 0"
  Qyn61LX2 Qyn61LX2 100 "--instrument em61lx2 --sensors 2" "4=1 33=0 34=100" "2 0 0 0"
  Qyn61LX2 Qyn61LX2 100 "--instrument em61lx2 --sensors 1" "4=0 33=0 34=100" "2 0 0 0"
  Qyn601 Qyn601 110 "--instrument grad601 --sensors 2" "5=1 21=-20 22=20" "2 0 0 0"
  Qyn601 Qyn601 110 "--instrument grad601 --sensors 1" "5=0 21=-20 22=20" "1 0 0 0"
  Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2" "32=0 33=100" "1 0 0 0"
  # The simulated EM38 sends conductivity and in-phase records in turn: every
  # record read (0.1 s), the in-phase ones trace the decay window and fill
  # the in-phase bar; conductivity on a 0-50 mS/m scale.
  Zelko38 Zelko38 215 "--instrument em38" "54=0.100000 32=0.000000 33=50.000000" "1 1 1 1"
)
# The test command runs one row of each window plan (QUELOR_PROFILE_ROWS=all
# runs every row): the first window with the decay window and both bars, the
# first alone, two coil groups, left and right coils, one sensor alone, and
# the EM38's records of both components in turn (both bars kept whichever
# record came last before the logging window was laid out again).
if [ "${QUELOR_PROFILE_ROWS:-}" != all ] && [ -z "${QUELOR_VARIANTS:-}" ]; then
  keep=(0 3 5 8 9 10)
  subset=()
  for k in "${keep[@]}"; do subset+=("${rows[@]:$((k * 6)):6}"); done
  rows=("${subset[@]}")
fi

# The program's default settings file with its own data folder and the given lines.
use_settings() {
  local edits=$1 golden=$e2e_root/tests/golden/settings/$e2e_ini_name dir
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  e2e_settings_saved=""
  e2e_settings_save
  dir=$(e2e_settings_dir)
  mkdir -p "$dir"
  cp "$golden" "$dir/$e2e_ini_name"
  E2E_FOLDER="C:\\quelor-e2e\\profile_windows\\$e2e_title\\" python3 - "$dir/$e2e_ini_name" $edits <<'PY'
import os, sys
path = sys.argv[1]
lines = open(path, "rb").read().split(b"\r\n")
lines[1] = os.environ["E2E_FOLDER"].encode("latin-1")
for edit in sys.argv[2:]:
    if edit == "-":
        continue
    n, value = edit.split("=", 1)
    lines[int(n) - 1] = value.encode("latin-1")
open(path, "wb").write(b"\r\n".join(lines))
PY
}

# The display windows of the logging window on the screen: one line each,
# "<class> <visible> <x> <y> <width> <height>" in screen pixels.
display_windows() {
  e2e_inspect "$e2e_title" --deep | awk '
    $1 == "client" { cx = $2; cy = $3 }
    $1 == "child" && $2 == 4 { lx = $4; ly = $5 }
    $1 == "descendant" && $2 == 4 && $4 ~ /^(CurveWnd|DecayWnd|BarQWnd|BarIWnd)$/ {
      print $4, $9, cx + lx + $5, cy + ly + $6, $7, $8 }'
}

# Pixels of the screenshot inside the rectangle (3 pixels in from its edges)
# that are neither white, nor the grey of the scale lines, nor black.
drawn_pixels() {
  local shot=$1 x=$2 y=$3 w=$4 h=$5
  convert "$shot" -crop "$((w - 6))x$((h - 6))+$((x + 3))+$((y + 3))" +repage -format %c histogram:info:- |
    awk '{ colour = $2; count = $1 + 0 }
         colour != "(255,255,255)" && colour != "(192,192,192)" && colour != "(0,0,0)" { n += count }
         END { print n + 0 }'
}

# check_view NAME "CURVES DECAY BARQ BARI": the shown windows, no overlaps,
# traces in every profile window and a gauge in every bar window.
check_view() {
  local view=$1 expected=$2 shot listing shown curves decay barq bari
  e2e_screenshot "$view"
  shot=$e2e_out/$e2e_name-$view.png
  listing=$(display_windows)
  shown=$(awk '$2 == 1' <<<"$listing")
  curves=$(grep -c '^CurveWnd ' <<<"$shown" || true)
  decay=$(grep -c '^DecayWnd ' <<<"$shown" || true)
  barq=$(grep -c '^BarQWnd ' <<<"$shown" || true)
  bari=$(grep -c '^BarIWnd ' <<<"$shown" || true)
  e2e_assert_eq "$view: shown CurveWnd DecayWnd BarQWnd BarIWnd" "$curves $decay $barq $bari" "$expected"
  # Never the first CurveWnd for the sensor and coil groups: the first of the
  # three (in creation order) stays hidden when two are shown.
  if [ "$curves" -eq 2 ]; then
    e2e_assert_eq "$view: first CurveWnd shown" "$(grep -m1 '^CurveWnd ' <<<"$listing" | cut -d' ' -f2)" 0
  fi
  python3 - "$view" <<PY || e2e_fail "$view: display windows overlap"
import sys
rects = [tuple(map(int, l.split()[2:6])) for l in """$shown""".splitlines() if l.strip()]
for i, a in enumerate(rects):
    for b in rects[i + 1:]:
        if a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]:
            print(sys.argv[1], "overlap:", a, b)
            sys.exit(1)
PY
  while read -r class _ x y w h; do
    local n
    n=$(drawn_pixels "$shot" "$x" "$y" "$w" "$h")
    e2e_assert_ge "$view: drawn pixels in $class at $x,$y ${w}x$h" "$n" 5
  done <<<"$shown"
}

survey() {
  local program=$1 stem=$2 version=$3 devsim_args=$4 edits=$5 expected=$6
  e2e_name=profile_windows-$program
  [[ "$devsim_args" != *"--sensors "* ]] || e2e_name+=-sensors${devsim_args##*--sensors }
  e2e_exe=$e2e_build/$program.exe
  e2e_title=$program
  e2e_stem=$stem
  e2e_ini_name=${stem}_$version.INI
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built (cmake --build --preset win32)"
  e2e_data_folder "profile_windows/$program" >/dev/null
  use_settings "$edits"
  rm -rf "$e2e_work/control" "$e2e_work/dev"
  # shellcheck disable=SC2086
  e2e_devsim_start $devsim_args --gps gga --seed 17
  e2e_map_ports

  e2e_log_walk "$walk"
  check_view map "$expected"
  e2e_pause
  e2e_key m
  sleep 0.5
  e2e_key v
  sleep 0.5
  e2e_go
  e2e_walk "$walk"
  check_view no-map "$expected"
  e2e_pause
  e2e_exit_logging
  e2e_exit_program
  e2e_devsim_stop
  e2e_settings_restore
  e2e_say "PASS"
}

start=$SECONDS
count=0
for ((i = 0; i < ${#rows[@]}; i += 6)); do
  program=${rows[i]}
  if [ -n "${QUELOR_VARIANTS:-}" ] && [[ " $QUELOR_VARIANTS " != *" $program "* ]]; then continue; fi
  survey "$program" "${rows[i + 1]}" "${rows[i + 2]}" "${rows[i + 3]}" "${rows[i + 4]}" "${rows[i + 5]}"
  count=$((count + 1))
done
e2e_name=profile_windows
[ "$count" -gt 0 ] || e2e_fail "no program surveyed"
echo "profile_windows: PASS ($count surveys in $((SECONDS - start)) s)"
