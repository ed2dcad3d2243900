#!/usr/bin/env bash
# Survey modes on the simulator, driven by keys as a surveyor would: each row
# one program in one survey mode, its data file checked (quelor check) and
# what the surveyor would see asserted (readings, GPS sentences, remarks).
#
# Rows of the default run (one per instrument family):
#   em61mk2-polled  Qyn61MK2 at 10 readings/s: polled by 'A', readings
#                   arrive, no connection break
#   em34-manual     Qyn34-3 Manual with stations of 2 readings, triggered on
#                   the simulator; the "Station Readings" box held open 3 s:
#                   no battery-save box, no break, every station written
#                   with its GPS sentences
# Rows of QUELOR_E2E_MATRIX=full besides:
#   em61mk2-manual  Qyn61MK2 Manual: 4 triggers, 4 readings, each with a GPS
#                   position sentence
# QUELOR_E2E_ROWS="em34-manual" narrows the run.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_modes

# row, program, settings stem, version, devsim arguments, settings lines
rows=(
  em61mk2-polled Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2 --polled" "50=0.100000"
  em34-manual Qyn34-3 Qyn34-3 215 "--instrument em34-3" "48=2 50=1 51=2"
)
if [ "${QUELOR_E2E_MATRIX:-}" = full ]; then
  rows+=(
    em61mk2-manual Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2" "45=2"
  )
fi

# The program's default settings file with its own data folder and the given lines.
use_settings() {
  local edits=$1 golden=$e2e_root/tests/golden/settings/$e2e_ini_name dir
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  e2e_settings_save
  dir=$(e2e_settings_dir)
  mkdir -p "$dir"
  cp "$golden" "$dir/$e2e_ini_name"
  # shellcheck disable=SC2086
  E2E_FOLDER="C:\\quelor-e2e\\survey_modes\\$e2e_row\\" python3 - "$dir/$e2e_ini_name" $edits <<'PY'
import os, sys
path = sys.argv[1]
lines = open(path, "rb").read().split(b"\r\n")
lines[1] = os.environ["E2E_FOLDER"].encode("latin-1")
for edit in sys.argv[2:]:
    n, v = edit.split("=", 1)
    lines[int(n) - 1] = v.encode("latin-1")
open(path, "wb").write(b"\r\n".join(lines))
PY
}

# No message box may be open (the station box is answered by the row).
no_box() {
  local title
  title=$(e2e_dialogs | head -n 1)
  [ -z "$title" ] || e2e_fail "$1: the program showed \"$title\": $(e2e_dialog_text "$title")"
}

# trigger_reading: the trigger pressed on the instrument for a few records.
trigger_reading() {
  e2e_devsim "trigger 3"
  sleep 1.2
}

# station BOX_SECONDS: two triggers fill a station of two readings; its box
# is held open BOX_SECONDS, then confirmed.
station() {
  trigger_reading
  e2e_devsim "trigger 3"
  e2e_wait_dialog "Station Readings" 8 >/dev/null || e2e_fail "no \"Station Readings\" box after a full station"
  sleep "$1"
  # Only the station box: no battery-save question over it.
  [ "$(e2e_dialogs | grep -vc '^Station Readings$' || true)" = 0 ] ||
    e2e_fail "another box over the station box: $(e2e_dialogs | tr '\n' ',')"
  e2e_answer "Station Readings" Return
}

readings_of() {
  "$e2e_quelor" export "$1" --format csv | tail -n +2 | grep -c . || true
}

check_file() {
  local data=$1 readings=$2 breaks sentences
  e2e_check_newest "$data"
  e2e_assert_ge "GPS positions" "$e2e_check_gps_positions" 1
  breaks=$(e2e_count '^X(1CONN BRK 1|GPS CONN BRK|\$CONN END)' "$e2e_file")
  e2e_assert_eq "break remarks" "$breaks" 0
  sentences=$(e2e_count '^@' "$e2e_file")
  e2e_assert_ge "GPS sentences" "$sentences" 1
  e2e_assert_ge "readings" "$(readings_of "$e2e_file")" "$readings"
}

run_row() {
  local row=$1 program=$2 stem=$3 version=$4 devsim_args=$5 edits=$6 data n got
  e2e_row=$row
  e2e_name=survey_modes-$row
  e2e_exe=$e2e_build/$program.exe
  e2e_title=$program
  e2e_stem=$stem
  e2e_ini_name=${stem}_$version.INI
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built (cmake --build --preset win32)"
  data=$(e2e_data_folder "survey_modes/$row")
  use_settings "$edits"
  rm -rf "$e2e_work/control" "$e2e_work/dev"
  # shellcheck disable=SC2086
  e2e_devsim_start $devsim_args --gps gga --seed 23
  e2e_map_ports
  e2e_program_start
  e2e_start_logging
  e2e_create_file
  e2e_go
  case $row in
    em61mk2-polled)
      e2e_walk 6
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      # 10 readings a second polled for 6 s; at least half of them.
      check_file "$data" 30
      ;;
    em34-manual)
      station 3
      no_box "after the first station"
      station 0
      no_box "after the second station"
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 4
      got=$(readings_of "$e2e_file")
      e2e_assert_eq "station readings" "$got" 4
      ;;
    em61mk2-manual)
      n=4
      for ((i = 0; i < n; i++)); do trigger_reading; done
      no_box "after the triggers"
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" "$n"
      got=$(readings_of "$e2e_file")
      e2e_assert_eq "manual readings" "$got" "$n"
      e2e_assert_ge "position sentences" "$(e2e_count '^@\$GPGGA' "$e2e_file")" "$n"
      ;;
  esac
  e2e_say "PASS"
}

start=$SECONDS
count=0
for ((i = 0; i < ${#rows[@]}; i += 6)); do
  row=${rows[i]}
  if [ -n "${QUELOR_E2E_ROWS:-}" ] && [[ " $QUELOR_E2E_ROWS " != *" $row "* ]]; then continue; fi
  run_row "$row" "${rows[i + 1]}" "${rows[i + 2]}" "${rows[i + 3]}" "${rows[i + 4]}" "${rows[i + 5]}"
  count=$((count + 1))
done
e2e_name=survey_modes
[ "$count" -gt 0 ] || e2e_fail "no row run"
echo "survey_modes: PASS ($count rows in $((SECONDS - start)) s)"
