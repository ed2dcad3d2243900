#!/bin/bash
# Every simulated device read over its pty and decoded by the companion tool:
# `quelor decode` for the nine instruments and the tilt meter, `quelor nmea`
# for the nine GPS formats. Each capture must give decoded records.
set -u
DEVSIM="${BUILD_DIR:-build/native}/devsim"
if [ ! -x "$DEVSIM" ] || [ ! -x "${QUELOR:-}" ]; then
  echo "devsim or quelor not built: skipped"
  exit 77
fi
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

start() {  # start ARGS... : runs devsim, waits for its ready line
  : >"$work/out"
  "$DEVSIM" --seed 5 --dir "$work/links" "$@" </dev/null >"$work/out" 2>"$work/err" &
  pid=$!
  for _ in $(seq 100); do [ -s "$work/out" ] && return 0; sleep 0.05; done
  fail "devsim did not start: $(cat "$work/err")"
}

stop() { kill $pid 2>/dev/null; wait $pid 2>/dev/null; pid=; }

# capture LINK SECONDS [COMMAND]: reads the link, first sending the two-byte
# command 40 ms apart as the program does.
capture() {
  exec 3<>"$1"
  if [ -n "${3:-}" ]; then
    printf '%s' "${3:0:1}" >&3
    sleep 0.04
    printf '%s' "${3:1:1}" >&3
  fi
  timeout "$2" cat <&3 >"$work/capture"
  exec 3<&-
}

for name in em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2; do
  start --instrument "$name" --no-gps
  command=
  case $name in em61*) command=HX ;; esac
  capture "$work/links/instrument" 1.2 "$command"
  stop
  records=$("$QUELOR" decode --instrument "$name" "$work/capture" | grep -c '^{')
  [ "$records" -ge 5 ] || fail "$name: only $records decoded records"
  echo "$name: $records records"
done

start --no-instrument --no-gps --tilt --tilt-rate 3
capture "$work/links/tilt" 1.2
stop
valid=$("$QUELOR" decode --instrument tilt "$work/capture" | grep -c '"valid":true')
[ "$valid" -ge 5 ] || fail "tilt: only $valid valid sentences"
echo "tilt: $valid sentences"

for format in gga-gsa gga pos llk llq gll ggk pseudo-gga pseudo-gll; do
  start --no-instrument --gps "$format" --gps-rate 10 --quality 4
  capture "$work/links/gps" 1
  stop
  valid=$("$QUELOR" nmea --format "$format" "$work/capture" | grep -c '"valid":true')
  [ "$valid" -ge 5 ] || fail "$format: only $valid valid fixes"
  echo "$format: $valid fixes"
done
exit 0
