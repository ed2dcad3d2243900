#!/bin/bash
# quelor map --background on a synthetic EM31-MK2 survey at 48 N 11 E (zone
# 32): a geodetic point file (its symbols found in the PNG where PROJ's
# cs2cs puts them), a UTM-feet file with labels and a break, an earlier
# EM38-4 data file (47-byte records, the program's own identification), a
# point far outside the tiles, and the refusals: a foreign data file, an
# empty text file, an eleventh file.
set -u
: "${QUELOR:?path of the quelor tool}"
command -v python3 >/dev/null || exit 77
command -v convert >/dev/null || exit 77
command -v cs2cs >/dev/null || exit 77
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

origin=$("$QUELOR" utm 48.0 11.0)
python3 - "$WORK" "$origin" <<'PY'
import json, sys
work, origin = sys.argv[1], json.loads(sys.argv[2])
E0, N0 = origin["easting"], origin["northing"]
def nmea(body):
    cs = 0
    for c in body: cs ^= ord(c)
    return "$%s*%02X" % (body, cs)
def dm(v, digits):
    d = int(abs(v)); return "%0*d%09.6f" % (digits, d, (abs(v) - d) * 60)
def gga(lat, lon):
    return nmea("GPGGA,080001.00,%s,%s,%s,%s,4,12,0.8,500.0,M,46.9,M,1.0,0000" %
                (dm(lat, 2), "N" if lat >= 0 else "S", dm(lon, 3), "E" if lon >= 0 else "W"))
def survey(path, L, ident, fixes, line_every=None):
    recs = []
    def rec(body, tick=None):
        body = body[:L - 1]
        if tick is not None: body = body[:L - 11].ljust(L - 11) + "%10d" % tick
        recs.append(body.ljust(L - 1) + "\n")
    rec(ident); rec("Hsurvey      0.200"); rec("G  0.000  0.000 70011")
    rec("G%14.3f 32" % E0); rec("G%14.3f" % N0)
    for i, (lat, lon) in enumerate(fixes):
        if i == 0 or (line_every and i % line_every == 0):
            rec("L%d" % i); rec("B       0.00"); rec("AN            1.000"); rec("Z09122026 08:00:00")
        s = gga(lat, lon)
        pieces = [s[k:k + L - 2] for k in range(0, len(s), L - 2)]
        for k, p in enumerate(pieces): rec(("@" if k == 0 else "#") + p)
        rec("!%06dp" % (i + 1), 2000 + i)
    open(path, "w").write("".join(recs))
survey(work + "/survey.R31", 27, "ZLK31   W230GPS00000 1", [(48.0, 11.0), (48.0001, 11.0)])
# The earlier survey: two lines of EM38-4 records north of the origin.
survey(work + "/earlier.38A", 47, "ZLK384  W100GPS00000 2 00 1",
       [(48.0 + 0.00002 * i, 11.0 + 0.00003) for i in range(8)], line_every=4)
open(work + "/foreign.H31", "w").write("FOREIGN FORMAT HEADER   \n" * 4)
open(work + "/empty.txt", "w").write("/ nothing here\r\nB\r\n")
# Geodetic points around the origin, one far away (outside the tiles).
pts = [(11.0 + dx * 0.0001, 48.0 + dy * 0.0001) for dx, dy in ((1, 1), (-1, 1), (1, -1), (-2, -2))]
with open(work + "/points.txt", "w") as f:
    f.write("/ lon lat\r\n")
    for lon, lat in pts: f.write("  %.7f    %.7f  \r\n" % (lon, lat))
    f.write("11.5 48.5\r\n")
open(work + "/points.ll", "w").write("".join("%.7f %.7f\n" % p for p in pts))
# UTM feet with labels as a spreadsheet writes them (a heading, decimal
# commas): a line, a break, a second line.
with open(work + "/plan.csv", "w") as f:
    f.write("Easting;Northing;Name\r\n")
    for k, (de, dn, lab) in enumerate(((-8, 6, "VALVE12"), (8, 6, "B"), (None, None, None), (-8, -6, "MH"), (8, -6, ""))):
        f.write("b\n" if de is None else ("%.3f;%.3f;%s\n" % ((E0 + de) / 0.3048, (N0 + dn) / 0.3048, lab)).replace(".", ","))
open(work + "/junk.txt", "w").write("1 1\n2 2\n3m 3\n")
PY

# The independent projection of the geodetic points, zone 32.
cs2cs +proj=longlat +datum=WGS84 +to +proj=utm +zone=32 +datum=WGS84 -f %.4f <"$WORK/points.ll" >"$WORK/points.utm" ||
  fail "cs2cs"

run() { "$QUELOR" map "$WORK/survey.R31" --out "$WORK/map.png" --map-size 40 --tile 200 "$@"; }
json=$(run --background "$WORK/points.txt,geodetic,space,display=4" \
  --background "$WORK/plan.csv,utm-ft,semicolon,labels=3,display=10" \
  --background "$WORK/earlier.38A,display=9") || fail "quelor map with background files"
convert "$WORK/map.png" "$WORK/map.ppm" || fail "convert"

python3 - "$WORK" "$json" <<'PY' || failures=$((failures + 1))
import json, sys
work, out = sys.argv[1], json.loads(sys.argv[2])
ok = True
def check(cond, what):
    global ok
    if not cond: print("FAIL:", what); ok = False
files = out["backgrounds"]
check(len(files) == 3, "three background files: %s" % files)
check(files[0]["points"] == 5 and files[0]["invalid"] == 1, "points.txt: 5 points, 1 invalid: %s" % files[0])
check(files[0].get("message", "").startswith("WARNING: Number of points in background file: 5"), "warning %s" % files[0])
check(files[1]["points"] == 4 and files[1]["invalid"] == 0, "plan.csv: %s" % files[1])
check(files[2]["points"] == 8 and files[2]["invalid"] == 0, "earlier.38A: %s" % files[2])
raw = open(work + "/map.ppm", "rb").read()
parts = raw.split(maxsplit=4)
w, h = int(parts[1]), int(parts[2])
pix = parts[4]
def at(x, y): i = 3 * (y * w + x); return tuple(pix[i:i + 3])
green = (0, 128, 0)
a, _, _, d, c, f = [float(v) for v in open(work + "/map.pgw").read().split()]
def to_pixel(e, n): return int(round((e - c) / a)), int(round((n - f) / d))
def near_green(x, y, r=1):
    return any(0 <= x + i < w and 0 <= y + j < h and at(x + i, y + j) == green for i in range(-r, r + 1) for j in range(-r, r + 1))
for line in open(work + "/points.utm"):
    e, n = [float(v) for v in line.split()[:2]]
    x, y = to_pixel(e, n)
    check(near_green(x, y), "a square at %.3f %.3f (pixel %d %d)" % (e, n, x, y))
    check(not near_green(x + 9, y, 1), "nothing 9 pixels east of %d %d" % (x, y))
E0, N0 = out["origin"]
# plan.csv: the upper line is drawn, the break leaves the gap between the lines.
x0, y0 = to_pixel(E0 - 4, N0 + 6)
check(near_green(x0, y0, 2), "the upper line of plan.csv near %d %d" % (x0, y0))
x1, y1 = to_pixel(E0 + 8, N0)
check(not near_green(x1, y1, 3), "no line across the break at %d %d" % (x1, y1))
# A label right of the first point.
xl, yl = to_pixel(E0 - 8, N0 + 6)
check(sum(at(x, y) == green for x in range(xl + 3, xl + 40) for y in range(yl - 6, yl + 6)) > 30, "label VALVE")
# The earlier survey's first line, 0.00003 deg east of the origin's meridian.
xe, ye = to_pixel(E0 + 2.236, N0 + 3.3)
check(any(near_green(xe, ye + k, 3) for k in range(-8, 9)), "the earlier survey's line near %d %d" % (xe, ye))
sys.exit(0 if ok else 1)
PY

expect_error() {
  local want=$1 out
  shift
  out=$(run "$@" 2>&1 >/dev/null) && fail "accepted: $*"
  [[ "$out" == *"$want"* ]] || fail "\"$want\" not in: $out"
}
expect_error "Format not supported" --background "$WORK/foreign.H31"
expect_error "Check background file structure." --background "$WORK/empty.txt"
expect_error 'Check background file structure. Line 3: "3m" in column 1 is not a number' \
  --background "$WORK/junk.txt,utm-m,space"
expect_error "Same column selected for UTM coordinates. Please correct." --background "$WORK/plan.csv,northing=1"
many=()
for _ in $(seq 1 11); do many+=(--background "$WORK/points.txt,geodetic,space"); done
expect_error "Maximum 10 background files already loaded" "${many[@]}"

[ "$failures" -eq 0 ] && echo "map_background: PASS"
exit $((failures > 0))
