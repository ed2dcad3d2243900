#!/usr/bin/env bash
# Real keyboard and mouse input to the setup window of Qyn31 under Wine:
# Right nine times then Enter presses "E&xit"; a mouse click on "E&xit"
# exits; R opens the "Reset to Default Setting" question, Escape cancels it
# and the program stays until X.
set -euo pipefail
# shellcheck source=lib/frame.sh
. "$(dirname "$0")/lib/frame.sh"
e2e_frame_begin input
exe=$build/Qyn31.exe
title=Qyn31
[ -f "$exe" ] || fail "$exe is not built"

start_program() {
  QUELOR_PROGRAM_LOG=$out/input-program.log wine_program_start "$exe"
  window=$(wine_window_wait "$title" 30) || fail "no window \"$title\""
}

expect_exit() {
  wine_program_wait_exit 10 || fail "$1: the program did not exit"
  [ "$QUELOR_PROGRAM_RC" = 0 ] || fail "$1: exit code $QUELOR_PROGRAM_RC"
  echo "input: $1: exited"
}

# 1. The focus walks round the buttons; Enter presses the focused one.
start_program
wine_window_key "$window" Right Right Right Right Right Right Right Right Right Return
expect_exit "Right x9, Enter"

# 2. A mouse click in the middle of "E&xit".
start_program
listing=""
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  listing=$(timeout 20 wine "$inspect" "$title" 2>/dev/null | tr -d '\r') || true
  grep -q '^child 429 Button ' <<<"$listing" && break
  sleep 0.3
done
read -r _ cx cy _ _ <<<"$(grep '^client ' <<<"$listing")" || fail "no client line: $listing"
read -r _ _ _ bx by bw bh _ <<<"$(grep '^child 429 Button ' <<<"$listing")" || fail "no Exit button"
timeout 5 xdotool mousemove --sync $((cx + bx + bw / 2)) $((cy + by + bh / 2)) click 1 ||
  fail "mouse click failed"
expect_exit "click on E&xit"

# 3. R asks before resetting; Escape keeps everything; X still exits.
start_program
wine_window_key "$window" r
dialog=$(wine_window_wait "Reset to Default Setting" 10) || fail "no reset question after R"
wine_window_key "$dialog" Escape
for i in $(seq 1 50); do
  timeout 5 xdotool search --onlyvisible --name '^Reset to Default Setting$' >/dev/null 2>&1 || break
  sleep 0.1
done
kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || fail "the program ended on a cancelled reset"
[ -f "$WINEPREFIX/drive_c/ProgramData/Quelor/Qyn31MK2/Qyn31MK2_220.INI" ] ||
  fail "a cancelled reset deleted the settings file"
wine_window_key "$window" x
expect_exit "R, Escape, X"
echo "input: PASS"
