#!/usr/bin/env bash
# The channel selectors of real-time programs with their own default
# settings (the data folder changed; the CS-21 with a displayed channel and
# scales its readings colour): hidden while logging, then, paused in Stand
# By, the selectors of the views their map draws are shown beside the
# numbers window (ids 480 upward), and a click on each one, in Stand By,
# leaves the map coloured: the whole map is redrawn on the selected channel.
# Rows: program, settings stem and version, devsim instrument, selectors
# shown, selectors whose map is not asserted ("-" none), settings lines
# changed. The simulated CS-21 sends its $PDLM1 and $PDLM2 lines in turn, so
# its views 5-8 (the $PDLM2 values; selectors 482, 486, 483, 487) colour the
# map as views 1-4 do.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_exe=$e2e_build/Zelko61MK2.exe
e2e_title=Zelko61MK2
e2e_setup channel_selectors

rows=(
  "Zelko61MK2 Zelko61MK2 228 em61mk2 4 -"
  "Zelko61LX2 Zelko61LX2 109 em61lx2 6 -"
  # CS-21: displayed channel 1 (line 62), scales 0-60 mS/m and -5-5 (63-66).
  "ZelkoCS-21 ZelkoCS-21 100 cs21 8 - 62=1 63=0.000000 64=60.000000 65=-5.000000 66=5.000000"
)
[ -z "${QUELOR_SELECTOR_PROGRAMS:-}" ] || {
  wanted=" $QUELOR_SELECTOR_PROGRAMS "
  kept=()
  for row in "${rows[@]}"; do [[ $wanted == *" ${row%% *} "* ]] && kept+=("$row"); done
  rows=("${kept[@]}")
}

# "<id> <visible> <x> <y> <w> <h>" of the selector buttons of the logging
# window (child 4), positions on the screen.
selectors() {
  e2e_inspect "$e2e_title" --deep | awk '
    $1 == "client" { cx = $2; cy = $3 }
    $1 == "child" && $2 == 4 { lx = $4; ly = $5 }
    $1 == "descendant" && $2 == 4 && $3 >= 480 && $3 <= 487 && $4 == "Button" {
      print $3, $9, cx + lx + $5, cy + ly + $6, $7, $8 }'
}

# Pixels of the shown map window neither white nor grey nor black (the
# colour strips), in a screenshot NAME.
coloured_pixels() {
  local shot=$e2e_out/$e2e_name-$1.png geometry x y w h
  e2e_screenshot "$1" >&2
  geometry=$(e2e_inspect "$e2e_title" --deep | awk '
    $1 == "client" { cx = $2; cy = $3 }
    $1 == "child" && $2 == 4 { lx = $4; ly = $5 }
    $1 == "descendant" && $2 == 4 && $3 == 652 && $9 == 1 { print cx + lx + $5, cy + ly + $6, $7, $8 }')
  [ -n "$geometry" ] || e2e_fail "no shown map window"
  read -r x y w h <<<"$geometry"
  convert "$shot" -crop "$((w - 6))x$((h - 6))+$((x + 3))+$((y + 3))" +repage -format %c histogram:info:- |
    awk 'match($0, /\( *[0-9]+, *[0-9]+, *[0-9]+/) {
           split(substr($0, RSTART + 1, RLENGTH - 1), v, ",")
           if (!(v[1] + 0 == v[2] + 0 && v[2] + 0 == v[3] + 0)) n += $1 }
         END { print n + 0 }'
}

run_row() {
  local program=$1 stem=$2 version=$3 instrument=$4 expected=$5 unasserted=",$6,"
  shift 6
  e2e_name=channel_selectors-$program
  e2e_exe=$e2e_build/$program.exe
  e2e_title=$program
  e2e_stem=$stem
  e2e_ini_name=${stem}_$version.INI
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built"
  local golden=$e2e_root/tests/golden/settings/$e2e_ini_name dir saved="" edit
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  e2e_data_folder "channel_selectors/$program" >/dev/null
  dir=$(e2e_settings_dir)
  mkdir -p "$dir"
  if [ -f "$dir/$e2e_ini_name" ]; then
    saved=$e2e_work/$e2e_ini_name.saved
    cp "$dir/$e2e_ini_name" "$saved"
  fi
  cp "$golden" "$dir/$e2e_ini_name"
  for edit in "2=C:\\quelor-e2e\\channel_selectors\\$program\\" "$@"; do
    E2E_VALUE=${edit#*=} python3 - "$dir/$e2e_ini_name" "${edit%%=*}" <<'PY'
import os, sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
lines[int(sys.argv[2]) - 1] = os.environ["E2E_VALUE"].encode("latin-1")
open(sys.argv[1], "wb").write(b"\r\n".join(lines))
PY
  done
  rm -rf "$e2e_work/control" "$e2e_work/dev"
  e2e_devsim_start --instrument "$instrument" --gps gga --seed 17
  e2e_map_ports
  e2e_log_walk 8
  e2e_screenshot logging

  local shown_while_logging listing shown id visible x y w h pixels
  shown_while_logging=$(selectors | awk '$2 == 1' | wc -l)
  [ "$shown_while_logging" -eq 0 ] || e2e_fail "$shown_while_logging selectors shown while logging"

  e2e_pause
  sleep 1
  listing=$(selectors)
  e2e_say "selectors: $(awk '{ printf "%s:%s ", $1, $2 }' <<<"$listing")"
  shown=$(awk '$2 == 1' <<<"$listing" | wc -l)
  [ "$shown" -eq "$expected" ] || e2e_fail "$shown selectors shown, $program has $expected"

  # Each selector in turn: the map redrawn on its channel keeps its colours.
  while read -r id visible x y w h; do
    [ "$visible" = 1 ] || continue
    timeout 5 xdotool mousemove --sync $((x + w / 2)) $((y + h / 2)) click 1 || e2e_fail "click on selector $id failed"
    sleep 2
    [ -z "$(e2e_dialogs | head -n 1)" ] || e2e_fail "selector $id opened \"$(e2e_dialogs | head -n 1)\""
    pixels=$(coloured_pixels "selector-$id")
    if [[ $unasserted == *",$id,"* ]]; then
      e2e_say "coloured map pixels after selector $id: $pixels (no records of its view simulated)"
    else
      e2e_assert_ge "coloured map pixels after selector $id" "$pixels" 200
    fi
    selectors | awk -v id="$id" '$1 == id' | grep -q . || e2e_fail "selector $id gone"
  done <<<"$listing"

  # Map review (I) shows the labelled colour bar over the map; Exit Review
  # (E) hides it again.
  colour_bar() {
    e2e_inspect "$e2e_title" --deep | awk '$1 == "descendant" && $2 == 4 && $3 == 653 { print $9 }'
  }
  e2e_key i
  sleep 2
  [ "$(colour_bar)" = 1 ] || e2e_fail "no colour bar in map review"
  e2e_screenshot review
  e2e_key e
  sleep 2
  [ "$(colour_bar)" = 0 ] || e2e_fail "the colour bar stayed after Exit Review"

  e2e_finish_survey
  if [ -n "$saved" ]; then cp "$saved" "$dir/$e2e_ini_name"; else rm -f "$dir/$e2e_ini_name"; fi
}

for row in "${rows[@]}"; do
  # shellcheck disable=SC2086
  run_row $row
done
e2e_say "PASS"
