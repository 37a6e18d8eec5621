#!/usr/bin/env bash
# A new user's journey with the real program, start to end, in one run, on a computer in New
# York:
#   1. a first start with an empty registry shows the computer's own time, New York's, and
#      stores every default, the countdown's first target that time too;
#   2. every mode (the title of each, the hands there and gone), both dialogs, the Alarms
#      window, the World Clock's zone, every setting, a skin and back, a broken skin (one
#      message, the previous skin stays), hiding and showing from the menu and the tray,
#      About, the time difference, and Exit with a running stopwatch;
#   3. the next start goes on with the stopwatch's time; without the sound files an alarm
#      gives at most one message; a time server that does not answer gives one message and
#      leaves the clock working in its mode.
# Each mode's screenshot stays in $NORVALE_ARTEFACTS/journey/. Run by scripts/test with
# DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"
source "$NORVALE_ROOT/tests/e2e/lib/face_check.sh"

# The prefix's zone follows the environment's: Wine gives each process the zone TZ names.
export TZ=America/New_York
settings='HKCU\Software\Brannick\NorvaleTimeClock'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
out=$NORVALE_ARTEFACTS/journey
rm -rf "$out"
mkdir -p "$out"
trap stop_ntp_server EXIT

# The program folder as the release zip lays it out, with two more skins a user might add:
# "slate" (the default one, lighter) and "broken" (its face image is missing).
program=$out/program
cp -r "$(dirname "$NORVALE_EXE")" "$program"
NORVALE_EXE=$program/NorvaleTimeClock.exe
skin=$program/face/norvale
cp -r "$skin" "$program/face/slate"
/usr/bin/convert "$skin/face.png" -modulate 170,100,60 "$program/face/slate/face.png"
cp -r "$skin" "$program/face/broken"
rm "$program/face/broken/face.png"

# A fresh Wine session (the notification area then holds this clock's icon only), nothing of
# the clock in the registry, and text files opened by Notepad as on any Windows machine.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
wine reg delete "$run_key" /v NorvaleTimeClock /f >/dev/null 2>&1 || true
wine reg add 'HKLM\Software\Classes\.txt' /ve /d txtfile /f >/dev/null 2>&1

stored() { wine reg query "$settings" 2>/dev/null | tr -d '\r'; }
# has STORED NAME VALUE: whether the stored text value NAME is VALUE (a regular expression).
has() { grep -Eq "^ *$2 +REG_SZ +$3\$" <<<"$1"; }
# now: the seconds since 1970 when a shot is taken; utc AT HOURS: that time moved by HOURS,
# as norvale-skin reads it; local AT HOURS: the same on the computer's clock (New York's).
now() { date +%s; }
utc() { date -u -d "@$(($1 + $2 * 3600))" '+%F %T'; }
local_time() { date -d "@$(($1 + $2 * 3600))" '+%F %T'; }
# ended: waits for the clock's process to end.
ended() {
    timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"
    wait "$clock" || die "the clock ended with an error"
}

# ---------------------------------------------------------------------------------------
# 1. The first start.
start_clock
at=$(now)
shot first
render first_local "$skin" --mode 0 --at "$(local_time "$at" 0)"
render first_local_early "$skin" --mode 0 --at "$(local_time "$at" -1)"
render first_local_late "$skin" --mode 0 --at "$(local_time "$at" 1)"
render first_london "$skin" --mode 0 --at "$(TZ=Europe/London local_time "$at" 0)"
render first_plain "$skin" --mode 0 --at "$(local_time "$at" 0)" --hands off --ampm off
# The computer's own time, New York's, with its hands and the am/pm marker; not London's, which
# earlier versions showed as "Time".
expect_nearest "the first start's time" first '150x150+0+0' first_local \
    first_local first_local_early first_local_late first_london
shows first "$pivot" first_plain || die "the first start shows no hands"
shows first "$ampm" first_plain || die "the first start shows no am/pm marker"
wine reg query "$run_key" /v NorvaleTimeClock 2>/dev/null | grep -qiF 'NorvaleTimeClock.exe' ||
    die "the first start did not register the program to start with the system"
request_close
ended
first=$(stored)
printf '%s\n' "$first" >"$out/stored_first.txt"
has "$first" ClockType 0 || die "the first mode is not Clock"
has "$first" ClockSkin norvale || die "the first skin is not norvale"
has "$first" FClockLabel Time || die "the first label is not Time"
has "$first" FTimeZoneId -1 || die "the first start chose a zone, not the computer's own"
# The countdown's first target: the moment of the start on the computer's clock.
target=$(sed -nE 's/^ *CountdownIso +REG_SZ +(.*)$/\1/p' <<<"$first")
[ -n "$target" ] && [ $(($(date -d "$target" +%s) - at)) -le 5 ] &&
    [ $(($(date -d "$target" +%s) - at)) -ge -15 ] ||
    die "the first countdown target $target is not the start's time, $(local_time "$at" 0)"
has "$first" bDisplayArrows -1 || die "the first start hid the hands"
has "$first" TimerDate '.*(12|00?):00:10.*' || die "the first timer is not ten seconds"
for item in OnTop1 LoadatStartup1 Chimes1 AMPM1; do
    has "$first" "${item}_Checked" True || die "$item is not checked at the first start"
done

# ---------------------------------------------------------------------------------------
# 2. A day with the clock. The time server: chronyd on loopback, serving this machine's time.
start_ntp_server "$out/chrony"
wine reg add "$settings" /v TimeServer /t REG_SZ /d "127.0.0.1:$NORVALE_NTP_PORT" /f >/dev/null 2>&1
start_clock
shown_x=$X shown_y=$Y

# titled NAME MODE: the shot NAME shows the title of the mode (seen without the hands, whose
# title of all six modes it is nearest) and the hands, and a click on the centre spot takes
# them away and brings them back.
titled() {
    local name=$1 mode=$2 at m
    click 75 74
    at=$(now)
    shot "${name}_plain"
    click 75 74
    for m in 0 1 2 3 4 5; do render "title_$m" "$skin" --mode "$m" --at "$(utc "$at" 0)" --hands off; done
    expect_nearest "the $name title" "${name}_plain" "$title" "title_$mode" \
        title_0 title_1 title_2 title_3 title_4 title_5
    shows "$name" "$pivot" "title_$mode" || die "$name: no hands"
    ! shows "${name}_plain" "$pivot" "title_$mode" || die "$name: a centre click left the hands"
}
# time_difference NAME: "See the time difference" on the face in the Clock mode. The clock
# waits for the server's answer (five seconds at most without one), so the shot NAME is taken
# once the title has changed. The hands are away while it waits: the second hand sweeps
# through the title and would pass for a change while the clock still waits.
time_difference() {
    local i
    click 75 74
    shot "$1_before"
    click 128 75
    for i in $(seq 1 30); do
        shot "$1_waiting"
        if [ "$(differ "$1_before" "$1_waiting" "$title")" -gt 10 ]; then
            click 75 74
            shot "$1"
            return 0
        fi
        sleep 0.5
    done
    die "$1: the time difference did not come"
}
# tour NAME MODE MENU_ITEM: the mode chosen from the menu, its shot NAME titled.
tour() {
    menu_item "$3"
    shot "$1"
    titled "$1" "$2"
}
tour countdown 1 3
tour uptime 2 4
running uptime || die "the up-time does not run"
tour stopwatch 3 5
! running stopwatch || die "the stopwatch runs before it is started"
cp "$out/stopwatch.png" "$out/stopwatch_zero.png"
tour timer 4 6
tour clock 0 2
running clock || die "the clock does not run"

# The Countdown dialog from the menu: Reset on the face makes the target now, the dialog
# moves it twenty seconds on, and the countdown runs towards it.
xdotool key 2
sleep 0.5
wait_early_in_minute
click 128 75
menu_item 8
dialog "Countdown to ..."
/usr/bin/import -window root "$out/countdown_dialog.png"
pick 200 66 # the seconds field (Wine's picker does not move between fields by keys)
for i in $(seq 1 20); do xdotool key Up; done
pick 140 120 # OK
closed "Countdown to ..."
running countdown_set || die "the countdown does not run after the dialog"

# The Timer dialog from the menu: three seconds, Auto Start, and the alarm.
menu_item 9
dialog "Timer"
/usr/bin/import -window root "$out/timer_dialog.png"
pick 66 66
xdotool key --delay 80 Down Down Down Down Down Down Down # 00:00:10 -> 00:00:03
xdotool key Return
closed "Timer"
sleep 4.5
for i in 1 2 3; do
    ! running timer_alarm || break
    [ "$i" -lt 3 ] || die "no blinking alarm three seconds after the timer started"
done
click 75 30 # acknowledges the alarm

# The Alarms window opens from the menu, with no alarm yet, and Escape puts it away.
menu_item 10
dialog "Alarms"
/usr/bin/import -window root "$out/alarms_window.png"
xdotool key Escape
closed "Alarms"

# The World Clock: the second zone of the list, UTC-11 the whole year.
menu_item 7
dialog "World Clock"
/usr/bin/import -window root "$out/world_clock_dialog.png"
xdotool key Home Down
sleep 0.3
xdotool key Return
closed "World Clock"
sleep 1
at=$(now)
shot zone
for offset in 0 -1 -11; do
    render "zone_$offset" "$skin" --mode 0 --at "$(utc "$at" "$offset")"
done
expect_nearest "the World Clock's time" zone '150x150+0+0' zone_-11 zone_0 zone_-1 zone_-11

# Settings: each item once. Unchecking Load at Startup removes the entry at once, checking
# it again brings it back; without AM/PM the marker goes.
settings_item() { submenu 12 "$1"; }
settings_item 0 # On Top
settings_item 1 # Load at Startup
! wine reg query "$run_key" /v NorvaleTimeClock >/dev/null 2>&1 ||
    die "unchecking Load at Startup left the entry"
settings_item 1
wine reg query "$run_key" /v NorvaleTimeClock >/dev/null 2>&1 ||
    die "checking Load at Startup did not register the program again"
settings_item 2 # Chimes
settings_item 3 # AM/PM
at=$(now)
shot no_ampm
render no_ampm_plain "$skin" --mode 0 --at "$(utc "$at" -11)" --ampm off
! shows no_ampm "$ampm" no_ampm_plain || die "the am/pm marker stays without AM/PM"

# Skins (the ones that ship, with broken and slate among them): slate and back; the broken one
# gives one message and the face stays as it was.
skins_item() { submenu 11 "$(skin_position "$1")"; }
shot before_skins
skins_item slate
sleep 0.5
shot slate
render slate_skin "$program/face/slate" --mode 0 --at "$(utc "$(now)" -11)"
expect_nearest "the slate skin" slate '150x150+0+0' slate_skin before_skins slate_skin
skins_item norvale
sleep 0.5
shot norvale_again
expect_nearest "norvale again" norvale_again '150x150+0+0' before_skins before_skins slate
skins_item broken
sleep 1.5
/usr/bin/import -window root "$out/broken_skin_message.png"
[ "$(message_boxes)" -eq 1 ] || die "the broken skin gave $(message_boxes) messages, not one"
xdotool key Return
messages_gone || die "the broken skin's message did not close"
sleep 1.5
[ "$(message_boxes)" -eq 0 ] || die "a second message followed the broken skin's"
shot after_broken
expect_nearest "the skin after the broken one" after_broken '150x150+0+0' before_skins \
    before_skins slate

# Show/Hide from the menu, the tray's icon shows and hides, its menu's Show/Hide shows.
menu_item 0
sleep 1.5
shot hidden_by_menu
dark hidden_by_menu || die "Show/Hide did not hide the clock"
tray_click 1
sleep 1.5
shot shown_by_tray
! dark shown_by_tray || die "a click on the icon did not show the clock"
tray_click 1
sleep 1.5
shot hidden_by_tray
dark hidden_by_tray || die "a click on the icon did not hide the clock"
tray_click 3
xdotool key --delay 120 Down Return
sleep 1.5
shot shown_by_tray_menu
! dark shown_by_tray_menu || die "the icon's Show/Hide did not show the clock"

# About opens the README in the program folder.
menu_item 1
wait_for_window 'README.txt - Notepad' 20 >/dev/null || die "About did not open the README"
wine taskkill /f /im notepad.exe >/dev/null 2>&1 || true
for i in $(seq 1 50); do
    pgrep -f 'notepad\.exe' >/dev/null || break
    sleep 0.1
done
sleep 0.5
click 75 30 # the clock has the keyboard again

# The time difference against the server, seen in the Atomic mode: under a second.
xdotool key 1
sleep 0.5
time_difference atomic
titled atomic 5
[ "$(differ stopwatch_zero atomic "$readout")" -le 10 ] ||
    die "the time difference is not under one second"

# Exit with a running stopwatch.
xdotool key 4
sleep 0.5
click 22 75 # start
sleep 3
menu Up Return # Exit, the last item
ended
second=$(stored)
printf '%s\n' "$second" >"$out/stored_second.txt"
has "$second" StopWatch1_RunningTotal '[0-9.]*[1-9][0-9.]*' ||
    die "Exit did not keep the stopwatch's time"
has "$second" NormPos "$shown_x,$shown_y,$((shown_x + 150)),$((shown_y + 150))" ||
    die "Exit did not keep the clock's place"
has "$second" FTimeZoneId 1 || die "the zone was not kept"
has "$second" ClockSkin norvale || die "the skin after the broken one is not norvale"
for item in OnTop1 Chimes1 AMPM1; do
    has "$second" "${item}_Checked" False || die "$item was not kept unchecked"
done
has "$second" LoadatStartup1_Checked True || die "Load at Startup was not kept checked"

# ---------------------------------------------------------------------------------------
# 3. The next day: the sound files are gone and the time server cannot be reached.
stop_ntp_server
rm -r "$program/sound"
wine reg add "$settings" /v TimeServer /t REG_SZ /d '127.0.0.1:9' /f >/dev/null 2>&1
start_clock
shot restarted
[ "$(differ stopwatch_zero restarted "$readout")" -gt 10 ] ||
    die "the stopwatch did not keep its time across Exit"
running restarted || die "the stopwatch does not run on after the restart"

# An alarm without its sound: the clock goes on, with one message at most.
menu_item 9
dialog "Timer"
xdotool key Return # the three seconds of last time, Auto Start
closed "Timer"
messages=0
for i in $(seq 1 8); do
    sleep 1
    n=$(message_boxes)
    [ "$n" -le 1 ] || die "$n messages at once for the missing sound"
    if [ "$n" -eq 1 ]; then
        messages=$((messages + 1))
        [ "$messages" -le 1 ] || die "more than one message for the missing sound"
        /usr/bin/import -window root "$out/missing_sound_message.png"
        xdotool key Return
        messages_gone || die "the missing sound's message did not close"
    fi
done
click 75 30 # acknowledges the alarm
kill -0 "$clock" 2>/dev/null || die "the clock ended without its sound files"

# The difference against a server that does not answer: one message, and the clock as before
# (its title, seen without the hands, unchanged).
xdotool key 1
sleep 0.5
click 75 74
shot before_unreachable
click 75 74
click 128 75
one_message unreachable
click 75 74
shot unreachable
click 75 74
[ "$(differ before_unreachable unreachable "$title")" -le 10 ] ||
    die "the clock left its mode when the time server did not answer"
running unreachable || die "the clock stopped after the time server did not answer"

# Exit from the icon's menu ends the journey.
tray_click 3
xdotool key --delay 120 Up Return
ended
wine reg delete "$run_key" /v NorvaleTimeClock /f >/dev/null 2>&1 || true
