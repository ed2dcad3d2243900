#!/usr/bin/env bash
# Survey modes on the simulator, driven by keys as a surveyor would: each row
# one program in one survey mode, its data file checked (quelor check) and
# what the surveyor would see asserted (readings, GPS sentences, remarks).
#
# Rows of the default run (one per instrument family):
#   em61mk2-polled  Qyn61MK2 at 10 readings/s: polled by 'A', readings
#                   arrive; the simulator stopped 0.6 s mid-walk (a link
#                   that drops): one break, the instrument woken, one
#                   reconnection remark, and the polled readings again
#   em61mk2-polled20  Qyn61MK2 set to 20 readings/s: the logging run polls
#                   at the rate set, 20 +- 1 readings a second by the
#                   readings' own ticks
#   em34-manual     Qyn34-3 Manual with stations of 2 readings, triggered on
#                   the simulator; the "Station Readings" box held open 3 s:
#                   no battery-save box, no break, every station written
#                   with its GPS sentences
#   em38-4-box      Qyn38-4 at 1 Hz, pause key P (F3 opens the menu while
#                   logging): "Confirm Drift Control Procedure" held
#                   open 5 s while logging, then cancelled: no connection break
#   gps-dropout     Zelko31 (live colour map) with the receiver silent for
#                   7 s mid-line: one "GPS CONN BRK", the survey logs on, and
#                   no footprint across the gap (two corner groups more than
#                   4 m apart without a footprint start between them)
#   continued       Zelko31 surveyed, Exit, L, F on the same file (append)
#                   twice: each "Total Number of GPS Positions:" box gives
#                   the footprint positions the file holds, the count grows
#                   across the continuation, three headers
# Rows of QUELOR_E2E_MATRIX=full besides:
#   wheel-stall     Qyn61MK2 Wheel with a 5 Hz receiver, the instrument deaf
#                   for 1.9 s as G is pressed: the switch to the wheel mode
#                   holds the window thread about 3.5 s (measured: a window
#                   query waits that long); no GPS break, every 0.2 s GGA
#                   sentence of the run in the file
#   map-full        Zelko31 on a 1 m map crossed at 50 m/s: P gives
#                   "PAUSED BMP" and the larger-map box, G "Cannot start
#                   logging.", Map Size OK with the same size is refused
#                   ("Map Size too small", the track lies past the edge),
#                   Map Size 2 is accepted and Go works; about a kilometre
#                   on the edge is reached again (two "PAUSED BMP")
#   em61mk2-manual  Qyn61MK2 Manual: 4 triggers, 4 readings, each with a GPS
#                   position sentence
#   em61mk2-wheel   Qyn61MK2 Wheel: Go switches the instrument to its wheel
#                   mode (the second-mode reader let go, the timed one held),
#                   wheel readings are logged, Pause switches back; no break
#   em38mk2-switch  Zelko38MK2 in Auto, the instrument's own switch turned
#                   to manual mid-line: 4 trigger presses give 4 readings
#                   (mode letter M) each with its GPS position sentence, then
#                   back to auto the stream is logged again; at most one
#                   connection break (the silence before the first press)
# QUELOR_E2E_ROWS="em34-manual" narrows the run.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_modes

# row, program, settings stem, version, devsim arguments, settings lines
rows=(
  em61mk2-polled Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2 --polled" "50=0.100000"
  em61mk2-polled20 Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2 --polled" "50=0.050000"
  em34-manual Qyn34-3 Qyn34-3 215 "--instrument em34-3" "48=2 50=1 51=2"
  em38-4-box Qyn38-4 Qyn38-4 100 "--instrument em38-4 --em38-4-rate 5" "12=3 83=5 112=5"
  gps-dropout Zelko31 Zelko31MK2 230 "--instrument em31mk2" "40=0 42=1"
  continued Zelko31 Zelko31MK2 230 "--instrument em31mk2" "40=0 42=1"
)
if [ "${QUELOR_E2E_MATRIX:-}" = full ]; then
  rows+=(
    wheel-stall Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2 --gps-rate 5" "45=1"
    map-full Zelko31 Zelko31MK2 230 "--instrument em31mk2 --speed 50 --line-length 3000" "40=0 42=1 65=1"
    em61mk2-manual Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2" "45=2"
    em61mk2-wheel Qyn61MK2 Qyn61MK2 225 "--instrument em61mk2" "45=1"
    em38mk2-switch Zelko38MK2 Zelko38MK2 229 "--instrument em38mk2" ""
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
  local again=0
  trigger_reading
  e2e_devsim "trigger 3"
  until e2e_wait_dialog "Station Readings" 6 >/dev/null; do
    again=$((again + 1))
    [ "$again" -le 3 ] || e2e_fail "no \"Station Readings\" box after a full station and three presses more"
    if e2e_dialogs | grep -qx "EM34-3 Battery Save Mode"; then
      # The simulator had no turn for longer than the instrument's 200 ms
      # time-out (a loaded machine): the program asks, as it should, and the
      # surveyor answers Yes and presses again.
      e2e_say "battery-save question after a quiet spell of the simulator: Yes, pressing again"
      e2e_answer "EM34-3 Battery Save Mode" Return
      sleep 1.5
    else
      # A press the instrument missed (a loaded machine): the surveyor presses again.
      e2e_say "no \"Station Readings\" box 6 s after a trigger: triggering again"
    fi
    e2e_devsim "trigger 3"
  done
  sleep "$1"
  # Only the station box: no battery-save question over it.
  [ "$(e2e_dialogs | grep -vc '^Station Readings$' || true)" = 0 ] ||
    e2e_fail "another box over the station box: $(e2e_dialogs | tr '\n' ',')"
  e2e_answer "Station Readings" Return
}

# No swath across a gap: two successive corner groups ({a..{d) more than
# 4 m apart must have a footprint start ({0) between them, and the walk must
# show such a gap closed by a footprint start.
no_swath_across_gaps() {
  python3 - "$1" <<'PY' || e2e_fail "a footprint spans the GPS gap"
import math, sys
data = open(sys.argv[1], "rb").read().decode("latin-1")
length = data.index("\n") + 1
group, previous, last, jumps, restarts = {}, None, None, [], []
for i in range(0, len(data), length):
    r = data[i:i + length]
    if r.startswith("{0"):
        previous = None
    elif r[:1] == "{" and r[1:2] in "abcd":
        group[r[1]] = float(r[2:].split()[0])
        if r[1] == "d":
            centre = ((group["a"] + group["c"]) / 2, (group["b"] + group["d"]) / 2)
            if previous and math.dist(previous, centre) > 4.0:
                jumps.append(round(math.dist(previous, centre), 1))
            if not previous and last and math.dist(last, centre) > 4.0:
                restarts.append(round(math.dist(last, centre), 1))
            previous = last = centre
            group = {}
if jumps:
    sys.exit(f"corner groups {jumps} m apart without a footprint start")
if not restarts:
    sys.exit("no footprint restarted across a gap: the walk showed no gap")
print(f"footprint restarted across gaps of {restarts} m")
PY
  e2e_say "no footprint across a gap"
}

# continue_file NAME: F, the name of the existing file, Enter; the append
# scan's box must give the positions (footprint groups) the file holds.
continue_file() {
  local id file=$2 positions body
  e2e_key f
  id=$(e2e_wait_dialog "Create Data File" 10) || e2e_fail "F in Monitoring opens no \"Create Data File\" dialog"
  sleep 0.5
  timeout 5 xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
  timeout 5 xdotool key --delay 30 ctrl+a BackSpace
  timeout 10 xdotool type --delay 30 "$1"
  wine_window_key "$id" Return || true
  e2e_wait_gone "Create Data File" 6 || e2e_fail "\"Create Data File\" stayed open after the name"
  e2e_expect_message INFORMATION "Total Number of GPS Positions:" 15
  body=$(e2e_dialog_text INFORMATION)
  positions=$(e2e_count '^\{[dh]' "$file")
  e2e_assert_eq "positions the continued file shows" "$(tr -dc 0-9 <<<"$body")" "$positions"
  e2e_answer INFORMATION Return
  e2e_wait_state "&Go" 15 || e2e_fail "no Stand By after the file was continued"
  e2e_say "continued $1 with $positions positions"
}

# warning TEXT: a "WARNING" box saying TEXT, answered with Return.
warning() {
  e2e_wait_dialog WARNING 8 >/dev/null || e2e_fail "no WARNING box (\"$1\"); windows: $(e2e_dialogs | tr '\n' ',')"
  local body
  body=$(e2e_dialog_text WARNING)
  [[ "$body" == *"$1"* ]] || e2e_fail "WARNING says \"$body\", not \"$1\""
  e2e_answer WARNING Return
  e2e_say "WARNING: $1"
}

# no_position_lost FILE PERIOD: successive GGA sentences of the file (one
# logging run) no more than the receiver's PERIOD seconds apart.
no_position_lost() {
  python3 - "$1" "$2" <<'PY' || e2e_fail "GPS positions lost"
import sys
period = float(sys.argv[2])
times = []
for line in open(sys.argv[1], "rb").read().decode("latin-1").split("\n"):
    if line.startswith("@$GPGGA,"):
        t = line.split(",")[1]
        times.append(int(t[0:2]) * 3600 + int(t[2:4]) * 60 + float(t[4:]))
gaps = [round(b - a, 2) for a, b in zip(times, times[1:]) if b - a > period * 1.5]
if len(times) < 5 or gaps:
    sys.exit(f"{len(times)} GGA sentences, gaps {gaps} s")
print(f"{len(times)} GGA sentences, each {period} s after the one before")
PY
}

# reading_rate FILE: readings a second of the first logging run (from
# "$STARTED" to "PAUSED"), by the ticks the reading records carry.
reading_rate() {
  python3 - "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
n = data.index(b"\n") + 1
ticks, logging = [], False
for at in range(0, len(data) - n + 1, n):
    r = data[at:at + n]
    if r.startswith(b"X$STARTED"):
        logging = True
    elif r.startswith(b"XPAUSED"):
        break
    elif logging and r[:1] in (b"T", b"D", b"E", b"F"):
        ticks.append(int(r[n - 11:n - 1]))
if len(ticks) < 2 or ticks[-1] <= ticks[0]:
    sys.exit(f"{len(ticks)} readings logged: no rate")
print(f"{(len(ticks) - 1) * 1000.0 / (ticks[-1] - ticks[0]):.2f}")
PY
}

# readings_after_reconnection FILE: reading records after "1CONN RCN 1".
readings_after_reconnection() {
  python3 - "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
n = data.index(b"\n") + 1
records = [data[at:at + n] for at in range(0, len(data) - n + 1, n)]
back = [i for i, r in enumerate(records) if r.startswith(b"X1CONN RCN 1")]
print(sum(1 for r in records[back[0]:] if r[:1] == b"T") if back else 0)
PY
}

readings_of() {
  "$e2e_quelor" export "$1" --format csv | tail -n +2 | grep -c . || true
}

# switched_readings FILE: EM38-MK2 reading records whose mode byte is 3 or 7
# (letter M: the instrument's switch on manual). Records are fixed-length
# lines, and the instrument bytes may hold a line feed, so they are cut by
# length.
switched_readings() {
  python3 - "$1" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
n = data.index(b"\n") + 1
print(sum(1 for at in range(0, len(data) - 1, n) if data[at:at + 1] in (b"T", b"t") and data[at + 1] in (3, 7)))
PY
}

# check_file DATA READINGS [BREAK_REGEX]: the newest file passes quelor check,
# holds GPS positions and sentences, at least READINGS readings and no break
# remark (of BREAK_REGEX).
check_file() {
  local data=$1 readings=$2 pattern=${3:-1CONN BRK 1|GPS CONN BR|\$CONN END} breaks sentences
  e2e_check_newest "$data"
  e2e_assert_ge "GPS positions" "$e2e_check_gps_positions" 1
  breaks=$(e2e_count "^X($pattern)" "$e2e_file")
  e2e_assert_eq "break remarks" "$breaks" 0
  sentences=$(e2e_count '^@' "$e2e_file")
  e2e_assert_ge "GPS sentences" "$sentences" 1
  e2e_assert_ge "readings" "$(readings_of "$e2e_file")" "$readings"
}

run_row() {
  local row=$1 program=$2 stem=$3 version=$4 devsim_args=$5 edits=$6 data n got i first t0 stall dialog rate
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
  [ "$row" = wheel-stall ] || e2e_go
  case $row in
    em61mk2-polled)
      e2e_walk 2
      kill -STOP "$e2e_devsim_pid"
      sleep 0.6
      kill -CONT "$e2e_devsim_pid"
      e2e_walk 5
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      # 10 readings a second polled for 7 s, the break's 2 s lost; at least half.
      check_file "$data" 30 'GPS CONN BR|\$CONN END'
      e2e_assert_eq "connection breaks" "$(e2e_count '^X1CONN BRK 1' "$e2e_file")" 1
      e2e_assert_eq "reconnections" "$(e2e_count '^X1CONN RCN 1' "$e2e_file")" 1
      e2e_assert_ge "readings after the reconnection" "$(readings_after_reconnection "$e2e_file")" 20
      ;;
    em61mk2-polled20)
      e2e_walk 6
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 60
      rate=$(reading_rate "$e2e_file") || e2e_fail "no reading rate: $rate"
      python3 -c "import sys; sys.exit(0 if abs(float('$rate') - 20.0) <= 1.0 else 1)" ||
        e2e_fail "polled at 20 readings/s, the file holds $rate a second"
      e2e_say "polled at 20 readings/s: $rate a second logged"
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
    em38-4-box)
      e2e_walk 3
      e2e_key F3
      sleep 0.5
      e2e_key p
      e2e_wait_dialog "Confirm Drift Control Procedure" 8 >/dev/null ||
        e2e_fail "no \"Confirm Drift Control Procedure\" box; windows: $(e2e_dialogs | tr '\n' ',')"
      sleep 5
      e2e_answer "Confirm Drift Control Procedure" Escape
      e2e_walk 4
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 5
      ;;
    gps-dropout)
      e2e_walk 4
      e2e_devsim "silence gps 7"
      e2e_walk 11
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 20 '1CONN BRK 1|\$CONN END'
      e2e_assert_ge "GPS CONN BRK remarks" "$(e2e_count '^XGPS CONN BR' "$e2e_file")" 1
      e2e_assert_ge "footprint corner records" "$(e2e_count '^{a' "$e2e_file")" 4
      no_swath_across_gaps "$e2e_file"
      ;;
    continued)
      e2e_walk 4
      e2e_pause
      e2e_exit_logging
      e2e_check_newest "$data"
      first=$(e2e_count '^\{[dh]' "$e2e_file")
      e2e_assert_ge "positions of the first survey" "$first" 2
      e2e_start_logging
      continue_file "$(basename "$e2e_file")" "$e2e_file"
      e2e_go
      e2e_walk 4
      e2e_pause
      e2e_exit_logging
      # The third opening scans both surveys: the count carried on.
      e2e_start_logging
      continue_file "$(basename "$e2e_file")" "$e2e_file"
      e2e_assert_ge "positions after the continuation" "$(e2e_count '^\{[dh]' "$e2e_file")" $((first + 2))
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 20
      e2e_assert_eq "headers (one new, two continuations)" "$e2e_check_headers" 3
      e2e_assert_eq "continuation headers" "$(e2e_count '^zLK31' "$e2e_file")" 2
      ;;
    map-full)
      # A 1 m map (about a kilometre of usable tiles) crossed at 50 m/s:
      # the walk reaches the map's edge.
      e2e_walk 26
      # P on a full map: "PAUSED BMP" and the box asking for a larger map.
      e2e_key p
      warning "Please select Map Size option"
      e2e_wait_state "&Go" 10 || e2e_fail "P while logging did not pause"
      e2e_key g
      warning "Cannot start logging."
      e2e_wait_state "&Go" 5 || e2e_fail "G started logging on a full map"
      # Map Size OK with the same size: the track lies past the map's edge,
      # so the size is refused and Go stays refused.
      e2e_key s
      e2e_wait_dialog "Map Size" 10 >/dev/null || e2e_fail "S did not open \"Map Size\""
      sleep 0.5
      e2e_answer "Map Size" Return
      warning "Map Size too small"
      e2e_key g
      warning "Cannot start logging."
      # Map Size 2: accepted, the map is no longer full and Go works.
      e2e_key s
      dialog=$(e2e_wait_dialog "Map Size" 10) || e2e_fail "S did not open \"Map Size\""
      sleep 0.5
      wine_window_key "$dialog" 2
      e2e_answer "Map Size" Return
      sleep 1
      no_box "after Map Size 2"
      e2e_assert_eq "map size in the settings file" "$(sed -n 65p "$(e2e_settings_dir)/$e2e_ini_name" | tr -d '\r')" 2
      e2e_go
      # The edge is watched afresh: about a kilometre on, the doubled map is full too.
      e2e_walk 26
      e2e_key p
      warning "Please select Map Size option"
      e2e_wait_state "&Go" 10 || e2e_fail "P while logging did not pause"
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 20
      e2e_assert_eq "PAUSED BMP remarks" "$(e2e_count '^XPAUSED BMP' "$e2e_file")" 2
      e2e_assert_eq "logging starts" "$(e2e_count '^X\$STARTED' "$e2e_file")" 2
      ;;
    wheel-stall)
      # The instrument deaf for 1.9 s: Go's switch to the wheel mode waits
      # out two unanswered attempts, is answered at the third and waits for
      # the instrument to settle, all on the window thread.
      e2e_walk 2
      e2e_devsim "silence instrument 1.9"
      e2e_key g
      t0=$(date +%s%N)
      sleep 0.3
      e2e_button_460 >/dev/null
      stall=$((($(date +%s%N) - t0) / 1000000))
      e2e_say "the window thread answered $stall ms after G"
      e2e_assert_ge "window thread stall (ms)" "$stall" 3000
      e2e_wait_state "P A U S E" 10 || e2e_fail "G in Stand By did not start logging"
      e2e_walk 6
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 10
      no_position_lost "$e2e_file" 0.2
      ;;
    em61mk2-wheel)
      e2e_walk 6
      e2e_pause
      e2e_walk 2
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 10
      ;;
    em38mk2-switch)
      e2e_walk 3
      e2e_devsim "switch manual"
      n=4
      for ((i = 0; i < n; i++)); do
        e2e_devsim "trigger"
        sleep 1.2
      done
      e2e_devsim "switch auto"
      e2e_walk 3
      e2e_pause
      e2e_finish_survey
      e2e_settings_restore
      check_file "$data" 8 'GPS CONN BR|\$CONN END'
      e2e_assert_eq "readings taken on the switch's manual" "$(switched_readings "$e2e_file")" "$n"
      got=$(e2e_count '^X1CONN BRK 1' "$e2e_file")
      [ "$got" -le 1 ] || e2e_fail "$got connection breaks; only the silence before the first press may give one"
      e2e_say "connection breaks: $got"
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
