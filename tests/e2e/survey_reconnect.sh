#!/usr/bin/env bash
# The instrument's Bluetooth link drops mid-line and comes back: Qyn31 on the
# simulated EM31-MK2 and GGA receiver, keys only (L; F, Enter; G). After a
# walk the instrument is unplugged (devsim closes its pty and removes the
# link; COM4 of the prefix points at devsim's stable link path, so the port
# vanishes as a Bluetooth port does) and plugged back at the same path; the
# program reopens it by itself while the window keeps answering. Walk on,
# P; then a second unplug in Stand By and X, Y while the program is trying:
# the exit is at once. The data file passes quelor check and holds one
# "1CONN BRK 1" and one "1CONN RCN 1" remark, GPS sentences logged during the
# break, every reading of the instrument after the return (the update rate
# is 10 Hz: every record is logged) and no reading twice. The old pty is let go
# by the reconnection (or its number is taken by the new one), the new one
# at the exit.
# QUELOR_E2E_BEFORE, QUELOR_E2E_UNPLUG and QUELOR_E2E_AFTER set the seconds
# of the walk before, of the unplug and of the walk after (8, 10, 12);
# QUELOR_E2E_PROGRAM=Qyn601, Qyn61MK2, Qyn38 or QynCS-21 runs the same on
# that program and its simulated instrument (27-byte records, 65 for CS-21;
# Grad601: a 1 s monitor tick and time-out; EM61: the handshake on the
# reopened port; EM38 and CS-21, without a time-out: the break is the
# vanished port, the EM38 its record length check on the reopened port).
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
program=${QUELOR_E2E_PROGRAM:-Qyn31}
name=survey_reconnect
[ "$program" = Qyn31 ] || name=survey_reconnect_$program  # its own files beside the other lane's
e2e_setup "$name"
before_s=${QUELOR_E2E_BEFORE:-8}
unplug_s=${QUELOR_E2E_UNPLUG:-10}
after_s=${QUELOR_E2E_AFTER:-12}
longest_wait_ms=5000
data=$(e2e_data_folder "$name")
folder="C:\\quelor-e2e\\$name\\"
if [ "$program" != Qyn31 ]; then
  case $program in
    Qyn601) e2e_ini_name=Qyn601_110.INI instrument=grad601 period_ms=91 monitor_ms=1000 ;;
    Qyn61MK2) e2e_ini_name=Qyn61MK2_225.INI instrument=em61mk2 period_ms=100 monitor_ms=500 ;;
    Qyn38) e2e_ini_name=Qyn38_200.INI instrument=em38 period_ms=91 monitor_ms=300 ;;
    QynCS-21) e2e_ini_name=QynCS-21_100.INI instrument=cs21 period_ms=100 monitor_ms=300 ;;
    *) e2e_fail "no reconnection scenario for $program" ;;
  esac
  e2e_exe=$e2e_build/$program.exe e2e_title=$program e2e_stem=$program e2e_extension='*' record_length=27
  [ "$program" != QynCS-21 ] || record_length=65
  [ -f "$e2e_exe" ] || e2e_fail "$e2e_exe is not built"
  # The default settings with this scenario's data folder (line 2).
  e2e_settings_save
  mkdir -p "$(e2e_settings_dir)"
  sed "2s|.*|${folder//\\/\\\\}\r|" "$e2e_root/tests/golden/settings/$e2e_ini_name" >"$(e2e_settings_dir)/$e2e_ini_name"
  # The EM38 logs every record at a 0.1 s reading interval (the EM31 layout's line).
  [ "$program" != Qyn38 ] || sed -i "${E2E_INI_READING_INTERVAL}s|.*|0.100000\r|" "$(e2e_settings_dir)/$e2e_ini_name"
else
  instrument=em31mk2 period_ms=95.238 record_length=24 monitor_ms=300
  e2e_settings "$E2E_INI_DATA_FOLDER=$folder" "$E2E_INI_READING_INTERVAL=0.100000"
fi
e2e_devsim_start --instrument "$instrument" --gps gga --seed 62
e2e_map_ports
# The stable link itself, not the pty behind it: a reopen finds the new pty.
ln -sfn "${e2e_dev[instrument]}" "$WINEPREFIX/dosdevices/com$E2E_COM_INSTRUMENT"

# e2e_held PTY: the processes of this Wine prefix holding the pty, also
# once it was removed (the other lane's programs may hold a new pty with the
# old one's number).
e2e_held() {
  local pid
  for pid in $({ find /proc/[0-9]*/fd -maxdepth 1 \( -lname "$1" -o -lname "$1 (deleted)" \) 2>/dev/null |
    cut -d/ -f3 | sort -u; } || true); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  true
}
# e2e_answers_within MS: the logging window answers the inspector in time
# (the window thread is not held up by the reconnection); an inspector run
# that found nothing is repeated once, within the same time.
e2e_answers_within() {
  local t0 t1 state
  t0=$(date +%s%3N)
  state=$(e2e_button_460)
  [ -n "$state" ] || state=$(e2e_button_460)
  t1=$(date +%s%3N)
  [ "$state" = "P A U S E" ] || e2e_fail "during the break button 460 reads \"$state\""
  [ $((t1 - t0)) -le "$1" ] || e2e_fail "the window took $((t1 - t0)) ms to answer during the break"
  echo $((t1 - t0))
}

e2e_program_start
e2e_start_logging
e2e_create_file
e2e_go
e2e_walk "$before_s"
old_pty=$(readlink "${e2e_dev[instrument]}")
[ -n "$(e2e_held "$old_pty")" ] || e2e_fail "logging, but nobody holds the instrument pty $old_pty"
e2e_devsim unplug instrument "$unplug_s"
e2e_say "instrument unplugged for $unplug_s s"
unplugged_at=$SECONDS
answers=""
while [ $((SECONDS - unplugged_at)) -lt "$unplug_s" ]; do
  answers+="$(e2e_answers_within 3000) "
  e2e_walk 1
done
e2e_say "the window answered in $answers ms during the break"
# Back after the longest wait between tries and one try.
for _ in $(seq 1 $(((longest_wait_ms + 4000) / 500))); do
  new_pty=$(readlink "${e2e_dev[instrument]}" || true)
  [ -n "$new_pty" ] && [ -n "$(e2e_held "$new_pty")" ] && break
  sleep 0.5
done
new_pty=$(readlink "${e2e_dev[instrument]}" || true)
[ -n "$new_pty" ] || e2e_fail "devsim did not plug the instrument back"
[ -n "$(e2e_held "$new_pty")" ] || e2e_fail "the program did not reopen the instrument port within $((longest_wait_ms + 4000)) ms"
e2e_say "reconnected $((SECONDS - unplugged_at - unplug_s)) s after the plug"
e2e_walk "$after_s"
# A new pty with the old one's number proves the old one was let go.
held_old=""
[ "$new_pty" = "$old_pty" ] || held_old=$(e2e_held "$old_pty")
[ -z "$held_old" ] || e2e_fail "the old pty $old_pty is still held (by $(ps -o pid=,comm= -p "$(echo $held_old | tr ' ' ,)" | tr '\n' ' ')): a leaked port handle"
e2e_pause

# A break in Stand By, and Exit while the program is trying.
e2e_devsim unplug instrument
sleep 2.5
t0=$(date +%s%3N)
e2e_exit_logging
e2e_say "exit during the break took $(($(date +%s%3N) - t0)) ms"
[ $(($(date +%s%3N) - t0)) -le 8000 ] || e2e_fail "the exit during the break was slow"
e2e_devsim plug instrument
sleep 0.5
e2e_exit_program
held_new=$(e2e_held "$new_pty")
[ -z "$held_new" ] || e2e_fail "the instrument pty is still held after the exit (by $(ps -o pid=,comm= -p "$(echo $held_new | tr ' ' ,)" | tr '\n' ' '))"

file=$(e2e_data_file "$data" "$e2e_extension")
[ -n "$file" ] || e2e_fail "no .$e2e_extension file in $data: $(ls -A "$data")"
cp "$file" "$e2e_out/$e2e_name-$(basename "$file")"
e2e_check "$file"
e2e_assert_eq "record length" "$e2e_check_record_length" "$record_length"
e2e_assert_eq "check errors" "$e2e_check_errors" 0
# Every break remark has its reconnection remark. A loaded machine may hold
# the readings up for more than the time-out now and then: such a short
# break has its pair of remarks too, and there are at most two of them.
brk_count=$(e2e_count '^X1CONN BRK 1 ' "$file")
e2e_assert_eq '"1CONN RCN 1" remarks' "$(e2e_count '^X1CONN RCN 1 ' "$file")" "$brk_count"
[ "$brk_count" -ge 1 ] && [ "$brk_count" -le 3 ] || e2e_fail "$brk_count \"1CONN BRK 1\" remarks"

# The records one per line with bytes outside 32-126 as dots (the EM61
# reading records are binary): ticks are in columns L-11 to L-2 (awk counts
# from 1).
records=$e2e_work/records.txt
python3 - "$file" "$record_length" >"$records" <<'PY'
import sys
data, n = open(sys.argv[1], "rb").read(), int(sys.argv[2])
for i in range(0, len(data) - n + 1, n):
    print("".join(chr(b) if 32 <= b <= 126 else "." for b in data[i:i + n - 1]))
PY
# Readings before the break, GGA sentences logged in the break, readings
# from the return to the pause (the first of them may come before the
# reconnection remark, which the next monitor tick writes).
long_ms=$((unplug_s * 1000 - 2 * monitor_ms - 500))
read -r before brk gga rcn first last after maxgap dup <<<"$(awk -v L="$record_length" -v long="$long_ms" '
  function tick() { return substr($0, L - 10, 10) + 0 }
  /^[T2-6DEF]/ { t = tick()
              if (n && (t < prev || $0 == prevrec)) dup++
              if (phase == 0) b++
              if (phase == 1 && !done) { held[++h] = t; heldrec[h] = $0 }
              if (phase == 2) {
                if (!a) first = t; else if (t - prev > gap) gap = t - prev
                a++; last = t }
              n++; prev = t; prevrec = $0 }
  /^X1CONN BRK 1 / && !done { phase = 1; brk = tick(); h = 0; g = 0 }
  /^@\$GPGGA/ && phase == 1 && !h { g++ }
  /^X1CONN RCN 1 / && phase == 1 && !done {
    if (tick() - brk < long) { phase = 0; b += h }  # a short break: readings before the long one
    else { phase = 2; rcn = tick(); done = 1
           for (i = 1; i <= h; i++) { if (!a) first = held[i]; else if (held[i] - pt > gap) gap = held[i] - pt; a++; last = held[i]; pt = held[i] }
           if (h) prev = held[h] } }
  /^XPAUSED/ && phase == 2 { phase = 3 }
  END { print b + 0, brk + 0, g + 0, rcn + 0, first + 0, last + 0, a + 0, gap + 0, dup + 0 }' "$records")"
e2e_assert_eq "readings twice or with a tick before the one before" "$dup" 0
e2e_assert_ge "readings before the break" "$before" $((before_s * 8))
break_ms=$((rcn - brk))
e2e_say "break remark to reconnection remark: $break_ms ms"
[ "$break_ms" -ge $((unplug_s * 1000 - 2 * monitor_ms - 500)) ] || e2e_fail "reconnected after $break_ms ms, within the $unplug_s s unplug"
[ "$break_ms" -le $((unplug_s * 1000 + longest_wait_ms + 3000)) ] || e2e_fail "reconnected only after $break_ms ms"
e2e_assert_ge "GGA sentences logged during the break" "$gga" $((unplug_s / 2))
[ "$first" -gt $((brk + unplug_s * 1000 - 2 * monitor_ms - 500)) ] && [ "$first" -le "$rcn" ] &&
  [ $((rcn - first)) -le $((2 * monitor_ms + 900)) ] ||
  e2e_fail "the first reading after the break ($first) is not the return just before the remark ($rcn)"
# Every record from the first reading after the return to the pause: the
# count the record period gives over that span, none lost (a loaded machine
# may take a record late, never lose it: at most 2 % short), no new break.
span=$((last - first))
expected=$(awk -v s="$span" -v p="$period_ms" 'BEGIN { printf "%d", s / p + 1 }')
e2e_say "readings after the return: $after over $span ms ($expected records sent), longest gap $maxgap ms"
e2e_assert_ge "readings after the return" "$after" $((expected * 98 / 100))
# (The EM61 reader wakes the instrument again and waits a second: what the
# instrument sent meanwhile comes in one burst with one tick.)
held=$(awk -v p="$period_ms" -v i="$instrument" 'BEGIN { printf "%d", i ~ /^em61/ ? 1000 / p + 1 : 0 }')
[ "$after" -le $((expected + held + 2)) ] || e2e_fail "$after readings after the return, more than the $expected sent"
[ "$maxgap" -lt 1000 ] || e2e_fail "a gap of $maxgap ms in the readings after the return"
e2e_assert_ge "readings after the return, from the walk" "$after" $(((after_s - 1) * 9))
echo "$e2e_name: PASS"
