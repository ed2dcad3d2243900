#!/bin/bash
# The device simulator end to end: start it, read the JSON line with the link
# paths, read the instrument and GPS links, check records and NMEA checksums,
# and that it ends by itself (--duration) or on SIGTERM, removing its links.
set -u
DEVSIM="${BUILD_DIR:-build/native}/devsim"
if [ ! -x "$DEVSIM" ]; then
  echo "devsim not built at $DEVSIM: skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Waits for the JSON line; prints it.
ready_line() {
  for _ in $(seq 100); do
    if [ -s "$1" ]; then head -n 1 "$1"; return 0; fi
    sleep 0.05
  done
  return 1
}

json_path() { sed -n "s/.*\"$2\":\"\([^\"]*\)\".*/\1/p" <<<"$1"; }

# XOR of the characters between "$" and "*" equals the two digits after "*".
nmea_ok() {
  local s=$1 body sum x=0 i c
  [[ $s == \$*\** ]] || return 1
  body=${s#\$}
  body=${body%%\**}
  sum=${s##*\*}
  sum=${sum:0:2}
  for ((i = 0; i < ${#body}; i++)); do
    printf -v c '%d' "'${body:i:1}"
    x=$((x ^ c))
  done
  [ "$(printf '%02X' $x)" = "$sum" ]
}

"$DEVSIM" --instrument em31mk2 --gps gga-gsa --gps-rate 5 --duration 3 --seed 1 --dir "$work/links" \
  </dev/null >"$work/out" 2>"$work/err" &
pid=$!
line=$(ready_line "$work/out") || fail "no JSON line: $(cat "$work/err")"
instrument=$(json_path "$line" instrument)
gps=$(json_path "$line" gps)
[ "$instrument" = "$work/links/instrument" ] || fail "instrument path in $line"
[ "$gps" = "$work/links/gps" ] || fail "gps path in $line"
grep -q '"tilt":null' <<<"$line" || fail "tilt should be null in $line"
[ -L "$instrument" ] && [ -L "$gps" ] || fail "links missing"

timeout 1 cat "$instrument" >"$work/instrument.bin"
timeout 1.5 cat "$gps" >"$work/gps.txt"

bytes=$(wc -c <"$work/instrument.bin")
[ "$bytes" -gt 0 ] || fail "no instrument bytes"
# EM31-MK2 records: "T", status, ten value characters, carriage return.
records=$(tr '\r' '\n' <"$work/instrument.bin" | grep -c -a -E '^T.[-+][0-9]{4}[-+][0-9]{4}$')
[ "$records" -ge 5 ] || fail "only $records EM31-MK2 records in $bytes bytes"

sentences=0
while IFS= read -r s; do
  s=${s%$'\r'}
  [[ $s == \$* ]] || continue
  nmea_ok "$s" || fail "bad checksum: $s"
  sentences=$((sentences + 1))
done <"$work/gps.txt"
[ "$sentences" -ge 4 ] || fail "only $sentences NMEA sentences"
grep -q '^\$GPGGA,' "$work/gps.txt" || fail "no GGA"
grep -q '^\$GPGSA,' "$work/gps.txt" || fail "no GSA"

# Standard input at EOF does not end the run; --duration does.
kill -0 $pid 2>/dev/null || fail "devsim ended before its duration"
for _ in $(seq 60); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && fail "devsim still running after --duration"
wait $pid || fail "devsim exit status $?"
[ -e "$instrument" ] || [ -L "$instrument" ] && fail "links left behind"

# SIGTERM ends it and removes the links too.
: >"$work/out"
"$DEVSIM" --instrument em61mk2 --gps llq --tilt --dir "$work/links" </dev/null >"$work/out" 2>"$work/err" &
pid=$!
line=$(ready_line "$work/out") || fail "no JSON line (second run)"
tilt=$(json_path "$line" tilt)
[ -L "$tilt" ] || fail "no tilt link in $line"
kill -TERM $pid
wait $pid
[ -L "$tilt" ] && fail "tilt link left after SIGTERM"
echo "devsim smoke: $records instrument records, $sentences sentences"
exit 0
