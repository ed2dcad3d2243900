#!/usr/bin/env bash
# The channel selectors of the real-time EM61-MK2 program with its own
# default settings (only the data folder changed): hidden while logging,
# then, paused in Stand By, its four selectors (ids 480-483) are shown beside
# the numbers window, for the channel its colour map shows.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_exe=$e2e_build/Zelko61MK2.exe
e2e_title=Zelko61MK2
e2e_stem=Zelko61MK2
e2e_ini_name=Zelko61MK2_228.INI
e2e_setup channel_selectors
golden=$e2e_root/tests/golden/settings/$e2e_ini_name
[ -f "$golden" ] || e2e_fail "no default settings file $golden"
folder=$(e2e_data_folder channel_selectors)
[ -n "$folder" ] || e2e_fail "no data folder"
dir=$(e2e_settings_dir)
mkdir -p "$dir"
saved=""
if [ -f "$dir/$e2e_ini_name" ]; then
  saved=$e2e_work/$e2e_ini_name.saved
  cp "$dir/$e2e_ini_name" "$saved"
fi
cp "$golden" "$dir/$e2e_ini_name"
E2E_VALUE='C:\quelor-e2e\channel_selectors\' python3 - "$dir/$e2e_ini_name" <<'PY'
import os, sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
lines[1] = os.environ["E2E_VALUE"].encode("latin-1")  # the data folder
open(sys.argv[1], "wb").write(b"\r\n".join(lines))
PY

e2e_devsim_start --instrument em61mk2 --gps gga --seed 17
e2e_map_ports
e2e_log_walk 4
e2e_screenshot logging

# "<id> <visible>" of the selector buttons of the logging window (child 4).
selectors() {
  e2e_inspect "$e2e_title" --deep |
    awk '$1 == "descendant" && $2 == 4 && $3 >= 480 && $3 <= 487 && $4 == "Button" { print $3, $9 }'
}
shown_while_logging=$(selectors | awk '$2 == 1' | wc -l)
[ "$shown_while_logging" -eq 0 ] || e2e_fail "$shown_while_logging selectors shown while logging"

e2e_pause
sleep 1
listing=$(selectors)
e2e_say "selectors: $(echo $listing)"
shown=$(awk '$2 == 1' <<<"$listing" | wc -l)
e2e_assert_ge "selectors shown in Stand By" "$shown" 4
[ "$shown" -eq 4 ] || e2e_fail "$shown selectors shown, the EM61-MK2 has 4"

e2e_screenshot paused
e2e_finish_survey
if [ -n "$saved" ]; then cp "$saved" "$dir/$e2e_ini_name"; else rm -f "$dir/$e2e_ini_name"; fi
e2e_say "PASS"
