#!/usr/bin/env bash
# The Alarms window as a person uses it: opened from the menu, an alarm "Wake up" added
# twenty seconds ahead with a five-second snooze through the window's controls, the window
# closed and the clock hidden in the tray. The alarm brings the clock back with a blinking
# read-out and its name as the title; "Snooze" from the icon's menu stops it and it comes
# back five seconds later; a press on the face dismisses it. After a restart the alarm is in
# the list and in the settings. Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

out=$NORVALE_ARTEFACTS/alarms
rm -rf "$out"
mkdir -p "$out"
alarm_key='HKCU\Software\Brannick\NorvaleTimeClock\Alarms\1'
# A fresh Wine session: the notification area then holds this clock's icon only.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true

# The Alarms window's size in dialog units (dialogs.rc); unit U X Y gives the pixels of a
# point of its client area, which is where the window is here (no window manager draws
# frames on this display).
unit() {
    printf '%s %s\n' "$((DX + $1 * DWIDTH / 530))" "$((DY + $2 * DHEIGHT / 296))"
}
# press X Y: a click at a point of the Alarms window given in dialog units.
press() {
    # shellcheck disable=SC2046
    xdotool mousemove $(unit "$1" "$2")
    sleep 0.2
    xdotool click 1
    sleep 0.4
}
# whitish NAME: how many pixels of the read-out in shot NAME are pale grey, the colour of its
# digits drawn white under the glass (they are teal otherwise).
whitish() {
    /usr/bin/convert "$out/$1.png" -crop "$readout" +repage -fx '(r>0.45&&g-r<0.12)?1:0' \
        -format '%[fx:round(mean*w*h)]' info:
}
# blinking NAME: of two shots a second apart, one has white digits and the other not: the
# alarm sounds. (The read-out of the clock changes every second anyway, and a pale hand may
# lie across it in both.)
blinking() {
    shot "$1_a"
    sleep 1
    shot "$1_b"
    local a b
    a=$(whitish "$1_a")
    b=$(whitish "$1_b")
    [ $((a > b ? a - b : b - a)) -gt 60 ]
}
# blinks_within SECONDS NAME: the read-out starts blinking within that many seconds.
blinks_within() {
    local until=$(($(date +%s) + $1)) i=0
    while [ "$(date +%s)" -le "$until" ]; do
        i=$((i + 1))
        ! blinking "$2_$i" || return 0
    done
    return 1
}

start_clock
shot before
menu_item 10
dialog "Alarms"
/usr/bin/import -window root "$out/window_empty.png"

# Add: the new alarm's time is now, to the second; its name is selected for typing over.
wait_early_in_minute
press 27 283 # Add
added=$(date +%s)
xdotool type --delay 60 "Wake up"
# Twenty seconds on: the time picker's seconds field, then Up.
press 242 219
for i in $(seq 1 20); do xdotool key Up; done
# A five-second snooze: the snooze picker's seconds field up by five, then its minutes down
# from nine.
press 394 249
for i in $(seq 1 5); do xdotool key Up; done
press 381 249
for i in $(seq 1 9); do xdotool key Down; done
/usr/bin/import -window root "$out/window_set.png"
xdotool key Escape
closed "Alarms"
wine reg query "$alarm_key" /v Snooze 2>/dev/null | grep -q '0:05' ||
    die "the snooze of five seconds was not kept"

# The icon's tip names the alarm and when it goes off (a shot to look at).
tray=$(xdotool search --onlyvisible --name 'Wine System Tray' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
xdotool mousemove "$((TRAY_X + 8))" "$((TRAY_Y + 8))"
sleep 2
/usr/bin/import -window root "$out/tray_tip.png"

# Hidden in the tray, the clock comes back when the alarm goes off.
tray_click 1
sleep 1.5
shot hidden
dark hidden || die "a click on the icon did not hide the clock"
while [ "$(date +%s)" -lt "$((added + 19))" ]; do sleep 0.5; done
blinks_within 8 alarm || die "no blinking read-out when the alarm was due"
/usr/bin/import -window root "$out/sounding.png"
shot named
[ "$(differ before named "$title")" -gt 20 ] || die "the title does not name the alarm"

# Snooze from the icon's menu, its first item while the alarm sounds.
tray_click 3
/usr/bin/import -window root "$out/tray_menu.png"
xdotool key --delay 120 Down Return
sleep 0.5
! blinking snoozed || die "the read-out still blinks after Snooze"
blinks_within 8 again || die "the alarm did not come back after its snooze"

# A press on the face dismisses it.
click 75 30
sleep 1
! blinking dismissed || die "the read-out still blinks after a press on the face"

# After a restart the alarm is kept, and it does not go off again.
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"
wine reg query "$alarm_key" /v Name 2>/dev/null | grep -q 'Wake up' ||
    die "the alarm is not in the settings"
start_clock
menu_item 10
dialog "Alarms"
/usr/bin/import -window root "$out/window_after_restart.png"
# The list's first row shows the alarm's name in dark text, the second row is empty.
row_text() {
    local x y
    read -r x y < <(unit 12 "$1")
    /usr/bin/convert "$out/window_after_restart.png" -crop "60x8+$x+$((y - 4))" +repage \
        -colorspace gray -threshold 50% -negate -format '%[fx:round(mean*w*h)]' info:
}
[ "$(row_text 20)" -gt 20 ] && [ "$(row_text 29)" -eq 0 ] || die "the alarm is not in the list"
press 40 20 # the row: its settings fill the panels
/usr/bin/import -window root "$out/window_selected.png"
xdotool key Escape
closed "Alarms"
! blinking restarted || die "the alarm went off again after the restart"
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"
