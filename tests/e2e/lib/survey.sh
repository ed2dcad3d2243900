# shellcheck shell=bash
# Sourced by the end-to-end survey scenarios and by scripts/demo: runs Qyn31
# under Wine on the device simulator and drives it by keys as a surveyor
# would, then reads the data file it wrote.
#
#   e2e_setup NAME            paths, Wine environment, clean-up on exit
#   e2e_settings [N=VALUE..]  default settings file with some lines changed
#   e2e_devsim_start ARGS     devsim with a control FIFO; e2e_devsim CMD
#   e2e_map_ports             COM4 instrument, COM6 GPS, COM7 tilt meter
#   e2e_program_start         Qyn31.exe, waits for its setup window
#   e2e_start_logging         L; the logging window or a skip/failure
#   e2e_create_file, e2e_go, e2e_pause, e2e_exit_logging, e2e_exit_program
#   e2e_data_file DIR EXT, e2e_check FILE, e2e_count REGEX FILE
#
# Every wait has a time-out. A build whose logging window is still the empty
# placeholder (no survey yet) ends the scenario with "SKIP: <reason>" and
# status 0 (status 1 instead with QUELOR_E2E_STRICT=1); every other surprise,
# a logging window that does not come or a command without effect included,
# is a failure.

e2e_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
e2e_build=${QUELOR_WIN32_BUILD:-$e2e_root/build/win32}
case $e2e_build in /*) ;; *) e2e_build=$e2e_root/$e2e_build ;; esac
e2e_native=${QUELOR_NATIVE_BUILD:-$e2e_root/build/native}
case $e2e_native in /*) ;; *) e2e_native=$e2e_root/$e2e_native ;; esac
e2e_exe=$e2e_build/Qyn31.exe
e2e_inspect_exe=$e2e_build/wininspect.exe
e2e_devsim_bin=$e2e_native/devsim
e2e_quelor=${QUELOR:-$e2e_native/quelor}
e2e_title=Qyn31
e2e_stem=Qyn31MK2
e2e_ini_name=Qyn31MK2_220.INI
e2e_extension=H31

# Lines of the EM31-MK2 settings file (line 1 is the version line).
E2E_INI_DATA_FOLDER=2
E2E_INI_INSTRUMENT_STATE=4
E2E_INI_INSTRUMENT_PORT=8
E2E_INI_GPS_ENABLED=36
E2E_INI_GPS_SENTENCE=37
E2E_INI_GPS_PORT=38
E2E_INI_GPS_STOP_BITS=40
E2E_INI_GPS_DATA_BITS=42
E2E_INI_READING_INTERVAL=54

# The GPS line as 8 data bits and one stop bit (list indexes 1 and 0) instead
# of the default 7 bits and two, for scenarios that open the GPS port more
# than once: a Linux pseudo-terminal stays at 8 data bits but keeps the
# second stop bit, and from then on Wine's SetCommState fails on it with
# error 87 ("Port COM6 cannot be open - Error #87"). Serial ports take both.
E2E_GPS_8N1=("$E2E_INI_GPS_STOP_BITS=0" "$E2E_INI_GPS_DATA_BITS=1")

# The 18 programs: program, settings-file stem, settings version, devsim
# instrument.
E2E_PROGRAMS=(
  Zelko31 Zelko31MK2 230 em31mk2       Qyn31 Qyn31MK2 220 em31mk2
  Zelko38 Zelko38 215 em38             Qyn38 Qyn38 200 em38
  Zelko34-3 Zelko34-3 214 em34-3       Qyn34-3 Qyn34-3 215 em34-3
  Zelko38MK2 Zelko38MK2 229 em38mk2    Qyn38MK2 Qyn38MK2 220 em38mk2
  Zelko38-4 Zelko38-4 100 em38-4       Qyn38-4 Qyn38-4 100 em38-4
  ZelkoCS-21 ZelkoCS-21 100 cs21       QynCS-21 QynCS-21 100 cs21
  Zelko601 Zelko601 101 grad601        Qyn601 Qyn601 110 grad601
  Zelko61LX2 Zelko61LX2 109 em61lx2    Qyn61LX2 Qyn61LX2 100 em61lx2
  Zelko61MK2 Zelko61MK2 228 em61mk2    Qyn61MK2 Qyn61MK2 225 em61mk2
)

# e2e_program_row PROGRAM: "stem version instrument", nothing for no program.
e2e_program_row() {
  local i
  for ((i = 0; i < ${#E2E_PROGRAMS[@]}; i += 4)); do
    [ "${E2E_PROGRAMS[i]}" != "$1" ] || { echo "${E2E_PROGRAMS[*]:i+1:3}"; return; }
  done
}

e2e_program_names() {
  local i
  for ((i = 0; i < ${#E2E_PROGRAMS[@]}; i += 4)); do printf '%s ' "${E2E_PROGRAMS[i]}"; done
}

# COM numbers of the default settings (stored as index = number - 1).
E2E_COM_INSTRUMENT=4
E2E_COM_GPS=6
E2E_COM_TILT=7

e2e_name=e2e
e2e_own_env=0
e2e_work=""
e2e_out=""
e2e_window=""
e2e_devsim_pid=""
e2e_devsim_fd=""
e2e_links=()
declare -A e2e_dev=()

e2e_say() { echo "$e2e_name: $*"; }
e2e_fail() {
  echo "$e2e_name: FAIL: $*" >&2
  # The screen at the moment of the failure, when there is one, and what the
  # log cannot show afterwards: the boxes open and the simulator's last words.
  if [ -n "${DISPLAY:-}" ] && [ -n "$e2e_out" ]; then
    local title
    while IFS= read -r title; do
      [ -n "$title" ] && echo "$e2e_name: open at the failure: \"$title\": $(e2e_dialog_text "$title")" >&2
    done < <(e2e_dialogs 2>/dev/null)
    if [ -n "$e2e_work" ] && [ -s "$e2e_work/devsim.log" ]; then
      tail -n 8 "$e2e_work/devsim.log" | sed "s/^/$e2e_name: devsim: /" >&2
    fi
    timeout 20 import -window root "$e2e_out/$e2e_name-failure.png" >/dev/null 2>&1 &&
      echo "$e2e_name: screen at the failure: $e2e_out/$e2e_name-failure.png" >&2
  fi
  exit 1
}
e2e_skip() {
  if [ "${QUELOR_E2E_STRICT:-0}" = 1 ]; then e2e_fail "$*"; fi
  echo "$e2e_name: SKIP: $*"
  exit 0
}

# e2e_setup NAME: checks the programs, starts the Wine environment when the
# caller has none, and arranges the clean-up.
e2e_setup() {
  e2e_name=$1
  e2e_out=${QUELOR_E2E_OUT:-$e2e_build/e2e}
  mkdir -p "$e2e_out"
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built (cmake --build --preset win32)"
  if [ ! -f "$e2e_inspect_exe" ]; then
    cmake --build "$e2e_build" --target wininspect >/dev/null || e2e_fail "cannot build wininspect"
  fi
  [ -x "$e2e_devsim_bin" ] || e2e_fail "$e2e_devsim_bin is not built (cmake --build --preset native)"
  [ -x "$e2e_quelor" ] || e2e_fail "$e2e_quelor is not built (cmake --build --preset native)"
  local tool
  for tool in xdotool python3 import; do
    command -v "$tool" >/dev/null 2>&1 || e2e_fail "$tool is not installed (scripts/setup)"
  done
  # shellcheck source=../../../scripts/wine-env
  . "$e2e_root/scripts/wine-env"
  if [ -z "${DISPLAY:-}" ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine_env_start || e2e_fail "cannot start the Wine environment"
    e2e_own_env=1
  fi
  e2e_work=$(mktemp -d "${TMPDIR:-/tmp}/quelor-$e2e_name.XXXXXX")
  trap e2e_cleanup EXIT
  if timeout 5 xdotool search --onlyvisible --name "^${e2e_title}\$" >/dev/null 2>&1; then
    e2e_fail "a window \"$e2e_title\" is already open on $DISPLAY"
  fi
}

e2e_cleanup() {
  local rc=$? link
  wine_program_kill
  e2e_devsim_stop
  for link in "${e2e_links[@]}"; do rm -f "$link"; done
  e2e_links=()
  e2e_settings_restore
  if [ -n "$e2e_work" ] && [ -d "$e2e_work" ]; then
    [ -f "$e2e_work/devsim.log" ] && cp "$e2e_work/devsim.log" "$e2e_out/$e2e_name-devsim.log" 2>/dev/null
    rm -rf "$e2e_work"
  fi
  [ "$e2e_own_env" -eq 0 ] || wine_env_stop
  return "$rc"
}

# --- Settings ---------------------------------------------------------------

e2e_settings_dir() { echo "$WINEPREFIX/drive_c/ProgramData/Quelor/$e2e_stem"; }

# The settings file found before the scenario changed it, put back at the end
# so that a kept prefix keeps its owner's settings.
e2e_settings_saved=""
e2e_settings_save() {
  local ini
  ini=$(e2e_settings_dir)/$e2e_ini_name
  [ -z "$e2e_settings_saved" ] || return 0
  e2e_settings_saved=none
  if [ -f "$ini" ]; then
    e2e_settings_saved=$e2e_work/saved.INI
    cp "$ini" "$e2e_settings_saved"
  fi
}
e2e_settings_restore() {
  local ini
  [ -n "$e2e_settings_saved" ] || return 0
  ini=$(e2e_settings_dir)/$e2e_ini_name
  if [ "$e2e_settings_saved" = none ]; then
    rm -f "$ini"
  else
    cp "$e2e_settings_saved" "$ini"
  fi
  e2e_settings_saved=""
}

# e2e_settings [LINE=VALUE ...]: writes the variant's default settings file
# (the golden copy, which the smoke test proves equal to what the program
# writes on a first start) with the given lines replaced; CR LF kept.
e2e_settings() {
  local golden=$e2e_root/tests/golden/settings/$e2e_ini_name dir edit line value
  e2e_settings_save
  [ -f "$golden" ] || e2e_fail "no default settings file $golden"
  # The line numbers above belong to this layout: refuse another one.
  local expect
  for expect in "$E2E_INI_INSTRUMENT_STATE=1" "$E2E_INI_INSTRUMENT_PORT=3" "$E2E_INI_GPS_ENABLED=1" \
    "$E2E_INI_GPS_SENTENCE=1" "$E2E_INI_GPS_PORT=5" "$E2E_INI_GPS_STOP_BITS=1" \
    "$E2E_INI_GPS_DATA_BITS=0" "$E2E_INI_READING_INTERVAL=0.200000"; do
    line=${expect%%=*}
    value=${expect#*=}
    [ "$(sed -n "${line}p" "$golden" | tr -d '\r')" = "$value" ] ||
      e2e_fail "line $line of $golden is not \"$value\": the settings layout changed"
  done
  dir=$(e2e_settings_dir)
  mkdir -p "$dir"
  cp "$golden" "$dir/$e2e_ini_name"
  for edit in "$@"; do
    line=${edit%%=*}
    value=${edit#*=}
    E2E_VALUE=$value python3 - "$dir/$e2e_ini_name" "$line" <<'PY' || e2e_fail "cannot edit line $line"
import os, sys
path, line = sys.argv[1], int(sys.argv[2])
lines = open(path, "rb").read().split(b"\r\n")
lines[line - 1] = os.environ["E2E_VALUE"].encode("latin-1")
open(path, "wb").write(b"\r\n".join(lines))
PY
  done
}

# e2e_data_folder NAME: an empty data folder C:\quelor-e2e\NAME\ for this
# scenario; prints its Unix path. Use with e2e_settings "$E2E_INI_DATA_FOLDER=...".
e2e_data_folder() {
  local dir=$WINEPREFIX/drive_c/quelor-e2e/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  echo "$dir"
}

# --- Device simulator -------------------------------------------------------

# e2e_devsim_start ARGS...: starts devsim with a control FIFO kept open by
# this shell; the pty paths land in e2e_dev[instrument|gps|tilt].
e2e_devsim_start() {
  local fifo=$e2e_work/control ready="" i
  mkfifo "$fifo"
  # Read-write keeps the FIFO open without blocking, so devsim never sees
  # the end of its control input between two commands.
  exec {e2e_devsim_fd}<>"$fifo"
  "$e2e_devsim_bin" --dir "$e2e_work/dev" --control "$fifo" "$@" \
    >"$e2e_work/devsim.out" 2>"$e2e_work/devsim.log" </dev/null &
  e2e_devsim_pid=$!
  for i in $(seq 1 100); do
    ready=$(head -n 1 "$e2e_work/devsim.out" 2>/dev/null || true)
    [ -n "$ready" ] && break
    kill -0 "$e2e_devsim_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$ready" ] || e2e_fail "devsim did not start: $(cat "$e2e_work/devsim.log")"
  local key value
  while IFS='=' read -r key value; do
    [ -n "$key" ] && e2e_dev[$key]=$value
  done < <(python3 -c '
import json, sys
for k, v in json.loads(sys.argv[1]).items():
    if v: print(f"{k}={v}")' "$ready")
  e2e_say "devsim up: $ready"
}

# e2e_devsim COMMAND...: one control line to devsim.
e2e_devsim() {
  [ -n "$e2e_devsim_fd" ] || e2e_fail "devsim is not running"
  kill -0 "$e2e_devsim_pid" 2>/dev/null || e2e_fail "devsim ended: $(tail -n 5 "$e2e_work/devsim.log")"
  echo "$*" >&"$e2e_devsim_fd"
}

e2e_devsim_stop() {
  [ -n "$e2e_devsim_pid" ] || return 0
  if [ -n "$e2e_devsim_fd" ]; then
    { echo quit >&"$e2e_devsim_fd"; } 2>/dev/null || true
  fi
  local i
  for i in $(seq 1 30); do
    kill -0 "$e2e_devsim_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$e2e_devsim_pid" 2>/dev/null || true
  wait "$e2e_devsim_pid" 2>/dev/null || true
  e2e_devsim_pid=""
  if [ -n "$e2e_devsim_fd" ]; then
    exec {e2e_devsim_fd}>&-
    e2e_devsim_fd=""
  fi
}

# e2e_link_port COM DEVICE_PATH: maps COM<n> of the prefix to a pty.
e2e_link_port() {
  local link=$WINEPREFIX/dosdevices/com$1
  ln -sfn "$(readlink -f "$2")" "$link"
  e2e_links+=("$link")
}

# e2e_unlink_port COM: no such port in the prefix.
e2e_unlink_port() { rm -f "$WINEPREFIX/dosdevices/com$1"; }

# e2e_map_ports: the devices devsim plays on the ports of the default settings.
e2e_map_ports() {
  local n
  for n in $E2E_COM_INSTRUMENT $E2E_COM_GPS $E2E_COM_TILT; do e2e_unlink_port "$n"; done
  [ -z "${e2e_dev[instrument]:-}" ] || e2e_link_port "$E2E_COM_INSTRUMENT" "${e2e_dev[instrument]}"
  [ -z "${e2e_dev[gps]:-}" ] || e2e_link_port "$E2E_COM_GPS" "${e2e_dev[gps]}"
  [ -z "${e2e_dev[tilt]:-}" ] || e2e_link_port "$E2E_COM_TILT" "${e2e_dev[tilt]}"
}

# e2e_port_holders DEVICE_PATH: pids of the processes that have the pty
# open (devsim holds only the master side, so these are the program's).
e2e_port_holders() {
  local target
  target=$(readlink -f "$1")
  { find /proc/[0-9]*/fd -maxdepth 1 -lname "$target" 2>/dev/null | cut -d/ -f3 | sort -u; } || true
}

# --- The program and its windows --------------------------------------------

# A start that ends within seconds with no window is tried once more (a Wine
# session restarting after a wineserver -k can refuse its first process); its
# output is shown either way so that a program that cannot start is seen.
e2e_program_start() {
  local log=$e2e_out/$e2e_name-program.log attempt began
  for attempt in 1 2; do
    began=$SECONDS
    QUELOR_PROGRAM_LOG=$log wine_program_start "$e2e_exe"
    if e2e_window=$(wine_window_wait "$e2e_title" 30); then return 0; fi
    if [ -s "$log" ]; then
      echo "$e2e_name: the program's output:" >&2
      tail -n 20 "$log" >&2
    fi
    if [ "$attempt" -eq 2 ] || kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || [ $((SECONDS - began)) -gt 5 ]; then break; fi
    wine_program_wait_exit 1 || true
    echo "$e2e_name: the program ended at once (exit ${QUELOR_PROGRAM_RC:-?}); starting it again" >&2
    sleep 2
  done
  e2e_fail "the window \"$e2e_title\" did not appear"
}

# e2e_inspect TITLE [--deep]: the window inspector's listing, without CRs.
e2e_inspect() {
  timeout 20 wine "$e2e_inspect_exe" "$@" 2>/dev/null | tr -d '\r'
}

# e2e_logging_shown: the logging window (child 4, ScreenLogWnd) is visible.
e2e_logging_shown() {
  e2e_inspect "$e2e_title" | grep -Eq '^child 4 ScreenLogWnd -?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ 1 '
}

# e2e_has_logging_window: this build's logging window has its child windows
# (a build without the survey has only the empty ScreenLogWnd).
e2e_has_logging_window() {
  e2e_inspect "$e2e_title" --deep | grep -q '^descendant 4 '
}

# e2e_setup_buttons_shown: the ten setup buttons are visible.
e2e_setup_buttons_shown() {
  [ "$(e2e_inspect "$e2e_title" | grep -Ec '^child 42[0-9] Button .* 1 ')" -eq 10 ]
}

# e2e_dialogs: titles of the visible top-level windows other than the
# program's own window, one per line.
e2e_dialogs() {
  local id name
  for id in $(timeout 5 xdotool search --onlyvisible --name '.' 2>/dev/null); do
    name=$(timeout 5 xdotool getwindowname "$id" 2>/dev/null) || continue
    [ -n "$name" ] && [ "$name" != "$e2e_title" ] && echo "$name"
  done
  return 0
}

# e2e_dialog_text TITLE: the texts of the dialog's child windows, looked at
# again for up to 3 s while they read empty (a dialog just shown, or a look
# at the window tree that came back empty).
e2e_dialog_text() {
  local text="" tries=0
  while [ "$tries" -lt 15 ]; do
    text=$({ e2e_inspect "$1" | grep '^child ' | cut -d' ' -f9- | grep -v '^$' | tr '\n' ' '; } || true)
    [ -n "$text" ] && break
    tries=$((tries + 1))
    sleep 0.2
  done
  printf '%s' "$text"
}

# e2e_key KEY...: keys to the program's window.
e2e_key() { wine_window_key "$e2e_window" "$@" || e2e_fail "cannot send the keys $*"; }

# e2e_button_460: text of the visible logging button 460 (File, Go or
# PAUSE: it tells Monitoring, Stand By and Logging apart).
e2e_button_460() {
  e2e_inspect "$e2e_title" --deep | grep -E '^descendant 4 460 Button -?[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ 1 ' |
    head -n 1 | cut -d' ' -f10- || true
}

# e2e_wait_state TEXT SECONDS: waits until button 460 reads TEXT.
e2e_wait_state() {
  local text=$1 end=$((SECONDS + $2)) now=""
  while [ "$SECONDS" -lt "$end" ]; do
    now=$(e2e_button_460)
    [ "$now" = "$text" ] && return 0
    kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || e2e_fail "the program ended while waiting for \"$text\""
    sleep 0.2
  done
  echo "$e2e_name: button 460 reads \"$now\", not \"$text\"; windows: $(e2e_dialogs | tr '\n' ',')" >&2
  return 1
}

# e2e_wait_dialog TITLE SECONDS: waits for a top-level window titled TITLE;
# prints its X window id.
e2e_wait_dialog() {
  wine_window_wait "$1" "$2" 2>/dev/null
}

# e2e_wait_gone TITLE SECONDS: waits until no visible window is titled TITLE.
e2e_wait_gone() {
  local end=$((SECONDS + $2))
  while [ "$SECONDS" -lt "$end" ]; do
    timeout 5 xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# e2e_answer TITLE KEY: sends KEY to the dialog TITLE once it has settled and
# waits for it to close. A key that went astray (the same window still open)
# is sent once more; another message under the same title is a failure.
e2e_answer() {
  local title=$1 key=$2 id now
  sleep 0.5
  id=$(timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
  [ -n "$id" ] || e2e_fail "no dialog \"$title\" to answer"
  wine_window_key "$id" "$key" || true
  e2e_wait_gone "$title" 4 && return 0
  now=$(timeout 5 xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1) || true
  [ -z "$now" ] || [ "$now" = "$id" ] ||
    e2e_fail "after $key on \"$title\" came another \"$title\": $(e2e_dialog_text "$title")"
  e2e_say "\"$title\" still open 4 s after $key: sending $key again"
  [ -z "$now" ] || wine_window_key "$now" "$key" || true
  e2e_wait_gone "$title" 6 || e2e_fail "\"$title\" stayed open after $key"
}

# e2e_start_logging [SECONDS]: L on the setup window. Returns when the
# logging window is shown; a message box instead is a failure (its title and
# text are reported); a program that stays in its setup window without a
# word has no survey start in this build: skip.
e2e_start_logging() {
  local end=$((SECONDS + ${1:-15})) dialogs
  e2e_key l
  while [ "$SECONDS" -lt "$end" ]; do
    if e2e_logging_shown; then
      e2e_wait_state "&File" 10 || e2e_fail "the logging window shows no Monitoring buttons"
      # Let the start finish its work on the window thread before the next key.
      sleep 1
      e2e_say "logging window shown (Monitoring)"
      return 0
    fi
    dialogs=$(e2e_dialogs)
    if [ -n "$dialogs" ]; then
      sleep 0.3
      local title
      title=$(head -n 1 <<<"$(e2e_dialogs)")
      e2e_fail "L showed \"$title\": $(e2e_dialog_text "$title")"
    fi
    kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || e2e_fail "the program ended after L"
    sleep 0.3
  done
  e2e_setup_buttons_shown || e2e_fail "after L the setup buttons are hidden but no logging window is shown"
  e2e_has_logging_window && e2e_fail "the program stays in its setup window after L"
  e2e_skip "the program stays in its setup window after L (no logging window in this build)"
}

# e2e_expect_message TITLE TEXT [SECONDS]: L (already pressed) must show the
# message box TITLE holding TEXT.
e2e_expect_message() {
  local title=$1 text=$2 body
  e2e_wait_dialog "$title" "${3:-15}" >/dev/null || {
    if e2e_logging_shown; then e2e_fail "no \"$title\" message: the logging window opened"; fi
    local others
    others=$(e2e_dialogs | tr '\n' ',')
    [ -z "$others" ] || e2e_fail "no \"$title\" message, but: $others"
    e2e_setup_buttons_shown || e2e_fail "no \"$title\" message and the setup buttons are hidden"
    e2e_has_logging_window && e2e_fail "no \"$title\" message after L"
    e2e_skip "no message after L (no logging window in this build)"
  }
  body=$(e2e_dialog_text "$title")
  [[ "$body" == *"$text"* ]] || e2e_fail "\"$title\" says \"$body\", not \"$text\""
  e2e_say "message \"$title\": $text"
}

# e2e_create_file: F in Monitoring, Enter in "Create Data File" (the
# proposed name); Stand By follows.
e2e_create_file() {
  # A wait, not one look: a look at the window tree can come back empty while
  # the window is being laid out.
  e2e_wait_state "&File" 5 || e2e_fail "not in Monitoring: button 460 reads \"$(e2e_button_460)\""
  e2e_key f
  if ! e2e_wait_dialog "Create Data File" 5 >/dev/null; then
    # A surveyor whose key went astray presses it again; said so in the log.
    e2e_say "no \"Create Data File\" 5 s after F: pressing F again"
    e2e_key f
    e2e_wait_dialog "Create Data File" 10 >/dev/null ||
      e2e_fail "F in Monitoring opens no \"Create Data File\" dialog"
  fi
  e2e_answer "Create Data File" Return
  e2e_wait_state "&Go" 15 || e2e_fail "no Stand By after the file was created"
  e2e_say "data file created, Stand By"
}

e2e_go() {
  e2e_key g
  e2e_wait_state "P A U S E" 10 || e2e_fail "G in Stand By did not start logging"
  e2e_say "logging"
}

e2e_pause() {
  e2e_key p
  e2e_wait_state "&Go" 10 || e2e_fail "P while logging did not pause"
  e2e_say "paused"
}

# e2e_exit_logging: X, then Y (Yes) on "Confirm Exit"; the setup window returns.
e2e_exit_logging() {
  e2e_key x
  e2e_wait_dialog "Confirm Exit" 10 >/dev/null || e2e_fail "X with a file open asked no \"Confirm Exit\""
  local body
  body=$(e2e_dialog_text "Confirm Exit")
  [[ "$body" == *"Exit Logging?"* ]] || e2e_fail "\"Confirm Exit\" says \"$body\""
  e2e_answer "Confirm Exit" y
  for _ in $(seq 1 50); do
    e2e_logging_shown || break
    sleep 0.2
  done
  e2e_logging_shown && e2e_fail "the logging window stayed after Yes on \"Confirm Exit\""
  e2e_setup_buttons_shown || e2e_fail "the setup buttons did not return after the exit from logging"
  e2e_say "logging ended, setup window back"
}

# e2e_exit_program: X on the setup window ends the program with code 0.
e2e_exit_program() {
  e2e_key x
  if ! wine_program_wait_exit 5; then
    e2e_screenshot first-x
    e2e_say "still running 5 s after X: pressing X again"
    e2e_key x
    wine_program_wait_exit 10 || e2e_fail "the program did not exit within 10 s of a second X"
  fi
  [ "$QUELOR_PROGRAM_RC" = 0 ] || e2e_fail "exit code $QUELOR_PROGRAM_RC"
  e2e_say "program exited"
}

# e2e_screenshot NAME: the screen as out/<scenario>-NAME.png.
e2e_screenshot() {
  local shot=$e2e_out/$e2e_name-$1.png
  timeout 20 import -window root "$shot" || e2e_fail "screenshot $1 failed"
  e2e_say "screenshot $shot"
}

# e2e_walk SECONDS: lets the survey run, watching that the program and
# devsim live and that no message box stops the survey.
e2e_walk() {
  local end=$((SECONDS + $1)) title
  while [ "$SECONDS" -lt "$end" ]; do
    kill -0 "$QUELOR_PROGRAM_PID" 2>/dev/null || e2e_fail "the program ended during the walk"
    kill -0 "$e2e_devsim_pid" 2>/dev/null || e2e_fail "devsim ended during the walk"
    title=$(e2e_dialogs | head -n 1)
    if [ -n "$title" ]; then
      e2e_screenshot message
      e2e_fail "during the walk the program showed \"$title\": $(e2e_dialog_text "$title")"
    fi
    sleep 1
  done
}

# e2e_log_walk SECONDS: the program started and driven as a surveyor would,
# L, F and Enter, G, then a walk of SECONDS.
e2e_log_walk() {
  e2e_program_start
  e2e_start_logging
  e2e_create_file
  e2e_go
  e2e_walk "$1"
}

# e2e_finish_survey: Exit logging (confirmed), the program and the simulator.
e2e_finish_survey() {
  e2e_exit_logging
  e2e_exit_program
  e2e_devsim_stop
}

# --- The data file ----------------------------------------------------------

# e2e_check_newest DIR: the newest data file of DIR (any extension) in
# e2e_file, kept in the output folder, passing quelor check without errors.
e2e_check_newest() {
  e2e_file=$(e2e_data_file "$1" "*")
  [ -n "$e2e_file" ] || e2e_fail "no data file in $1"
  cp "$e2e_file" "$e2e_out/$e2e_name-$(basename "$e2e_file")"
  e2e_check "$e2e_file"
  e2e_assert_eq "check errors" "$e2e_check_errors" 0
}

# e2e_data_file DIR EXT: the newest file with extension EXT (any case) in DIR.
e2e_data_file() {
  { find "$1" -maxdepth 1 -type f -iname "*.$2" -printf '%T@ %p\n' 2>/dev/null | sort -n | tail -n 1 |
    cut -d' ' -f2-; } || true
}

# e2e_check FILE: quelor check must pass; the summary goes to
# out/<scenario>-check.json and its fields to e2e_check_* variables.
e2e_check() {
  local file=$1 json rc=0
  json=$("$e2e_quelor" check "$file") || rc=$?
  echo "$json" >"$e2e_out/$e2e_name-check.json"
  [ "$rc" -eq 0 ] || e2e_fail "quelor check $file exited with $rc: $json"
  eval "$(python3 -c '
import json, shlex, sys
d = json.loads(sys.argv[1])
for k in ("record_length", "records", "headers", "lines", "gps_positions", "program_code"):
    print("e2e_check_%s=%s" % (k, shlex.quote(str(d.get(k, "")))))
print("e2e_check_errors=%d" % len(d.get("errors", [])))' "$json")"
  e2e_say "quelor check: $json"
}

# e2e_count REGEX FILE: records matching REGEX (grep -E, whole record).
e2e_count() { grep -Eac "$1" "$2" || true; }

# e2e_assert_eq WHAT GOT WANT / e2e_assert_ge WHAT GOT MIN
e2e_assert_eq() { [ "$2" = "$3" ] || e2e_fail "$1 is $2, not $3"; e2e_say "$1: $2"; }
e2e_assert_ge() { [ "$2" -ge "$3" ] || e2e_fail "$1 is $2, fewer than $3"; e2e_say "$1: $2 (at least $3)"; }
