#!/bin/bash
# quelor check on the golden survey files and on corrupted copies of them.
set -u
: "${QUELOR:?path of the quelor tool}"
: "${SOURCE_DIR:?source tree}"
GOLDEN="$SOURCE_DIR/tests/golden/datafile"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# expect STATUS FILE [TEXT]: exit status and, optionally, text in the output.
expect() {
  local want=$1 file=$2 text=${3:-}
  local out status
  out=$("$QUELOR" check "$file" 2>"$WORK/stderr")
  status=$?
  [ "$status" -eq "$want" ] || fail "$(basename "$file"): exit $status, expected $want: $out $(cat "$WORK/stderr")"
  if [ -n "$text" ] && ! grep -qF -- "$text" <<<"$out"; then
    fail "$(basename "$file"): output lacks $text: $out"
  fi
}

count=0
for f in "$GOLDEN"/*.dat; do
  expect 0 "$f" '"errors":[]'
  count=$((count + 1))
done
[ "$count" -eq 18 ] || fail "expected 18 golden files, found $count"

expect 0 "$GOLDEN/Qyn31.dat" '"record_length":24'
expect 0 "$GOLDEN/Qyn31.dat" '"program_code":"QYN31   W","version":"220","headers":1,"lines":2,"gps_positions":2'
expect 0 "$GOLDEN/ZelkoCS-21.dat" '"record_length":65'
expect 0 "$GOLDEN/Zelko38-4.dat" '"record_length":47'
expect 0 "$GOLDEN/Zelko61MK2.dat" '"~":1'

# Truncated record: three bytes cut out of the twentieth record.
L=27
src="$GOLDEN/Zelko38.dat"
{ head -c $((L * 19 + 5)) "$src"; tail -c +$((L * 19 + 9)) "$src"; } >"$WORK/truncated.dat"
expect 1 "$WORK/truncated.dat" '"errors":[{"record":'

# Truncated end.
head -c $(( $(stat -c %s "$src") - 4 )) "$src" >"$WORK/short_end.dat"
expect 1 "$WORK/short_end.dat" 'truncated record'

# Repair: a partial last record and zero bytes from a power loss are cut;
# the file then passes; the cut bytes are kept beside it, a second repair's
# in a copy of its own; a whole file is left as it is, with no copy.
for tail in partial zeros; do
  cp "$src" "$WORK/crashed.dat"
  if [ $tail = partial ]; then
    head -c 13 "$src" >"$WORK/cut"
    copy="$WORK/crashed.dat.cut"
  else
    head -c $((L * 2 + 5)) /dev/zero >"$WORK/cut"
    copy="$WORK/crashed.dat.cut.2"
  fi
  cat "$WORK/cut" >>"$WORK/crashed.dat"
  want=$(stat -c %s "$WORK/cut")
  expect 1 "$WORK/crashed.dat"
  out=$("$QUELOR" check --repair "$WORK/crashed.dat")
  [ $? -eq 0 ] || fail "repair: the repaired file does not pass: $out"
  grep -qF "\"repaired_bytes\":$want,\"cut_bytes\":\"$copy\"," <<<"$out" || fail "repair: expected $want bytes cut to $copy: $out"
  cmp -s "$WORK/crashed.dat" "$src" || fail "repair: the file is not its whole records"
  cmp -s "$copy" "$WORK/cut" || fail "repair: $copy does not hold the cut bytes"
done
out=$("$QUELOR" check --repair "$WORK/crashed.dat")
grep -qF '"repaired_bytes":0,"record_length"' <<<"$out" || fail "repair of a sound file: $out"
[ -e "$WORK/crashed.dat.cut.3" ] && fail "repair of a sound file made a copy"

# Repair where the cut bytes cannot be kept (a full disk): nothing is cut.
mkdir "$WORK/full"
if mount -t tmpfs -o size=64k tmpfs "$WORK/full" 2>/dev/null; then
  { cat "$src"; head -c 13 "$src"; } >"$WORK/full/crashed.dat"
  cp "$WORK/full/crashed.dat" "$WORK/crashed-copy.dat"
  head -c 1M /dev/zero >"$WORK/full/filler" 2>/dev/null
  "$QUELOR" check --repair "$WORK/full/crashed.dat" >"$WORK/stdout" 2>"$WORK/stderr"
  status=$?
  [ "$status" -eq 2 ] || fail "repair on a full disk: exit $status, expected 2"
  [ "$(wc -l <"$WORK/stderr")" -eq 1 ] || fail "repair on a full disk: $(cat "$WORK/stderr")"
  cmp -s "$WORK/full/crashed.dat" "$WORK/crashed-copy.dat" || fail "repair on a full disk cut the file"
  [ "$(ls -A "$WORK/full" | tr '\n' ' ')" = "crashed.dat filler " ] || fail "repair on a full disk left $(ls -A "$WORK/full")"
  umount "$WORK/full"
else
  echo "SKIP: cannot mount a small tmpfs (needs root): no full-disk repair"
fi

# Bad tag: the "$STARTED" remark gets the tag W.
off=$(grep -boa 'X\$STARTED' "$src" | head -1 | cut -d: -f1)
cp "$src" "$WORK/badtag.dat"
printf 'W' | dd of="$WORK/badtag.dat" bs=1 seek="$off" conv=notrunc status=none
expect 1 "$WORK/badtag.dat" 'unknown tag 0x57'

# Decreasing tick: the last reading gets a tick of 1.
cp "$src" "$WORK/tick.dat"
last=$(grep -boa '^TA01234' "$src" | tail -1 | cut -d: -f1)
printf '         1' | dd of="$WORK/tick.dat" bs=1 seek=$((last + L - 11)) conv=notrunc status=none
expect 1 "$WORK/tick.dat" 'tick decreases'

# One changed byte in a logged GGA (latitude 4807 read as 5807): its checksum
# no longer matches; a warning with the record number, not a refusal.
cp "$GOLDEN/ZelkoCS-21.dat" "$WORK/gga.dat"
off=$(grep -boa '@\$GPGGA' "$WORK/gga.dat" | head -1 | cut -d: -f1)
printf '5' | dd of="$WORK/gga.dat" bs=1 seek=$((off + 18)) conv=notrunc status=none
expect 0 "$WORK/gga.dat" "\"errors\":[],\"warnings\":[{\"record\":$((off / 65 + 1)),\"message\":\"GPS sentence checksum does not match\"}]"

# Foreign header.
cp "$src" "$WORK/foreign.dat"
printf 'EM38 DATA' | dd of="$WORK/foreign.dat" bs=1 seek=0 conv=notrunc status=none
expect 1 "$WORK/foreign.dat" 'first record is not a header'

# Missing file.
expect 2 "$WORK/does-not-exist.dat"
expect 2 "$WORK"
"$QUELOR" check >/dev/null 2>&1
[ $? -eq 2 ] || fail "no argument should exit 2"

# Random bytes and random damage never crash the checker.
for i in $(seq 1 40); do
  head -c $((RANDOM % 3000)) /dev/urandom >"$WORK/random.dat"
  "$QUELOR" check "$WORK/random.dat" >/dev/null 2>&1
  status=$?
  [ "$status" -le 1 ] || fail "random bytes: exit $status"
  cp "$GOLDEN/Zelko61LX2.dat" "$WORK/damaged.dat"
  size=$(stat -c %s "$WORK/damaged.dat")
  head -c 16 /dev/urandom | dd of="$WORK/damaged.dat" bs=1 seek=$((RANDOM % size)) conv=notrunc status=none
  "$QUELOR" check "$WORK/damaged.dat" >/dev/null 2>&1
  status=$?
  [ "$status" -le 1 ] || fail "damaged file: exit $status"
done

[ "$failures" -eq 0 ] && echo "check_datafile: all passed"
exit $((failures > 0))
