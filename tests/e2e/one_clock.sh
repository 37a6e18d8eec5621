#!/usr/bin/env bash
# One clock, kept in place: a second start brings the running clock forward and ends with
# code 0, leaving one window and one tray icon; the start-up entry holds the path in quotes;
# a log-off while the clock is hidden in the tray keeps the place where it was shown, and its
# running stopwatch restores running with the time it counted; a clock stored in the screen's
# top-left corner starts there. Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"
source "$NORVALE_ROOT/tests/e2e/lib/face_check.sh"

out=$NORVALE_ARTEFACTS/one_clock
rm -rf "$out"
mkdir -p "$out"
settings='HKCU\Software\Brannick\NorvaleTimeClock'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
# A fresh Wine session: the notification area holds this clock's icon only.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
wine reg delete "$run_key" /v NorvaleTimeClock /f >/dev/null 2>&1 || true
# place RECT: stores the clock's place under both names it is read from.
place() {
    local name
    for name in NormPos "NormPos($(xdotool getdisplaygeometry | tr ' ' x))"; do
        wine reg add "$settings" /v "$name" /t REG_SZ /d "$1" /f >/dev/null
    done
}
# The place the clock was last shown at, away from the tray in the top-left corner.
place '600,400,750,550'
wine reg add "$settings" /v PixelsPerInch /t REG_SZ /d 96 /f >/dev/null

stored() { wine reg query "$settings" /v "$1" 2>/dev/null | tr -d '\r' | sed -nE "s/.*$1 +REG_SZ +(.*)$/\1/p"; }
clock_windows() { xdotool search --name '^Norvale Time Clock$' 2>/dev/null | wc -l; }
tray_shot() {
    local tray
    tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | head -n 1) || true
    [ -n "$tray" ] || die "no notification area window"
    /usr/bin/import -window "$tray" "$out/$1.png"
}

start_clock
first=$clock
# A clock a failure left running would take the next session's first start for a second one.
trap '[ $? -eq 0 ] || wineserver -k >/dev/null 2>&1 || true' EXIT
[ "$X,$Y" = "600,400" ] || die "the clock started at $X,$Y, not at its stored place 600,400"
# The Run value names the program in quotes, so Windows never splits it at a blank.
entry=$(wine reg query "$run_key" /v NorvaleTimeClock 2>/dev/null | tr -d '\r' |
    sed -nE 's/.*NorvaleTimeClock +REG_SZ +(.*)$/\1/p')
case "$entry" in
'"'*'NorvaleTimeClock.exe"') ;;
*) die "the Run value is $entry, not the program's path in quotes" ;;
esac
tray_shot tray_one
shot shown

# A second start: no second clock, the first comes forward; the second process ends with 0.
status=0
timeout 30 wine "$NORVALE_EXE" || status=$?
[ "$status" -eq 0 ] || die "the second start ended with code $status"
sleep 1
kill -0 "$first" 2>/dev/null || die "the first clock ended"
[ "$(clock_windows)" -eq 1 ] || die "$(clock_windows) clock windows after a second start"
tray_shot tray_after
[ "$(/usr/bin/compare -metric AE "$out/tray_one.png" "$out/tray_after.png" /dev/null 2>&1 || true)" = 0 ] ||
    die "the notification area changed after a second start (a second icon?)"

# Hidden in the tray, a second start shows the clock again at its place.
tray_click 1
sleep 1
/usr/bin/import -window root "$out/hidden.png"
[ "$(clock_windows)" -eq 1 ] || die "the hidden clock's window went away"
timeout 30 wine "$NORVALE_EXE" || die "the second start while hidden failed"
sleep 2
window=$(wait_for_window "Norvale Time Clock" 10) || die "the window went away"
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X,$Y" = "600,400" ] || die "brought forward at $X,$Y, not at 600,400"
shot brought_forward
lit=$(/usr/bin/convert "$out/brought_forward.png" -colorspace gray -threshold 8% -format '%[fx:mean]' info:)
awk -v lit="$lit" 'BEGIN { exit !(lit > 0.3) }' || die "the clock brought forward is not shown ($lit lit)"

# The stopwatch started, the clock hidden again, then the session ends (a log-off): the
# settings keep the shown place and the time the stopwatch counted.
click 75 30 # the keyboard's focus
xdotool key 4
sleep 0.5
click 22 75 # start
started=$(date +%s.%N)
sleep 12 # long enough that the time counted shows in the read-out's tens of seconds
tray_click 1
sleep 1
place '1,1,151,151' # so that only a save at the log-off can put the place back
wineboot --end-session >/dev/null 2>&1 || true
ran=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { print b - a }')
[ "$(stored NormPos)" = "600,400,750,550" ] ||
    die "a log-off while hidden stored NormPos $(stored NormPos), not 600,400,750,550"
[ "$(stored StopWatch1_Running)" = True ] || die "a log-off stored the stopwatch stopped"
counted=$(awk -v t="$(stored StopWatch1_RunningTotal)" 'BEGIN { print t * 86400 }')
awk -v c="$counted" -v r="$ran" 'BEGIN { exit !(c > 12 && c < r + 1) }' ||
    die "a log-off stored $counted s of a stopwatch that ran $ran s"
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wait "$first" 2>/dev/null || true

start_clock
[ "$X,$Y" = "600,400" ] || die "after the log-off the clock started at $X,$Y"
# The stopwatch runs on from what it counted, not from zero: its read-out is nearest that time
# plus the seconds since the window came (start_clock waits three after it).
shown=$(date +%s.%N)
shot logged_off
since=$(awk -v a="$shown" -v b="$(date +%s.%N)" 'BEGIN { print 3 + b - a }')
skin=$(dirname "$NORVALE_EXE")/face/norvale
render stopwatch_kept "$skin" --mode 3 --at '2026-12-08 10:00:00' --span "$(awk -v c="$counted" -v s="$since" 'BEGIN { print c + s }')"
render stopwatch_from_zero "$skin" --mode 3 --at '2026-12-08 10:00:00' --span "$since"
expect_nearest "the stopwatch after the log-off" logged_off "$readout" stopwatch_kept \
    stopwatch_from_zero stopwatch_kept
running logged_off || die "the stopwatch does not run on after the log-off"
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end after a close request"

# The top-left corner is a place like any other.
place '0,0,150,150'
start_clock
/usr/bin/import -window root "$out/origin.png"
[ "$X,$Y" = "0,0" ] || die "a clock stored at 0,0 started at $X,$Y"
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end after a close request"
[ "$(stored NormPos)" = "0,0,150,150" ] || die "the corner place was stored as $(stored NormPos)"
