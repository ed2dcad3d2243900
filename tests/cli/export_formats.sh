#!/bin/bash
# quelor export on the golden survey: the tool's output equals the golden
# files, GDAL's ogrinfo reads the GeoJSON, KML and GPX back with every
# reading and its values, bad input exits 2 with one line on stderr.
set -u
: "${QUELOR:?path of the quelor tool}"
: "${SOURCE_DIR:?source tree}"
GOLDEN="$SOURCE_DIR/tests/golden/export"
DATA="$GOLDEN/em31.T31"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for f in csv xyz geojson kml gpx; do
  "$QUELOR" export "$DATA" --format $f --height 1 --out "$WORK/out.$f" || fail "export $f: exit $?"
  cmp -s "$WORK/out.$f" "$GOLDEN/em31.$f" || fail "export $f differs from the golden file"
done
"$QUELOR" export "$DATA" --format csv --emagpy --height 1 >"$WORK/emagpy.csv" || fail "emagpy: exit $?"
cmp -s "$WORK/emagpy.csv" "$GOLDEN/em31-emagpy.csv" || fail "emagpy csv differs from the golden file"

if command -v ogrinfo >/dev/null; then
  readings=$(($(wc -l <"$GOLDEN/em31.csv") - 1))
  # every reading is a feature; positioned ones are points in WGS 84
  out=$(ogrinfo -ro -al "$WORK/out.geojson" 2>&1)
  grep -q "Feature Count: $readings" <<<"$out" || fail "ogrinfo GeoJSON feature count: $out"
  grep -q "conductivity_vertical_mS_m (Real) = -2.75" <<<"$out" || fail "ogrinfo GeoJSON value"
  grep -q "POINT (11.500005 48.1000025)" <<<"$out" || fail "ogrinfo GeoJSON point"
  [ "$(grep -c 'POINT (' <<<"$out")" -eq 6 ] || fail "ogrinfo GeoJSON: 6 positioned readings expected"
  out=$(ogrinfo -ro -al "$WORK/out.kml" 2>&1)
  grep -q "Feature Count: $readings" <<<"$out" || fail "ogrinfo KML feature count: $out"
  grep -q "inphase_vertical_ppt (String) = -0.0275" <<<"$out" || fail "ogrinfo KML value"
  [ "$(grep -c 'POINT (' <<<"$out")" -eq 6 ] || fail "ogrinfo KML: 6 placemarks with a point expected"
  out=$(ogrinfo -ro -so "$WORK/out.gpx" waypoints track_points 2>&1)
  [ "$(grep -c 'Feature Count: 6' <<<"$out")" -eq 1 ] || fail "ogrinfo GPX waypoints: $out"
  grep -q "Feature Count: 7" <<<"$out" || fail "ogrinfo GPX track points (7 usable fixes): $out"
else
  echo "ogrinfo missing (gdal-bin): skipping the GDAL read-back"
fi

# expect_bad ARGS...: exit 2 and exactly one line on stderr.
expect_bad() {
  "$QUELOR" export "$@" >"$WORK/stdout" 2>"$WORK/stderr"
  local status=$?
  [ "$status" -eq 2 ] || fail "export $*: exit $status, expected 2"
  [ "$(wc -l <"$WORK/stderr")" -eq 1 ] || fail "export $*: stderr is not one line: $(cat "$WORK/stderr")"
}
expect_bad "$WORK/missing.T31" --format csv
expect_bad "$DATA" --format shp
expect_bad "$DATA" --format xyz --emagpy
expect_bad "$DATA" --format csv --zone 61
head -c 100 /dev/urandom >"$WORK/random.T31"
expect_bad "$WORK/random.T31" --format csv
expect_bad "$SOURCE_DIR/tests/golden/export/em31.csv" --format csv

# A truncated last record: exported without it, one warning.
size=$(stat -c %s "$DATA")
head -c $((size - 20)) "$DATA" >"$WORK/cut.T31"
"$QUELOR" export "$WORK/cut.T31" --format csv >"$WORK/cut.csv" 2>"$WORK/stderr" || fail "truncated file: exit $?"
grep -q "warning: .*truncated" "$WORK/stderr" || fail "truncated file: no warning: $(cat "$WORK/stderr")"
[ "$(wc -l <"$WORK/stderr")" -eq 1 ] || fail "truncated file: more than one warning line"

[ "$failures" -eq 0 ] && echo "export_formats: all passed"
exit $((failures > 0))
