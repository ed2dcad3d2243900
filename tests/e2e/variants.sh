#!/usr/bin/env bash
# Every one of the 18 programs under Wine: the window carries the program
# name, the fourth button reads "Alarms S&etup" only for EM61-LX2, the first
# start writes the variant's default settings file (compared byte for byte
# with tests/golden/settings when present), and X ends the program.
# QUELOR_VARIANTS="Qyn31 Zelko61LX2" narrows the run.
set -euo pipefail
# shellcheck source=lib/frame.sh
. "$(dirname "$0")/lib/frame.sh"

# program, settings stem, version
rows=(
  Zelko31 Zelko31MK2 2.30    Qyn31 Qyn31MK2 2.20
  Zelko38 Zelko38 2.15       Qyn38 Qyn38 2.00
  Zelko34-3 Zelko34-3 2.14   Qyn34-3 Qyn34-3 2.15
  Zelko38MK2 Zelko38MK2 2.29 Qyn38MK2 Qyn38MK2 2.20
  Zelko38-4 Zelko38-4 1.00   Qyn38-4 Qyn38-4 1.00
  ZelkoCS-21 ZelkoCS-21 1.00 QynCS-21 QynCS-21 1.00
  Zelko601 Zelko601 1.01     Qyn601 Qyn601 1.10
  Zelko61LX2 Zelko61LX2 1.09 Qyn61LX2 Qyn61LX2 1.00
  Zelko61MK2 Zelko61MK2 2.28 Qyn61MK2 Qyn61MK2 2.25
)

e2e_frame_begin variants

check_variant() {
  local program=$1 stem=$2 version=$3
  local exe=$build/$program.exe ini_name="${stem}_${version//./}.INI"
  local settings_dir=$WINEPREFIX/drive_c/ProgramData/Quelor/$stem
  [ -f "$exe" ] || fail "$exe is not built"
  rm -rf "$settings_dir"
  QUELOR_PROGRAM_LOG=$out/$program.log wine_program_start "$exe"
  local window listing="" attempt
  window=$(wine_window_wait "$program" 30) || fail "$program: no window"
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    listing=$(timeout 20 wine "$inspect" "$program" 2>/dev/null | tr -d '\r') || true
    [ "$(grep -c '^child 42[0-9] Button ' <<<"$listing")" -eq 10 ] && break
    sleep 0.3
  done
  local fourth="G&eometry Setup"
  case $program in *61LX2) fourth="Alarms S&etup" ;; esac
  grep -q "^child 423 Button .* 1 ${fourth}\$" <<<"$listing" ||
    fail "$program: button 423 is not \"$fourth\": $(grep '^child 423 ' <<<"$listing")"
  [ "$(grep -c '^child 42[0-9] Button .* 1 ' <<<"$listing")" -eq 10 ] ||
    fail "$program: not ten visible buttons"
  local ini=$settings_dir/$ini_name
  [ -f "$ini" ] || fail "$program: no settings file $ini_name"
  [ "$(head -n 1 "$ini")" = "Ver${version}"$'\r' ] || fail "$program: first line of $ini_name"
  local golden=$root/tests/golden/settings/$ini_name
  if [ -f "$golden" ]; then
    cmp -s "$ini" "$golden" || fail "$program: $ini_name differs from the golden file"
  fi
  wine_window_key "$window" x || fail "$program: cannot send X"
  wine_program_wait_exit 10 || fail "$program: no exit within 10 s of X"
  [ "$QUELOR_PROGRAM_RC" = 0 ] || fail "$program: exit code $QUELOR_PROGRAM_RC"
  echo "variants: $program ok"
}

count=0
for ((i = 0; i < ${#rows[@]}; i += 3)); do
  program=${rows[i]}
  if [ -n "${QUELOR_VARIANTS:-}" ] && [[ " $QUELOR_VARIANTS " != *" $program "* ]]; then continue; fi
  check_variant "$program" "${rows[i + 1]}" "${rows[i + 2]}"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || fail "no variant checked"
echo "variants: PASS ($count programs)"
