#!/usr/bin/env bash
# The data file's disk fills up while logging. The data folder is a small
# tmpfs (mounted over C:\quelor-e2e\survey_write_failure); a few seconds into
# the walk a filler file takes all its free space. On the first failed write
# the program must ring, stop logging by itself (Stand By) and show the
# "FILE ERROR" box naming the file and "Disk full"; the file on the disk then
# holds whole records only. Go while the disk is still full shows the box
# again and stays in Stand By. Once the filler is removed, Go writes the
# records held in memory, then the "FGAP" remark, then "$STARTED"; the file
# passes quelor check with no error, and the readings about the failure go
# on without a hole. The disk fills once more and Exit, with it still full,
# tells how many records were not written. Run on Qyn31 and on Zelko61MK2
# (QUELOR_VARIANTS narrows).
# Needs root for the mount: skips with a message when it cannot mount.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_write_failure

mnt=$(e2e_data_folder survey_write_failure)
if ! mount -t tmpfs -o size=300k tmpfs "$mnt" 2>/dev/null; then
  e2e_skip "cannot mount a small tmpfs on $mnt (needs root)"
fi
# The program is ended (by e2e_cleanup) before the folder is let go.
on_exit() {
  local rc=$?
  e2e_cleanup || true
  umount "$mnt" 2>/dev/null || umount -l "$mnt" 2>/dev/null || true
  exit "$rc"
}
trap on_exit EXIT

rows=(Qyn31 Qyn31MK2 220 em31mk2 Zelko61MK2 Zelko61MK2 228 em61mk2)

use_settings() {
  local dir ini golden=$e2e_root/tests/golden/settings/$e2e_ini_name
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  dir=$(e2e_settings_dir)
  ini=$dir/$e2e_ini_name
  saved=""
  if [ -f "$ini" ]; then
    saved=$e2e_work/$e2e_ini_name.saved
    cp "$ini" "$saved"
  fi
  mkdir -p "$dir"
  cp "$golden" "$ini"
  E2E_VALUE="C:\\quelor-e2e\\survey_write_failure\\$e2e_title\\" python3 - "$ini" <<'PY'
import os, sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
lines[1] = os.environ["E2E_VALUE"].encode("latin-1")  # the data folder
open(sys.argv[1], "wb").write(b"\r\n".join(lines))
PY
}

restore_settings() {
  local ini
  ini=$(e2e_settings_dir)/$e2e_ini_name
  if [ -n "$saved" ]; then cp "$saved" "$ini"; else rm -f "$ini"; fi
}

# wait_file_error SECONDS: waits for the "FILE ERROR" box while the survey
# runs; any other box is a failure.
wait_file_error() {
  local end=$((SECONDS + $1)) title
  while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || e2e_fail "the program ended while the disk filled"
    title=$(e2e_dialogs | head -n 1)
    if [ "$title" = "FILE ERROR" ]; then return 0; fi
    [ -z "$title" ] || e2e_fail "while the disk filled the program showed \"$title\": $(e2e_dialog_text "$title")"
    sleep 0.5
  done
  e2e_fail "no \"FILE ERROR\" box within $1 s of a full disk"
}

# expect_file_error WHAT: the box names the file and the cause; the count
# of held records it shows goes to `held`.
expect_file_error() {
  local body
  # The box's text spans several lines of the inspector's listing.
  body=$(e2e_inspect "FILE ERROR" | grep -Ev '^(window|client) ' | tr '\n' ' ')
  [[ "$body" == *"$name"* ]] || e2e_fail "the $1 box does not name the file $name: $body"
  [[ "$body" == *"Disk full"* ]] || e2e_fail "the $1 box does not say the disk is full: $body"
  held=$(grep -Eo '[0-9]+ records held' <<<"$body" | cut -d' ' -f1) ||
    e2e_fail "the $1 box shows no count of held records: $body"
  e2e_say "$1 box: $(tr '\n' ' ' <<<"$body")"
}

survey() {
  local program=$1 stem=$2 version=$3 instrument=$4 data file name length snapshot held first_held
  e2e_name=survey_write_failure-$program
  e2e_exe=$e2e_build/$program.exe
  e2e_title=$program
  e2e_stem=$stem
  e2e_ini_name=${stem}_$version.INI
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built (cmake --build --preset win32)"
  data=$mnt/$program
  rm -rf "$data" "$mnt/filler"
  mkdir -p "$data"
  use_settings
  rm -rf "$e2e_work/control" "$e2e_work/dev"
  e2e_devsim_start --instrument "$instrument" --gps gga --seed 23
  e2e_map_ports

  e2e_log_walk 4
  file=$(e2e_data_file "$data" '*')
  [ -n "$file" ] || e2e_fail "no data file in $data"
  name=$(basename "$file")
  dd if=/dev/zero of="$mnt/filler" bs=4096 2>/dev/null || true
  e2e_say "disk full: $(df -k --output=avail "$mnt" | tail -n 1 | tr -d ' ') KB free, data file $(stat -c %s "$file") bytes"
  wait_file_error 90
  e2e_screenshot file-error
  expect_file_error "first"
  first_held=$held
  e2e_button_460 | grep -qx '&Go' || e2e_fail "logging did not stop at the failure: button 460 reads \"$(e2e_button_460)\""
  e2e_say "logging stopped by itself (Stand By)"
  e2e_answer "FILE ERROR" Return
  e2e_screenshot stand-by-held

  # Whole records only on the disk while the file fails.
  snapshot=$e2e_work/snapshot
  cp "$file" "$snapshot"
  length=$(head -c 200 "$snapshot" | awk 'NR == 1 {print length($0) + 1; exit}')
  e2e_assert_eq "bytes past the last whole record while failing" $(($(stat -c %s "$snapshot") % length)) 0

  # Go with the disk still full: the box again, Stand By kept.
  e2e_key g
  e2e_wait_dialog "FILE ERROR" 10 >/dev/null || e2e_fail "Go on a full disk showed no \"FILE ERROR\" box"
  expect_file_error "Go on a full disk"
  e2e_assert_eq "records held, as the second box counts them" "$held" "$first_held"
  e2e_answer "FILE ERROR" Return
  e2e_button_460 | grep -qx '&Go' || e2e_fail "Go on a full disk left Stand By"
  cmp -s "$file" "$snapshot" || e2e_fail "Go on a full disk changed the file"

  rm -f "$mnt/filler"
  e2e_say "space freed"
  e2e_go
  e2e_walk 4

  # The disk fills again and the surveyor leaves with it full: Exit tells
  # how many records were not written; the file keeps whole records only.
  dd if=/dev/zero of="$mnt/filler" bs=4096 2>/dev/null || true
  wait_file_error 90
  e2e_answer "FILE ERROR" Return
  e2e_key x
  e2e_wait_dialog "Confirm Exit" 10 >/dev/null || e2e_fail "X with a file open asked no \"Confirm Exit\""
  e2e_answer "Confirm Exit" y
  e2e_wait_dialog "FILE ERROR" 10 >/dev/null || e2e_fail "Exit on a full disk did not tell what was not written"
  local lost
  lost=$(e2e_inspect "FILE ERROR" | grep -Eo '[0-9]+ records were not written' | cut -d' ' -f1) ||
    e2e_fail "the box at Exit gives no count: $(e2e_inspect "FILE ERROR" | tr '\n' ' ')"
  e2e_assert_ge "records not written at Exit" "$lost" 1
  e2e_answer "FILE ERROR" Return
  for _ in $(seq 1 50); do
    e2e_logging_shown || break
    sleep 0.2
  done
  e2e_logging_shown && e2e_fail "the logging window stayed after Exit"
  e2e_exit_program
  e2e_devsim_stop
  rm -f "$mnt/filler"
  restore_settings

  cp "$file" "$e2e_out/$e2e_name-$name"
  e2e_check "$file"
  e2e_assert_eq "check errors" "$e2e_check_errors" 0
  e2e_assert_eq "record length" "$e2e_check_record_length" "$length"
  cmp -s -n "$(stat -c %s "$snapshot")" "$file" "$snapshot" || e2e_fail "the records written before the failure changed"
  # The file read record by record (EM61 readings are binary): after the
  # records on the disk at the failure come the held ones, the last "PAUSED"
  # among them, then the gap remark, then "$STARTED". Nothing handed to the
  # writer is missing: the records before the gap remark are as many as the
  # box said held, and the readings of the first logging stretch follow one
  # another without a hole (none over twice their usual interval + 300 ms).
  eval "$(python3 - "$file" "$(stat -c %s "$snapshot")" "$length" <<'PY'
import shlex, statistics, sys
data, cut, n = open(sys.argv[1], "rb").read(), int(sys.argv[2]), int(sys.argv[3])
records = [data[i:i + n] for i in range(0, len(data), n)]
first_after = cut // n
remarks = [(i - first_after, r[1:12].decode("latin-1").rstrip())
           for i, r in enumerate(records) if i >= first_after and r[:1] == b"X"][:3]
reading = lambda r: r[:1] in b"T23456DEF"
tick = lambda r: int(r[n - 11:n - 1])
stretch, on = [], 0
for i, r in enumerate(records):
    if r[:1] == b"X" and r[1:9] == b"$STARTED": on += 1
    if r[:1] == b"X" and r[1:7] == b"PAUSED" and on == 1: break
    if on == 1 and reading(r): stretch.append((tick(r), i >= first_after))
gaps = [(b[0] - a[0], b[1]) for a, b in zip(stretch, stretch[1:])]
median = statistics.median(g for g, _ in gaps) if gaps else 0
holes = ["%d ms%s" % (g, " (held)" if h else "") for g, h in gaps if g > 2 * median + 300]
after_go = sum(1 for r in records[first_after:] if reading(r)) - sum(1 for _, h in stretch if h)
print("remarks=%s" % shlex.quote(" ".join("%d:%s" % x for x in remarks)))
for k, (at, text) in enumerate(remarks): print("remark%d=%s at%d=%d" % (k, shlex.quote(text), k, at))
print("intervals=%d median=%d held_readings=%d" % (len(gaps), median, sum(1 for _, h in stretch if h)))
print("holes=%s after_go=%d" % (shlex.quote(", ".join(holes)), after_go))
print("gap_remarks=%d" % sum(1 for r in records if r[:5] == b"XFGAP"))
PY
)"
  e2e_say "remarks after the failure (record:text): $remarks"
  [ "${remark0:-}" = PAUSED ] || e2e_fail "the held records do not end with \"PAUSED\""
  [ "${remark1:-}" = "FGAP      0" ] || e2e_fail "no \"FGAP      0\" remark after the held records"
  [ "${remark2:-}" = '$STARTED' ] || e2e_fail "no \"\$STARTED\" after the gap remark"
  e2e_assert_eq "gap remarks" "$gap_remarks" 1
  e2e_assert_eq "held records written before the gap remark" "$at1" "$held"
  e2e_say "readings before the failure: $intervals intervals, median $median ms, $held_readings of them held"
  [ -z "$holes" ] || e2e_fail "holes in the readings before the failure: $holes"
  e2e_assert_ge "readings after Go" "$after_go" 5
  e2e_say "PASS ($name, $(stat -c %s "$file") bytes)"
}

count=0
for ((i = 0; i < ${#rows[@]}; i += 4)); do
  program=${rows[i]}
  if [ -n "${QUELOR_VARIANTS:-}" ] && [[ " $QUELOR_VARIANTS " != *" $program "* ]]; then continue; fi
  survey "$program" "${rows[i + 1]}" "${rows[i + 2]}" "${rows[i + 3]}"
  count=$((count + 1))
done
e2e_name=survey_write_failure
[ "$count" -gt 0 ] || e2e_fail "no program surveyed"
echo "survey_write_failure: PASS ($count programs)"
