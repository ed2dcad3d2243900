#!/usr/bin/env bash
# The instruments' field procedures by keys only, under Wine on the device
# simulator told the offsets the procedures must find.
# 1. Qyn38MK2 on a simulated EM38-MK2 held in the air with six offsets: L, F
#    and Enter, F3 and L (Calibration), Yes on "CALIBRATION"; the simulator
#    turns to the horizontal dipole when the program asks for it; the map
#    window is hidden while the calibration holds the GPS. The O1-O6
#    records written after the calibration hold the simulator's offsets
#    (within the decoder's resolution) with the previous values 0, and the
#    file passes quelor check. F3 and G open "Drift Reminder", F3 and P the
#    drift-control confirmation; F3, R and Yes (Remove Calibration) write
#    O1-O6 again with 0 and the calibrated values; the header of a second
#    file pairs the same.
# 2. Qyn61MK2 on a simulated EM61-MK2 (40 readings a second) in the air with
#    four channel biases and a fixed transmitter current of 2900 (2769.8 mA
#    once divided by the Standard coil's 1.047): L starts the survey with the
#    normalisation over the first 98 currents; F and Enter, U (Nulling), Yes
#    on "NULLING". The four 'O' records written after the nulling hold the
#    simulator's channel means normalised by 3000 / 2769.8, and so do the
#    null values of the settings file.
# 3. Qyn61LX2 on a simulated two-coil EM61-LX2 (40 readings a second) with a
#    known channel ratio: L, F and Enter, F3 and L (Calibrate Filter); after
#    the nulling in the air, OK on "Filter Calibration Part 2" with the coils
#    on the ground, OK on "Filter Calibration Complete": the settings file
#    holds the filter factor of that ratio for both coils.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
# shellcheck source=lib/procedures.sh
. "$(dirname "$0")/lib/procedures.sh"
e2e_exe=$e2e_build/Qyn38MK2.exe e2e_title=Qyn38MK2
[ -f "$e2e_exe" ] || { echo "procedures: SKIP: $e2e_exe is not built"; exit 0; }
e2e_setup procedures

# --- EM38-MK2 calibration -------------------------------------------------
use_program Qyn38MK2 220
data=$(e2e_data_folder "procedures/$e2e_title")
use_settings "${E2E_GPS_8N1[@]}"  # the GPS port opens twice
e2e_devsim_start --instrument em38mk2 --gps gga --seed 21
offsets=(0.62 -0.41 1.15 0.27 6.8 -2.4)
e2e_devsim offsets "${offsets[@]}"
e2e_devsim stance air
e2e_devsim pause-walk
e2e_map_ports
e2e_program_start
e2e_start_logging
e2e_create_file
e2e_key F3
sleep 0.5
e2e_key l
expect_box CALIBRATION "Place  EM38-MK2  on  Monopod"
e2e_answer CALIBRATION y
[ "$(gps_windows_visible)" = 0 ] || e2e_fail "the map window is shown while the calibration holds the GPS"
e2e_screenshot em38mk2-calibrating
sleep 2  # the two seconds of the vertical part, then the request to rotate
e2e_devsim dipole H
sleep 5.2  # detection, one second of preparation, two of collection, 1.5 s of the closing text
[ "$(gps_windows_visible)" = 1 ] || e2e_fail "the map window stays hidden after the calibration"
e2e_say "map window hidden during the calibration, shown after it"
e2e_screenshot em38mk2-calibrated
[ -z "$(e2e_dialogs)" ] || e2e_fail "a box is open after the calibration: $(e2e_dialogs | tr '\n' ',')"
# The drift reminder time and the drift-control confirmation open and close.
e2e_key F3
sleep 0.5
e2e_key g
e2e_wait_dialog "Drift Reminder" 10 >/dev/null || e2e_fail "F3 and G opened no \"Drift Reminder\""
e2e_answer "Drift Reminder" Escape
e2e_key F3
sleep 0.5
e2e_key p
expect_box "Confirm Drift Control Procedure" "Position EM38-MK2 in Standard Drift Control Position."
e2e_answer "Confirm Drift Control Procedure" Return
e2e_key F3
sleep 0.5
e2e_key r
expect_box "Delete Calibration" "Are you sure you want to"
e2e_answer "Delete Calibration" y
e2e_exit_logging
file=$(e2e_data_file "$data" "*")
[ -n "$file" ] || e2e_fail "no data file in $data"
# A second file of the same run: its header pairs the constants with the
# values they replaced.
e2e_start_logging
e2e_create_file
e2e_exit_logging
e2e_exit_program
e2e_devsim_stop
second=$(e2e_data_file "$data" "*")
[ "$second" != "$file" ] || e2e_fail "no second data file"
cp "$file" "$e2e_out/$e2e_name-$(basename "$file")"
e2e_check "$file"
e2e_assert_eq "check errors" "$e2e_check_errors" 0
# O1..O6 in the program's order: vertical in-phase 1, 2, horizontal in-phase 1, 2, conductivity 1, 2.
removed=()
for v in "${offsets[@]}"; do removed+=("0/$v"); done
compare "$file" '^O[1-6]' 0.07 "${offsets[@]}" "${removed[@]}"
compare "$second" '^O[1-6]' 0.07 "${removed[@]}"
e2e_settings_restore
rm -rf "$e2e_work/control" "$e2e_work/dev"

# --- EM61-MK2 nulling -----------------------------------------------------
use_program Qyn61MK2 225
data=$(e2e_data_folder "procedures/$e2e_title")
use_settings
e2e_devsim_start --instrument em61mk2 --rate 40 --gps gga --seed 22
biases=(12.5 -7.25 3.0 40.0)
e2e_devsim offsets "${biases[@]}"
e2e_devsim stance air
e2e_devsim current 2900
normalised=()
for b in "${biases[@]}"; do normalised+=("$(python3 -c "print($b * 3000 / (2900 / 1.047))")"); done
e2e_devsim pause-walk
e2e_map_ports
e2e_program_start
e2e_start_logging
e2e_screenshot em61mk2-normalisation
sleep 2  # the normalisation: 98 readings at 40 Hz from the start
e2e_create_file
e2e_key u
expect_box NULLING "DO YOU WANT TO PERFORM NULLING"
e2e_answer NULLING y
sleep 2.5  # the start reading and 50 readings at 40 Hz
e2e_finish_survey
e2e_check_newest "$data"
file=$e2e_file
compare "$file" '^O ' 0.06 "${normalised[@]}"
python3 - "$(e2e_settings_dir)/$e2e_ini_name" "${normalised[@]}" <<'PY' || e2e_fail "the settings do not keep the null values"
import sys
lines = open(sys.argv[1], "rb").read().decode("latin-1").split("\r\n")
for n, want in zip(range(72, 76), map(float, sys.argv[2:])):  # the channel 1-4 null values
    if abs(float(lines[n - 1]) - want) > 0.06:
        sys.exit(f"line {n} holds {lines[n - 1]}, not {want}")
print("settings keep the null values")
PY
e2e_settings_restore
rm -rf "$e2e_work/control" "$e2e_work/dev"

# --- EM61-LX2 filter-factor calibration -----------------------------------
use_program Qyn61LX2 100
data=$(e2e_data_folder "procedures/$e2e_title")
use_settings
e2e_devsim_start --instrument em61lx2 --sensors 2 --rate 40 --gps gga --seed 23
ratio=3.7
e2e_devsim offsets 5 2 -3 1
e2e_devsim ratio "$ratio"
e2e_devsim stance air
e2e_devsim pause-walk
e2e_map_ports
e2e_program_start
e2e_start_logging
e2e_create_file
e2e_key F3
sleep 0.5
e2e_key l
expect_box "Filter Calibration Part 2" "Ready to calculate Filter Factors"
e2e_devsim stance ground
e2e_answer "Filter Calibration Part 2" Return
e2e_wait_dialog "Filter Calibration Complete" 25 >/dev/null || e2e_fail "no \"Filter Calibration Complete\""
e2e_say "filter calibration: $(e2e_dialog_text "Filter Calibration Complete")"
e2e_answer "Filter Calibration Complete" Return
e2e_finish_survey
e2e_check_newest "$data"
file=$e2e_file
python3 - "$(e2e_settings_dir)/$e2e_ini_name" "$ratio" <<'PY' || e2e_fail "the settings do not hold the filter factor of the ratio"
import sys
lines = open(sys.argv[1], "rb").read().decode("latin-1").split("\r\n")
r = float(sys.argv[2])
want = 108 * r + 18 if r <= 3.1 else 128 * r - 44
for n in (95, 96):  # the left-coil and right-coil filter factors
    got = float(lines[n - 1])
    print(f"line {n}: {got} (ratio {r}: {want:.1f})")
    if abs(got - want) > 1.5:
        sys.exit(f"line {n} holds {got}, not {want:.1f}")
PY
echo "$e2e_name: PASS"
