#!/usr/bin/env bash
# A whole survey with Qyn31 under Wine on the simulated EM31-MK2 (COM4) and
# GGA receiver (COM6), driven by keys only: L, F and Enter in the save
# dialog, G, a walk, P, G, a second walk, P, X and Yes, X. The data file must
# pass quelor check with 24-byte records, one header and one line block, two
# "$STARTED" and two "PAUSED" remarks, at least 500 readings (the update rate
# is set to 10 Hz: every record the instrument streams is logged) and GPS
# sentences with their summaries, 'p' on the forwarded fixes. The ports are
# open while logging and closed once the survey has ended.
# QUELOR_E2E_WALK sets the seconds of each walk (35).
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_em31
walk=${QUELOR_E2E_WALK:-35}
min_readings=${QUELOR_E2E_MIN_READINGS:-500}

data=$(e2e_data_folder survey_em31)
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\survey_em31\\" "$E2E_INI_READING_INTERVAL=0.100000"
e2e_devsim_start --instrument em31mk2 --gps gga --seed 31
e2e_map_ports

start=$SECONDS
e2e_program_start
e2e_start_logging
e2e_create_file
e2e_go
[ -n "$(e2e_port_holders "${e2e_dev[instrument]}")" ] || e2e_fail "logging, but nobody holds the instrument port"
[ -n "$(e2e_port_holders "${e2e_dev[gps]}")" ] || e2e_fail "logging, but nobody holds the GPS port"
e2e_walk $((walk / 2))
e2e_screenshot logging
e2e_walk $((walk - walk / 2))
e2e_pause
e2e_screenshot paused
e2e_go
e2e_walk "$walk"
e2e_pause
e2e_exit_logging
holders=$(e2e_port_holders "${e2e_dev[instrument]}"; e2e_port_holders "${e2e_dev[gps]}")
[ -z "$holders" ] || e2e_fail "the ports are still open after the exit from logging (held by $holders)"
e2e_exit_program
e2e_say "survey took $((SECONDS - start)) s"

file=$(e2e_data_file "$data" "$e2e_extension")
[ -n "$file" ] || e2e_fail "no .$e2e_extension file in $data: $(ls -A "$data")"
name=$(basename "$file")
cp "$file" "$e2e_out/$e2e_name-$name"
e2e_say "data file $name ($(stat -c %s "$file") bytes)"

# The proposed name: the local date, an underscore and 000.
[[ "$name" =~ ^([0-9]{6})_000\.[Hh]31$ ]] || e2e_fail "the data file is named $name, not YYMMDD_000.H31"
stamp=${BASH_REMATCH[1]}
[ "$stamp" = "$(date +%y%m%d)" ] || [ "$stamp" = "$(date -d yesterday +%y%m%d)" ] ||
  e2e_fail "the name $name does not carry today's date"

e2e_check "$file"
e2e_assert_eq "record length" "$e2e_check_record_length" 24
e2e_assert_eq "header blocks" "$e2e_check_headers" 1
e2e_assert_eq "line blocks" "$e2e_check_lines" 1
e2e_assert_eq "check errors" "$e2e_check_errors" 0
size=$(stat -c %s "$file")
e2e_assert_eq "file size modulo 24" $((size % 24)) 0
e2e_assert_eq "records not 23 characters and a line feed" "$(awk 'length($0) != 23' "$file" | wc -l)" 0
e2e_assert_eq "identification record" "$(head -c 12 "$file")" "QYN31   W220"
e2e_assert_eq "H record name" "$(e2e_count "^H${name%.*} " "$file")" 1
e2e_assert_eq "H record reading interval" "$(grep -a '^H' "$file" | cut -c12-18)" "  0.100"
day=$(grep -a '^Z' "$file" | cut -c2-9)
[ "$day" = "$(date +%d%m%Y)" ] || [ "$day" = "$(date -d yesterday +%d%m%Y)" ] ||
  e2e_fail "the Z record holds the date $day, not today's"
e2e_say "Z record date: $day"

e2e_assert_eq '"$STARTED" remarks' "$(e2e_count '^X\$STARTED {3}' "$file")" 2
e2e_assert_eq '"PAUSED" remarks' "$(e2e_count '^XPAUSED {5}' "$file")" 2
readings=$(e2e_count '^[T2-6]' "$file")
e2e_assert_ge "reading records" "$readings" "$min_readings"
sentences=$(e2e_count '^@\$GPGGA' "$file")
e2e_assert_ge "GGA sentence records" "$sentences" $((walk * 2 * 3 / 4))
e2e_assert_eq "summaries ('!') against sentences ('@' and '?')" \
  "$(e2e_count '^!' "$file")" "$(e2e_count '^[@?]' "$file")"
forwarded=$(e2e_count '^![0-9]{6}p' "$file")
e2e_assert_ge "summaries with 'p' (forwarded fixes)" "$forwarded" $((sentences / 2))

# Nothing is logged between a pause and the next Go: the readings lie
# between a "$STARTED" and the following "PAUSED".
outside=$(awk '/^X\$STARTED/ {on = 1} /^XPAUSED/ {on = 0} /^[T2-6]/ && !on {n++} END {print n + 0}' "$file")
e2e_assert_eq "readings outside Go..Pause" "$outside" 0
echo "$e2e_name: PASS"
