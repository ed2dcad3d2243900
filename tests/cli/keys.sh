#!/usr/bin/env bash
# quelor keys: keys of the logging window to command codes and actions, by
# state, review and popup menu, the requirement notices, and the popup menus
# of every instrument and state.
set -euo pipefail
: "${QUELOR:?QUELOR must name the quelor tool}"
fail() { echo "FAIL: $*" >&2; exit 1; }

# expect "ARGS" KEY 'JSON line'
expect() {
  local got
  # shellcheck disable=SC2086
  got=$("$QUELOR" keys $1 "$2")
  [ "$got" = "$3" ] || fail "keys $1 $2: $got, not $3"
}
expect "--instrument em31mk2 --state monitoring" F '{"key":"F","effect":"command","code":0,"action":"File"}'
expect "--instrument em31mk2 --state standby" F '{"key":"F","effect":"none"}'
expect "--instrument em31mk2 --state standby --review" F '{"key":"F","effect":"command","code":119,"action":"code 119"}'
expect "--instrument em38 --state standby" E '{"key":"E","effect":"command","code":101,"action":"New Line","menu_text":"New Line"}'
expect "--instrument em38 --state standby --no-instrument" Q \
  '{"key":"Q","effect":"command","code":1,"action":"none","refused":"Option avaiable only when Instrument is enabled"}'
expect "--instrument em61mk2 --state monitoring --no-map" S \
  '{"key":"S","effect":"command","code":110,"action":"none","menu_text":"Map Size","refused":"Option avaiable only when map is visible"}'
expect "--instrument em38mk2 --state standby --menu-open" L \
  '{"key":"L","effect":"command","code":128,"action":"Calibration","menu_text":"Calibration"}'
# The CS-21's menu has no calibration: with it open L and R do nothing.
expect "--instrument cs21 --state standby --menu-open" L '{"key":"L","effect":"none"}'
expect "--instrument cs21 --state standby --menu-open" R '{"key":"R","effect":"none"}'
# The map's pan keys do nothing before a data file is open.
expect "--instrument em31mk2 --state monitoring" Left '{"key":"Left","effect":"command","code":113,"action":"none"}'
expect "--instrument em61lx2 --state logging --soft-marker" 7 '{"key":"7","effect":"soft marker"}'
expect "--instrument em61lx2 --state logging" 7 '{"key":"7","effect":"none"}'
expect "--instrument em31mk2 --state logging --pause-key space" Space '{"key":"Space","effect":"command","code":0,"action":"Pause"}'
expect "--instrument em31mk2 --state standby --pause-key space" Space '{"key":"Space","effect":"none"}'

# Every menu ends with Hide Menu; Monitoring menus hold no New Line.
for i in em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2; do
  for s in monitoring standby; do
    out=$("$QUELOR" keys --instrument "$i" --state "$s" --menu)
    [ "$(tail -n 1 <<<"$out")" = "$(grep '"item":508,' <<<"$out")" ] || fail "$i $s: Hide Menu is not last"
    n=$(grep -c '"item":501,' <<<"$out" || true)
    [ "$s" = monitoring ] && [ "$n" != 0 ] && fail "$i monitoring lists New Line"
    [ "$s" = standby ] && [ "$n" != 1 ] && fail "$i standby lacks New Line"
  done
done
"$QUELOR" keys --instrument em61lx2 --state standby --menu | grep -q '"item":516,"code":128,"text":"Ca&librate Filter"' ||
  fail "EM61-LX2 menu without Ca&librate Filter"
# The CS-21 shares menu 490 with the EM38-4 but none of its procedures.
cs21=$("$QUELOR" keys --instrument cs21 --state standby --menu)
if grep -Eq '"item":(516|517|520),' <<<"$cs21"; then fail "the CS-21 menu offers an EM38-4 procedure"; fi
grep -q '"item":521,' <<<"$cs21" || fail "the CS-21 menu lacks Change Drift Reminder Time"
"$QUELOR" keys --instrument em38-4 --state standby --menu | grep -q '"item":520,' || fail "the EM38-4 menu lacks Apply Drift Control"
if "$QUELOR" keys --instrument em31mk2 Bogus 2>/dev/null; then fail "an unknown key was accepted"; fi
if "$QUELOR" keys E 2>/dev/null; then fail "keys without an instrument were accepted"; fi
echo "keys: PASS"
