#!/bin/bash
# quelor procedure over captures of the simulator told its offsets and ratio:
# the EM38-MK2 calibration (vertical, then the simulator turned to the
# horizontal dipole) finds the six offsets; the EM61-MK2 nulling finds the
# channel biases, and after the normalisation of a survey start at a fixed
# current those biases normalised by its ring; the EM61-LX2 filter
# calibration (nulling in the air, then the coils on the ground) finds the
# filter factor of the ratio.
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

# start ARGS...: devsim with the control FIFO $work/control.
start() {
  rm -f "$work/control" && mkfifo "$work/control"
  exec 4<>"$work/control"
  : >"$work/out"
  "$DEVSIM" --seed 7 --no-gps --dir "$work/links" --control "$work/control" "$@" </dev/null >"$work/out" 2>"$work/err" &
  pid=$!
  for _ in $(seq 100); do [ -s "$work/out" ] && return 0; sleep 0.05; done
  fail "devsim did not start: $(cat "$work/err")"
}
control() { echo "$*" >&4; }
stop() { control quit; wait $pid 2>/dev/null; pid=; exec 4>&-; }

# json FIELD: the field of the result line.
result() { tail -n 1 "$work/result" | python3 -c "import json,sys; print(json.dumps(json.load(sys.stdin)['$1']))"; }
near() {  # near WHAT GOT WANT TOLERANCE
  python3 -c "import sys; g, w, t = map(float, sys.argv[1:]); sys.exit(abs(g - w) > t)" "$2" "$3" "$4" ||
    fail "$1 is $2, not $3 (within $4)"
}

# EM38-MK2: two and a half seconds vertical, then horizontal.
start --instrument em38mk2
control offsets 0.9 -0.2 0.35 0.6 -4.5 12
control stance air
exec 3<>"$work/links/instrument"
(timeout 7 cat <&3 >"$work/capture") &
reader=$!
sleep 2.5
control dipole H
wait $reader
exec 3<&-
stop
"$QUELOR" procedure --name em38mk2-calibration --period 47 "$work/capture" >"$work/result" ||
  fail "em38mk2-calibration did not end: $(tail -n 3 "$work/result")"
grep -q '"Calibration Completed - Wait for Beep"' "$work/result" || fail "no completion text"
values=$(result em38mk2_calibration)
i=0
for want in 0.9 -0.2 0.35 0.6 -4.5 12; do
  got=$(python3 -c "import json,sys; print(json.loads(sys.argv[1])[$i])" "$values")
  near "EM38-MK2 value $i" "$got" "$want" 0.07
  i=$((i + 1))
done
[ "$(grep -o '"O[1-6] ' "$work/result" | wc -l)" -eq 6 ] || fail "no O1-O6 records"
echo "em38mk2: $values"

# EM61-MK2 nulling in the air.
start --instrument em61mk2 --rate 20
control offsets -6.5 14.25 2 0.5
control stance air
exec 3<>"$work/links/instrument"
printf 'H' >&3; sleep 0.04; printf 'X' >&3
timeout 4 cat <&3 >"$work/capture"
exec 3<&-
stop
"$QUELOR" procedure --name em61mk2-nulling "$work/capture" >"$work/result" || fail "nulling did not end"
values=$(result null_values)
i=0
for want in -6.5 14.25 2 0.5; do
  got=$(python3 -c "import json,sys; print(json.loads(sys.argv[1])[$i])" "$values")
  near "EM61-MK2 null $i" "$got" "$want" 0.06
  i=$((i + 1))
done
echo "em61mk2: $values"

# EM61-MK2 nulling after the normalisation of a survey start, at a current of
# 2900 (2769.8 once divided by the Standard coil's 1.047): the readings are
# normalised by 3000 over that mean.
start --instrument em61mk2 --rate 20
control offsets -6.5 14.25 2 0.5
control stance air
control current 2900
exec 3<>"$work/links/instrument"
printf 'H' >&3; sleep 0.04; printf 'X' >&3
timeout 4 cat <&3 >"$work/capture"
exec 3<&-
stop
"$QUELOR" procedure --name em61mk2-nulling --normalisation 20 "$work/capture" >"$work/result" ||
  fail "normalisation and nulling did not end"
grep -q '"Normalization:"," 50 %"' "$work/result" || fail "no normalisation progress"
grep -q '"Normalization:","100 %"' "$work/result" || fail "the normalisation did not end"
values=$(result null_values)
i=0
for bias in -6.5 14.25 2 0.5; do
  got=$(python3 -c "import json,sys; print(json.loads(sys.argv[1])[$i])" "$values")
  near "EM61-MK2 normalised null $i" "$got" "$(python3 -c "print($bias * 3000 / (2900 / 1.047))")" 0.06
  i=$((i + 1))
done
echo "em61mk2 normalised: $values"

# EM61-LX2 one coil: nulling in the air, then the coils on the ground.
start --instrument em61lx2 --sensors 1 --rate 50
control offsets 4 -1.5
control ratio 2.6
control stance air
exec 3<>"$work/links/instrument"
printf 'H' >&3; sleep 0.04; printf 'X' >&3
(timeout 7 cat <&3 >"$work/capture") &
reader=$!
sleep 3
control stance ground
wait $reader
exec 3<&-
stop
# The records between the two parts come in while the box is open: the
# capture holds more air records than the nulling takes, and those add 0 to
# both sums of the filter part.
"$QUELOR" procedure --name em61lx2-filter "$work/capture" >"$work/result" || fail "filter calibration did not end"
grep -q '"ask":"Filter Calibration Complete"' "$work/result" || fail "no completion box"
got=$(result left_filter_factor)
near "EM61-LX2 filter factor" "$got" "$(python3 -c 'print(108 * 2.6 + 18)')" 1.0
echo "em61lx2: filter factor $got"
# The same one-coil capture nulled: the right coil's channels stay 0 (the left
# ones within the noise of the simulated air readings).
"$QUELOR" procedure --name em61lx2-nulling "$work/capture" >"$work/result" || fail "one-coil nulling did not end"
values=$(result null_values)
i=0
for want in 4 -1.5 0 0; do
  got=$(python3 -c "import json,sys; print(json.loads(sys.argv[1])[$i])" "$values")
  near "EM61-LX2 one-coil null $i" "$got" "$want" 0.2
  i=$((i + 1))
done
echo "em61lx2 one coil: $values"
exit 0
