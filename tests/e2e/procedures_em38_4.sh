#!/usr/bin/env bash
# The EM38-4 calibration with its carrier-effect part and the EM38-4 drift
# control, by keys only, under Wine on the device simulator told the offsets
# the calibration must find.
# Qyn38-4 on a simulated EM38-4 held in the air with four conductivity
# offsets: L, F and Enter, F3 and L (Calibration), Yes on "CALIBRATION"; the
# map window is hidden while the GPS is held. OK on "Horizontal Calibration"
# and on "Instrument Calibration", Yes to the carrier-effect question, OK on
# "Removing Carrier Effect Calibration"; before OK on the second one
# ("Mount EM38-4 on the carrier.") the simulator is told other offsets, as
# the carrier shifts the readings; OK on "Calibration Completed". The 28 'O'
# records written then hold, with the previous values 0: O1-O4 the
# conductivity offsets (mean vertical - 2 x mean horizontal = the offsets),
# O5-O8 the in-phase offsets 0, O9-OC the carrier-effect offsets (mean on the
# carrier - mean without it = first offsets - carrier offsets), OD-OG the
# carrier in-phase offsets 0; the settings file holds the same; the map is
# shown again. F3 and P (Apply Drift Control), OK: after the drift samples
# "Drift Procedure - DONE", OK. No connection break is written.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
# shellcheck source=lib/procedures.sh
. "$(dirname "$0")/lib/procedures.sh"
e2e_exe=$e2e_build/Qyn38-4.exe e2e_title=Qyn38-4
[ -f "$e2e_exe" ] || { echo "procedures_em38_4: SKIP: $e2e_exe is not built"; exit 0; }
e2e_setup procedures_em38_4

use_program Qyn38-4 100
data=$(e2e_data_folder "procedures/$e2e_title")
use_settings
e2e_devsim_start --instrument em38-4 --gps gga --seed 24
offsets=(3.4 -1.85 0.75 -6.2)
carrier=(2.1 -0.6 1.55 -4.0)
e2e_devsim offsets "${offsets[@]}"
e2e_devsim stance air
e2e_devsim pause-walk
e2e_map_ports
e2e_program_start
e2e_start_logging
e2e_create_file
[ "$(gps_windows_visible)" = 1 ] || e2e_fail "the map window is hidden before the calibration"
e2e_key F3
sleep 0.5
e2e_key l
expect_box CALIBRATION "Place  EM38-4  on  Monopod"
e2e_answer CALIBRATION y
sleep 1
[ "$(gps_windows_visible)" = 0 ] || e2e_fail "the map window is shown while the calibration holds the GPS"
e2e_say "map window hidden during the calibration"
e2e_wait_dialog "Horizontal Calibration" 10 >/dev/null || e2e_fail "no \"Horizontal Calibration\" after the vertical part"
expect_box "Horizontal Calibration" "Rotate the unit to Horizontal Dipole Mode."
e2e_answer "Horizontal Calibration" Return
e2e_wait_dialog "Instrument Calibration" 12 >/dev/null || e2e_fail "no \"Instrument Calibration\" after the horizontal part"
expect_box "Instrument Calibration" "Instrument Calibration is Completed."
e2e_answer "Instrument Calibration" Return
expect_box "Carrier Effect Calibration" "Do you want to proceed with Carrier Effect Calibration?"
e2e_answer "Carrier Effect Calibration" y
expect_box "Removing Carrier Effect Calibration" "Rotate the instrument to Standard Vertical Dipole Mode and"
e2e_answer "Removing Carrier Effect Calibration" Return
sleep 2
e2e_wait_dialog "Removing Carrier Effect Calibration" 12 >/dev/null || e2e_fail "no second \"Removing Carrier Effect Calibration\""
expect_box "Removing Carrier Effect Calibration" "Mount EM38-4 on the carrier."
e2e_devsim offsets "${carrier[@]}"
e2e_answer "Removing Carrier Effect Calibration" Return
e2e_wait_dialog "Calibration Completed" 12 >/dev/null || e2e_fail "no \"Calibration Completed\" after the carrier part"
expect_box "Calibration Completed" "Calibration Completed."
e2e_answer "Calibration Completed" Return
sleep 0.5
[ "$(gps_windows_visible)" = 1 ] || e2e_fail "the map window stays hidden after the calibration"
e2e_say "map window shown again"
e2e_screenshot em38-4-calibrated
# Drift control: twenty readings at ten a second.
e2e_key F3
sleep 0.5
e2e_key p
expect_box "Confirm Drift Control Procedure" "Position EM38-4 in Standard Drift Control Position."
e2e_answer "Confirm Drift Control Procedure" Return
e2e_wait_dialog "Drift Procedure - DONE" 10 >/dev/null || e2e_fail "no \"Drift Procedure - DONE\" after the drift samples"
expect_box "Drift Procedure - DONE" "Drift Collection Completed."
e2e_answer "Drift Procedure - DONE" Return
[ -z "$(e2e_dialogs)" ] || e2e_fail "a box is open after the drift control: $(e2e_dialogs | tr '\n' ',')"
e2e_finish_survey
e2e_check_newest "$data"
file=$e2e_file
e2e_assert_eq "connection breaks" "$(e2e_count '^X.CONN BRK' "$file")" 0
# The constants in record order: conductivity, in-phase, carrier conductivity
# and carrier in-phase offsets of the four coil pairs, then OH, OI and the
# reserved OJ-OS, all 0 before.
want=()
for v in "${offsets[@]}"; do want+=("$v"); done
want+=(0 0 0 0)
for i in 0 1 2 3; do want+=("$(python3 -c "print(${offsets[$i]} - (${carrier[$i]}))")"); done
for _ in $(seq 16); do want+=(0); done
compare "$file" '^O[1-9A-S]' 0.05 "${want[@]}"
python3 - "$(e2e_settings_dir)/$e2e_ini_name" "${want[@]:0:16}" <<'PY' || e2e_fail "the settings do not hold the calibration"
import sys
lines = open(sys.argv[1], "rb").read().decode("latin-1").split("\r\n")
want = list(map(float, sys.argv[2:]))
# The twelve calibration doubles of the instrument block (file lines
# 114-125), then the first four of the eight (126-129).
for n, w in zip(range(114, 130), want):
    got = float(lines[n - 1])
    if abs(got - w) > 0.05:
        sys.exit(f"line {n} holds {got}, not {w}")
print("settings hold the calibration")
PY
e2e_settings_restore
echo "$e2e_name: PASS"
