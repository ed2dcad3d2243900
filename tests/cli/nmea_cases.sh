#!/usr/bin/env bash
# quelor nmea on a crafted log: line ends, broken checksums, truncated lines,
# binary noise, the zone fixed by the first fix, the total-station formats and
# their feet, and the argument errors.
set -euo pipefail
: "${QUELOR:?QUELOR must name the quelor tool}"
if ! command -v python3 >/dev/null; then echo "SKIP: python3 is not installed"; exit 77; fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$QUELOR" <<'PY'
import json, subprocess, sys
work, quelor = sys.argv[1], sys.argv[2]

def cs(body):
    x = 0
    for ch in body[1:]:
        x ^= ord(ch)
    return f"{body}*{x:02X}"

def run(args, data):
    res = subprocess.run([quelor, "nmea"] + args, input=data, capture_output=True, timeout=30)
    assert res.returncode == 0, (args, res.returncode, res.stderr)
    return [json.loads(l) for l in res.stdout.decode().splitlines()]

def near(a, b, tol=1e-9):
    assert abs(a - b) <= tol, (a, b)

gga1 = cs("$GPGGA,123519.50,4336.5940,N,07936.0000,W,2,08,0.9,545.4,M,46.9,M,,")
gga2 = cs("$GPGGA,123520.50,4336.5940,N,07754.0000,W,1,04,5.5,545.4,M,46.9,M,,")
gga_bad = gga1[:-2] + ("00" if gga1[-2:] != "00" else "11")
gga_nofix = cs("$GPGGA,123521.00,4336.5940,N,07936.0000,W,0,08,0.9,545.4,M,46.9,M,,")
gga_short = cs("$GPGGA,123522.00,433.65940,N,07936.0000,W,1,08,0.9,545.4,M,46.9,M,,")
gsv = cs("$GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45")
log = ("# receiver: crafted\n" + gga1 + "\r\n" + "\x00\xff\x01binary" + gsv + "\n" +
       "$GPGGA,123519,48" + gga2 + "\n" + gga_bad + "\r\n" + gga_nofix + "\n" + gga_short +
       "\r\n" + "$GPGGA,trailing-without-line-end").encode("latin-1")
out = run(["--format", "gga"], log)
assert [("rejected" in o) for o in out] == [False, False, True, False, False], out
a, b, r, c, d = out
assert a["sentence"] == gga1 and a["valid"] is True and a["satellites"] == 8 and a["quality"] == 2
assert a["label"] == "DGPS" and a["zone"] == 17
near(a["latitude"], 43.6099); near(a["longitude"], -79.6)
near(a["easting"], 612977.1258, 0.001); near(a["northing"], 4829498.9134, 0.001)
near(a["dilution"], 0.9); near(a["time"], 12 * 3600 + 35 * 60 + 19.5)
# The second fix lies in zone 18 but stays in the survey's zone 17.
assert b["zone"] == 17 and b["label"] == "AGPS" and b["satellites"] == 4
near(b["easting"], 750168.4781, 0.001); near(b["northing"], 4833217.1174, 0.001)
assert r == {"rejected": "checksum", "sentence": gga_bad}, r
assert c["valid"] is False and c["label"] == "NO FIX" and "latitude" not in c and "easting" not in c
assert d["valid"] is False and d["satellites"] == 8
# A given zone is used for every fix; the first fix alone with auto.
out = run(["--format", "gga", "--zone", "18"], log)
assert out[0]["zone"] == 18 and out[1]["zone"] == 18
out = run(["--format", "gga", "--zone", "auto"], (gga2 + "\n" + gga1 + "\n").encode())
assert out[0]["zone"] == 18 and out[1]["zone"] == 18
# GGA/GSA: no dilution key; GSA sentences are not positions.
out = run(["--format", "gga-gsa"], (gga1 + "\n" + cs("$GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") + "\n").encode())
assert len(out) == 1 and "dilution" not in out[0] and out[0]["valid"] is True

# GLL takes its time from field 6 and has no satellites or quality.
gll = cs("$GPGLL,4916.4500,S,12311.1200,E,225444.25,A")
o, = run(["--format", "gll"], (gll + "\n").encode())
near(o["time"], 22 * 3600 + 54 * 60 + 44.25); near(o["latitude"], -(49 + 16.45 / 60))
assert "satellites" not in o and "quality" not in o and "dilution" not in o and o["zone"] == 51
assert o["northing"] > 1000000  # false northing in the south

# Pseudo GLL needs no checksum.
o, = run(["--format", "pseudo-gll"], b"$GPGLL,4916.4500,N,12311.1200,W,225444.25,A\n")
assert o["valid"] is True and o["zone"] == 10

# LLK: grid values read directly, no geographic keys.
llk = cs("$GPLLK,113616.00,041006,764413.024,M,3503.723,M,3,08,0.010,1.0,M")
o, = run(["--format", "llk"], (llk + "\n").encode())
assert o["valid"] is True and o["label"] == "RTK3" and o["satellites"] == 8
near(o["easting"], 764413.024); near(o["northing"], 3503.723); near(o["dilution"], 0.01)
assert "latitude" not in o and "zone" not in o
assert run(["--format", "llq"], (llk + "\n").encode()) == []

# Pseudo GGA in feet, international and US survey; no checksum needed.
pg = b"$GPGGA,120000.00,100,,200,,,,,,F\n"
o, = run(["--format", "pseudo-gga"], pg)
near(o["northing"], 30.48); near(o["easting"], 60.96)
assert "satellites" not in o and "quality" not in o and "zone" not in o
o, = run(["--format", "pseudo-gga", "--rts-units", "us"], pg)
near(o["northing"], 30.4800609601219)
# p-GGA SLAM requires the checksum and shows the satellite count of field 8.
slam = cs("$GPGGA,120000.00,1234.5,,678.25,,4,07,0.5,1.25,M,2.5,x,3.75")
out = run(["--format", "pseudo-gga", "--slam"], (slam + "\n" + "$GPGGA,1,2,,3\n").encode())
assert out[0]["satellites"] == 7 and out[0]["valid"] is True, out
near(out[0]["northing"], 1234.5)
assert out[1]["rejected"] == "checksum"

# POS: quality plus one, time from the sentence's time field.
pos = cs("$PASHR,POS,1,07,174109.50,3722.36223,N,12159.82741,W,00016.06,????,000.00,000.00,+000.00,02.6,01.4,02.2,01.5")
o, = run(["--format", "pos"], (pos + "\n").encode())
assert o["quality"] == 2 and o["label"] == "AGPS" and o["valid"] is True
near(o["dilution"], 2.6); near(o["time"], 17 * 3600 + 41 * 60 + 9.5)

# GGK.
ggk = cs("$PTNL,GGK,172814.00,071296,3723.46587704,N,12202.26957864,W,3,06,1.7,EHT-6.777,M")
o, = run(["--format", "ggk"], (ggk + "\n").encode())
assert o["label"] == "RTK3" and o["satellites"] == 6 and o["zone"] == 10
near(o["time"], 17 * 3600 + 28 * 60 + 14)

# Over-long sentences wrap and fail their checksum; nothing else is printed.
long = cs("$GPGGA," + "1" * 250)
assert run(["--format", "gga"], (long + "\n").encode()) == []
print("cases ok")
PY

for bad in "" "--format" "--format xyz" "--format gga --zone 0" "--format gga --zone 61" \
           "--format gga --rts-units metric" "--format gga --frob" "--format gga a b" \
           "--format gga /nonexistent/file.log"; do
  set +e
  # shellcheck disable=SC2086
  "$QUELOR" nmea $bad < /dev/null > /dev/null 2> "$work/err"
  rc=$?
  set -e
  [ "$rc" -eq 2 ] || { echo "quelor nmea $bad: exit $rc, expected 2"; exit 1; }
  [ "$(wc -l < "$work/err")" -eq 1 ] || { echo "quelor nmea $bad: expected one error line"; cat "$work/err"; exit 1; }
done
echo "ok"
