#!/usr/bin/env bash
# quelor utm against PROJ's cs2cs: a few thousand deterministic points over all
# 60 zones, both hemispheres, latitudes -80...84, up to 3.5 degrees from the
# central meridian; every coordinate must agree to 1 mm.
set -euo pipefail
: "${QUELOR:?QUELOR must name the quelor tool}"
if ! command -v cs2cs >/dev/null; then echo "SKIP: cs2cs (proj-bin) is not installed"; exit 77; fi
if ! command -v python3 >/dev/null; then echo "SKIP: python3 is not installed"; exit 77; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Points: per zone 60, "lat lon zone" with a linear congruential generator.
python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
state = 12345
def rnd():
    global state
    state = (state * 1103515245 + 12345) % 2**31
    return state / 2**31
with open(f"{work}/points", "w") as pts:
    for zone in range(1, 61):
        cm = zone * 6 - 183
        for i in range(60):
            lat = -80 + 164 * rnd()
            if i == 0: lat = -80.0
            if i == 1: lat = 84.0
            if i == 2: lat = -0.000001
            off = (rnd() * 2 - 1) * 3.5
            if i in (3, 4): off = 3.5 if i == 3 else -3.5
            lon = cm + off
            lon = lon + 360 if lon < -180 else lon - 360 if lon > 180 else lon
            pts.write(f"{lat:.9f} {lon:.9f} {zone}\n")
PY
wc -l < "$work/points" | xargs echo "points:"

# PROJ, one call per zone and hemisphere, keeping the order of the points.
: > "$work/proj"
python3 - "$work" <<'PY'
import subprocess, sys
work = sys.argv[1]
pts = [l.split() for l in open(f"{work}/points")]
out = [None] * len(pts)
groups = {}
for i, (lat, lon, zone) in enumerate(pts):
    groups.setdefault((zone, float(lat) < 0), []).append(i)
for (zone, south), idx in groups.items():
    args = ["cs2cs", "-f", "%.4f", "+proj=longlat", "+datum=WGS84", "+to", "+proj=utm",
            f"+zone={zone}", "+datum=WGS84"] + (["+south"] if south else [])
    text = "".join(f"{pts[i][1]} {pts[i][0]}\n" for i in idx)
    res = subprocess.run(args, input=text, capture_output=True, text=True, check=True).stdout.splitlines()
    for i, line in zip(idx, res):
        e, n = line.split()[:2]
        out[i] = f"{e} {n}"
open(f"{work}/proj", "w").write("\n".join(out) + "\n")
PY

"$QUELOR" utm --batch < "$work/points" > "$work/quelor"

python3 - "$work" <<'PY'
import json, sys
work = sys.argv[1]
pts = [l.split() for l in open(f"{work}/points")]
proj = [tuple(map(float, l.split())) for l in open(f"{work}/proj")]
mine = [json.loads(l) for l in open(f"{work}/quelor")]
assert len(pts) == len(proj) == len(mine), (len(pts), len(proj), len(mine))
worst, where, bad = 0.0, None, 0
for p, (e, n), m in zip(pts, proj, mine):
    if m["zone"] != int(p[2]):
        print("zone differs", p, m); bad += 1
    d = max(abs(m["easting"] - e), abs(m["northing"] - n))
    if d > worst: worst, where = d, (p, e, n, m)
    if d > 0.001: bad += 1
print(f"worst difference {worst * 1000:.3f} mm at {where}")
sys.exit(1 if bad else 0)
PY

# Single points and the argument checks.
out=$("$QUELOR" utm 43.6099 -79.6)
echo "$out" | grep -q '"zone":17' || { echo "zone 17 expected: $out"; exit 1; }
out=$("$QUELOR" utm 43.6099 -77.9 --zone 17)
echo "$out" | grep -q '"easting":750168.478' || { echo "forced zone: $out"; exit 1; }
out=$("$QUELOR" utm 10 180)
echo "$out" | grep -q '"zone":60' || { echo "longitude 180: $out"; exit 1; }
for bad in "" "1" "1 2 3" "abc 2" "1 abc" "95 0" "0 181" "1 2 --zone 0" "1 2 --zone 61" "1 2 --zone" "1 2 --frob"; do
  set +e
  # shellcheck disable=SC2086
  "$QUELOR" utm $bad > /dev/null 2> "$work/err"
  rc=$?
  set -e
  [ "$rc" -eq 2 ] || { echo "quelor utm $bad: exit $rc, expected 2"; exit 1; }
  [ "$(wc -l < "$work/err")" -eq 1 ] || { echo "quelor utm $bad: expected one error line"; exit 1; }
done
echo "ok"
