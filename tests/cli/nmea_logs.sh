#!/usr/bin/env bash
# Real receiver logs through quelor nmea with every format: no crash, one JSON
# object per line, and the fixes agree with a separate reading of the same
# sentences (validity, satellites, quality, label, position, time) and lie in
# their zone's band.
set -euo pipefail
: "${QUELOR:?QUELOR must name the quelor tool}"
logs="${SHARED_DIR:-}/nmea"
if [ -z "${SHARED_DIR:-}" ] || ! ls "$logs"/*.log >/dev/null 2>&1; then
  echo "SKIP: no NMEA logs under \$SHARED_DIR/nmea"; exit 77
fi
if ! command -v python3 >/dev/null; then echo "SKIP: python3 is not installed"; exit 77; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

formats="gga-gsa gga pos llk llq gll ggk pseudo-gga pseudo-gll"
for log in "$logs"/*.log; do
  for f in $formats; do
    out="$work/$(basename "$log" .log).$f.jsonl"
    set +e
    timeout 60 "$QUELOR" nmea --format "$f" "$log" > "$out" 2> "$work/err"
    rc=$?
    set -e
    if [ "$rc" -ne 0 ]; then echo "FAIL: $log --format $f exited $rc: $(cat "$work/err")"; exit 1; fi
  done
done
# The same log through stdin gives the same output.
first=$(ls "$logs"/*.log | head -1)
"$QUELOR" nmea --format gga < "$first" | cmp -s - "$work/$(basename "$first" .log).gga.jsonl" \
  || { echo "FAIL: stdin and file output differ"; exit 1; }

python3 - "$work" <<'PY'
import glob, json, math, os, sys

NAMES = {"gga-gsa": "GGA", "gga": "GGA", "pos": "POS", "llk": "LLK", "llq": "LLQ", "gll": "GLL",
         "ggk": "GGK", "pseudo-gga": "GGA", "pseudo-gll": "GLL"}
# (satellites, quality, ns, lat, ew, lon, dilution, time) field numbers, head = 1.
GEO = {"gga-gsa": (8, 7, 4, 3, 6, 5, None, 2), "gga": (8, 7, 4, 3, 6, 5, 9, 2),
       "pos": (4, 3, 7, 6, 9, 8, 15, 5), "gll": (None, None, 3, 2, 5, 4, None, 6),
       "pseudo-gll": (None, None, 3, 2, 5, 4, None, 6), "ggk": (10, 9, 6, 5, 8, 7, 11, 3)}
LABELS = ["NO FIX", "AGPS", "DGPS"] + [f"RTK{i}" for i in range(3, 10)]

def field(s, n):
    parts = s.split(",")
    return parts[n - 1] if n - 1 < len(parts) else None

def atoi(t):
    t = t or ""
    i, sign, v = 0, 1, 0
    if t[:1] in "+-" and t: sign = -1 if t[0] == "-" else 1; i = 1
    while i < len(t) and t[i] in "0123456789": v = v * 10 + int(t[i]); i += 1
    return max(-2**31, min(2**31 - 1, sign * v))  # saturated like the reader

def atof(t):
    t = t or ""
    best = 0.0
    for j in range(len(t), 0, -1):
        try:
            v = float(t[:j])
            if t[:j].strip().lower() in ("inf", "nan", "infinity", "+inf", "-inf", "+nan", "-nan"): continue
            return v
        except ValueError:
            pass
    return best

def angle(t, deg, sign):
    if t is None or t.find(".") != deg + 2: return None
    v = (atoi(t[:deg]) + atof(t[deg:]) / 60) * sign
    return v if math.isfinite(v) else None

def hemi(t):
    return {"S": -1, "W": -1, "N": 1, "E": 1}.get(t)

def tod(t):
    t = t or ""
    return atoi(t[0:2]) * 3600 + (atoi(t[2:4]) if len(t) > 2 else 0) * 60 + (atof(t[4:]) if len(t) > 4 else 0)

checked = fixes = valid = 0
for path in sorted(glob.glob(os.path.join(sys.argv[1], "*.jsonl"))):
    fmt = path.rsplit(".", 2)[1]
    zone = None
    for line in open(path, encoding="utf-8"):
        o = json.loads(line)
        if "rejected" in o:
            assert o["rejected"] == "checksum", o
            continue
        s = o["sentence"]
        assert NAMES[fmt] in s, (path, s)
        fixes += 1
        assert isinstance(o["valid"], bool) and isinstance(o["time"], (int, float)), o
        if fmt in GEO:
            sat_f, q_f, ns_f, lat_f, ew_f, lon_f, dil_f, t_f = GEO[fmt]
            ok = True
            if sat_f:
                sats = atoi(field(s, sat_f))
                assert o["satellites"] == sats, (path, o)
                ok &= sats >= 2
            if q_f:
                qt = field(s, q_f)
                q = atoi(qt)
                if fmt == "pos": q = min(q + 1, 2**31 - 1)
                assert o["quality"] == q, (path, o)
                if qt is None: assert "label" not in o, o
                else:
                    exp = LABELS[int(qt[0])] if qt[:1].isdigit() else "UNKW"
                    assert o["label"] == exp, (path, o, exp)
                if fmt in ("gga", "gga-gsa") and q == 0: ok = False
            sn, se = hemi(field(s, ns_f)), hemi(field(s, ew_f))
            ok &= sn is not None and se is not None
            lat = angle(field(s, lat_f), 2, sn or 1)
            lon = angle(field(s, lon_f), 3, se or 1)
            ok &= lat is not None and lon is not None
            assert o["valid"] == ok, (path, o, ok)
            if dil_f: assert abs(o["dilution"] - atof(field(s, dil_f))) < 1e-9 or (math.isnan(atof(field(s, dil_f)))), o
            assert abs(o["time"] - tod(field(s, t_f))) < 1e-6, (path, o, tod(field(s, t_f)))
            if ok:
                valid += 1
                assert abs(o["latitude"] - lat) < 1e-9 and abs(o["longitude"] - lon) < 1e-9, (path, o, lat, lon)
                assert 1 <= o["zone"] <= 60, o
                zone = zone or o["zone"]
                assert o["zone"] == zone, (path, o, zone)  # fixed by the first fix
                if -80 <= lat <= 84:
                    cm = zone * 6 - 183
                    if abs(lon - cm) <= 6:
                        assert 0 < o["easting"] < 1000000, (path, o)
                        if lat >= 0: assert 0 <= o["northing"] < 9400000, (path, o)
                        else: assert 1000000 < o["northing"] <= 10000000, (path, o)
            else:
                assert "latitude" not in o and "easting" not in o, o
            checked += 1
        else:
            assert "latitude" not in o, o
            if o["valid"]:
                valid += 1
                assert math.isfinite(o["northing"]) and math.isfinite(o["easting"]), o
print(f"{fixes} fixes, {checked} cross-checked, {valid} valid")
assert fixes > 1000 and valid > 500, "the logs should give many fixes"
PY
echo "ok"
