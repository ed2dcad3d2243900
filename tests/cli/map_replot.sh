#!/bin/bash
# quelor map on a synthetic EM31-MK2 survey file: one strip of three
# readings between two bars, a pause, a second swath; the PNG pixels, the
# world file and the JSON summary; bad input.
set -u
: "${QUELOR:?path of the quelor tool}"
command -v python3 >/dev/null || exit 77
command -v convert >/dev/null || exit 77
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

origin=$("$QUELOR" utm 48.0 11.0)
python3 - "$WORK/survey.R31" "$origin" "$WORK/far.R31" <<'PY'
import json, sys
path, origin, far_path = sys.argv[1], json.loads(sys.argv[2]), sys.argv[3]
E0, N0 = origin["easting"], origin["northing"]
L = 27
recs = []
def rec(body, tick=None):
    body = body[:L - 1]
    if tick is not None:
        body = body[:L - 11].ljust(L - 11) + "%10d" % tick
    recs.append(body.ljust(L - 1) + "\n")
def nmea(body):
    cs = 0
    for c in body: cs ^= ord(c)
    return "$%s*%02X" % (body, cs)
def gps(sentence, tick):
    pieces = [sentence[i:i + L - 2] for i in range(0, len(sentence), L - 2)]
    for i, p in enumerate(pieces): rec(("@" if i == 0 else "#") + p)
    rec("!000001p", tick)
def reading(conductivity, tick):
    rec("T %+05d+0000" % round(-4 * conductivity) + "    ", tick)
def bar(el, nl, er, nr):
    for letter, v in zip("abcd", (el, nl, er, nr)): rec("{%s%14.3f" % (letter, v))
rec("ZLK31   W230GPS00000 1")
rec("Hsurvey      0.200")
rec("G  0.000  0.000 70011")
rec("G%14.3f 32" % E0)
rec("G%14.3f" % N0)
rec("L1"); rec("B       0.00"); rec("AN            1.000"); rec("Z09122026 08:00:00")
rec("*08:00:00.000", 1000)
rec("X$STARTED", 2000)
gps(nmea("GPGGA,080001.00,4800.000000,N,01100.000000,E,4,12,0.8,500.0,M,46.9,M,1.0,0000"), 2100)
rec("{0%14.3f" % 0.0)
for c, t in ((100, 2200), (250, 2300), (450, 2400)): reading(c, t)
bar(E0 + 1.0, N0 + 1.0, E0 + 1.0, N0 - 1.0)
bar(E0 + 5.0, N0 + 1.0, E0 + 5.0, N0 - 1.0)
rec("XPAUSED", 3000)
reading(490, 3100)  # outside a swath: not mapped
rec("X$STARTED", 4000)
rec("{0%14.3f" % 0.0)
reading(5, 4100)
bar(E0 + 5.0, N0 - 3.0, E0 + 5.0, N0 - 5.0)
bar(E0 + 9.0, N0 - 3.0, E0 + 9.0, N0 - 5.0)
open(path, "w").write("".join(recs))
# A third swath 50 m north-east: tiles of the image's rectangle stay untouched.
rec("{0%14.3f" % 0.0)
reading(5, 4200)
bar(E0 + 50.0, N0 + 51.0, E0 + 50.0, N0 + 49.0)
bar(E0 + 54.0, N0 + 51.0, E0 + 54.0, N0 + 49.0)
open(far_path, "w").write("".join(recs))
PY

out=$("$QUELOR" map "$WORK/survey.R31" --out "$WORK/map.png" 2>"$WORK/err")
status=$?
[ "$status" -eq 0 ] || fail "exit $status: $(cat "$WORK/err")"
for want in '"variant":[0,0]' '"pixels_per_unit":10' '"tile":400' '"columns":[1000,1001]' '"rows":[999,1000]' \
  '"width":800' '"height":800' '"swaths":2' '"bars":2' '"readings":4' '"map_full":0' "\"png\":\"$WORK/map.png\""; do
  grep -qF -- "$want" <<<"$out" || fail "JSON lacks $want: $out"
done

# pixel PX PY R G B: world pixel (px, py) of the image (column a = 1000, row d = 1000).
pixel() {
  local i=$(($2 + 399)) j=$((399 - $3))
  local got
  got=$(convert "$1" -format "%[fx:int(255*p{$i,$j}.r)],%[fx:int(255*p{$i,$j}.g)],%[fx:int(255*p{$i,$j}.b)]" info:)
  [ "$got" = "$4,$5,$6" ] || fail "$1 pixel ($2,$3) is $got, expected $4,$5,$6"
}
pixel "$WORK/map.png" 15 5 0 160 255    # class 10: the first reading
pixel "$WORK/map.png" 30 5 64 255 0     # class 25
pixel "$WORK/map.png" 45 5 255 0 32     # class 45: the newest reading of the segment
pixel "$WORK/map.png" 70 -35 32 0 255   # second swath, class 0
pixel "$WORK/map.png" 25 -55 255 255 255  # between the swaths: untouched
pixel "$WORK/map.png" 60 0 192 192 192  # a grid line (every 2 m)

# World file: 1/k, 0, 0, -1/k, the top-left pixel's centre (world px -399, py 399).
read -r -d '' world <"$WORK/map.pgw"
python3 - "$world" "$origin" <<'PY' || fail "world file: $world"
import json, sys
v = [float(x) for x in sys.argv[1].split()]
o = json.loads(sys.argv[2])
want = [0.1, 0, 0, -0.1, o["easting"] - 39.9, o["northing"] + 39.9]
assert len(v) == 6 and all(abs(a - b) < 1e-3 for a, b in zip(v, want)), v
PY

# An untouched tile of the rectangle (column 1002, row 999) has its grid; the
# image's top-left is world pixel (-400, 799) here.
out=$("$QUELOR" map "$WORK/far.R31" --out "$WORK/far.png")
grep -qF '"columns":[1000,1002],"rows":[999,1001]' <<<"$out" || fail "far swath: $out"
far_pixel() {
  local got
  got=$(convert "$WORK/far.png" -format "%[fx:int(255*p{$(($1 + 400)),$((799 - $2))}.r)]" info:)
  [ "$got" = "$3" ] || fail "far.png pixel ($1,$2) is $got, expected $3"
}
far_pixel 600 -200 192  # a grid line in the untouched tile
far_pixel 610 -210 255
far_pixel -200 600 192   # and in the one at the other corner
far_pixel -210 610 255

out=$("$QUELOR" map "$WORK/survey.R31" --out "$WORK/dots.png" --view 0 --position-size 3 --grid none)
grep -qF '"bars":4' <<<"$out" || fail "positions view: $out"
pixel "$WORK/dots.png" 10 0 0 0 255     # a dot of the position colour at the bar's middle
pixel "$WORK/dots.png" 30 5 255 255 255

# Bad input: one line on stderr, exit 2.
bad() {
  "$QUELOR" map "$@" >"$WORK/out" 2>"$WORK/err"
  local status=$?
  [ "$status" -eq 2 ] || fail "$*: exit $status"
  [ "$(wc -l <"$WORK/err")" -eq 1 ] || fail "$*: stderr $(cat "$WORK/err")"
}
bad "$WORK/missing.R31"
bad "$WORK/survey.R31" --tile 0
bad "$WORK/survey.R31" --view 9
bad "$WORK/survey.R31" --scale 5,1
bad "$WORK/survey.R31" --grid dots
head -c 270 "$WORK/survey.R31" >"$WORK/nogps.R31"
bad "$WORK/nogps.R31"
printf 'not a survey\n' >"$WORK/text.R31"
bad "$WORK/text.R31"

[ "$failures" -eq 0 ] && echo "map_replot: ok"
exit $((failures > 0))
