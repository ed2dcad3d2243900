#!/usr/bin/env bash
# Connection breaks while logging: the simulated EM31-MK2 falls silent for
# 3 s, later the GGA receiver for 4 s. The instrument break gives exactly one
# "1CONN BRK 1" remark, inside the gap of the readings, and the readings go
# on after it (any other pause of the readings longer than the 200 ms
# time-out, as a loaded machine may cause, is a break with at most one
# remark, and one of a second or more must have it); the GPS break gives one
# "GPS CONN BRK" remark (kept as its first 11 characters) and, once the
# reader has reconnected, GPS sentences are logged again. Then 300 bytes of
# garbage on the instrument line and one GPS sentence with a bad checksum
# (one only: rejected lines count as silence, and two at 1 Hz would bring the
# receiver to the 3 s of the reconnection): no reading record is made of
# garbage, the bad sentence is logged as an unparsed line and not forwarded.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_breaks

data=$(e2e_data_folder survey_breaks)
# The reconnection opens the GPS port a second time: 8N1 (see E2E_GPS_8N1).
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\survey_breaks\\" "${E2E_GPS_8N1[@]}"
e2e_devsim_start --instrument em31mk2 --gps gga --seed 61
e2e_map_ports

e2e_program_start
e2e_start_logging
e2e_create_file
e2e_go
e2e_walk 6
e2e_devsim silence instrument 3
e2e_say "instrument silent for 3 s"
e2e_walk 9
e2e_devsim silence gps 4
e2e_say "GPS silent for 4 s"
e2e_walk 12
e2e_devsim garbage instrument 300
e2e_devsim badsum gps 1
e2e_say "300 bytes of garbage from the instrument, one GPS sentence with a bad checksum"
e2e_walk 5
e2e_pause
e2e_exit_logging
e2e_exit_program

file=$(e2e_data_file "$data" "$e2e_extension")
[ -n "$file" ] || e2e_fail "no .$e2e_extension file in $data: $(ls -A "$data")"
cp "$file" "$e2e_out/$e2e_name-$(basename "$file")"
e2e_check "$file"
e2e_assert_eq "record length" "$e2e_check_record_length" 24
e2e_assert_eq "check errors" "$e2e_check_errors" 0

# The instrument break. Ticks of the records are in columns 13-22 (awk
# counts from 1). Every pause of the readings longer than the 200 ms
# time-out is listed with the remarks written in it and the readings before.
breaks=$(awk '
  /^[T2-6]/ { t = substr($0, 14, 10) + 0
              if (n && (t - prev > 200 || remarks)) print t - prev, remarks + 0, n
              n++; prev = t; remarks = 0 }
  /^X1CONN BRK 1 / { remarks++ }
  END { if (remarks) print -1, remarks, n; print "total", n }' "$file")
total=$(awk '$1 == "total" {print $2}' <<<"$breaks")
e2e_say "pauses of the readings (ms, remarks, readings before): $(grep -v total <<<"$breaks" | paste -sd';' -)"
while read -r gap remarks _; do
  [ "$gap" = total ] && continue
  [ "$gap" -gt 200 ] || e2e_fail "a \"1CONN BRK 1\" remark without a pause of the readings"
  [ "$remarks" -le 1 ] || e2e_fail "$remarks \"1CONN BRK 1\" remarks in one break of $gap ms"
  [ "$gap" -lt 1000 ] || [ "$remarks" -eq 1 ] || e2e_fail "a break of $gap ms without a remark"
done <<<"$breaks"
read -r gap remarks before <<<"$(awk '$1 != "total" && $1 >= 2500' <<<"$breaks")"
[ -n "${gap:-}" ] || e2e_fail "the readings never stopped for the 3 s of silence"
[ "$gap" -le 6000 ] || e2e_fail "the readings stopped for $gap ms, not about 3000"
e2e_assert_eq '"1CONN BRK 1" remarks in the 3 s break' "$remarks" 1
e2e_say "readings stopped for $gap ms"
e2e_assert_ge "readings before the break" "$before" 20
e2e_assert_ge "readings after the break" $((total - before)) 40
e2e_assert_eq "breaks of 2.5 s or more" "$(awk '$1 != "total" && $1 >= 2500' <<<"$breaks" | wc -l)" 1

# The GPS break and the reconnection.
e2e_assert_eq '"GPS CONN BRK" remarks' "$(e2e_count '^XGPS CONN BR ' "$file")" 1
read -r gga_before gga_after <<<"$(awk '
  /^XGPS CONN BR / { brk = 1 }
  /^@\$GPGGA/ { if (brk) a++; else b++ }
  END { print b + 0, a + 0 }' "$file")"
e2e_assert_ge "GGA sentences logged before the GPS break" "$gga_before" 5
e2e_assert_ge "GGA sentences logged after the GPS break" "$gga_after" 4
e2e_assert_ge "readings after the GPS break" \
  "$(awk '/^XGPS CONN BR / {on = 1} /^[T2-6]/ && on {n++} END {print n + 0}' "$file")" 20
# Garbage and a bad checksum: every reading record still holds an EM31-MK2
# record ('T', status, two signed values, a space, the tick); the bad
# sentence is logged as an unparsed line ('?'), its summary without 'p'.
e2e_assert_eq "reading records not in the EM31-MK2 layout" \
  "$(grep -a '^[T2-6]' "$file" | grep -Eavc '^[T2-6].[-+][0-9]{4}[-+][0-9]{4} [ 0-9]{9}[0-9]$' || true)" 0
e2e_assert_eq "unparsed GPS lines ('?')" "$(e2e_count '^\?' "$file")" 1
e2e_assert_eq "unparsed lines with 'p' in their summary" \
  "$(awk '/^\?/ {q = 1} /^!/ {if (q && substr($0, 8, 1) == "p") n++; q = 0} END {print n + 0}' "$file")" 0
e2e_assert_ge "readings after the garbage" \
  "$(awk '/^\?/ {on = 1} /^[T2-6]/ && on {n++} END {print n + 0}' "$file")" 10
echo "$e2e_name: PASS"
