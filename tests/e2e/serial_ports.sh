#!/usr/bin/env bash
# The serial-port tests of the Windows program under Wine on pseudo-terminal
# pairs made by socat: COM11 is a quiet line, COM12 talks to a small
# instrument/tilt-meter responder, COM13 and COM14 are the two ends of one
# line (the tests write on COM14 what a reader thread on COM13 frames).
# Run by scripts/test after wine_env_start; runs its own Wine environment
# when started alone. QUELOR_WIN32_BUILD picks the build folder (build/win32).
# Exit 77 (skipped) without socat or python3.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${QUELOR_WIN32_BUILD:-$root/build/win32}
case $build in /*) ;; *) build=$root/$build ;; esac
exe=$build/win32_serial_tests.exe

fail() {
  echo "serial_ports: FAIL: $*" >&2
  exit 1
}

for tool in socat python3 wine; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "serial_ports: SKIP: $tool is not installed"
    exit 77
  fi
done
if [ ! -f "$exe" ]; then
  cmake --build "$build" --target win32_serial_tests >/dev/null || fail "cannot build win32_serial_tests"
fi

# shellcheck source=../../scripts/wine-env
. "$root/scripts/wine-env"
own_env=0
if [ -z "${DISPLAY:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
  wine_env_start
  own_env=1
fi

work=$(mktemp -d)
pids=()
links=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  for p in "${links[@]}"; do rm -f "$p"; done
  rm -rf "$work"
  [ "$own_env" -eq 0 ] || wine_env_stop
}
trap cleanup EXIT

# pty_pair A B: a socat pty pair with the two ends linked at A and B.
pty_pair() {
  socat -d -d "pty,raw,echo=0,link=$1" "pty,raw,echo=0,link=$2" 2>>"$work/socat.log" &
  pids+=($!)
}
pty_pair "$work/com11" "$work/quiet"
pty_pair "$work/com12" "$work/responder"
pty_pair "$work/com13" "$work/com14"
for i in $(seq 1 50); do
  [ -e "$work/com11" ] && [ -e "$work/quiet" ] && [ -e "$work/com12" ] && [ -e "$work/responder" ] &&
    [ -e "$work/com13" ] && [ -e "$work/com14" ] && break
  sleep 0.1
done
for n in 11 12 13 14; do
  [ -e "$work/com$n" ] || fail "socat made no pty for COM$n"
  dev=$WINEPREFIX/dosdevices/com$n
  ln -sfn "$(readlink -f "$work/com$n")" "$dev"
  links+=("$dev")
done
rm -f "$WINEPREFIX/dosdevices/com16"  # the tests need one port that does not exist

# The responder: "H","X" -> noise + "OK"; "H","W" -> "O", noise, "V";
# "K","K" -> a lone "K" (no answer); the tilt output-rate command -> its
# confirmation line. Anything else is ignored.
python3 - "$work/responder" >"$work/responder.log" 2>&1 <<'PY' &
import os, select, sys, termios, tty
fd = os.open(sys.argv[1], os.O_RDWR | os.O_NOCTTY)
tty.setraw(fd)
buf = b""
replies = [(b"HX", b"?OK"), (b"HW", b"O#V"), (b"KK", b"K")]
while True:
    r, _, _ = select.select([fd], [], [], 1.0)
    if not r:
        continue
    try:
        data = os.read(fd, 256)
    except OSError:
        break
    if not data:
        break
    buf = (buf + data)[-64:]
    for tail, answer in replies:
        if buf.endswith(tail):
            os.write(fd, answer)
            buf = b""
            break
    else:
        if buf.endswith(b"\r") and b"[1D" in buf:
            os.write(fd, b">New Output Data Rate " + buf[buf.rfind(b"[1D") + 3:-1] + b"\r\n")
            buf = b""
PY
pids+=($!)
# Keeps the quiet line's other end open so that COM11 stays up and silent.
sleep 600 <>"$work/quiet" &
pids+=($!)

export QUELOR_SERIAL_PORTS=11,12,13,14,16
start=$SECONDS
rc=0
timeout 300 wine "$exe" --gtest_color=no >"$work/tests.log" 2>&1 || rc=$?
cat "$work/tests.log"
echo "serial_ports: tests took $((SECONDS - start)) s (exit $rc)"
[ "$rc" -eq 0 ] || fail "win32_serial_tests exited with $rc"
grep -q "PASSED" "$work/tests.log" || fail "no test result"
if grep -q "SKIPPED" "$work/tests.log"; then fail "port tests were skipped with the ports in place"; fi
echo "serial_ports: PASS"
