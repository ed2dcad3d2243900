#!/usr/bin/env bash
# A GPS-only survey: the instrument is disabled in the settings file and COM4
# does not exist, the GGA receiver is on COM6. L, X (Monitoring ends without
# a question), L, F and Enter, G, a walk, P, S, 60 and Enter (Map Size, which
# saves the settings), X and No (the survey stays in Stand By), X and Yes, X.
# The data file takes the GPS-only extension ".gxy" and holds GPS sentences
# and summaries but no reading record; its header records no antenna offsets
# (the antenna is the sensor) while the settings file keeps the instrument's.
# QUELOR_E2E_WALK sets the seconds of the walk (15).
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_gps_only
walk=${QUELOR_E2E_WALK:-15}

data=$(e2e_data_folder survey_gps_only)
# Two starts open the GPS port twice: 8N1 (see E2E_GPS_8N1).
# Lines 45 and 46: the GPS X and Y offsets (X -0.3 by default for the EM31-MK2).
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\survey_gps_only\\" "$E2E_INI_INSTRUMENT_STATE=0" \
  "46=1.250000" "${E2E_GPS_8N1[@]}"
e2e_devsim_start --no-instrument --gps gga --seed 7
e2e_map_ports

e2e_program_start
e2e_start_logging
# Monitoring: X ends the survey at once.
e2e_key x
for _ in $(seq 1 50); do
  e2e_logging_shown || break
  [ -z "$(e2e_dialogs)" ] || e2e_fail "X in Monitoring asked \"$(e2e_dialogs | head -n 1)\""
  sleep 0.2
done
e2e_logging_shown && e2e_fail "X in Monitoring did not end the survey"
e2e_setup_buttons_shown || e2e_fail "the setup buttons did not return after X in Monitoring"
e2e_say "X in Monitoring: back in the setup window without a question"
e2e_start_logging
e2e_create_file
e2e_go
e2e_walk "$walk"
e2e_screenshot logging
e2e_pause
# Map Size saves the settings during the GPS-only survey.
e2e_key s
dialog=$(e2e_wait_dialog "Map Size" 10) || e2e_fail "S in Stand By did not open \"Map Size\""
sleep 0.5
wine_window_key "$dialog" 6 0
e2e_answer "Map Size" Return
e2e_wait_gone "Map Size" 5 || e2e_fail "\"Map Size\" stayed open"
e2e_say "Map Size 60: the settings saved"
# Stand By: X asks; No keeps the survey.
e2e_key x
e2e_wait_dialog "Confirm Exit" 10 >/dev/null || e2e_fail "X in Stand By asked no \"Confirm Exit\""
e2e_answer "Confirm Exit" n
e2e_wait_state "&Go" 10 || e2e_fail "No on \"Confirm Exit\" left Stand By"
e2e_say "No on \"Confirm Exit\": still in Stand By"
e2e_exit_logging
e2e_exit_program

file=$(e2e_data_file "$data" gxy)
[ -n "$file" ] || e2e_fail "no .gxy file in $data: $(ls -A "$data")"
name=$(basename "$file")
cp "$file" "$e2e_out/$e2e_name-$name"
e2e_say "data file $name ($(stat -c %s "$file") bytes)"
[ "$(find "$data" -maxdepth 1 -type f | wc -l)" -eq 1 ] || e2e_fail "more than one file in $data: $(ls -A "$data")"
[[ "$name" =~ ^[0-9]{6}_000\.(gxy|GXY)$ ]] || e2e_fail "the data file is named $name, not YYMMDD_000.gxy"

e2e_check "$file"
e2e_assert_eq "record length" "$e2e_check_record_length" 24
e2e_assert_eq "header blocks" "$e2e_check_headers" 1
e2e_assert_eq "line blocks" "$e2e_check_lines" 1
e2e_assert_eq "check errors" "$e2e_check_errors" 0
e2e_assert_eq "GPS flag of the identification record" "$(head -c 15 "$file" | tail -c 3)" GPS
e2e_assert_eq "reading records" "$(e2e_count '^[T2-6]' "$file")" 0
e2e_assert_eq '"$STARTED" remarks' "$(e2e_count '^X\$STARTED {3}' "$file")" 1
e2e_assert_eq '"PAUSED" remarks' "$(e2e_count '^XPAUSED {5}' "$file")" 1
sentences=$(e2e_count '^@\$GPGGA' "$file")
e2e_assert_ge "GGA sentence records" "$sentences" $((walk * 3 / 4))
e2e_assert_eq "summaries ('!') against sentences ('@' and '?')" \
  "$(e2e_count '^!' "$file")" "$(e2e_count '^[@?]' "$file")"
e2e_assert_ge "summaries with 'p' (forwarded fixes)" "$(e2e_count '^![0-9]{6}p' "$file")" $((sentences / 2))
e2e_assert_eq "antenna offsets of header record 3" "$(sed -n 3p "$file" | cut -c1-15)" "G  0.000  0.000"
ini=$(e2e_settings_dir)/$e2e_ini_name
e2e_assert_eq "map size saved during the survey" "$(sed -n 65p "$ini" | tr -d '\r')" 60
e2e_assert_eq "GPS X offset kept in the settings file" "$(sed -n 45p "$ini" | tr -d '\r')" -0.300000
e2e_assert_eq "GPS Y offset kept in the settings file" "$(sed -n 46p "$ini" | tr -d '\r')" 1.250000
echo "$e2e_name: PASS"
