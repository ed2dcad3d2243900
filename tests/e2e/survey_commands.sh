#!/usr/bin/env bash
# The logging commands that write to the data file, by keys only, with Qyn31
# under Wine on the simulated EM31-MK2 and GGA receiver: L, F and Enter, then
# in Stand By E (New Line "20" from station 3, each typed over the selected
# value), N (New Station 5.5), C (a
# comment longer than 11 characters), G, a short walk, P, Q and Yes twice
# (Quick Line 21.00 and 22.00), M and V (Toggle View), X and Yes, X. The data
# file passes quelor check and holds, in this order: the first line block,
# the New Line block, the station record, the comment, the logging period and
# the two Quick Line blocks, each block and the station followed by a time
# mark; the Quick Lines turn the direction and the increment's sign.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_commands

data=$(e2e_data_folder survey_commands)
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\survey_commands\\"
e2e_devsim_start --instrument em31mk2 --gps gga --seed 13
e2e_map_ports

# e2e_dialog_keys TITLE KEY...: KEY... to the dialog TITLE; it must close.
e2e_dialog_keys() {
  local title=$1 id
  shift
  id=$(e2e_wait_dialog "$title" 10) || e2e_fail "no dialog \"$title\""
  sleep 0.3
  e2e_screenshot "dialog-${title// /-}"
  wine_window_key "$id" "$@" || e2e_fail "cannot send keys to \"$title\""
  e2e_wait_gone "$title" 5 || e2e_fail "\"$title\" stayed open after $*"
  e2e_say "\"$title\": $*"
}

e2e_program_start
e2e_start_logging
e2e_create_file
e2e_key e
e2e_dialog_keys "New Line" 2 0 Tab 3 Return
e2e_key n
e2e_dialog_keys "New Station" 5 period 5 Return
e2e_key c
e2e_dialog_keys "Comment" g a t e space a t space 1 2 m space n o r t h Return
e2e_go
e2e_walk 3
e2e_pause
for want in 21.00 22.00; do
  e2e_key q
  e2e_wait_dialog "Quick Line" 10 >/dev/null || e2e_fail "Q in Stand By asked no \"Quick Line\""
  body=$(e2e_dialog_text "Quick Line")
  [[ "$body" == *"New Line: $want"* ]] || e2e_fail "\"Quick Line\" says \"$body\", not \"New Line: $want\""
  e2e_answer "Quick Line" y
  e2e_say "Quick Line: $want"
done
# map_shown: 1 when the map window (652) is visible.
map_shown() {
  e2e_inspect "$e2e_title" --deep | awk '$1 == "descendant" && $3 == 652 {print $9; exit}'
}
e2e_assert_eq "map shown before Toggle View" "$(map_shown)" 1
e2e_key m
sleep 0.5
e2e_key v
sleep 0.5
e2e_screenshot toggled
e2e_assert_eq "map shown after Toggle View" "$(map_shown)" 0
e2e_exit_logging
e2e_exit_program

file=$(e2e_data_file "$data" "$e2e_extension")
[ -n "$file" ] || e2e_fail "no .$e2e_extension file in $data"
cp "$file" "$e2e_out/$e2e_name-$(basename "$file")"
e2e_check "$file"
e2e_assert_eq "check errors" "$e2e_check_errors" 0
e2e_assert_eq "line blocks" "$e2e_check_lines" 4

# The events in file order: line blocks (name, start, direction and
# increment), time marks, stations, comments and remarks.
events=$(awk '
  /^L/ { name = substr($0, 2, 12); sub(/ +$/, "", name); line = "L" name; next }
  /^B/ { start = substr($0, 2, 11); gsub(/ /, "", start); line = line "@" start; next }
  /^A/ { inc = substr($0, 9, 11); gsub(/ /, "", inc); line = line substr($0, 2, 1) inc; print line; next }
  /^\*/ { print "*"; next }
  /^S/ { s = substr($0, 2, 11); gsub(/ /, "", s); print "S" s; next }
  /^[CX]/ { t = substr($0, 2, 11); sub(/ +$/, "", t); print substr($0, 1, 1) t; next }
' "$file" | tr '\n' ' ')
e2e_say "events: $events"
pattern='^L1@0.00N1.000 \* L20@3.00N1.000 \* S5.50 \* Cgate at 12m X\$STARTED XPAUSED '
pattern+='L21.00@[-0-9.]+S-1.000 \* L22.00@[-0-9.]+N1.000 \* $'
[[ "$events" =~ $pattern ]] || e2e_fail "the events are not the expected sequence"
echo "$e2e_name: PASS"
