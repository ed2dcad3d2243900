#!/usr/bin/env bash
# The speed row and bar of the logging window: the delivered program surveys
# its simulated EM31-MK2 while the GPS walks; then the speed bar and the
# text line above it ("Speed:" with the speed in the speed bar units, the
# bar's maximum at the right) lie wholly inside the logging window, the line
# holds drawn text and the bar a green fill. Run it on the default 1280x800
# landscape screen and with QUELOR_SCREEN=800x1280x24 on a portrait one.
set -euo pipefail
# shellcheck source=lib/survey.sh
. "$(dirname "$0")/lib/survey.sh"
e2e_setup speed_row

folder=$(e2e_data_folder speed_row)
[ -n "$folder" ] || e2e_fail "no data folder"
e2e_settings "$E2E_INI_DATA_FOLDER=C:\\quelor-e2e\\speed_row\\"
e2e_devsim_start --instrument em31mk2 --gps gga --seed 17
e2e_map_ports
e2e_log_walk 6
e2e_screenshot logging
shot=$e2e_out/$e2e_name-logging.png

# The logging window's client rectangle and the speed bar, in screen pixels:
# "<x> <y> <width> <height>".
listing=$(e2e_inspect "$e2e_title" --deep)
geometry=$(awk '
  $1 == "client" { cx = $2; cy = $3 }
  $1 == "child" && $2 == 4 { lx = $4; ly = $5; lw = $6; lh = $7 }
  $1 == "descendant" && $2 == 4 && $4 == "SpeedWnd" && $9 == 1 { sx = $5; sy = $6; sw = $7; sh = $8 }
  END { if (sw > 0) print cx + lx, cy + ly, lw, lh, cx + lx + sx, cy + ly + sy, sw, sh }' <<<"$listing")
[ -n "$geometry" ] || e2e_fail "no shown SpeedWnd in the logging window: $listing"
read -r lx ly lw lh sx sy sw sh <<<"$geometry"
e2e_say "logging window ${lw}x$lh at $lx,$ly; speed bar ${sw}x$sh at $sx,$sy"
screen=$(convert "$shot" -format '%w %h' info:)
read -r screen_w screen_h <<<"$screen"

# Wholly inside the window, and the window on the screen.
[ $((sy + sh)) -le $((ly + lh)) ] || e2e_fail "the speed bar ends at $((sy + sh)), below the window's $((ly + lh))"
[ $((ly + lh)) -le "$screen_h" ] || e2e_fail "the logging window ends at $((ly + lh)), below the screen's $screen_h"
[ $((lx + lw)) -le "$screen_w" ] || e2e_fail "the logging window ends at $((lx + lw)), right of the screen's $screen_w"

# Dark pixels (text) in the 14 rows right above the bar, across its width.
row_top=$((sy - 15))
[ "$row_top" -ge "$ly" ] || e2e_fail "no room for the speed row above the bar"
text=$(convert "$shot" -crop "${sw}x14+${sx}+${row_top}" +repage -format %c histogram:info:- |
  awk 'match($0, /\( *[0-9]+, *[0-9]+, *[0-9]+/) {
         split(substr($0, RSTART + 1, RLENGTH - 1), v, ",")
         if (v[1] + v[2] + v[3] < 200) n += $1 + 0 }
       END { print n + 0 }')
e2e_assert_ge "dark pixels of the speed row" "$text" 30

# The bar's fill: its green, as many columns as the speed in the bar's units.
green=$(convert "$shot" -crop "${sw}x${sh}+${sx}+${sy}" +repage -format %c histogram:info:- |
  awk 'match($0, /\( *0, *150, *0[,)]/) { n += $1 + 0 } END { print n + 0 }')
e2e_assert_ge "green pixels of the speed bar" "$green" 1

e2e_pause
e2e_finish_survey
e2e_say "PASS"
