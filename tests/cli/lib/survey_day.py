#!/usr/bin/env python3
"""A synthetic EM31-MK2 survey data file (real-time map line, 27-byte
records) as the program logs a lawnmower walk: per line a line block and a
time mark, GGA sentences at 1 Hz with their swath cross-lines, readings at
RATE a second between them, a pause at the end of each line. Lines run north
and south, SPACING metres apart, each LENGTH metres long, swaths SPACING
wide. --skip leaves lines out (a gap), --breaks adds a connection break, its
reconnection and a lost-readings remark, --fast walks a line at 6 m/s,
--poor-gps logs a line on fix quality 1 with 5 satellites and HDOP 4. Positions are made in UTM zone 32
and turned into latitude and longitude with PROJ's cs2cs."""
import argparse, math, subprocess

p = argparse.ArgumentParser()
p.add_argument("out")
p.add_argument("--lines", type=int, default=8)
p.add_argument("--length", type=float, default=40.0)
p.add_argument("--spacing", type=float, default=1.0)
p.add_argument("--rate", type=int, default=10)
p.add_argument("--speed", type=float, default=1.0)
p.add_argument("--skip", type=int, action="append", default=[])
p.add_argument("--breaks", action="store_true")
p.add_argument("--fast", type=int, action="append", default=[])
p.add_argument("--poor-gps", type=int, action="append", default=[])
a = p.parse_args()

E0, N0 = 655000.0, 5319000.0   # zone 32, southern Germany
L = 27
recs = []

def rec(body, tick=None):
    body = body[:L - 1]
    if tick is not None:
        body = body[:L - 11].ljust(L - 11) + "%10d" % tick
    recs.append(body.ljust(L - 1) + "\n")

def nmea(body):
    cs = 0
    for c in body:
        cs ^= ord(c)
    return "$%s*%02X" % (body, cs)

# The walk: one fix a second along each line.
fixes = []   # (line, easting, northing)
for line in range(a.lines):
    e = E0 + line * a.spacing
    speed = 6.0 if line in a.fast else a.speed
    n_fix = int(a.length / speed) + 1
    for k in range(n_fix):
        along = k * speed
        n = N0 + (along if line % 2 == 0 else a.length - along)
        fixes.append((line, e, n))
pts = "\n".join("%.3f %.3f" % (e, n) for _, e, n in fixes) + "\n"
out = subprocess.run(["cs2cs", "-f", "%.9f", "+proj=utm", "+zone=32", "+datum=WGS84", "+to", "+proj=longlat",
                      "+datum=WGS84"], input=pts, capture_output=True, text=True, check=True).stdout.split("\n")
lonlat = [tuple(map(float, l.split()[:2])) for l in out if l.strip()]

def value(e, n):
    # conductivity in mS/m: a background and a round target in the middle
    ce, cn = E0 + a.lines * a.spacing / 2, N0 + a.length / 2
    return 20 + 60 * math.exp(-((e - ce) ** 2 + (n - cn) ** 2) / 50.0)

def gga(t, lon, lat, poor=False):
    lat_d, lon_d = int(lat), int(lon)
    hh, mm, ss = int(t // 3600) % 24, int(t // 60) % 60, t % 60
    fix = "1,05,4.0" if poor else "4,12,0.8"
    return nmea("GPGGA,%02d%02d%05.2f,%02d%09.6f,N,%03d%09.6f,E,%s,500.0,M,46.9,M,1.0,0000" % (
        hh, mm, ss, lat_d, (lat - lat_d) * 60, lon_d, (lon - lon_d) * 60, fix))

def gps(sentence, tick):
    pieces = [sentence[i:i + L - 2] for i in range(0, len(sentence), L - 2)]
    for i, piece in enumerate(pieces):
        rec(("@" if i == 0 else "#") + piece)
    rec("!000001p", tick)

rec("ZLK31   W230GPS00000 1")
rec("Hday         0.100")
rec("G  0.000  0.000 70011")
rec("G%14.3f 32" % E0)
rec("G%14.3f" % N0)

tick = 100000
clock = 8 * 3600.0        # local and GPS time of day, seconds
half = a.spacing / 2
i = 0
while i < len(fixes):
    line = fixes[i][0]
    j = i
    while j < len(fixes) and fixes[j][0] == line:
        j += 1
    if line in a.skip:
        i = j
        continue
    rec("L%d" % (line + 1)); rec("B       0.00"); rec("AN            1.000")
    rec("Z09122026 %02d:%02d:%02d" % (clock // 3600, clock // 60 % 60, clock % 60))
    rec("*%02d:%02d:%02d.000" % (clock // 3600, clock // 60 % 60, clock % 60), tick)
    rec("X$STARTED", tick + 10)
    rec("{0%14.3f" % 0.0)
    for k in range(i, j):
        _, e, n = fixes[k]
        lon, lat = lonlat[k]
        gps(gga(clock, lon, lat, line in a.poor_gps), tick)
        for letter, v in zip("abcd", (e - half, n, e + half, n)):
            rec("{%s%14.3f" % (letter, v))
        if a.breaks and line == 1 and k == i + 3:
            rec("X1CONN BRK 1", tick + 50)
            rec("X1CONN RCN 1", tick + 900)
            rec("XLost     12", tick + 910)
            rec("{0%14.3f" % 0.0)  # the break closed the swath: the next fix starts a new one
        if k + 1 < j:
            _, e2, n2 = fixes[k + 1]
            for r in range(a.rate):
                f = (r + 0.5) / a.rate
                c = value(e + (e2 - e) * f, n + (n2 - n) * f)
                rec("T %+05d+0000    " % round(-4 * c), tick + int(1000 * f))
        tick += 1000
        clock += 1.0
    rec("XPAUSED", tick)
    tick += 5000
    clock += 5.0
    i = j

open(a.out, "w").write("".join(recs))
