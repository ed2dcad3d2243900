#!/bin/bash
# quelor grid on surveys logged by the simulator: GDAL reads back the size,
# geotransform, nodata, CRS and overviews the JSON line reports, the cells at
# the reading positions are within the reported misfit, the PNG and its world
# file; feet and southern surveys carry their unit and hemisphere; devsim
# truth writes the same frame; bad input exits 2 with one line on stderr, and
# so does a grid with no cell left (the cell larger than the survey, or all
# blanked); a missed line is blank (the second band says so: measured,
# interpolated, blank) unless --fill; the bands' descriptions and unit; two
# files or their folder gridded as one (mixed units refused), the picture's
# nodata transparent, its scale and its .prj, the KMZ, contours as GeoJSON,
# every channel a band (--all);
# progress lines for a long input. Outputs of grid, map, report, export and setup: never over an
# input (by any spelling, symbolic or hard link) or a survey data file; a
# complete output replaces the old file by a rename (the link stays a link);
# a full disk leaves the old file and nothing else.
set -u
: "${QUELOR:?path of the quelor tool}"
: "${BUILD_DIR:?build tree}"
DEVSIM="$BUILD_DIR/devsim"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
# json FILE KEY: one value of the JSON line in FILE.
json() { python3 -c "import json,sys; v=json.load(open(sys.argv[1]))[sys.argv[2]]; print(json.dumps(v) if isinstance(v,list) else v)" "$1" "$2"; }

WALK=(--instrument em31mk2 --lines 12 --line-length 30 --spacing 1 --quality 4 --seed 2)
"$DEVSIM" survey "${WALK[@]}" --out "$WORK/north.T31" >/dev/null || fail "devsim survey: exit $?"
"$DEVSIM" survey "${WALK[@]}" --feet --out "$WORK/feet.T31" >/dev/null || fail "devsim survey --feet: exit $?"
"$DEVSIM" survey "${WALK[@]}" --origin -33.8688,151.2093 --out "$WORK/south.T31" >/dev/null || fail "devsim survey south: exit $?"

# Small cells, so that the grid has an overview.
"$QUELOR" grid "$WORK/north.T31" --cell 0.05 --out "$WORK/north.tif" --png >"$WORK/north.json" || fail "grid: exit $?"
[ "$(wc -l <"$WORK/north.json")" -eq 1 ] || fail "grid: not one JSON line"
[ "$(json "$WORK/north.json" channel)" = conductivity_vertical_mS_m ] || fail "default channel"
[ "$(json "$WORK/north.json" epsg)" = 32617 ] || fail "epsg: $(cat "$WORK/north.json")"
"$QUELOR" grid "$WORK/north.T31" --zone 18 --method nearest --out "$WORK/zone18.tif" >"$WORK/zone18.json" || fail "grid --zone 18"
[ "$(json "$WORK/zone18.json" epsg)" = 32618 ] || fail "--zone 18: $(cat "$WORK/zone18.json")"
[ -s "$WORK/north.png" ] && [ "$(wc -l <"$WORK/north.pgw")" -eq 6 ] || fail "no PNG or world file"

if command -v gdalinfo >/dev/null; then
  gdalinfo -json "$WORK/north.tif" >"$WORK/info.json" 2>"$WORK/gdal.err" || fail "gdalinfo: $(cat "$WORK/gdal.err")"
  python3 - "$WORK/info.json" "$WORK/north.json" <<'PY' || fail "gdalinfo disagrees with the JSON line"
import json, sys
info, grid = json.load(open(sys.argv[1])), json.load(open(sys.argv[2]))
band = info["bands"][0]
west, south, east, north = grid["extent"]
checks = {
    "size": info["size"] == [grid["columns"], grid["rows"]],
    "geotransform": info["geoTransform"] == [west, grid["cell"], 0.0, north, 0.0, -grid["cell"]],
    "extent": abs(west + grid["columns"] * grid["cell"] - east) < 1e-6 and abs(north - grid["rows"] * grid["cell"] - south) < 1e-6,
    "crs": 'ID["EPSG",32617]' in info["coordinateSystem"]["wkt"],
    "nodata": abs(band["noDataValue"] - float(grid["nodata"])) <= 1e-6 * abs(float(grid["nodata"])),
    "overviews": len(band.get("overviews", [])) >= 1
                 and band["overviews"][0]["size"] == [(grid["columns"] + 1) // 2, (grid["rows"] + 1) // 2],
    "type": band["type"] == "Float32",
    "tiles": band["block"] == [256, 256],
    "compression": info["metadata"]["IMAGE_STRUCTURE"]["COMPRESSION"] == "DEFLATE",
}
bad = [k for k, ok in checks.items() if not ok]
if bad:
    print("mismatch:", bad)
    sys.exit(1)
PY
  # GDAL's own check of the cloud-optimised layout, where its Python samples are.
  if /usr/bin/python3 -c "import osgeo_utils.samples.validate_cloud_optimized_geotiff" 2>/dev/null; then
    /usr/bin/python3 -m osgeo_utils.samples.validate_cloud_optimized_geotiff "$WORK/north.tif" >"$WORK/cog.txt" 2>&1 ||
      fail "not a valid cloud-optimised GeoTIFF: $(cat "$WORK/cog.txt")"
  else
    echo "GDAL's Python samples missing (python3-gdal): skipping the COG validation"
  fi
  # The cells at the reading positions: within the reported misfit.
  "$QUELOR" export "$WORK/north.T31" --format csv >"$WORK/north.csv"
  python3 - "$WORK/north.csv" >"$WORK/readings" <<'PY'
import csv, sys
rows = [r for r in csv.DictReader(open(sys.argv[1])) if r["easting"]]
for r in rows[::37]:
    print(r["easting"], r["northing"], r["conductivity_vertical_mS_m"])
PY
  cut -d' ' -f1,2 "$WORK/readings" | gdallocationinfo -valonly -b 1 -geoloc "$WORK/north.tif" >"$WORK/cells" || fail "gdallocationinfo: exit $?"
  python3 - "$WORK/readings" "$WORK/cells" "$(json "$WORK/north.json" misfit_max)" <<'PY' || fail "cells at the readings beyond the misfit"
import sys
readings = [float(l.split()[2]) for l in open(sys.argv[1])]
cells = [float(l) for l in open(sys.argv[2])]
limit = float(sys.argv[3]) + 1e-4
assert len(cells) == len(readings) > 20, (len(cells), len(readings))
worst = max(abs(c - r) for c, r in zip(cells, readings))
if worst > limit:
    print("worst", worst, "limit", limit)
    sys.exit(1)
PY
  gdalinfo "$WORK/north.png" 2>/dev/null | grep -q "Size is $(json "$WORK/north.json" columns), $(json "$WORK/north.json" rows)" ||
    fail "the PNG's size"

  "$QUELOR" grid "$WORK/feet.T31" --out "$WORK/feet.tif" >"$WORK/feet.json" || fail "grid feet: exit $?"
  [ "$(json "$WORK/feet.json" units)" = ft ] || fail "feet: units $(cat "$WORK/feet.json")"
  wkt=$(gdalinfo -json "$WORK/feet.tif" | python3 -c "import json,sys; print(json.load(sys.stdin)['coordinateSystem']['wkt'])")
  # Zone 17's transverse Mercator on WGS 84, with the foot as its unit.
  grep -q 'PROJCRS\["WGS 84 / UTM zone 17N (ft)"' <<<"$wkt" && grep -q 'ID\["EPSG",4326\]' <<<"$wkt" &&
    grep -q 'LENGTHUNIT\["foot",0.3048' <<<"$wkt" || fail "feet CRS: $wkt"
  gdalsrsinfo -o proj4 "$WORK/feet.tif" | grep -q '+proj=utm +zone=17 +datum=WGS84 +units=ft' || fail "feet: PROJ string"

  "$QUELOR" grid "$WORK/south.T31" --method nearest --out "$WORK/south.tif" >"$WORK/south.json" || fail "grid south: exit $?"
  [ "$(json "$WORK/south.json" epsg)" = 32756 ] || fail "south: $(cat "$WORK/south.json")"
  gdalinfo -json "$WORK/south.tif" | grep -q 'ID\[\\"EPSG\\",32756\]' || fail "south: gdalinfo CRS"

  # A missed line: its track blank by default, filled with --fill; the second
  # band tells measured, interpolated and blank cells apart.
  "$DEVSIM" survey "${WALK[@]}" --skip-line 6 --out "$WORK/missed.T31" >/dev/null || fail "devsim --skip-line: exit $?"
  "$QUELOR" grid "$WORK/missed.T31" --out "$WORK/missed.tif" >"$WORK/missed.json" || fail "grid missed: exit $?"
  "$QUELOR" grid "$WORK/missed.T31" --fill --out "$WORK/filled.tif" >"$WORK/filled.json" || fail "grid --fill: exit $?"
  [ "$(json "$WORK/filled.json" blank_cells)" -lt "$(json "$WORK/missed.json" blank_cells)" ] || fail "--fill kept no more cells"
  gdalinfo -json "$WORK/missed.tif" >"$WORK/missed-info.json" || fail "gdalinfo missed"
  for f in missed filled; do
    for b in 1 2; do gdal_translate -q -b $b -of XYZ "$WORK/$f.tif" "$WORK/$f-$b.xyz" || fail "gdal_translate $f band $b"; done
  done
  python3 - "$WORK" <<'PY' || fail "the missed line or the cell kinds"
import json, sys
w = sys.argv[1]
def band(name, b):
    return [tuple(float(v) for v in l.split()) for l in open(f"{w}/{name}-{b}.xyz")]
info = json.load(open(f"{w}/missed-info.json"))
b1, b2 = info["bands"]
problems = []
if b1.get("description") != "conductivity_vertical_mS_m" or b1.get("unit") != "mS/m":
    problems.append(("band 1", b1.get("description"), b1.get("unit")))
if "measured" not in b2.get("description", ""):
    problems.append(("band 2", b2.get("description")))
grid = json.load(open(f"{w}/missed.json"))
for name in ("missed", "filled"):
    values, kinds = band(name, 1), band(name, 2)
    counts = {k: sum(1 for c in kinds if c[2] == k) for k in (0, 1, 2)}
    blank_values = sum(1 for v in values if abs(v[2]) > 1e37)
    if blank_values != counts[0]:
        problems.append((name, "nodata cells", blank_values, "blank kinds", counts[0]))
    if name == "missed" and [counts[2], counts[1], counts[0]] != [grid["measured_cells"], grid["interpolated_cells"], grid["blank_cells"]]:
        problems.append((name, counts, grid))
# The missed line: the columns along no line (the cross-walks at the ends
# cross every column) between the outer lines.
kinds = band("missed", 2)
xs = sorted({c[0] for c in kinds})
measured_x = [x for x in xs if sum(1 for c in kinds if c[0] == x and c[2] == 2) > 10]
gap = [x for x in xs if measured_x[0] + 2 < x < measured_x[-1] - 2 and all(abs(x - m) > 0.5 for m in measured_x)]
ys = sorted({c[1] for c in kinds if c[2] == 2})
inner = lambda c: c[0] in gap and ys[0] + 2 < c[1] < ys[-1] - 2
track = [c for c in kinds if inner(c)]
filled = [c for c in band("filled", 2) if inner(c)]
if not track or any(c[2] != 0 for c in track):
    problems.append(("track not blank", len(track), sum(1 for c in track if c[2] != 0)))
if not filled or any(c[2] != 1 for c in filled):
    problems.append(("track not filled", len(filled)))
if problems:
    print(problems)
    sys.exit(1)
PY

  # Two files, or the folder holding them, as one survey; the picture on a
  # given scale with its nodata see-through and its .prj.
  mkdir "$WORK/day"
  cp "$WORK/north.T31" "$WORK/day/a.T31"
  "$DEVSIM" survey "${WALK[@]}" --origin 43.6104,-79.6000 --out "$WORK/day/b.T31" >/dev/null || fail "devsim survey b: exit $?"
  echo "crew notes" >"$WORK/day/notes.txt"
  "$QUELOR" grid "$WORK/day" --png --scale 10,60 --out "$WORK/folder.tif" >"$WORK/folder.json" || fail "grid FOLDER: exit $?"
  "$QUELOR" grid "$WORK/day/a.T31" "$WORK/day/b.T31" --out "$WORK/pair.tif" >"$WORK/pair.json" || fail "grid A B: exit $?"
  cmp -s "$WORK/folder.tif" "$WORK/pair.tif" || fail "the folder's grid is not the two files' grid"
  # Several files are read again for each pass of the gridding; one that
  # cannot be (a pipe) is kept from its first reading, for --all's other
  # channels too, and gives the same grid.
  "$QUELOR" grid "$WORK/day/a.T31" "$WORK/day/b.T31" --all --out "$WORK/pair_all.tif" >/dev/null ||
    fail "grid A B --all: exit $?"
  timeout 120 "$QUELOR" grid /dev/stdin "$WORK/day/b.T31" --all --out "$WORK/piped_all.tif" <"$WORK/day/a.T31" >/dev/null ||
    fail "grid FILE-ON-STDIN B --all: exit $?"
  cat "$WORK/day/a.T31" | timeout 120 "$QUELOR" grid /dev/stdin "$WORK/day/b.T31" --all --out "$WORK/pipe_all.tif" >/dev/null ||
    fail "grid PIPE B --all: exit $?"
  cmp -s "$WORK/pair_all.tif" "$WORK/piped_all.tif" && cmp -s "$WORK/pair_all.tif" "$WORK/pipe_all.tif" ||
    fail "a file given on standard input gives another grid than the same file named"
  "$QUELOR" grid "$WORK/day/b.T31" --out "$WORK/b.tif" >"$WORK/b.json" || fail "grid b: exit $?"
  [ "$(json "$WORK/folder.json" files)" = 2 ] &&
    [ "$(json "$WORK/folder.json" readings)" -eq $(($(json "$WORK/north.json" readings) + $(json "$WORK/b.json" readings))) ] ||
    fail "the folder's readings: $(cat "$WORK/folder.json")"
  gdalinfo "$WORK/folder.png" | grep -q "NoData Value=255" || fail "the picture's nodata is not transparent"
  gdalsrsinfo -o proj4 "$WORK/folder.prj" | grep -q '+proj=utm +zone=17 +datum=WGS84 +units=m' || fail "the picture's .prj"
  "$QUELOR" grid "$WORK/day" --png --out "$WORK/own.tif" >/dev/null || fail "grid FOLDER own scale: exit $?"
  cmp -s "$WORK/folder.png" "$WORK/own.png" && fail "--scale did not change the picture"
  "$QUELOR" grid "$WORK/feet.T31" --png --out "$WORK/feet2.tif" >/dev/null || fail "grid feet --png: exit $?"
  gdalsrsinfo -o proj4 "$WORK/feet2.prj" | grep -q '+proj=tmerc +lat_0=0 +lon_0=-81 +k=0.9996 +x_0=500000 +y_0=0 +datum=WGS84 +units=ft' ||
    fail "the feet picture's .prj: $(gdalsrsinfo -o proj4 "$WORK/feet2.prj")"

  # The KMZ: a zip holding the KML ground overlay and its picture, the
  # overlay's corners those of the GeoTIFF.
  "$QUELOR" grid "$WORK/south.T31" --kmz --out "$WORK/southk.tif" >/dev/null || fail "grid --kmz: exit $?"
  gdalinfo -json "$WORK/southk.tif" >"$WORK/southk.json"
  python3 - "$WORK/southk.kmz" "$WORK/southk.json" <<'PY' || fail "the KMZ"
import json, subprocess, sys, zipfile, xml.etree.ElementTree as ET
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None and sorted(z.namelist()) == ["doc.kml", "grid.png"], z.namelist()
assert z.read("grid.png")[:8] == b"\x89PNG\r\n\x1a\n"
ns = {"k": "http://www.opengis.net/kml/2.2", "gx": "http://www.google.com/kml/ext/2.2"}
kml = ET.fromstring(z.read("doc.kml"))
assert kml.find(".//k:GroundOverlay/k:Icon/k:href", ns).text == "grid.png"
quad = [tuple(map(float, p.split(",")[:2])) for p in kml.find(".//gx:LatLonQuad/k:coordinates", ns).text.split()]
corners = json.load(open(sys.argv[2]))["wgs84Extent"]["coordinates"][0]
for lon, lat in quad:
    assert min(abs(lon - c[0]) + abs(lat - c[1]) for c in corners) < 1e-7, (quad, corners)
PY

  # --all: one band each channel on the mapped channel's cells, then the kinds.
  "$QUELOR" grid "$WORK/north.T31" --all --out "$WORK/all.tif" >"$WORK/all.json" || fail "grid --all: exit $?"
  [ "$(json "$WORK/all.json" bands)" = '["conductivity_vertical_mS_m", "inphase_vertical_ppt"]' ] || fail "--all: $(cat "$WORK/all.json")"
  "$QUELOR" grid "$WORK/north.T31" --channel inphase_vertical_ppt --out "$WORK/inphase.tif" >/dev/null || fail "grid inphase: exit $?"
  checksums() { gdalinfo -checksum "$1" | grep -o 'Checksum=[0-9]*' | tr '\n' ' '; }
  read -r all1 all2 all3 _ <<<"$(checksums "$WORK/all.tif")"
  read -r one1 one2 _ <<<"$(checksums "$WORK/inphase.tif")"
  [ "$all2" = "$one1" ] && [ "$all3" = "$one2" ] || fail "--all's second band is not the in-phase grid: $all1 $all2 $all3 / $one1 $one2"
  gdalinfo "$WORK/all.tif" | grep -q 'Unit Type: ppt' || fail "--all: no unit on the in-phase band"

  # Contours at 2 mS/m: GeoJSON lines that GDAL opens in the survey's CRS.
  "$QUELOR" grid "$WORK/north.T31" --contours 2 --out "$WORK/lines.tif" >/dev/null || fail "grid --contours: exit $?"
  ogrinfo -so -al "$WORK/lines.geojson" >"$WORK/lines.txt" 2>&1
  grep -q 'Geometry: Multi Line String' "$WORK/lines.txt" && grep -q 'UTM zone 17N' "$WORK/lines.txt" &&
    grep -qE 'Feature Count: [1-9]' "$WORK/lines.txt" || fail "ogrinfo: $(head -5 "$WORK/lines.txt")"

  # The truth on the same frame.
  frame=$(python3 -c "import json,sys; g=json.load(open(sys.argv[1])); print('%r,%r,%d,%d,%r' % (g['extent'][0], g['extent'][3], g['columns'], g['rows'], g['cell']))" "$WORK/north.json")
  "$DEVSIM" truth "${WALK[@]}" --channel conductivity_vertical_mS_m --frame "$frame" --out "$WORK/truth.tif" >/dev/null ||
    fail "devsim truth: exit $?"
  a=$(gdalinfo "$WORK/north.tif" | grep -E "Origin|Pixel Size|Size is")
  b=$(gdalinfo "$WORK/truth.tif" | grep -E "Origin|Pixel Size|Size is")
  [ "$a" = "$b" ] || fail "truth frame: $b vs $a"
else
  echo "gdalinfo missing (gdal-bin): skipping the GDAL read-back"
fi

# Progress on standard error once gridding runs over a second (the clock's
# rule is tested natively): whatever a long input shows is one line a step
# or a stage of the gridding (a log), or the time taken; a short input says
# nothing.
"$DEVSIM" survey --instrument em31mk2 --rate 25 --lines 60 --line-length 100 --spacing 1 --quality 4 --out "$WORK/long.T31" >/dev/null ||
  fail "devsim long survey: exit $?"
"$QUELOR" grid "$WORK/long.T31" --all --out "$WORK/long.tif" >/dev/null 2>"$WORK/long.err" || fail "grid long: exit $?"
stage='(line spacing|distances to the readings|minimum curvature at cells of [0-9.]+|blanking)'
others="gridding the other channels(: [a-z0-9_]+(: $stage)?)?"
grep -v -E "^quelor grid: ([1-4]/4 (reading .*long.T31|gridding [0-9]+ readings(: $stage)?|$others|writing .*)|done in [0-9.]+ s)\$" "$WORK/long.err" &&
  fail "progress lines: $(cat "$WORK/long.err")"
"$QUELOR" grid "$WORK/north.T31" --out "$WORK/short.tif" >/dev/null 2>"$WORK/short.err" || fail "grid short: exit $?"
[ -s "$WORK/short.err" ] && fail "progress for a short input: $(cat "$WORK/short.err")"
rm -f "$WORK/long.T31" "$WORK/long.tif"

expect_bad() {
  "$QUELOR" grid "$@" >"$WORK/stdout" 2>"$WORK/stderr"
  local status=$?
  [ "$status" -eq 2 ] || fail "grid $*: exit $status, expected 2"
  [ "$(wc -l <"$WORK/stderr")" -eq 1 ] || fail "grid $*: stderr is not one line: $(cat "$WORK/stderr")"
}
expect_bad "$WORK/missing.T31" --out "$WORK/x.tif"
expect_bad "$WORK/north.T31"
expect_bad "$WORK/north.T31" --out "$WORK/x.tif" --method kriging
expect_bad "$WORK/north.T31" --out "$WORK/x.tif" --cell 0
expect_bad "$WORK/north.T31" --out "$WORK/x.tif" --channel nothing
expect_bad "$WORK/north.T31" --out "$WORK/no/such/dir/x.tif"
expect_bad "$WORK/north.T31" "$WORK/feet.T31" --out "$WORK/x.tif"
grep -qF "north.T31 and $WORK/feet.T31 are of different units" "$WORK/stderr" || fail "mixed units: $(cat "$WORK/stderr")"
expect_bad "$WORK/north.T31" --scale 5,1 --out "$WORK/x.tif"
expect_bad "$WORK/north.T31" --contours 0 --out "$WORK/x.tif"
expect_bad "$WORK/north.T31" --all --channel inphase_vertical_ppt --out "$WORK/x.tif"
expect_bad "$WORK/north.T31" --contours 0.00001 --out "$WORK/x.tif"
mkdir "$WORK/empty"
expect_bad "$WORK/empty" --out "$WORK/x.tif"
head -c 300 /dev/urandom >"$WORK/random.T31"
expect_bad "$WORK/random.T31" --out "$WORK/x.tif"

# refuse TEXT SUBCOMMAND ARGS...: exit 2, one line on stderr holding TEXT, the
# data files as they were and no file added or removed in the folder.
N="$WORK/north.T31"
cp "$N" "$WORK/other.T31"
cp "$N" "$WORK/data.png"
ln -s "$N" "$WORK/link.tif"
ln "$N" "$WORK/hard.tif"
sum=$(md5sum <"$N")
"$QUELOR" setup --program Qyn31 --dialog survey --out "$WORK/Qyn31.ini" >/dev/null || fail "setup --out: exit $?"
printf '612980 4829500 A\n' >"$WORK/marks.txt"
refuse() {
  local text=$1
  shift
  local before after
  before=$(ls -A "$WORK" | grep -v '^std')
  "$QUELOR" "$@" >"$WORK/stdout" 2>"$WORK/stderr"
  local status=$?
  [ "$status" -eq 2 ] || fail "$*: exit $status, expected 2"
  { [ "$(wc -l <"$WORK/stderr")" -eq 1 ] && grep -qF -- "$text" "$WORK/stderr"; } ||
    fail "$*: stderr lacks '$text': $(cat "$WORK/stderr")"
  for f in north.T31 other.T31 data.png; do [ "$(md5sum <"$WORK/$f")" = "$sum" ] || fail "$*: $f changed"; done
  after=$(ls -A "$WORK" | grep -v '^std')
  [ "$before" = "$after" ] || fail "$*: the folder changed: $(diff <(echo "$before") <(echo "$after") | tr '\n' ' ')"
}
refuse "it is the input $N" grid "$N" --out "$N"
refuse "it is the input" grid "$N" --out "$WORK/./north.T31"
refuse "it is the input" grid "$N" --out "$WORK/link.tif"
refuse "it is the input" grid "$N" --out "$WORK/hard.tif"
refuse "it holds a survey data file" grid "$N" --out "$WORK/other.T31"
refuse "it holds a survey data file" grid "$N" --out "$WORK/x.tif" --png "$WORK/data.png"
refuse "twice" grid "$N" --out "$WORK/x.png" --png
refuse "it is the input" map "$N" --out "$WORK/link.tif"
refuse "it holds a survey data file" map "$N" --out "$WORK/other.T31"
refuse "it is the input" map "$N" --background "$WORK/marks.txt,utm-m,space" --out "$WORK/marks.txt"
refuse "it is the input" map "$N" --settings "$WORK/Qyn31.ini" --out "$WORK/Qyn31.ini"
refuse "it is the input" report "$N" --out "$N"
refuse "it holds a survey data file" report "$N" --out "$WORK/other.T31"
refuse "it is the input" export "$N" --format csv --out "$WORK/hard.tif"
refuse "it holds a survey data file" export "$N" --format kml --out "$WORK/other.T31"
refuse "it is the input" setup --program Qyn31 --dialog survey --settings "$WORK/Qyn31.ini" --out "$WORK/Qyn31.ini"
refuse "it holds a survey data file" setup --program Qyn31 --dialog survey --out "$WORK/other.T31"
# No cell left: an error that says why, and no file.
refuse "the cell of 50 is larger than the survey" grid "$N" --cell 50 --out "$WORK/x.tif"
refuse "farther than the blanking distance of 0.01" grid "$N" --cell 0.5 --blank 0.01 --out "$WORK/x.tif"

# A complete output takes the old file's place by a rename: a new file
# (another inode), no temporary file left; a link to the old file stays a link.
ino=$(stat -c %i "$WORK/north.tif")
cp "$WORK/north.png" "$WORK/first.png"
cp "$WORK/north.tif" "$WORK/first.tif"
ln -s "$WORK/north.png" "$WORK/picture.png"
"$QUELOR" grid "$N" --method nearest --out "$WORK/north.tif" --png "$WORK/picture.png" >/dev/null || fail "grid again: exit $?"
[ "$(stat -c %i "$WORK/north.tif")" != "$ino" ] || fail "north.tif was written in place"
[ -L "$WORK/picture.png" ] || fail "the link to the picture was replaced"
[ -f "$WORK/picture.pgw" ] || fail "no world file beside the linked picture"
"$QUELOR" grid "$N" --method nearest --out "$WORK/again.tif" --png >/dev/null || fail "grid nearest: exit $?"
cmp -s "$WORK/north.png" "$WORK/again.png" || fail "the linked picture's file did not get the new picture"
cmp -s "$WORK/north.png" "$WORK/first.png" && fail "the new picture is the old one: the case proves nothing"
ls -A "$WORK" | grep -q '\.part$' && fail "temporary files left: $(ls -A "$WORK")"

# A device is written straight, never replaced.
"$QUELOR" export "$N" --format csv --out /dev/null || fail "export --out /dev/null: exit $?"
[ -c /dev/null ] || fail "/dev/null is no longer a device"

# A full disk: exit 2 with the reason, the old file as it was, nothing added.
mkdir "$WORK/full"
if mount -t tmpfs -o size=64k tmpfs "$WORK/full" 2>/dev/null; then
  echo old >"$WORK/full/keep.tif"
  head -c 40000 /dev/zero >"$WORK/full/filler"
  [ "$(stat -c %s "$WORK/first.tif")" -gt 30000 ] || fail "the grid is too small to fill the disk"
  before=$(ls -A "$WORK/full")
  "$QUELOR" grid "$N" --cell 0.05 --out "$WORK/full/keep.tif" --png >"$WORK/stdout" 2>"$WORK/stderr"
  status=$?
  [ "$status" -eq 2 ] || fail "full disk: exit $status, expected 2"
  grep -qF "cannot write $WORK/full/keep.tif" "$WORK/stderr" || fail "full disk: $(cat "$WORK/stderr")"
  [ "$(cat "$WORK/full/keep.tif")" = old ] || fail "full disk: the old file changed"
  [ "$(ls -A "$WORK/full")" = "$before" ] || fail "full disk: left $(ls -A "$WORK/full" | tr '\n' ' ')"
  umount "$WORK/full"
else
  echo "SKIP: cannot mount a small tmpfs (needs root): no full-disk case"
fi

[ "$failures" -eq 0 ] && echo "grid_geotiff: all passed"
exit $((failures > 0))
