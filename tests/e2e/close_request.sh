#!/usr/bin/env bash
# The real exe starts, shows its window under its caption, and a close request ends it with
# exit code 0. Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"

wine "$NORVALE_EXE" &
clock=$!
window=$(wait_for_window "Norvale Time Clock" 30) || die "no window named Norvale Time Clock"

# No taskbar button: a tool window without the frame and caption an ordinary window has.
geometry=$(xdotool getwindowgeometry "$window")
case "$geometry" in *"Geometry: 200x200"*) ;; *) die "unexpected window: $geometry" ;; esac

request_close
status=0
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end after a close request"
wait "$clock" || status=$?
[ "$status" -eq 0 ] || die "exit code $status after a close request"
! xdotool search --name "^Norvale Time Clock\$" >/dev/null 2>&1 || die "the window is still there"
