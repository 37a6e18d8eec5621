#!/usr/bin/env bash
# The real exe starts, shows the default skin's 150 x 150 face under its caption, the clock
# runs (two screenshots a second apart differ), and a close request fades it out and ends it
# with exit code 0. Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"

# The first start's settings: the Clock mode with hands (other tests leave theirs behind).
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
wine "$NORVALE_EXE" &
clock=$!
window=$(wait_for_window "Norvale Time Clock" 30) || die "no window named Norvale Time Clock"

# After the fade-in the face is there, at its place: most of the window's pixels are lit.
sleep 3
# NOTE: Wine may replace the X window while it places and shows it: look it up again.
window=$(wait_for_window "Norvale Time Clock" 10) || die "the window went away"
geometry=$(xdotool getwindowgeometry "$window")
case "$geometry" in *"Geometry: 150x150"*) ;; *) die "unexpected window: $geometry" ;; esac
eval "$(xdotool getwindowgeometry --shell "$window")"
shot=$NORVALE_ARTEFACTS/clock_started.png
/usr/bin/import -window root -crop "150x150+$X+$Y" "$shot"
lit=$(/usr/bin/convert "$shot" -colorspace gray -threshold 8% -format '%[fx:mean]' info:)
awk -v lit="$lit" 'BEGIN { exit !(lit > 0.3) }' || die "the face is not shown ($lit lit)"

sleep 1.1
/usr/bin/import -window root -crop "150x150+$X+$Y" "$NORVALE_ARTEFACTS/clock_later.png"
changed=$(/usr/bin/compare -metric AE "$shot" "$NORVALE_ARTEFACTS/clock_later.png" /dev/null 2>&1 || true)
[ "${changed%% *}" -gt 20 ] || die "the second hand did not move ($changed pixels changed)"

request_close
status=0
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end after a close request"
wait "$clock" || status=$?
[ "$status" -eq 0 ] || die "exit code $status after a close request"
! xdotool search --name "^Norvale Time Clock\$" >/dev/null 2>&1 || die "the window is still there"
