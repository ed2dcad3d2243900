#!/bin/bash
# quelor decode on crafted serial bytes: JSON per record, garbage never
# crashes, bad arguments give exit status 2.
set -u
Q=${QUELOR:?QUELOR not set}
fail=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() {  # name, expected output, actual output
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"
    echo "  expected: $2"
    echo "  actual:   $3"
    fail=1
  fi
}

xor_checksum() {
  local s=$1 x=0 i
  for ((i = 0; i < ${#s}; i++)); do
    x=$((x ^ $(printf '%d' "'${s:i:1}")))
  done
  printf '%02X' "$x"
}

# EM31-MK2 joined mid-record: the partial line is ignored.
out=$(printf '34-0567\rT\x2001234-0567\rT\x0400100+0200\r' | "$Q" decode --instrument em31mk2)
check em31mk2 '{"record":"542030313233342d30353637","dipole":"V","mode":"N","range":1000,"slots":[-308.5,null,1.4175,null,null,null,null,null]}
{"record":"540430303130302b30323030","dipole":"H","mode":"N","range":100,"slots":[null,-2.5,null,-0.5,null,null,null,null]}' "$out"

# Mode letter "M", and always "N" in Manual mode.
out=$(printf 'T\x6001234-0567\r' | "$Q" decode --instrument EM31MK2 | grep -o '"mode":"."')
check em31mk2-mode '"mode":"M"' "$out"
out=$(printf 'T\x6001234-0567\r' | "$Q" decode --instrument em31mk2 --manual | grep -o '"mode":"."')
check em31mk2-manual '"mode":"N"' "$out"

# EM38, seven-character records detected from the stream.
out=$(printf 'T\x2301000\rT\x2700500\r' | "$Q" decode --instrument em38)
check em38 '{"record":"54233031303030","dipole":"V","mode":"N","range":1000,"slots":[-28.8,null,null,null,null,null,null,null]}
{"record":"54273030353030","dipole":"V","mode":"N","range":1000,"slots":[null,null,-500,null,null,null,null,null]}' "$out"
"$Q" decode --instrument em38 < <(printf 'T\x23012345\r') > /dev/null 2>&1
check em38-nine-characters 2 $?

# EM34-3: horizontal 40 m range 3, horizontal 20 m range 1000.
out=$(printf 'T\x380200000000\rT\x2100010abcde\r' | "$Q" decode --instrument em34-3)
check em34-3 '{"record":"543830323030303030303030","dipole":"H","mode":"N","range":3,"slots":[null,null,null,null,null,-1.5,null,null]}
{"record":"542130303031306162636465","dipole":"H","mode":"N","range":1000,"slots":[null,null,null,null,-2.5,null,null,null]}' "$out"

# EM38-MK2: words 0xC000 give u = (49152 * 5 / 1024 - 160) * 8 = 640; mode byte 2: "N", "H".
out=$(printf '\xff\x01T\x02\xc0\x00\xc0\x00\xc0\x00\xc0\x00\x01\x02\xfe\xdc\xff\xff' | "$Q" decode --instrument em38mk2)
check em38mk2 '{"record":"5402c000c000c000c0000102fedc","dipole":"H","mode":"N","slots":[null,640,null,18.44416,null,640,null,4.61104],"raw":[258,65244]}' "$out"

# EM38-4: pair words 0xC000 (u = 640), extra words 1024:
# 1024 * 0.66667 - 4 = 678.67008, (1024 - 31) / 3.1 - 40 = 280.322580645.
rec='T\x06'; for i in 1 2 3 4 5 6 7 8; do rec="$rec\\xc0\\x00"; done
rec="$rec\\x04\\x00\\x04\\x00\\x04\\x00\\x04\\x00"
out=$(printf "$rec\\xff\\xff" | "$Q" decode --instrument em38-4)
check em38-4 '{"record":"5406c000c000c000c000c000c000c000c0000400040004000400","mode":"N","slots":[640,18.304,640,14.208,640,4.5824,640,10.304],"extra":[678.67008,678.67008,280.322580645,280.322580645]}' "$out"

# EM61-MK2: J is accepted by the second-mode reader only.
em61='J\x55\x03\xe8\xf8\x30\x01\x2c\x0f\xa0\x07\xd0\x21\x7f\x7f'
out=$(printf "$em61" | "$Q" decode --instrument em61mk2 --coil-type 2)
check em61mk2-continuous '' "$out"
out=$(printf "$em61" | "$Q" decode --instrument em61mk2 --second-mode --coil-type 2)
check em61mk2-second '{"record":"4a5503e8f830012c0fa007d0217f","letter":"J","channels":[241.665,-483.33,72.4995,966.66],"current":2000}' "$out"

# EM61-MK2 coil types: the High Power coil's current is divided by 1.152 and
# read on its own gate row; through the normalisation the channels differ.
em61d='D\x55\x03\xe8\xf8\x30\x01\x2c\x0f\xa0\x07\xd0\x21\x7f\x7f'
coil() { printf "$em61d" | "$Q" decode --instrument em61mk2 --coil-type "$1" --normalisation 1; }
check "em61mk2 High Power current" '2000' "$(coil 3 | sed 's/.*"current":\([^}]*\)}/\1/')"
check "em61mk2 High Power divided current" "$(python3 -c 'print(f"{2000/1.152:.2f}")')" \
  "$(coil 1 | sed 's/.*"current":\([^}]*\)}/\1/' | xargs printf '%.2f')"

# EM61-LX2 one coil, range byte 0xFF: factors 100; F = E - L x 310 / 1000.
# It is never normalised: a ring asked for changes nothing.
lx2='T\xff\x00\x64\xff\x38\x01\x2c\x01\x90\x09\xc4\x00\x7f\x7f'
out=$(printf "$lx2" | "$Q" decode --instrument em61lx2)
check em61lx2 '{"record":"54ff0064ff38012c019009c4007f","letter":"T","channels":[20,-40,32.4],"current":2500}' "$out"
check em61lx2-never-normalised "$out" "$(printf "$lx2$lx2" | "$Q" decode --instrument em61lx2 --normalisation 2 | head -1)"

# Grad601 and CS-21 lines.
out=$(printf 'noise\r\n$PBAR,12.5,-3.25*1F\r\n' | "$Q" decode --instrument grad601 --two-sensors)
check grad601 '{"record":"24504241522c31322e352c2d332e32352a3146","values":[12.5,-3.25]}' "$out"
out=$(printf '$PDLMA,123.4,1.5,-2,abc,,3.5e1\r\n' | "$Q" decode --instrument cs21)
check cs21 '{"record":"2450444c4d412c3132332e342c312e352c2d322c6162632c2c332e356531","values":[1.5,-2,null,null],"flag":"A"}' "$out"

# Tilt: a good sentence and one with a wrong checksum.
body='PTILT,1.25,-0.50'
sum=$(xor_checksum "$body")
out=$(printf '$%s*%s\r\n$%s*00\r\n' "$body" "$sum" "$body" | "$Q" decode --instrument tilt | grep -o '"valid":[a-z]*' | tr '\n' ' ')
check tilt '"valid":true "valid":false ' "$out"

# Garbage never crashes.
head -c 300000 /dev/urandom > "$work/garbage"
for name in em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2 tilt; do
  for opts in "" "--two-sensors --second-mode --normalisation 5 --coil-type 3 --inphase-only"; do
    "$Q" decode --instrument "$name" $opts "$work/garbage" > /dev/null 2>&1
    rc=$?
    if [ $rc -ne 0 ] && [ $rc -ne 2 ]; then
      echo "FAIL garbage $name $opts: exit status $rc"
      fail=1
    fi
  done
done

# Bad arguments and unreadable files: exit 2 with one line on stderr.
for args in "--instrument nosuch" "" "--instrument" "--instrument em61mk2 --coil-type 9" \
  "--instrument em31mk2 --bogus" "--instrument em31mk2 $work/missing" "--instrument em38 --record-length 9" \
  "--instrument em61mk2 --subtype 2"; do
  "$Q" decode $args < /dev/null > /dev/null 2> "$work/err"
  rc=$?
  check "bad args '$args' status" 2 "$rc"
  check "bad args '$args' stderr lines" 1 "$(wc -l < "$work/err")"
done

exit $fail
