#!/usr/bin/env bash
# The dialogs and the time server from the face, as a person uses them: a countdown set a
# few seconds ahead in the Countdown dialog raises its alarm, the read-out blinks and a press
# on the face stops it; the Timer dialog with 00:00:03 and Auto Start raises the alarm about
# three seconds later and keeps the Auto Start choice; "See the time difference" against a
# time server on loopback shows a difference under one second.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

out=$NORVALE_ARTEFACTS/dialogs
mkdir -p "$out"
trap stop_ntp_server EXIT
start_ntp_server "$out/chrony"
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Brannick\NorvaleTimeClock' /v TimeServer /t REG_SZ \
    /d "127.0.0.1:$NORVALE_NTP_PORT" /f >/dev/null 2>&1

# blinking PREFIX: two shots a second apart differ in the read-out. Once a countdown has
# passed or a timer has run out the read-out stands still at 00:00:00, so a difference is the
# alarm's blink. (Screenshots take a while on a busy machine; a loop of these waits seconds.)
blinking() {
    shot "$1_a"
    sleep 1
    shot "$1_b"
    [ "$(differ "$1_a" "$1_b" "$readout")" -gt 10 ]
}
start_clock

# Countdown: Reset makes the target now, so the dialog opens on today and this second.
click 75 30
xdotool key 2
sleep 0.5
click 128 75 # Reset
wait_early_in_minute
click 128 75
target=$(($(date +%s) + 20))
click 22 75 # "Countdown to...": the dialog
dialog "Countdown to ..."
/usr/bin/import -window root "$out/countdown_dialog.png"
# NOTE: Wine's time picker does not move between its fields with the arrow keys; a click
# selects the seconds field.
pick 200 66
# Twenty seconds ahead: time enough for the steps that follow on a busy machine.
for i in $(seq 1 20); do xdotool key Up; done
/usr/bin/import -window root "$out/countdown_set.png"
pick 140 120 # OK

closed "Countdown to ..."
while [ "$(date +%s)" -le "$((target + 1))" ]; do sleep 0.5; done
for i in 1 2 3; do
    ! blinking countdown_alarm || break
    [ "$i" -lt 3 ] || die "no blinking read-out after the countdown passed"
done
click 75 30 # a press on the face acknowledges the alarm
sleep 1
! blinking countdown_after || die "the read-out still blinks after a press on the face"

# Timer: 00:00:03 with Auto Start.
xdotool key 5
sleep 0.5
click 128 75 # "Set up Timer"
dialog "Timer"
/usr/bin/import -window root "$out/timer_dialog.png"
pick 66 66
xdotool key --delay 80 Down Down Down Down Down Down Down # 00:00:10 -> 00:00:03
/usr/bin/import -window root "$out/timer_set.png"
xdotool key Return
closed "Timer"
started=$(date +%s)
while [ "$(date +%s)" -le "$((started + 4))" ]; do sleep 0.5; done
for i in 1 2 3; do
    ! blinking timer_alarm || break
    [ "$i" -lt 3 ] || die "no alarm about three seconds after the timer started"
done
click 75 30
wine reg query 'HKCU\Software\Brannick\TarvexClock\Timer' /v cbAutoStart_Checked 2>/dev/null |
    grep -q True || die "the Timer dialog did not keep Auto Start"

# "See the time difference" against chronyd, which serves this machine's own clock.
xdotool key 4
sleep 0.5
shot stopwatch_zero
xdotool key 1
sleep 0.5
click 128 75
sleep 2
shot atomic
[ "$(differ stopwatch_zero atomic "$readout")" -le 10 ] ||
    die "the time difference is not under one second"

request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"
wine reg query 'HKCU\Software\Brannick\NorvaleTimeClock' /v ClockType 2>/dev/null |
    grep -Eq 'REG_SZ +5' || die "the time difference did not enter the Atomic mode"
