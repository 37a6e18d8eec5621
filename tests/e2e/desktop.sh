#!/usr/bin/env bash
# The clock on a busy desktop and for a screen reader: its accessible object reads the face's
# title, time and date, and so does the tray tip; 50 % opacity halves the face's pixels; a locked face stays put under
# a drag that moves it unlocked; with Click Through a click on the face reaches the window
# beneath, except one that stops a sounding alarm, and the tray's menu turns it off again; with Hide When Full Screen the clock steps
# behind a program that fills the screen and comes back when it ends; all four are stored.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
probe=${NORVALE_EXE%/program/*}/tests/win32/desktop_probe.exe
out=$NORVALE_ARTEFACTS/desktop
mkdir -p "$out"
rm -f "$out"/*.png "$out"/clicks.txt
[ -f "$probe" ] || die "no desktop probe at $probe"
# A fresh session, so the notification area holds this clock's icon only.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true

# Settings items (a submenu opens with its first item selected).
settings_item() { submenu 12 "$1"; }
# opacity_item N: level N of the Opacity submenu (0 is 100 %, 3 is 50 %).
opacity_item() {
    local keys=(Down Down Down Down Down Down Down Down Down Down Down Down Down Right) i
    for ((i = 0; i < 6; i++)); do keys+=(Down); done
    keys+=(Right)
    for ((i = 0; i < $1; i++)); do keys+=(Down); done
    menu "${keys[@]}" Return
}
lock_position=4 click_through=5 hide_full_screen=7

# mean NAME REGION: the mean brightness (0 to 1) of a region of shot NAME.
mean() {
    /usr/bin/convert "$out/$1.png" -crop "$2" +repage -colorspace gray -format '%[fx:mean]' info:
}

start_clock

# The screen reader's view: "Time hh:nn:ss am, Mmm dd", the role of a clock (61), and the
# hour and minute of the computer's own clock, which a first start shows.
reading=$(wine "$probe" read 2>"$out/reader.err" | tr -d '\r') ||
    die "no accessible object: $(cat "$out/reader.err")"
printf '%s\n' "$reading" >"$out/reader.txt"
name=$(sed -n 1p <<<"$reading")
value=$(sed -n 2p <<<"$reading")
role=$(sed -n 3p <<<"$reading")
[[ $name =~ ^Time\ ([0-9]{2}):([0-9]{2}):[0-9]{2}\ (am|pm),\ [A-Z][a-z]{2}\ [0-9]{2}$ ]] ||
    die "the accessible name \"$name\" is not the face's title, time and date"
shown="${BASH_REMATCH[1]}:${BASH_REMATCH[2]}"
[ "$value" = "${name#Time }" ] || die "the accessible value \"$value\" is not the face's time and date"
[ "$role" = 61 ] || die "the accessible role is $role, not a clock"
local_now=$(date +%I:%M)
local_before=$(date -d '1 minute ago' +%I:%M)
[ "$shown" = "$local_now" ] || [ "$shown" = "$local_before" ] ||
    die "the reader heard $shown, the computer's clock has $local_now"

# The tray tip, hovered: the program's name over what the face shows (below the icon).
tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | head -n 1) || true
[ -n "$tray" ] || die "no notification area window"
eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
tip_region="300x50+$TRAY_X+$((TRAY_Y + 22))"
/usr/bin/import -window root "$out/no_tip.png"
xdotool mousemove "$((TRAY_X + 6))" "$((TRAY_Y + 8))"
sleep 0.3
xdotool mousemove "$((TRAY_X + 8))" "$((TRAY_Y + 8))"
sleep 2
/usr/bin/import -window root "$out/tray_tip.png"
[ "$(differ no_tip tray_tip "$tip_region")" -gt 500 ] || die "no tip came up over the tray icon"

# Opacity 50 %: the face's still parts (the rim, away from hands and texts) at half their
# brightness over the black screen.
rim='30x12+60+4'
shot opaque
opacity_item 3
sleep 0.5
shot half
full=$(mean opaque "$rim")
half=$(mean half "$rim")
awk -v f="$full" -v h="$half" 'BEGIN { exit !(f > 0.1 && h / f > 0.47 && h / f < 0.53) }' ||
    die "50 % opacity made the rim $half from $full"
opacity_item 0

# Lock Position: the drag that moves an unlocked face leaves a locked one where it is.
before_x=$X before_y=$Y
settings_item "$lock_position"
drag_face
[ "$X" -eq "$before_x" ] && [ "$Y" -eq "$before_y" ] ||
    die "a locked face moved from $before_x,$before_y to $X,$Y"
settings_item "$lock_position"
drag_face
[ "$X" -ne "$before_x" ] || [ "$Y" -ne "$before_y" ] || die "an unlocked face did not move"

# Click Through: a window beneath the face gets the click the face took before.
wine "$probe" window "$X" "$Y" 150 150 "$(winepath -w "$out/clicks.txt")" &
beneath=$!
wait_for_window "Desktop probe" 10 >/dev/null || die "no window beneath the clock"
sleep 1
# NOTE: with no window manager Wine stacks a newly shown window above all others, topmost
# ones too: hidden and shown again from the tray, the clock is above the probe, as it would
# be on Windows anyway.
tray_click 1
sleep 1
tray_click 1
sleep 1.5
click 75 12
[ ! -s "$out/clicks.txt" ] || die "a click on the face reached the window beneath"
settings_item "$click_through"
click 75 12
grep -q "^click 75 12" "$out/clicks.txt" 2>/dev/null ||
    die "with Click Through a click on the face did not reach the window beneath"
# While an alarm sounds the face takes a press again, which stops it: the timer, set from the
# tray's menu ("Timer...", ten seconds, started at once), runs out; a click on the face stops
# it and reaches nothing beneath; the next goes through again.
tray_click 3
xdotool key --delay 120 Down Down Down Down Down Down Down Down Down Down Return
dialog "Timer"
pick 66 66 # the keyboard in the dialog
xdotool key Return
closed "Timer"
sleep 11.5
: >"$out/clicks.txt"
click 75 12
shot alarm_pressed
[ ! -s "$out/clicks.txt" ] || die "with Click Through a press on a sounding alarm went beneath"
click 75 12
grep -q "^click 75 12" "$out/clicks.txt" 2>/dev/null ||
    die "after the alarm Click Through did not come back"
# The face's menu cannot open now; the tray's is the way back.
tray_click 3
xdotool key --delay 120 Up Up Right Down Down Down Down Down Return
sleep 0.5
: >"$out/clicks.txt"
click 75 12
[ ! -s "$out/clicks.txt" ] || die "the tray's menu did not turn Click Through off"
kill "$beneath" 2>/dev/null || true
wait "$beneath" 2>/dev/null || true

# Hide When Full Screen: a program filling the screen is the active one. The topmost clock
# stays in front of it while the setting is off; with it on, it steps behind and comes back,
# topmost, when the program ends. (Where Wine stacks the X windows does not follow the
# order of windows here, as noted above: the probe reads that order as Windows keeps it.)
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
# full_screen: starts the program filling the screen and waits for it.
full_screen() {
    wine "$probe" window 0 0 "$screen_w" "$screen_h" "$(winepath -w "$out/full_clicks.txt")" &
    program=$!
    wait_for_window "Desktop probe" 10 >/dev/null || die "no full-screen program"
    sleep 1.5
}
end_program() {
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    sleep 1
}
order() { wine "$probe" order | tr -d '\r'; }
full_screen
[ "$(order)" = "topmost front" ] || die "without the setting the clock left the top: $(order)"
end_program
settings_item "$hide_full_screen"
full_screen
[ "$(order)" = "normal behind" ] || die "the clock did not step behind the program: $(order)"
shot behind
end_program
[ "$(order)" = "topmost alone" ] || die "the clock did not come back on top: $(order)"

request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"
stored=$(wine reg query "$settings" 2>/dev/null | tr -d '\r')
printf '%s\n' "$stored" >"$out/stored.txt"
grep -Eq '^ *HideWhenFullScreen1_Checked +REG_SZ +True$' <<<"$stored" ||
    die "Hide When Full Screen was not stored checked"
grep -Eq '^ *ClickThrough1_Checked +REG_SZ +False$' <<<"$stored" ||
    die "Click Through was not stored unchecked"
grep -Eq '^ *LockPosition1_Checked +REG_SZ +False$' <<<"$stored" ||
    die "Lock Position was not stored unchecked"
grep -Eq '^ *Opacity +REG_SZ +100$' <<<"$stored" || die "the opacity was not stored"
