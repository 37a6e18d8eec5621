#!/usr/bin/env bash
# The popup menu and the tray, as a person uses them: a first start with an empty registry
# registers the program to start with the system; the face's context menu switches modes;
# unchecking "Load at Startup" removes that entry at once; the World Clock dialog changes the
# zone and the label; a click on the tray icon hides the clock, and Exit from the tray's menu
# while it is hidden saves the place where it was shown.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
out=$NORVALE_ARTEFACTS/menu
mkdir -p "$out"
# A fresh Wine session, so the notification area holds this clock's icon only (programs
# that ended earlier in this prefix may have left theirs behind).
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
wine reg delete "$run_key" /v NorvaleTimeClock /f >/dev/null 2>&1 || true

start_clock
shown_x=$X shown_y=$Y

# title_differs A B: whether the mode title of two shots differs.
title_differs() {
    [ "$(differ "$1" "$2" "$title")" -gt 10 ]
}
wine reg query "$run_key" /v NorvaleTimeClock 2>/dev/null | grep -qi 'NorvaleTimeClock.exe' ||
    die "a first start did not register the program to start with the system"

shot clock
menu Down Down Down Down Down Down Return # Stopwatch
shot stopwatch
title_differs clock stopwatch || die "the menu's Stopwatch item did not switch the mode"
menu Down Down Down Down Down Return # UpTime
shot uptime
title_differs stopwatch uptime || die "the menu's UpTime item did not switch the mode"
menu Down Down Down Return # Clock
shot clock_again
title_differs uptime clock_again || die "the menu's Clock item did not switch back"

# Settings > Load at Startup: unchecked, the entry goes at once.
menu Down Down Down Down Down Down Down Down Down Down Down Down Down Right Down Return
! wine reg query "$run_key" /v NorvaleTimeClock >/dev/null 2>&1 ||
    die "unchecking Load at Startup left the Run entry"

# World Clock: choose the first zone of the list (the list box has the focus), then OK.
# NOTE: Wine's list box searches by the first letter only, and every zone name begins with
# "(", so a zone cannot be chosen by typing its name; the first one is reached with Home.
menu Down Down Down Down Down Down Down Down Return
dialog=$(wait_for_window "World Clock" 10) || die "no World Clock dialog"
sleep 0.5
/usr/bin/import -window root "$out/world_clock_dialog.png"
xdotool key Home
sleep 0.5
xdotool key Return
for i in $(seq 1 50); do
    xdotool search --onlyvisible --name '^World Clock$' >/dev/null 2>&1 || break
    sleep 0.1
done
sleep 1
shot zone
title_differs clock_again zone || die "the World Clock label did not reach the face"

# The tray icon: a left click hides the clock.
tray_click 1
sleep 2
X=$shown_x Y=$shown_y shot hidden
dark hidden || die "a tray click did not hide the clock"
# Exit from the tray's menu while hidden: the last item.
tray_click 3
xdotool key --delay 120 Up Return
timeout 20 tail --pid="$clock" -f /dev/null || die "Exit did not end the clock"

stored=$(wine reg query "$settings" 2>/dev/null | tr -d '\r')
printf '%s\n' "$stored" >"$out/stored.txt"
grep -Eq "^ *NormPos +REG_SZ +$shown_x,$shown_y,$((shown_x + 150)),$((shown_y + 150))\$" \
    <<<"$stored" || die "Exit while hidden did not save the shown place ($shown_x,$shown_y)"
grep -Eq '^ *FTimeZoneId +REG_SZ +0$' <<<"$stored" || die "the first zone was not stored"
grep -Eq '^ *FClockLabel +REG_SZ +[^ ]' <<<"$stored" && ! grep -Eq '^ *FClockLabel +REG_SZ +Time$' \
    <<<"$stored" || die "the zone's label was not stored"
grep -Eq '^ *ClockType +REG_SZ +0$' <<<"$stored" || die "the World Clock did not leave Clock mode"
grep -Eq '^ *LoadatStartup1_Checked +REG_SZ +False$' <<<"$stored" ||
    die "Load at Startup was not stored unchecked"
