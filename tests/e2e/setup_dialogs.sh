#!/usr/bin/env bash
# The setup dialogs and the GPS monitor driven by keys only.
#  1. Qyn31: Survey, System, Geometry and GPS Port Setup (with the warning
#     mask) each get a value changed in every kind of control and OK; the
#     settings file then equals the default one with exactly those lines
#     changed. Escape, and "c" outside an edit field, leave it byte-identical.
#  2. Zelko61MK2 (Wheel increment, tilt meter), Qyn61LX2 (filter factor out
#     of range, alarm), Qyn601 (sensor separation), Qyn38-4 (rate, units).
#  3. The GPS monitor on devsim: sentences appear, Pause stops them, Go goes
#     on, Send puts "$PASHS,NME,SAT,A,ON" CR LF on the receiver's line, Exit
#     returns to the setup window; a silent receiver gives "NO DATA".
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup setup_dialogs

ini() { echo "$(e2e_settings_dir)/$e2e_ini_name"; }
golden() { echo "$e2e_root/tests/golden/settings/$e2e_ini_name"; }

# expect_lines WHAT LINE=VALUE...: the settings file is the default file with
# these lines (1 = the version line) replaced, and nothing else changed.
expect_lines() {
  local what=$1
  shift
  python3 - "$(ini)" "$(golden)" "$@" <<'PY' || e2e_fail "$what: settings file differs"
import sys
path, golden, edits = sys.argv[1], sys.argv[2], sys.argv[3:]
got = open(path, "rb").read().split(b"\r\n")
want = open(golden, "rb").read().split(b"\r\n")
for e in edits:
    line, value = e.split("=", 1)
    want[int(line) - 1] = value.encode("latin-1")
bad = [f"line {i + 1}: {g!r} expected {w!r}" for i, (g, w) in enumerate(zip(got, want)) if g != w]
if len(got) != len(want):
    bad.append(f"{len(got)} lines, expected {len(want)}")
for b in bad:
    print("  " + b, file=sys.stderr)
sys.exit(1 if bad else 0)
PY
  e2e_say "$what: settings file as expected"
}

# dialog KEY TITLE: the setup window's key opens the dialog; prints its id.
dialog() {
  e2e_key "$1"
  e2e_wait_dialog "$2" 10 || e2e_fail "no dialog \"$2\" after $1"
}

# keys TITLE KEY...: keys to the open dialog.
keys() {
  local title=$1 id
  shift
  id=$(timeout 5 xdotool search --onlyvisible --name "^${title}\$" | head -n 1)
  [ -n "$id" ] || e2e_fail "dialog \"$title\" is not open"
  wine_window_key "$id" "$@" || e2e_fail "cannot type into \"$title\""
}

# keys_and_close TITLE KEY...: keys to the dialog, then waits until it closed.
keys_and_close() {
  keys "$@"
  e2e_wait_gone "$1" 10 || e2e_fail "\"$1\" did not close after ${*:2}"
}

unchanged() {
  cmp -s "$(ini)" "$1" || e2e_fail "$2 changed the settings file"
  e2e_say "$2: settings file byte-identical"
}

# --- 1. Qyn31 -----------------------------------------------------------------
e2e_settings
e2e_program_start
cp "$(ini)" "$e2e_work/before.INI"

dialog s "Survey Setup" >/dev/null
keys_and_close "Survey Setup" Tab 7 Tab Down Escape
unchanged "$e2e_work/before.INI" "Survey Setup, Escape"
dialog s "Survey Setup" >/dev/null
keys_and_close "Survey Setup" Tab 7 shift+Tab c
unchanged "$e2e_work/before.INI" "Survey Setup, c on the mode list"

# Rate 4/s, component Inphase, dipole Horizontal, line C12 (a C typed in an
# edit field stays), line increment 2.5, One Way, East, start 10, increment 0.5.
dialog s "Survey Setup" >/dev/null
keys_and_close "Survey Setup" Tab 4 Tab Down Tab Down Tab C 1 2 Tab 2 period 5 Tab Down Tab Down Tab 1 0 Tab 0 period 5 Return
survey_lines=(48=1 49=1 51=0.500000 54=0.250000 55=C12 56=2.500000 57=1 58=3 59=10.000000)
expect_lines "Survey Setup" "${survey_lines[@]}"

# Instrument port COM5, model Short, pause key <Enter>, UTM meters, no ticks.
dialog t "System Setup" >/dev/null
keys_and_close "System Setup" Tab Down Tab Down Tab Tab Down Tab Tab Down Tab space Return
system_lines=(8=4 9=0 12=1 14=1 69=1)
expect_lines "System Setup" "${survey_lines[@]}" "${system_lines[@]}"

dialog t "System Setup" >/dev/null
keys_and_close "System Setup" Tab Down Escape
expect_lines "System Setup, Escape" "${survey_lines[@]}" "${system_lines[@]}"

# X offset 1 in feet: 0.3048 m.
dialog e "Geometry Setup" >/dev/null
keys_and_close "Geometry Setup" 1 Tab Tab Right Right Return
geometry_lines=(44=2 45=0.304800)
expect_lines "Geometry Setup" "${survey_lines[@]}" "${system_lines[@]}" "${geometry_lines[@]}"

# The warning mask opened from GPS Port Setup edits that dialog's working
# copy: with "Enable Audio Warning" unticked, a mask changed with OK, then
# Cancel on GPS Port Setup, the file stays as it was.
cp "$(ini)" "$e2e_work/before-gps.INI"
dialog g "GPS Port Setup" >/dev/null
keys "GPS Port Setup" alt+a
e2e_key alt+w
e2e_wait_dialog "GPS Warning Mask" 10 >/dev/null || e2e_fail "no warning mask dialog after Alt+W"
keys_and_close "GPS Warning Mask" Tab Tab 3 Tab Down Return
keys_and_close "GPS Port Setup" Escape
unchanged "$e2e_work/before-gps.INI" "GPS Port Setup after the warning mask, Escape"

# 19200 baud, 8 data bits, one stop bit, POS; the warning mask: dilution 2.5,
# at least 7 satellites.
dialog g "GPS Port Setup" >/dev/null
e2e_key alt+w
e2e_wait_dialog "GPS Warning Mask" 10 >/dev/null || e2e_fail "no warning mask dialog after Alt+W"
keys_and_close "GPS Warning Mask" Tab Tab 2 period 5 Tab Down Down Return
keys_and_close "GPS Port Setup" alt+b Down alt+d Down alt+s Up alt+n Down Return
gps_lines=(37=2 39=2 40=0 42=1 72=7 73=2.500000)
expect_lines "GPS Port Setup" "${survey_lines[@]}" "${system_lines[@]}" "${geometry_lines[@]}" "${gps_lines[@]}"
e2e_exit_program

# --- 2. One program of each other family --------------------------------------
qyn31=("$e2e_exe" "$e2e_title" "$e2e_stem" "$e2e_ini_name")
e2e_settings_restore

# other_program NAME INI: the program started on its default settings file
# (the file found before is put back by done_program).
other_program() {
  e2e_exe=$e2e_build/$1.exe e2e_title=$1 e2e_stem=$1 e2e_ini_name=$2
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built"
  mkdir -p "$(e2e_settings_dir)"
  rm -f "$e2e_work/owner.INI"
  [ -f "$(ini)" ] && cp "$(ini)" "$e2e_work/owner.INI"
  cp "$(golden)" "$(ini)"
  e2e_program_start
}
done_program() {
  e2e_exit_program
  if [ -f "$e2e_work/owner.INI" ]; then cp "$e2e_work/owner.INI" "$(ini)"; else rm -f "$(ini)"; fi
}

# EM61-MK2: Wheel with its own increment 0.25 (Auto keeps 1.0), null values
# "Last Survey"; model High Power, the tilt meter enabled on COM8.
other_program Zelko61MK2 Zelko61MK2_228.INI
dialog s "Survey Setup" >/dev/null
keys_and_close "Survey Setup" Down Tab Tab Tab Tab Tab Tab Tab 0 period 2 5 Tab Down Return
dialog t "System Setup" >/dev/null
keys_and_close "System Setup" Tab Tab Down Tab Tab Tab Tab Tab Tab Tab Down Tab Down Return
expect_lines "Zelko61MK2" 14=1 45=1 47=1.000000 48=0.250000 71=1 85=1 86=7
done_program

# EM61-LX2: model N.C.C. and a left-coil filter factor of 100, refused with
# its message; the simple alarm at 250 mV.
other_program Qyn61LX2 Qyn61LX2_100.INI
dialog t "System Setup" >/dev/null
keys "System Setup" Tab Tab Down Tab Tab Tab Tab Tab Tab Tab Tab Tab 1 0 0 Return
e2e_wait_dialog "Filter Factor Left Coil" 10 >/dev/null || e2e_fail "no filter factor message"
e2e_answer "Filter Factor Left Coil" Return
e2e_wait_gone "System Setup" 10 || e2e_fail "System Setup stayed open after the message"
dialog e "Alarm Setup" >/dev/null
keys_and_close "Alarm Setup" Down Tab Tab Tab 2 5 0 Return
expect_lines "Qyn61LX2" 15=1 84=1 88=250.000000
done_program

# Grad601: sensor separation 1.5 m, station increment 2.
other_program Qyn601 Qyn601_110.INI
dialog e "Geometry Setup" >/dev/null
keys_and_close "Geometry Setup" Tab Tab 1 period 5 Return
dialog s "Survey Setup" >/dev/null
keys_and_close "Survey Setup" Tab Tab Tab Tab Tab Tab 2 Return
expect_lines "Qyn601" 7=1.500000 36=2.000000
done_program

# EM38-4: inphase in mS/m at 5 Hz (the rate is kept twice in the file).
other_program Qyn38-4 Qyn38-4_100.INI
dialog t "System Setup" >/dev/null
keys_and_close "System Setup" Tab Tab Down Tab Down Return
expect_lines "Qyn38-4" 83=1 112=1 135=1
done_program
e2e_exe=${qyn31[0]} e2e_title=${qyn31[1]} e2e_stem=${qyn31[2]} e2e_ini_name=${qyn31[3]}

# --- 3. The GPS monitor on devsim ----------------------------------------------
capture=$e2e_work/gps-received.bin
: >"$capture"
e2e_devsim_start --no-instrument --gps gga --gps-rate 5 --gps-capture "$capture"
e2e_map_ports
e2e_settings "${E2E_GPS_8N1[@]}"
e2e_program_start

# listbox: count and last line of the monitor's list.
listbox() { e2e_inspect "$e2e_title" --deep | grep '^listbox 760 ' | head -n 1; }
list_count() { listbox | cut -d' ' -f3; }
wait_list() {  # wait_list MIN_COUNT PATTERN SECONDS
  local end=$((SECONDS + $3)) l
  while [ "$SECONDS" -lt "$end" ]; do
    l=$(listbox)
    if [ -n "$l" ] && [ "$(cut -d' ' -f3 <<<"$l")" -ge "$1" ] && grep -Eq "^listbox 760 [0-9]+ $2" <<<"$l"; then
      echo "$l"
      return 0
    fi
    sleep 0.3
  done
  return 1
}

e2e_key o
wait_list 3 '\$GPGGA,' 15 >/dev/null || e2e_fail "no sentences in the GPS monitor: $(listbox)"
e2e_say "monitor: sentences listed"
e2e_key p
sleep 0.5
paused=$(list_count)
sleep 1.5
[ "$(list_count)" = "$paused" ] || e2e_fail "the list went on after Pause"
e2e_key g
wait_list $((paused + 3)) '\$GPGGA,' 10 >/dev/null || e2e_fail "no sentences after Go"
e2e_say "monitor: Pause stops the list, Go goes on"

e2e_key s
e2e_wait_dialog "Send Message to GPS Receiver" 10 >/dev/null || e2e_fail "no GetGPSMessage dialog after S"
keys_and_close "Send Message to GPS Receiver" Return
for i in $(seq 1 30); do
  [ "$(stat -c %s "$capture")" -ge 21 ] && break
  sleep 0.1
done
expected=$(printf '$PASHS,NME,SAT,A,ON\r\n' | od -An -c)
[ "$(od -An -c "$capture")" = "$expected" ] || e2e_fail "the receiver got $(od -An -c "$capture")"
e2e_say "monitor: Send wrote exactly \$PASHS,NME,SAT,A,ON CR LF"

e2e_key x
for i in $(seq 1 30); do e2e_setup_buttons_shown && break; sleep 0.2; done
e2e_setup_buttons_shown || e2e_fail "the setup buttons did not come back after Exit"

e2e_devsim silence gps 30
e2e_key o
wait_list 1 'NO DATA' 12 >/dev/null || e2e_fail "no NO DATA from a silent receiver: $(listbox)"
e2e_say "monitor: NO DATA from a silent receiver"
e2e_key x
for i in $(seq 1 30); do e2e_setup_buttons_shown && break; sleep 0.2; done
e2e_exit_program
e2e_say PASS
