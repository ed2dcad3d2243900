#!/usr/bin/env bash
# The colour map of Zelko31 (EM31-MK2, conductivity colour map view) on the
# simulated site: a walk paints the anomalies in colour; the map keys pan,
# enter review, zoom, fit and leave review; a new Readings Scale in Stand By
# recolours the whole map; the data file's swath records
# re-plot with quelor map into an image whose world file lies on the walk;
# the Map Size dialog driven by keys changes the map and the settings file.
# QUELOR_E2E_WALK sets the seconds of the walk (25).
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup map_zelko31
walk=${QUELOR_E2E_WALK:-25}
e2e_exe=$e2e_build/Zelko31.exe
e2e_title=Zelko31
e2e_stem=Zelko31MK2
e2e_ini_name=Zelko31MK2_230.INI
[ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built"

data=$(e2e_data_folder map_zelko31)
# Conductivity limits 15-30 mS/m (settings lines 32-33) so the site's anomalies take colours.
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\map_zelko31\\" "$E2E_INI_READING_INTERVAL=0.200000" \
  "32=15.000000" "33=30.000000"
e2e_devsim_start --instrument em31mk2 --gps gga --seed 31
e2e_map_ports

# The distinct colours of the map window's strips: its client 3 pixels in
# from the edges, neither white nor grey nor black, in a screenshot NAME.
map_colours() {
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
           if (!(v[1] + 0 == v[2] + 0 && v[2] + 0 == v[3] + 0)) n++ }
         END { print n + 0 }'
}

# The same count of colours in two screenshots half a second apart: a
# screenshot taken while the map repaints shows it erased.
settled_map_colours() {
  local now previous="" _
  for _ in 1 2 3 4 5 6 7 8; do
    now=$(map_colours "$1")
    [ "$now" = "$previous" ] && break
    previous=$now
    sleep 0.5
  done
  echo "$now"
}

e2e_log_walk "$walk"
e2e_screenshot colour-map
e2e_pause
# Readings Scale in Stand By: a conductivity maximum of 1000 mS/m puts the
# walk's readings in the lowest class; the whole map is redrawn in it, so no
# strip painted before keeps its colours.
before=$(settled_map_colours stand-by)
e2e_key a
dialog=$(e2e_wait_dialog "Conductivity/Inphase Readings Scales" 10) || e2e_fail "A did not open the Readings Scale"
sleep 0.5
wine_window_key "$dialog" alt+x End shift+Home 1 0 0 0 Return
e2e_wait_gone "Conductivity/Inphase Readings Scales" 6 || e2e_fail "the Readings Scale stayed open after Enter"
sleep 3
after=$(settled_map_colours rescaled)
e2e_say "map colours: $before on 15-30 mS/m, $after on 15-1000 mS/m"
e2e_assert_ge "map colours on 15-30 mS/m" "$before" 4
[ "$after" -le 2 ] || e2e_fail "$after map colours on 15-1000 mS/m: strips kept their earlier colours"
e2e_assert_eq "conductivity maximum in the settings file" "$(sed -n 33p "$(e2e_settings_dir)/$e2e_ini_name" | tr -d '\r')" \
  1000.000000
# Map keys in Stand By: pan left and up, then review, zoom, fit, exit.
e2e_key Left Left Up
e2e_key i
sleep 1
e2e_key plus plus
sleep 2
e2e_screenshot review-zoomed
e2e_key f
sleep 2
e2e_screenshot review-fit
e2e_key e
sleep 2
e2e_screenshot review-left
# Map Size by keys: S opens "Map Size", 60 replaces the selected size, Enter is OK.
e2e_key s
dialog=$(e2e_wait_dialog "Map Size" 10) || e2e_fail "S did not open \"Map Size\""
sleep 0.5
wine_window_key "$dialog" 6 0
e2e_answer "Map Size" Return
sleep 2
e2e_screenshot map-size-60
ini=$(e2e_settings_dir)/$e2e_ini_name
size=$(sed -n 65p "$ini" | tr -d '\r')
e2e_assert_eq "map size in the settings file" "$size" 60
e2e_exit_logging
e2e_exit_program

file=$(e2e_data_file "$data" T31)
[ -n "$file" ] || e2e_fail "no .T31 file in $data: $(ls -A "$data")"
cp "$file" "$e2e_out/$e2e_name-$(basename "$file")"
e2e_check "$file"
e2e_assert_eq "check errors" "$e2e_check_errors" 0
corners=$(e2e_count '^\{[a-d]' "$file")
e2e_assert_ge "corner records" "$corners" 40
json=$("$e2e_quelor" map "$file" --scale 15,30 --out "$e2e_out/$e2e_name-replot.png") || e2e_fail "quelor map failed"
e2e_say "quelor map: $json"
python3 - "$json" "$file" <<'PY' || e2e_fail "the re-plot does not match the walk"
import json, sys
j = json.loads(sys.argv[1])
assert j["swaths"] >= 1 and j["bars"] >= 10 and j["readings"] >= 10, j
assert j["map_full"] == 0, j
# Every corner lies inside the image placed by its world file.
w = [float(x) for x in open(j["png"][:-4] + ".pgw").read().split()]
L = 27
data = open(sys.argv[2], "rb").read()
for i in range(0, len(data) - L + 1, L):
    r = data[i:i + L]
    if r[:1] == b"{" and r[1:2] in b"ac":
        e = float(r[2:L - 1]); col = (e - w[4]) / w[0]
        assert -1 <= col <= j["width"], (e, col)
    if r[:1] == b"{" and r[1:2] in b"bd":
        n = float(r[2:L - 1]); row = (n - w[5]) / w[3]
        assert -1 <= row <= j["height"], (n, row)
PY
colours=$(convert "$e2e_out/$e2e_name-replot.png" -unique-colors txt:- | grep -c '#')
e2e_assert_ge "colours of the re-plot" "$colours" 6
e2e_say "PASS"
