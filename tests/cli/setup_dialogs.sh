#!/usr/bin/env bash
# quelor setup: a dialog's entries and OK, without a window. Each case names
# a program, a dialog and entries, and the settings-file lines (1 = the
# version line) that must differ from the program's default file, or a
# message that must be shown; every other line must stay as it was.
set -euo pipefail
: "${QUELOR:?QUELOR must name the quelor tool}"
: "${SOURCE_DIR:?SOURCE_DIR must name the source tree}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
golden=$SOURCE_DIR/tests/golden/settings
failures=0

# case PROGRAM INI DIALOG "ENTRIES" "LINE=VALUE ..." [MESSAGE]
check() {
  local program=$1 ini=$2 dialog=$3 entries=$4 lines=$5 message=${6:-}
  # shellcheck disable=SC2086
  "$QUELOR" setup --program "$program" --dialog "$dialog" $entries --out "$work/out.INI" >"$work/out.json" ||
    { echo "FAIL $program $dialog $entries: exit $?"; failures=$((failures + 1)); return; }
  if ! python3 - "$golden/$ini" "$work/out.INI" "$lines" "$message" "$work/out.json" <<'PY'; then
import json, sys
golden, out, lines, message, log = sys.argv[1:]
want = open(golden, "rb").read().split(b"\r\n")
got = open(out, "rb").read().split(b"\r\n")
for e in lines.split():
    n, v = e.split("=", 1)
    want[int(n) - 1] = v.encode()
bad = [f"line {i + 1}: {g!r} expected {w!r}" for i, (g, w) in enumerate(zip(got, want)) if g != w]
if len(got) != len(want): bad.append(f"{len(got)} lines, expected {len(want)}")
shown = [json.loads(l) for l in open(log) if '"message"' in l]
if message and not any(m["message"] == message for m in shown): bad.append(f"no message {message!r}: {shown}")
if not message and shown: bad.append(f"unexpected messages {shown}")
if bad: print("\n".join(bad))
sys.exit(1 if bad else 0)
PY
    echo "FAIL $program $dialog $entries"
    failures=$((failures + 1))
  else
    echo "ok   $program $dialog $entries"
  fi
}

check Qyn34-3 Qyn34-3_215.INI survey "--select 1110=1 --text 1111=0" "48=2 51=1"
check Qyn34-3 Qyn34-3_215.INI survey "--select 1110=1 --text 1111=2000 --select 1173=5" "48=2 50=5 51=999"
check Qyn31 Qyn31MK2_220.INI geometry "--check 1157=1 --text 1151=1" "44=2 45=0.304800"
check Qyn31 Qyn31MK2_220.INI survey "--text 1111=inf --text 1113=C12" "54=1.000000 55=C12"
check Qyn61MK2 Qyn61MK2_225.INI survey "--text 1118=3 --select 1110=1 --text 1118=0.25 --select 1110=0" \
  "47=3.000000 48=0.250000"
check Qyn61LX2 Qyn61LX2_100.INI system "--text 914=100" "" "Filter Factor Left Coil"
check Qyn61LX2 Qyn61LX2_100.INI system "--text 914=352.8 --text 915=1200" "95=352.800000" "Filter Factor Right Coil"
check Qyn61LX2 Qyn61LX2_100.INI system "--select 910=0 --select 1121=1" "4=0 15=1"
check Zelko61MK2 Zelko61MK2_228.INI system "--select 1127=1 --select 1135=9 --check 1310=0 --text 1309=1.2" \
  "85=1 86=9 89=1.200000 90=0"
# A dilution that is no number is refused and the old one (4.0) kept.
check Qyn31 Qyn31MK2_220.INI mask "--select 1253=2 --text 1252=nan" "72=5" "GPS Warning Mask"
check Qyn31 Qyn31MK2_220.INI mask "--select 1253=4 --text 1252=2.5" "72=7 73=2.500000"
# A subnormal rate gives no finite interval: 1 reading a second.
check Qyn31 Qyn31MK2_220.INI survey "--text 1111=1e-320" "54=1.000000"
check Qyn38-4 Qyn38-4_100.INI system "--select 1122=4 --select 1121=1 --select 1245=0" "83=4 112=4 135=1 154=0"

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed"; exit 1; }
echo "all cases passed"
