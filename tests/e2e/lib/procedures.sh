# shellcheck shell=bash
# Sourced by the procedure scenarios (after lib/survey.sh): one variant's
# program with its default settings, the boxes of the procedures and the
# constant records they write.

# use_program NAME VERSION: NAME.exe with its settings file NAME_VERSION.INI.
use_program() {
  e2e_exe=$e2e_build/$1.exe
  e2e_title=$1
  e2e_stem=$1
  e2e_ini_name=$1_$2.INI
  [ -f "$e2e_exe" ] || e2e_skip "$e2e_exe is not built"
}

# The variant's default settings with this scenario's data folder; more
# settings lines as LINE=VALUE.
use_settings() {
  local dir golden=$e2e_root/tests/golden/settings/$e2e_ini_name
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  e2e_settings_save
  dir=$(e2e_settings_dir)
  mkdir -p "$dir"
  cp "$golden" "$dir/$e2e_ini_name"
  E2E_VALUE="C:\\quelor-e2e\\procedures\\$e2e_title\\" python3 - "$dir/$e2e_ini_name" "$@" <<'PY'
import os, sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
lines[1] = os.environ["E2E_VALUE"].encode("latin-1")  # the data folder
for edit in sys.argv[2:]:
    line, value = edit.split("=", 1)
    lines[int(line) - 1] = value.encode("latin-1")
open(sys.argv[1], "wb").write(b"\r\n".join(lines))
PY
}

# expect_box TITLE TEXT: the box TITLE is open and says TEXT.
expect_box() {
  e2e_wait_dialog "$1" 10 >/dev/null || e2e_fail "no \"$1\" box; windows: $(e2e_dialogs | tr '\n' ',')"
  local body
  body=$(e2e_dialog_text "$1")
  [[ "$body" == *"$2"* ]] || e2e_fail "\"$1\" says \"$body\", not \"$2\""
  e2e_say "box \"$1\": $2"
}

# compare FILE TAG_REGEX TOLERANCE EXPECTED...: the last records matching
# TAG_REGEX hold the expected values, each FIRST or FIRST/SECOND (SECOND 0
# when left out).
compare() {
  local file=$1 tags=$2 tolerance=$3
  shift 3
  python3 - "$file" "$tags" "$tolerance" "$@" <<'PY' || e2e_fail "the constant records differ from the simulator's values"
import re, sys
path, tags, tol = sys.argv[1], sys.argv[2], float(sys.argv[3])
want = [[float(x) for x in (v + "/0").split("/")[:2]] for v in sys.argv[4:]]
data = open(path, "rb").read().decode("latin-1")
length = data.index("\n") + 1
records = [data[i:i + length] for i in range(0, len(data), length)]
found = [r for r in records if re.match(tags, r)][-len(want):]
if len(found) != len(want):
    sys.exit(f"{len(found)} records match {tags}")
for r, w in zip(found, want):
    two_letter_tag = r[1].isalnum()  # O1-O6 (EM38-MK2), O1-OS (EM38-4); EM61: 'O' alone
    width = 10 if two_letter_tag else 9
    start = 2 if two_letter_tag else 1
    first = float(r[start:start + width])
    second = float(r[start + width + 1:start + 2 * width + 1])
    print(f"{r.rstrip()!r}: want {w[0]} {w[1]}")
    if abs(first - w[0]) > tol or abs(second - w[1]) > tol:
        sys.exit(f"record {r.rstrip()!r}: expected {w[0]} and {w[1]} within {tol}")
PY
}

# gps_windows_visible: 1 when the map window (MapWnd, 652) is shown, else 0.
gps_windows_visible() {
  e2e_inspect "$e2e_title" --deep | awk '$1 == "descendant" && $2 == 4 && $3 == 652 { print $9; exit }'
}
