#!/usr/bin/env bash
# A short survey with each of the 18 programs on its simulated instrument
# (COM4) and a GGA receiver (COM6), driven by keys as a new surveyor would:
# L; F and Enter; G; a walk; P; X and Y; X. While the simulator streams, the
# data file must pass quelor check, hold GPS positions and no connection-break
# remark; the EM34-3 logs at its 5 Hz update rate; the EM61-MK2 programs
# take File while their normalisation fills its ring. One screenshot per
# program, taken while logging.
# QUELOR_VARIANTS="Qyn31 Zelko38-4" narrows the run; QUELOR_E2E_WALK sets the
# seconds of the walk (5).
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_all
walk=${QUELOR_E2E_WALK:-5}

rows=("${E2E_PROGRAMS[@]}")

# The program's default settings file with its own data folder; the file
# found before is put back afterwards.
use_settings() {
  local dir ini golden=$e2e_root/tests/golden/settings/$e2e_ini_name
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  dir=$(e2e_settings_dir)
  ini=$dir/$e2e_ini_name
  saved=""
  if [ -f "$ini" ]; then
    saved=$e2e_work/$e2e_ini_name.saved
    cp "$ini" "$saved"
  fi
  mkdir -p "$dir"
  cp "$golden" "$ini"
  E2E_VALUE="C:\\quelor-e2e\\survey_all\\$e2e_title\\" python3 - "$ini" <<'PY'
import os, sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
lines[1] = os.environ["E2E_VALUE"].encode("latin-1")  # the data folder
open(sys.argv[1], "wb").write(b"\r\n".join(lines))
PY
}

restore_settings() {
  local ini
  ini=$(e2e_settings_dir)/$e2e_ini_name
  if [ -n "$saved" ]; then cp "$saved" "$ini"; else rm -f "$ini"; fi
}

survey() {
  local program=$1 stem=$2 version=$3 instrument=$4 data file name remarks
  e2e_name=survey_all-$program
  e2e_exe=$e2e_build/$program.exe
  e2e_title=$program
  e2e_stem=$stem
  e2e_ini_name=${stem}_$version.INI
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built (cmake --build --preset win32)"
  data=$(e2e_data_folder "survey_all/$program")
  use_settings
  rm -rf "$e2e_work/control" "$e2e_work/dev"
  e2e_devsim_start --instrument "$instrument" --gps gga --seed 17
  e2e_map_ports

  e2e_log_walk "$walk"
  e2e_screenshot logging
  e2e_pause
  e2e_exit_logging
  e2e_exit_program
  e2e_devsim_stop
  restore_settings

  file=$(e2e_data_file "$data" '*')
  [ -n "$file" ] || e2e_fail "no data file in $data"
  name=$(basename "$file")
  cp "$file" "$e2e_out/$e2e_name-$name"
  e2e_check "$file"
  e2e_assert_eq "check errors" "$e2e_check_errors" 0
  e2e_assert_ge "GPS positions" "$e2e_check_gps_positions" 1
  remarks=$(e2e_count '^X(1CONN BRK 1|GPS CONN BR)' "$file")
  e2e_assert_eq "connection-break remarks" "$remarks" 0
  if [ "$instrument" = em34-3 ]; then
    # About 10.5 records a second at the default 5 readings a second: about
    # five readings per GGA sentence of the 1 Hz receiver, not ten.
    local readings sentences
    readings=$(e2e_count '^[T2-6]' "$file")
    sentences=$(e2e_count '^@\$GPGGA' "$file")
    e2e_assert_ge "GGA sentences" "$sentences" 2
    [ "$readings" -le $((sentences * 8)) ] && [ "$readings" -ge $((sentences * 3)) ] ||
      e2e_fail "$readings readings for $sentences GGA sentences: not the 5 Hz update rate"
    e2e_say "readings: $readings for $sentences GGA sentences"
  fi
  e2e_say "PASS ($name, $(stat -c %s "$file") bytes)"
}

start=$SECONDS
count=0
for ((i = 0; i < ${#rows[@]}; i += 4)); do
  program=${rows[i]}
  if [ -n "${QUELOR_VARIANTS:-}" ] && [[ " $QUELOR_VARIANTS " != *" $program "* ]]; then continue; fi
  survey "$program" "${rows[i + 1]}" "${rows[i + 2]}" "${rows[i + 3]}"
  count=$((count + 1))
done
e2e_name=survey_all
[ "$count" -gt 0 ] || e2e_fail "no program surveyed"
echo "survey_all: PASS ($count programs in $((SECONDS - start)) s)"
