#!/usr/bin/env bash
# Smoke test of the delivered program under Wine on a virtual display: it
# starts, shows its setup window "Qyn31" with the ten buttons and the two
# hidden child windows, writes its default settings file, and exits on X.
# Run by scripts/test after wine_env_start; runs its own Wine environment
# when started alone. QUELOR_WIN32_BUILD picks the build folder (build/win32).
set -euo pipefail
# shellcheck source=lib/frame.sh
. "$(dirname "$0")/lib/frame.sh"
e2e_frame_begin smoke
exe=$build/Qyn31.exe
title=Qyn31
stem=Qyn31MK2
ini_name=Qyn31MK2_220.INI
[ -f "$exe" ] || fail "$exe is not built (cmake --build --preset win32)"

if timeout 5 xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; then
  fail "a window \"$title\" is already open on $DISPLAY"
fi
settings_dir=$WINEPREFIX/drive_c/ProgramData/Quelor/$stem
rm -rf "$settings_dir"

start=$SECONDS
QUELOR_PROGRAM_LOG=$out/smoke-program.log wine_program_start "$exe"
window=$(wine_window_wait "$title" 30) || fail "the window \"$title\" did not appear"
echo "smoke: window $window up after $((SECONDS - start)) s"

# The buttons are Wine-side child windows, not X windows: list them from a
# Windows program running under the same Wine server.
listing=""
for attempt in 1 2 3 4 5 6 7 8 9 10; do
  listing=$(timeout 20 wine "$inspect" "$title" 2>/dev/null | tr -d '\r') || true
  [ "$(grep -c '^child 42[0-9] Button ' <<<"$listing")" -eq 10 ] && break
  sleep 0.3
done
echo "$listing" > "$out/smoke-windows.txt"
grep -q '^window Zelko ' <<<"$listing" || fail "no top-level window of class Zelko: $listing"
expected_buttons=("&Logging" "&Survey Setup" "Sys&tem Setup" "G&eometry Setup" "&GPS Port Setup"
                  "GPS M&onitoring" "&Map Options" "&Profiles Options" "&Reset to Default" "E&xit")
for i in "${!expected_buttons[@]}"; do
  id=$((420 + i))
  line=$(grep "^child $id Button " <<<"$listing") || fail "button $id missing"
  read -r _ _ _ x y w h visible text <<<"$line"
  [ "$text" = "${expected_buttons[$i]}" ] || fail "button $id reads \"$text\", not \"${expected_buttons[$i]}\""
  [ "$visible" = 1 ] || fail "button $id is hidden"
  [ "$w" -gt 0 ] && [ "$h" -ge 36 ] || fail "button $id has size ${w}x$h"
done
grep -q '^child 4 ScreenLogWnd .* 0 Log$' <<<"$listing" || fail "no hidden ScreenLogWnd \"Log\" (id 4)"
grep -q '^child 780 MonitorGPSWnd .* 0 Monitor GPS$' <<<"$listing" ||
  fail "no hidden MonitorGPSWnd \"Monitor GPS\" (id 780)"
echo "smoke: ten buttons and the two hidden child windows present"

# The screen shows the window: a screenshot with more than a handful of colours.
shot=$out/smoke.png
timeout 20 import -window root "$shot" || fail "screenshot failed"
colours=$(convert "$shot" -format '%k' info:)
[ "$colours" -gt 8 ] || fail "the screenshot has only $colours colours"
echo "smoke: screenshot $shot ($colours colours)"

# The first start writes the default settings file.
ini=$settings_dir/$ini_name
[ -f "$ini" ] || fail "no settings file $ini"
[ "$(head -n 1 "$ini")" = $'Ver2.20\r' ] || fail "first line of $ini is not Ver2.20 CR LF"
lines=$(wc -l <"$ini")
[ "$lines" -eq 83 ] || fail "$ini has $((lines - 1)) value lines, not 82"
[ "$(grep -c $'\r$' "$ini")" -eq 83 ] || fail "not every line of $ini ends with CR LF"
golden=$root/tests/golden/settings/$ini_name
if [ -f "$golden" ]; then
  cmp "$ini" "$golden" || fail "$ini differs from $golden"
  echo "smoke: settings file equals $golden"
fi
[ -d "$WINEPREFIX/drive_c/ProgramData/Quelor/Temp" ] || fail "no work folder C:\\ProgramData\\Quelor\\Temp"

# X exits.
wine_window_key "$window" x || fail "cannot send the key X"
wine_program_wait_exit 10 || fail "the program did not exit within 10 s of the key X"
[ "$QUELOR_PROGRAM_RC" = 0 ] || fail "exit code $QUELOR_PROGRAM_RC"
echo "smoke: exit on X, code 0; total $((SECONDS - start)) s"
echo "smoke: PASS"
