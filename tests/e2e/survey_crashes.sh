#!/usr/bin/env bash
# Crashes while logging: Zelko31 logs to one data file and is killed
# (wineserver -k, as a power cut or TerminateProcess would end it) at a
# random moment of the walk, five times; each restart continues the same
# file (F, its name, Enter). A kill cannot split one write, so after two of
# the kills the first bytes of a record are added by hand, as a torn write
# at a power cut leaves them. Every continuation passes the append check and
# starts on a record boundary; the file left at the end passes quelor check
# once --repair has cut the partial last record.
# QUELOR_E2E_SEED fixes the kill moments.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_crashes
e2e_exe=$e2e_build/Zelko31.exe
e2e_title=Zelko31
e2e_stem=Zelko31MK2
e2e_ini_name=Zelko31MK2_230.INI
e2e_extension=T31
[ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built"
RANDOM=${QUELOR_E2E_SEED:-$$}

data=$(e2e_data_folder survey_crashes)
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\survey_crashes\\" "${E2E_GPS_8N1[@]}"
e2e_devsim_start --instrument em31mk2 --gps gga --seed 16
e2e_map_ports

# kill_program: the whole Wine session of the prefix ends at once.
kill_program() {
  wineserver -k >/dev/null 2>&1 || true
  wait "$QUELOR_PROGRAM_PID" 2>/dev/null || true
  QUELOR_PROGRAM_PID=""
  sleep 1
}

# continue_file NAME: F, the name of the existing file, Enter; the append
# check passes and reports the GPS positions already in the file.
continue_file() {
  e2e_key f
  local id
  id=$(e2e_wait_dialog "Create Data File" 10) || e2e_fail "F in Monitoring opens no \"Create Data File\" dialog"
  sleep 0.5
  timeout 5 xdotool windowfocus --sync "$id" >/dev/null 2>&1 || true
  timeout 5 xdotool key --delay 30 ctrl+a BackSpace
  timeout 10 xdotool type --delay 30 "$1"
  wine_window_key "$id" Return || true
  e2e_wait_gone "Create Data File" 6 || e2e_fail "\"Create Data File\" stayed open after the name"
  e2e_expect_message INFORMATION "Total Number of GPS Positions:" 15
  e2e_answer INFORMATION Return
  e2e_wait_state "&Go" 15 || e2e_fail "no Stand By after the file was continued"
  e2e_say "continued $1"
}

file=""
for round in 1 2 3 4 5; do
  e2e_program_start
  e2e_start_logging
  sleep 2  # a valid fix before the file: an append needs one
  if [ "$round" -eq 1 ]; then
    e2e_create_file
    file=$(e2e_data_file "$data" "$e2e_extension")
    [ -n "$file" ] || e2e_fail "no .$e2e_extension file in $data"
  else
    size_before=$(stat -c %s "$file")
    continue_file "$(basename "$file")"
    [ "$(stat -c %s "$file")" -gt "$size_before" ] || e2e_fail "the continuation wrote nothing"
  fi
  e2e_go
  walk_ms=$((1500 + RANDOM % 3500))
  sleep "$(printf '%d.%03d' $((walk_ms / 1000)) $((walk_ms % 1000)))"
  kill_program
  e2e_say "round $round: killed after $walk_ms ms of logging ($(stat -c %s "$file") bytes)"
  if [ "$round" -eq 2 ] || [ "$round" -eq 5 ]; then
    tail -c 27 "$file" | head -c 13 >>"$file"
    e2e_say "13 bytes of a torn record added"
  fi
done

# The prefix's session back as the lane started it, for the scripts after this one.
wine wineboot >/dev/null 2>&1 </dev/null || true

cp "$file" "$e2e_out/$e2e_name-$(basename "$file")"
json=$("$e2e_quelor" check --repair "$file") || e2e_fail "the file does not pass after --repair: $json"
cut=$(python3 -c 'import json,sys; print(json.loads(sys.argv[1])["repaired_bytes"])' "$json")
e2e_assert_eq "bytes cut by --repair" "$cut" 13
e2e_say "--repair cut $cut bytes"
e2e_check "$file"
e2e_assert_eq "check errors" "$e2e_check_errors" 0
e2e_assert_eq "headers (one new, four continuations)" "$e2e_check_headers" 5
e2e_assert_ge "line blocks" "$e2e_check_lines" 5
e2e_assert_eq "continuation headers" "$(e2e_count '^zLK31   W' "$file")" 4
# The torn record after round 2 was cut: every record is whole and in place.
[ $(($(stat -c %s "$file") % 27)) -eq 0 ] || e2e_fail "the file is not whole records"
e2e_assert_ge "readings" "$(e2e_count '^[T2-6]' "$file")" 25
e2e_say "all passed"
