#!/usr/bin/env bash
# Background files under a live survey, by keys only, with Qyn31 under Wine
# on the simulated EM31-MK2 and GGA receiver: a first survey writes a data
# file; in the second survey M and K load that data file and a comma-
# delimited text file of UTM points ("Load BackGround File", then the open
# dialog in the background folder); a screenshot shows both under the map;
# eight more loads fill the table and the eleventh is refused with "Maximum
# 10 background files already loaded"; "Remove BackGround Files" with
# "Select All" empties the table and the next remove answers "No background
# files to remove". The temporary point files come and go with the table, in
# a folder of the running program's own. A file loaded before the survey
# ends is still loaded (and drawn) in the next survey; its point file goes
# when the program exits. A point file deleted behind the program's back
# is told once, as "Unexpected error B$3", when the map next draws it. With
# the map unit changed to feet in the setup window's "Map Display Options"
# the kept file is converted again from its source at the next survey's
# first position; with its source gone, the change back to metres removes it
# with a "WARNING" naming it.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup background_files

data=$(e2e_data_folder background_files)
folder='C:\quelor-e2e\background_files\'
temp=$WINEPREFIX/drive_c/ProgramData/Quelor/Temp
# point_files: the point files of every program's own temporary folder.
point_files() { find "$temp" -mindepth 2 -maxdepth 2 -name '*.$[0-9][0-9]' 2>/dev/null | wc -l; }
e2e_settings "$E2E_INI_DATA_FOLDER=$folder" "3=$folder" "${E2E_GPS_8N1[@]}"
origin_lat=43.6100
origin_lon=-79.6000
e2e_devsim_start --instrument em31mk2 --gps gga --seed 21 --origin "$origin_lat,$origin_lon"
e2e_map_ports

# e2e_type WINDOW TEXT: typed into the focused control of WINDOW.
e2e_type() {
  timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
  timeout 10 xdotool type --delay 40 "$2"
}

# load_background NAME KEY...: M, K, KEY... in "Load BackGround File"
# (Return for OK), NAME and Return in the open dialog.
load_background() {
  local name=$1 id
  shift
  e2e_key m
  sleep 0.5
  e2e_key k
  id=$(e2e_wait_dialog "Load BackGround File" 10) || e2e_fail "M, K opened no \"Load BackGround File\""
  sleep 0.3
  wine_window_key "$id" "$@" || e2e_fail "cannot send keys to \"Load BackGround File\""
  e2e_wait_gone "Load BackGround File" 5 || e2e_fail "\"Load BackGround File\" stayed open"
  id=$(e2e_wait_dialog "Open" 10) || e2e_fail "no open dialog after \"Load BackGround File\""
  sleep 0.5
  e2e_type "$id" "$name"
  wine_window_key "$id" Return || true
  e2e_wait_gone "Open" 5 || e2e_fail "the open dialog stayed open"
  sleep 0.8
  local title
  title=$(e2e_dialogs | head -n 1)
  [ -z "$title" ] || e2e_fail "loading $name showed \"$title\": $(e2e_dialog_text "$title")"
  e2e_say "loaded $name"
}

# The earlier survey.
e2e_program_start
e2e_start_logging
sleep 3
e2e_create_file
e2e_go
e2e_walk 12
e2e_pause
e2e_exit_logging
earlier=$(e2e_data_file "$data" "$e2e_extension")
[ -n "$earlier" ] || e2e_fail "the first survey wrote no data file"
mv "$earlier" "$data/earlier.$e2e_extension"

# Points on a 10 m square around the site's origin, in UTM metres.
utm=$("$e2e_quelor" utm "$origin_lat" "$origin_lon")
read -r east north < <(python3 -c 'import json,sys; d=json.loads(sys.argv[1]); print(d["easting"], d["northing"])' "$utm")
python3 - "$data/plan.txt" "$east" "$north" <<'PY'
import sys
path, e, n = sys.argv[1], float(sys.argv[2]), float(sys.argv[3])
with open(path, "w", newline="\r\n") as out:
    out.write("/ site plan: a square and a line\n")
    for dx, dy in [(-10, -10), (10, -10), (10, 10), (-10, 10), (-10, -10)]:
        out.write(f"{e + dx:.3f},{n + dy:.3f}\n")
    out.write("B\n")
    for k in range(5):
        out.write(f"{e - 15 + 7.5 * k:.3f},{n + 15:.3f}\n")
PY

# Today's survey: both files under the map.
e2e_start_logging
sleep 3
load_background "earlier.$e2e_extension" Return
load_background plan.txt Down Return
e2e_assert_eq "temporary point files" "$(point_files)" 2
folders=$(find "$temp" -mindepth 1 -maxdepth 1 -type d -name 'Qyn31-*' | wc -l)
e2e_assert_eq "temporary folders of Qyn31" "$folders" 1
e2e_screenshot loaded
for _ in $(seq 3 10); do load_background plan.txt Return; done
e2e_key m
sleep 0.5
e2e_key k
e2e_expect_message INFORMATION "Maximum 10 background files already loaded" 10
e2e_answer INFORMATION Return
e2e_assert_eq "temporary point files" "$(point_files)" 10

e2e_key m
sleep 0.5
e2e_key m
id=$(e2e_wait_dialog "Remove BackGround Files" 10) || e2e_fail "M, M opened no \"Remove BackGround Files\""
body=$(e2e_dialog_text "Remove BackGround Files")
body=${body//&/}  # the rows' underlined numbers
[[ "$body" == *" 10. plan.txt"* && "$body" == *"  1. earlier.$e2e_extension"* ]] ||
  e2e_fail "\"Remove BackGround Files\" lists \"$body\""
sleep 0.3
wine_window_key "$id" Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space Return
e2e_wait_gone "Remove BackGround Files" 5 || e2e_fail "\"Remove BackGround Files\" stayed open"
e2e_assert_eq "temporary point files" "$(point_files)" 0
e2e_key m
sleep 0.5
e2e_key m
e2e_expect_message INFORMATION "No background files to remove" 10
e2e_answer INFORMATION Return
# One file loaded again, then the survey ends. No file is open in this
# survey: X leaves at once.
load_background plan.txt Return
leave_logging() {
  e2e_key x
  for _ in $(seq 1 50); do
    e2e_logging_shown || break
    sleep 0.2
  done
  e2e_logging_shown && e2e_fail "X in Monitoring did not leave the logging window"
  return 0
}
leave_logging
e2e_assert_eq "temporary point files after the survey" "$(point_files)" 1
# The next survey still has it.
e2e_start_logging
sleep 2
e2e_key m
sleep 0.5
e2e_key m
id=$(e2e_wait_dialog "Remove BackGround Files" 10) || e2e_fail "the next survey has no background file to remove"
body=$(e2e_dialog_text "Remove BackGround Files")
body=${body//&/}
[[ "$body" == *"  1. plan.txt"* ]] || e2e_fail "the next survey lists \"$body\""
wine_window_key "$id" Escape
e2e_wait_gone "Remove BackGround Files" 5 || e2e_fail "\"Remove BackGround Files\" stayed open"
leave_logging
# Its point file gone between surveys: the next survey's first drawing of
# the map cannot read it and tells so once.
find "$temp" -mindepth 2 -maxdepth 2 -name '*.$[0-9][0-9]' -delete
e2e_start_logging
e2e_expect_message "FILE ERROR" 'Unexpected error B$3' 20
e2e_answer "FILE ERROR" Return
sleep 3
again=$(e2e_dialogs | grep -c '^FILE ERROR$' || true)
e2e_assert_eq "\"FILE ERROR\" boxes after the first" "$again" 0
leave_logging

# first_easting: the easting of the first record of the one point file.
first_easting() {
  local f
  f=$(find "$temp" -mindepth 2 -maxdepth 2 -name '*.$[0-9][0-9]' | head -n 1)
  [ -n "$f" ] || e2e_fail "no point file in $temp"
  head -c 14 "$f" | tr -d ' '
}
# set_map_units KEY: the setup window's "Map Display Options" (M), KEY in
# its "Map Units" list, OK.
set_map_units() {
  local id
  e2e_key m
  id=$(e2e_wait_dialog "Map Display Options" 10) || e2e_fail "M opened no \"Map Display Options\""
  sleep 0.3
  wine_window_key "$id" alt+n "$1" Return || e2e_fail "cannot send keys to \"Map Display Options\""
  e2e_wait_gone "Map Display Options" 5 || e2e_fail "\"Map Display Options\" stayed open"
}
# The map unit changed to feet between surveys: the next survey's first
# position converts the kept file again from its source (its point file
# comes back too), in feet.
set_map_units Down
e2e_start_logging
sleep 4
feet=$(first_easting)
python3 -c 'import sys; sys.exit(abs(float(sys.argv[2]) - (float(sys.argv[1]) - 10) / 0.3048) > 0.01)' "$east" "$feet" ||
  e2e_fail "the kept file's first easting is $feet, not $east - 10 m in feet"
e2e_say "converted again for feet: first easting $feet"
leave_logging
# Its source gone, the change back to metres takes the file off the table
# and names it.
rm -f "$data/plan.txt"
set_map_units Up
e2e_start_logging
e2e_expect_message WARNING "Background file removed: plan.txt" 20
e2e_answer WARNING Return
e2e_assert_eq "temporary point files after the source went" "$(point_files)" 0
leave_logging
e2e_exit_program
e2e_assert_eq "temporary point files after the program" "$(point_files)" 0
echo "$e2e_name: PASS"
