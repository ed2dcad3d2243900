#!/bin/bash
# quelor report on synthetic lawnmower surveys: a survey with a line left out
# and a connection break, a complete one, a day of two files, a fast line and
# a line on poor GPS flagged, a file cut off halfway, bad input; the
# page is self-contained; in headless Chromium (skipped with a message where
# it is absent) the page's DOM holds the verdict, both maps with their colour
# bars, north arrows and scale bars, the tables and charts, every image
# decodes, a screenshot shows the maps and tables, and no request leaves the
# machine.
set -u
: "${QUELOR:?path of the quelor tool}"
command -v python3 >/dev/null || exit 77
command -v cs2cs >/dev/null || { echo "SKIP: cs2cs (proj-bin) is not installed"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
survey() { python3 "$here/lib/survey_day.py" "$@" || fail "survey_day.py $*"; }
want_json() {  # OUTPUT TEXT...
  local out=$1
  shift
  for want in "$@"; do grep -qF -- "$want" <<<"$out" || fail "JSON lacks $want: $out"; done
}

survey "$WORK/gap.R31" --lines 8 --length 30 --skip 4 --breaks
survey "$WORK/full.R31" --lines 6 --length 20
survey "$WORK/part2.R31" --lines 6 --length 20
# The afternoon's file: the same site, walked on further east.
python3 - "$WORK/part2.R31" <<'PY'
import sys
path = sys.argv[1]
recs = open(path).read().split("\n")[:-1]
out = []
for r in recs:
    if r.startswith("L"):
        r = ("L%d" % (int(r[1:13]) + 6)).ljust(26)
    out.append(r)
open(path, "w").write("\n".join(out) + "\n")
PY

out=$("$QUELOR" report "$WORK/gap.R31" --out "$WORK/gap.html" 2>"$WORK/err")
status=$?
[ "$status" -eq 0 ] || fail "exit $status: $(cat "$WORK/err")"
want_json "$out" '"files":1' '"readings":2100' '"lines":7' '"gaps":2' '"coverage_map":true' '"grid_map":true' \
  '"complete":false' 'between line 4 and line 6' '12 readings lost' 'gap 1: 1 x 30 m'
share=$(python3 -c 'import json,sys; print(round(json.loads(sys.argv[1])["covered_share"], 2))' "$out")
# The walked track over the coverage map: one polyline per path segment (seven lines, one break).
[ "$(grep -o 'class="track"' "$WORK/gap.html" | wc -l)" -eq 8 ] || fail "the coverage map does not draw the 8 track segments"
# The GPS charts break where no fix came (the pauses between the seven lines) and show five times.
python3 - "$WORK/gap.html" <<'PY' || fail "the GPS charts"
import re, sys
charts = re.findall(r'<svg class="gps-chart".*?</svg>', open(sys.argv[1]).read())
assert len(charts) == 3 and all(c.count("<polyline") == 7 for c in charts), [c.count("<polyline") for c in charts]
assert all(len(re.findall(r">\d\d:\d\d:\d\d<", c)) == 5 for c in charts)
PY
# Six of seven lines, less the fix step the connection break left uncovered.
[ "$share" = "0.85" ] || fail "covered share $share, not 6/7 less a step"

out=$("$QUELOR" report "$WORK/full.R31" --out "$WORK/full.html" 2>"$WORK/err") || fail "full survey: $(cat "$WORK/err")"
want_json "$out" '"gaps":0' '"complete":true' '"verdict":"complete"'
# The summary: instrument, unit, time span with its zone, the scale on the data's range.
grep -qF 'EM31-MK2, Zelko31 2.30, in m; walked 08:00:00 to ' "$WORK/full.html" && grep -qF 'local time (UTC+00:00)' "$WORK/full.html" &&
  grep -qF '(2nd to 98th percentile of the readings)' "$WORK/full.html" || fail "no summary: $(grep -o '<p id="summary".*' "$WORK/full.html")"

# A line walked at 6 m/s and one on poor GPS: flagged in the verdict and the line table.
survey "$WORK/flags.R31" --lines 6 --length 30 --fast 1 --poor-gps 3
out=$("$QUELOR" report "$WORK/flags.R31" --out "$WORK/flags.html" 2>"$WORK/err") || fail "flags: $(cat "$WORK/err")"
want_json "$out" '"complete":false' '"flagged_lines":2' "line 2: walked above the speed bar's maximum" \
  'of 31 fixes below the GPS warning mask (quality 1, 5 satellites, HDOP 4.0)' 'line 4: 3'
grep -q '<td class="text flag">fast' "$WORK/flags.html" || fail "the line table does not flag the fast line"
# The complete survey cut off halfway, at a record's end: never complete.
records=$(($(wc -c <"$WORK/full.R31") / 27))
head -c $((records / 2 * 27)) "$WORK/full.R31" >"$WORK/cut.R31"
out=$("$QUELOR" report "$WORK/cut.R31" --out "$WORK/cut.html" 2>"$WORK/err") || fail "cut: $(cat "$WORK/err")"
want_json "$out" '"complete":false' 'file cut.R31 ends while logging'
head -c $((records / 2 * 27 + 9)) "$WORK/full.R31" >"$WORK/cut.R31"
out=$("$QUELOR" report "$WORK/cut.R31" --out "$WORK/cut.html" 2>/dev/null) || fail "cut record: exit $?"
want_json "$out" '"complete":false' 'file cut.R31: its last record is cut off'

out=$("$QUELOR" report "$WORK/full.R31" "$WORK/part2.R31" --out "$WORK/day.html" 2>"$WORK/err") ||
  fail "two files: $(cat "$WORK/err")"
want_json "$out" '"files":2' '"lines":12'
grep -q 'part2.R31 7' "$WORK/day.html" || fail "the day's page does not name the second file's lines"
# A survey in feet: scale bars and cells in feet.
if [ -x "${BUILD_DIR:-}/devsim" ]; then
  "$BUILD_DIR/devsim" survey --instrument em31mk2 --lines 6 --line-length 20 --quality 4 --feet --out "$WORK/feet.T31" >/dev/null
  "$QUELOR" report "$WORK/feet.T31" --out "$WORK/feet.html" >/dev/null 2>&1 || fail "feet report: exit $?"
  [ "$(grep -oE 'font-size="12">[0-9.]+ ft</text>' "$WORK/feet.html" | wc -l)" -eq 2 ] && grep -q 'cells of [0-9.]* ft,' "$WORK/feet.html" ||
    fail "the feet survey's page is not in feet: $(grep -oE 'font-size="12">[^<]*</text>|cells of [^,]*' "$WORK/feet.html")"
fi
# The folder holding the day's files: the same survey.
mkdir "$WORK/folder" && cp "$WORK/full.R31" "$WORK/part2.R31" "$WORK/folder/" && echo notes >"$WORK/folder/notes.txt"
folder=$("$QUELOR" report "$WORK/folder" --out "$WORK/folder.html" 2>"$WORK/err") || fail "folder: $(cat "$WORK/err")"
[ "$(sed 's/"out":"[^"]*",//; s/"bytes":[0-9]*//' <<<"$folder")" = "$(sed 's/"out":"[^"]*",//; s/"bytes":[0-9]*//' <<<"$out")" ] ||
  fail "the folder's report differs from the two files': $folder"
# A file given through a pipe, which cannot be read twice: the same maps.
pipe=$("$QUELOR" report <(cat "$WORK/full.R31") --out "$WORK/pipe.html" 2>"$WORK/err") || fail "pipe: $(cat "$WORK/err")"
want_json "$pipe" '"coverage_map":true' '"grid_map":true' '"complete":true'
maps() { grep -o 'base64,[^"]*' "$1"; }
[ "$(maps "$WORK/pipe.html")" = "$(maps "$WORK/full.html")" ] || fail "the maps of a piped file differ"

# Progress on stderr once the work runs over a second (the clock's rule is
# tested natively): nothing for a small file; for a long one, whatever shows
# is a line a step (stderr is no terminal here) or the time taken.
[ -s "$WORK/err" ] && fail "progress for a small file: $(cat "$WORK/err")"
survey "$WORK/long.R31" --lines 50 --length 100 --rate 25
"$QUELOR" report "$WORK/long.R31" --out "$WORK/long.html" >/dev/null 2>"$WORK/err" || fail "long file: $(cat "$WORK/err")"
grep -v -E '^quelor report: ([1-5]/5 .*|done in [0-9.]+ s)$' "$WORK/err" && fail "progress lines: $(cat "$WORK/err")"

# Bad input.
"$QUELOR" report "$WORK/gap.R31" >/dev/null 2>&1; [ $? -eq 2 ] || fail "no --out: not exit 2"
"$QUELOR" report "$WORK/none.R31" --out "$WORK/x.html" >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing file: not exit 2"
echo "not a survey" >"$WORK/text.R31"
"$QUELOR" report "$WORK/text.R31" --out "$WORK/x.html" >/dev/null 2>&1; [ $? -eq 2 ] || fail "text file: not exit 2"
[ ! -e "$WORK/x.html" ] || fail "a page was written for bad input"

# Self-contained: nothing but data: URIs to load.
page=$WORK/gap.html
grep -qiE '(src|href)="(https?:|//|ftp:|file:)' "$page" && fail "the page refers to outside resources"
grep -q "Content-Security-Policy" "$page" || fail "the page has no content policy"
[ "$(grep -o '<img ' "$page" | wc -l)" -eq 2 ] || fail "the page has not two images"
for name in gap.R31 EM31-MK2 "Zelko31 2.30" "1CONN BRK 1" "instrument reconnected" "Lost     12"; do
  grep -qF "$name" "$page" || fail "the page lacks '$name'"
done

browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "SKIP (browser part): chromium is not installed (scripts/setup)"
else
  # A copy of the page with a checking script (the page itself has none):
  # the DOM it finds, each image decoded, and where the maps and tables are.
  python3 - "$page" "$WORK/check.html" <<'PY'
import sys
page = open(sys.argv[1]).read()
page = page.replace("default-src 'none';", "default-src 'none'; script-src 'unsafe-inline';")
script = """<pre id="check-result"></pre><script>
window.addEventListener('load', () => {
  const r = {};
  for (const id of ['verdict', 'inputs', 'coverage-map', 'grid-map', 'coverage-share', 'gaps', 'line-table',
                    'speed-histogram', 'gps-quality', 'remarks'])
    r[id] = !!document.getElementById(id);
  r.images = [...document.images].map(i => ({complete: i.complete, w: i.naturalWidth, h: i.naturalHeight}));
  r.colour_bars = document.querySelectorAll('.colour-bar').length;
  r.north_arrows = document.querySelectorAll('.north-arrow').length;
  r.scale_bars = document.querySelectorAll('.scale-bar').length;
  r.line_rows = document.querySelectorAll('#line-table tr').length - 1;
  r.remark_rows = document.querySelectorAll('#remarks tr').length - 1;
  r.verdict = document.getElementById('verdict').textContent;
  r.rects = {};
  for (const id of ['coverage-map', 'grid-map', 'line-table', 'remarks']) {
    const b = document.getElementById(id).getBoundingClientRect();
    r.rects[id] = [Math.round(b.left), Math.round(b.top), Math.round(b.width), Math.round(b.height)];
  }
  document.getElementById('check-result').textContent = JSON.stringify(r);
});
</script>"""
open(sys.argv[2], "w").write(page.replace("</body>", script + "</body>"))
PY
  run_browser() {
    timeout 120 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
      --disable-background-networking --disable-component-update --disable-sync --disable-default-apps \
      --disable-features=SpellCheck,Translate,OptimizationHints,MediaRouter,AutofillServerCommunication \
      --user-data-dir="$WORK/profile" "$@" 2>>"$WORK/browser.log"
  }
  run_browser --window-size=1400,4000 --virtual-time-budget=5000 --dump-dom "file://$WORK/check.html" >"$WORK/dom.html"
  python3 - "$WORK/dom.html" "$WORK/rects" <<'PY' || fail "DOM check"
import html, json, re, sys
dom = open(sys.argv[1]).read()
m = re.search(r'<pre id="check-result">(.*?)</pre>', dom, re.S)
if not m or not m.group(1).strip():
    sys.exit("no result from the page's check")
r = json.loads(html.unescape(m.group(1)))
bad = [k for k, v in r.items() if v is False]
if bad: sys.exit("missing: %s" % bad)
if len(r["images"]) != 2 or not all(i["complete"] and i["w"] > 50 and i["h"] > 50 for i in r["images"]):
    sys.exit("images not decoded: %s" % r["images"])
if (r["colour_bars"], r["north_arrows"], r["scale_bars"]) != (2, 2, 2):
    sys.exit("colour bars, north arrows, scale bars: %s" % [r["colour_bars"], r["north_arrows"], r["scale_bars"]])
if r["line_rows"] != 7 or r["remark_rows"] != 5:
    sys.exit("rows: %d lines, %d remarks" % (r["line_rows"], r["remark_rows"]))
if "between line 4 and line 6" not in r["verdict"]:
    sys.exit("verdict: " + r["verdict"])
open(sys.argv[2], "w").write("\n".join("%s %d %d %d %d" % (k, *v) for k, v in r["rects"].items()) + "\n")
PY
  # The screenshot of the page itself, every request logged.
  run_browser --window-size=1400,4000 --screenshot="$WORK/shot.png" --log-net-log="$WORK/net.json" "file://$page" >/dev/null
  [ -s "$WORK/shot.png" ] || fail "no screenshot"
  if [ -s "$WORK/rects" ] && command -v convert >/dev/null; then
    while read -r id x y w h; do
      [ $((y + h)) -le 4000 ] || { fail "$id lies below the screenshot ($y+$h)"; continue; }
      colours=$(convert "$WORK/shot.png" -crop "${w}x${h}+${x}+${y}" +repage -format %k info:)
      least=20
      [ "${id%-map}" != "$id" ] && least=40  # a map in the palette
      [ "$colours" -ge "$least" ] || fail "the screenshot shows $id with $colours colours only"
    done <"$WORK/rects"
  fi
  # Requests the page makes (the browser's own have no origin), checked
  # against a page that does make one.
  page_requests() {
    python3 - "$1" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
start = d["constants"]["logEventTypes"]["URL_REQUEST_START_JOB"]
for e in d["events"]:
    p = e.get("params", {})
    if e["type"] == start and "url" in p and p.get("initiator") != "not an origin" and not p["url"].startswith(("data:", "file:")):
        print(p["url"])
PY
  }
  outside=$(page_requests "$WORK/net.json")
  [ -z "$outside" ] || fail "the page made requests: $outside"
  echo '<!DOCTYPE html><img src="http://192.0.2.1/x.png">' >"$WORK/leak.html"
  run_browser --virtual-time-budget=2000 --dump-dom --log-net-log="$WORK/leak.json" "file://$WORK/leak.html" >/dev/null
  grep -q 192.0.2.1 <<<"$(page_requests "$WORK/leak.json")" || fail "the request check does not see a page's request"
  [ "$failures" -eq 0 ] && echo "report: the page passes in $("$browser" --version 2>/dev/null | head -1)"
fi

[ "$failures" -eq 0 ] && echo "report: all passed"
exit $((failures > 0))
