#!/usr/bin/env bash
# Surveys that cannot start. Each case: prepared settings and ports, L, the
# message box with its title and text, Enter; the setup window stays in
# front, no port is left open, X ends the program.
#  1. instrument and GPS both on COM4: "Serial Port Issue", nothing opened;
#  2. no instrument attached (COM4 exists, the instrument is silent):
#     "Connection Issue";
#  3. no COM4 at all: the port error "Serial Port", "Port COM4 does not exists";
#  4. instrument and GPS disabled: "EM AND GPS DISABLED".
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup survey_port_issues

e2e_devsim_start --instrument em31mk2 --gps gga --seed 4
e2e_map_ports
instrument=${e2e_dev[instrument]}
gps=${e2e_dev[gps]}

# no_port_open WHEN: neither pty is held by any process.
no_port_open() {
  local holders
  holders=$(e2e_port_holders "$instrument"; e2e_port_holders "$gps")
  [ -z "$holders" ] || e2e_fail "$1: the ports are held by $(tr '\n' ' ' <<<"$holders")"
}

# refused CASE TITLE TEXT: L shows the message; Enter; back in the setup window.
refused() {
  local case=$1 title=$2 text=$3
  e2e_program_start
  e2e_key l
  e2e_expect_message "$title" "$text"
  e2e_answer "$title" Return
  sleep 0.5
  if [ -n "$(e2e_dialogs)" ]; then e2e_fail "$case: then came $(e2e_dialogs | tr '\n' ',')"; fi
  e2e_logging_shown && e2e_fail "$case: the logging window is shown"
  e2e_setup_buttons_shown || e2e_fail "$case: the setup buttons are hidden"
  no_port_open "$case"
  e2e_exit_program
  e2e_say "$case: refused with \"$title\""
}

# 1. One port for two devices: stopped before any port is opened.
# Each case opens the GPS port anew: 8N1 (see E2E_GPS_8N1).
e2e_settings "$E2E_INI_GPS_PORT=3" "${E2E_GPS_8N1[@]}"
e2e_program_start
e2e_key l
e2e_expect_message "Serial Port Issue" \
  "Serial Port COM4 Assigned to Instrument and GPS, please change port selection."
no_port_open "same port, message shown"
e2e_answer "Serial Port Issue" Return
e2e_logging_shown && e2e_fail "same port: the logging window is shown"
e2e_setup_buttons_shown || e2e_fail "same port: the setup buttons are hidden"
no_port_open "same port, message closed"
e2e_exit_program

# 2. The instrument is off: COM4 opens but no record comes within 1 s.
e2e_settings "${E2E_GPS_8N1[@]}"
e2e_devsim silence instrument 120
refused "instrument off" "Connection Issue" "Instrument OFF or Disconnected, or wrong COM port selected"

# 3. No such port.
e2e_unlink_port "$E2E_COM_INSTRUMENT"
refused "no COM4" "Serial Port" "Port COM4 does not exists"
e2e_link_port "$E2E_COM_INSTRUMENT" "$instrument"

# 4. Nothing to survey with.
e2e_settings "$E2E_INI_INSTRUMENT_STATE=0" "$E2E_INI_GPS_ENABLED=0"
refused "nothing enabled" "EM AND GPS DISABLED" "Instrument Disabled and GPS Disabled"
echo "$e2e_name: PASS"
