#!/bin/bash
# Accuracy of quelor grid against the simulator's truth, next to GMT's
# surface (tension 0.25) and GDAL's gdal_grid (inverse distance) on the same
# readings (quelor export --format xyz), on the same cells, inside the area
# quelor keeps; with the time of quelor grid and of GMT's surface. Fails when
# our error is larger than GMT's. GMT and GDAL are oracles only: each is
# skipped with a message where it is absent.
# GRID_DAY=1: a full day's survey (720,000 readings) instead, without gdal_grid.
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
have() { command -v "$1" >/dev/null; }
if ! have gdal_translate; then
  echo "gdal_translate missing (gdal-bin): cannot compare grids, skipping"
  exit 77
fi

now() { date +%s.%N; }

# rms A B MASK: RMS and largest difference of A - B over the cells where
# A, B and MASK all have data.
rms() {
  python3 - "$@" <<'PY'
import math, subprocess, sys
def values(path):
    out = subprocess.run(["gdal_translate", "-q", "-of", "XYZ", path, "/vsistdout/"], capture_output=True, text=True, check=True).stdout
    return [float(l.split()[2]) for l in out.splitlines() if l.strip()]
a, b, m = (values(p) for p in sys.argv[1:4])
assert len(a) == len(b) == len(m), (len(a), len(b), len(m))
bad = lambda v: v != v or abs(v) > 1e37
d = [x - y for x, y, z in zip(a, b, m) if not (bad(x) or bad(y) or bad(z))]
print("%.5f %.5f %d" % (math.sqrt(sum(v * v for v in d) / len(d)), max(abs(v) for v in d), len(d)))
PY
}

# compare NAME WALK...: one survey, gridded by each.
compare() {
  local name=$1
  shift
  local walk=("$@") dir="$WORK/$name"
  mkdir -p "$dir"
  "$DEVSIM" survey "${walk[@]}" --out "$dir/survey.T31" >"$dir/survey.json" || { fail "$name: devsim survey"; return; }
  local t0 t1 t2
  t0=$(now)
  "$QUELOR" grid "$dir/survey.T31" ${GRID_CELL:+--cell "$GRID_CELL"} --out "$dir/quelor.tif" >"$dir/grid.json" ||
    { fail "$name: quelor grid"; return; }
  t1=$(now)
  read -r west north columns rows cell channel blank < <(python3 -c "
import json,sys; g=json.load(open(sys.argv[1]))
print(repr(g['extent'][0]), repr(g['extent'][3]), g['columns'], g['rows'], repr(g['cell']), g['channel'], repr(g['blank']))" "$dir/grid.json")
  local east south
  east=$(python3 -c "print(repr($west + $columns * $cell))")
  south=$(python3 -c "print(repr($north - $rows * $cell))")
  "$DEVSIM" truth "${walk[@]}" --channel "$channel" --frame "$west,$north,$columns,$rows,$cell" --out "$dir/truth.tif" >/dev/null ||
    { fail "$name: devsim truth"; return; }
  "$QUELOR" export "$dir/survey.T31" --format xyz >"$dir/survey.xyz"
  awk -v want="$channel" '
    /^\/ line / { for (i = 2; i <= NF; i++) { if ($i == "easting") e = i - 1; if ($i == "northing") n = i - 1; if ($i == want) v = i - 1 } next }
    /^\// || /^Line/ { next }
    $e != "*" && $v != "*" { print $e, $n, $v }' "$dir/survey.xyz" >"$dir/points.txt"
  local readings
  readings=$(wc -l <"$dir/points.txt")
  local ours
  ours=$(rms "$dir/quelor.tif" "$dir/truth.tif" "$dir/quelor.tif")
  local line="$name: $readings readings, ${columns}x${rows} cells of $cell; RMS error against the truth: quelor $(cut -d' ' -f1 <<<"$ours")"
  line+=" (max $(cut -d' ' -f2 <<<"$ours"), $(cut -d' ' -f3 <<<"$ours") cells)"
  local quelor_time gmt_time
  quelor_time=$(python3 -c "print('%.2f' % ($t1 - $t0))")
  if have gmt; then
    t0=$(now)
    (cd "$dir" && gmt surface "$dir/points.txt" -R"$west/$east/$south/$north" -I"$cell" -r -T0.25 -G"$dir/gmt.nc") 2>"$dir/gmt.err" ||
      { fail "$name: gmt surface: $(cat "$dir/gmt.err")"; return; }
    t2=$(now)
    gmt_time=$(python3 -c "print('%.2f' % ($t2 - $t0))")
    local theirs
    theirs=$(rms "$dir/gmt.nc" "$dir/truth.tif" "$dir/quelor.tif")
    line+=", GMT surface -T0.25 $(cut -d' ' -f1 <<<"$theirs")"
    python3 -c "import sys; sys.exit(0 if float(sys.argv[1]) <= float(sys.argv[2]) else 1)" "${ours%% *}" "${theirs%% *}" ||
      fail "$name: quelor's error ${ours%% *} is larger than GMT's ${theirs%% *}"
  else
    echo "gmt missing: skipping GMT surface"
  fi
  if [ "${GRID_DAY:-0}" != 1 ] && have gdal_grid; then
    { echo x,y,z; tr ' ' , <"$dir/points.txt"; } >"$dir/points.csv"
    cat >"$dir/points.vrt" <<VRT
<OGRVRTDataSource><OGRVRTLayer name="points"><SrcDataSource>$dir/points.csv</SrcDataSource><GeometryType>wkbPoint</GeometryType><GeometryField encoding="PointFromColumns" x="x" y="y" z="z"/></OGRVRTLayer></OGRVRTDataSource>
VRT
    # Every kept cell has readings within its search radius: the blanking distance.
    gdal_grid -q -l points -a "invdist:power=2:smoothing=0:radius1=$blank:radius2=$blank" -txe "$west" "$east" -tye "$north" "$south" \
      -outsize "$columns" "$rows" -ot Float32 "$dir/points.vrt" "$dir/idw.tif" || { fail "$name: gdal_grid"; return; }
    line+=", gdal_grid invdist $(rms "$dir/idw.tif" "$dir/truth.tif" "$dir/quelor.tif" | cut -d' ' -f1)"
  fi
  line+="; time: quelor grid ${quelor_time} s"
  [ -n "${gmt_time:-}" ] && line+=", GMT surface ${gmt_time} s (ratio $(python3 -c "print('%.1f' % ($gmt_time / max($quelor_time, 0.01)))"))"
  echo "$line"
}

if [ "${GRID_DAY:-0}" = 1 ]; then
  compare day --instrument em31mk2 --rate 25 --lines 285 --line-length 100 --spacing 1 --quality 4 --seed 7
else
  compare lines-1m --instrument em31mk2 --lines 20 --line-length 40 --spacing 1 --quality 4 --seed 3
  compare lines-2m --instrument em31mk2 --lines 12 --line-length 50 --spacing 2 --quality 4 --seed 4 --heading 30
  compare grad-1m --instrument grad601 --sensors 1 --lines 16 --line-length 30 --spacing 1 --quality 4 --seed 5
  # Fixes that wander (a plain GPS fix) at a cell where minimum curvature once ran away.
  GRID_CELL=0.25 compare wander-0.25 --instrument em31mk2 --rate 25 --lines 40 --line-length 60 --spacing 1 --seed 16
fi

[ "$failures" -eq 0 ] && echo "grid_accuracy: all passed"
exit $((failures > 0))
