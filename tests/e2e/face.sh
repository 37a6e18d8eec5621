#!/usr/bin/env bash
# A person at the clock: a first start puts the face in the middle of the screen; keys 1 to
# 5 and title clicks change the mode; the stopwatch buttons start, pause and reset; a centre
# click hides the hands and shows the weekday; dragging the face moves the window and a
# move without a held button does not; Alt+F4 fades it out and ends it; the settings are in
# the registry and a restart brings back the mode, the hands and the place. Then each skin that
# ships beside norvale, stored as the clock's skin with a long city name as its title, shows
# at its own size, like the frames norvale-skin draws of it in Clock mode and, after a click
# on its title, in Countdown mode.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/face_check.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
out=$NORVALE_ARTEFACTS/face
mkdir -p "$out"
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true

start_clock
screen=$(xdotool getdisplaygeometry)
expected_x=$(((${screen% *} - 150) / 2))
[ $((X - expected_x)) -le 2 ] && [ $((expected_x - X)) -le 2 ] ||
    die "first start: the face is at x $X, not centred ($expected_x)"
shot clock
click 75 30 # focus, on the face background
xdotool key 4
sleep 0.5
shot stopwatch
[ "$(differ clock stopwatch "$title")" -gt 10 ] || die "key 4 did not change the title"

click 22 75 # left button: start
sleep 1.2
running running || die "the stopwatch does not run"
click 22 75 # pause
shot paused1
sleep 1.1
shot paused2
[ "$(differ paused1 paused2 "$readout")" -le 10 ] || die "the paused stopwatch still runs"
click 128 75 # right button: reset
shot reset
[ "$(differ stopwatch reset "$readout")" -le 10 ] || die "reset did not bring 00:00:00 back"

xdotool key 1
sleep 0.5
shot clock_again
[ "$(differ stopwatch clock_again "$title")" -gt 10 ] || die "key 1 did not change the title"
click 75 74 # the centre spot
shot no_hands
[ "$(differ clock_again no_hands "$weekday")" -gt 10 ] || die "no weekday without the hands"
[ "$(differ clock_again no_hands "$hands")" -gt 10 ] || die "the hands are still there"

click 50 85 # the title: Clock to Countdown
shot countdown
[ "$(differ no_hands countdown "$title")" -gt 10 ] || die "a title click did not change the mode"
click 50 85 # Countdown to UpTime
xdotool mousemove "$((X + 75))" "$((Y + 30))" # off the title, so it is drawn unlit
sleep 0.5
shot uptime

# A move without a held button leaves the window where it is.
xdotool mousemove "$((X + 75))" "$((Y + 30))"
sleep 0.2
xdotool mousemove "$((X + 105))" "$((Y + 60))"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
before_x=$X before_y=$Y
# Dragging the face background moves it.
drag_face
[ "$X" -ne "$before_x" ] || [ "$Y" -ne "$before_y" ] || die "dragging did not move the window"
moved_x=$X moved_y=$Y
shot moved

click 75 30 # focus again, then Alt+F4
xdotool key alt+F4
timeout 20 tail --pid="$clock" -f /dev/null || die "Alt+F4 did not end the clock"
status=0
wait "$clock" || status=$?
[ "$status" -eq 0 ] || die "exit code $status after Alt+F4"

stored=$(wine reg query "$settings" 2>/dev/null | tr -d '\r')
printf '%s\n' "$stored" >"$out/stored.txt"
for value in ClockType bDisplayArrows ClockSkin FClockLabel FTimeZoneId Countdown TimerDate \
    NormPos StopWatch1_RunningTotal LoadatStartup1_Checked; do
    grep -q "^ *$value " <<<"$stored" || die "$value was not stored"
done
grep -Eq '^ *ClockType +REG_SZ +2$' <<<"$stored" || die "the mode was not stored as UpTime"
grep -Eq '^ *bDisplayArrows +REG_SZ +0$' <<<"$stored" || die "hidden hands were not stored"

start_clock
[ "$X" -eq "$moved_x" ] && [ "$Y" -eq "$moved_y" ] ||
    die "the restart put the face at $X,$Y, not at $moved_x,$moved_y"
shot restarted
[ "$(differ uptime restarted "$title")" -le 10 ] || die "the restart did not restore UpTime"
[ "$(differ restarted moved "$hands")" -le 40 ] || die "the restart brought the hands back"
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"

# The skins that ship beside norvale. The clock shows the zone "GMT Standard Time", London's.
label=Petropavlovsk-Kamchatsky
for name in atelier ember halo paper; do
    folder=$(dirname "$NORVALE_EXE")/face/$name
    for value in "ClockSkin $name" "FClockLabel $label" "ClockType 0" "bDisplayArrows 1"; do
        wine reg add "$settings" /v "${value%% *}" /t REG_SZ /d "${value#* }" /f >/dev/null 2>&1
    done
    start_clock
    size=$(/usr/bin/identify -format '%wx%h' "$folder/face.png")
    [ "${WIDTH}x$HEIGHT" = "$size" ] || die "$name: the face is ${WIDTH}x$HEIGHT, not $size"
    face="${size}+0+0"
    xdotool mousemove 0 0 # off the face, so that nothing on it is lit
    sleep 0.5
    shot "${name}_clock"
    render "${name}_clock_frame" "$folder" --mode 0 --at "$(TZ=Europe/London date '+%F %T')" \
        --title "$label"
    render "${name}_countdown_frame" "$folder" --mode 1 --span -5 --at "$(date '+%F %T')"
    expect_nearest "$name in Clock mode" "${name}_clock" "$face" "${name}_clock_frame" \
        "${name}_clock_frame" "${name}_countdown_frame"
    # A click on the middle of the title steps to Countdown, whose target has passed.
    IFS=',x ' read -r x y w h < <("$NORVALE_SKIN_TOOL" check "$folder" | sed -n 's/^label title //p')
    click $((x + w / 2)) $((y + h / 2))
    xdotool mousemove 0 0
    sleep 0.5
    shot "${name}_countdown"
    expect_nearest "$name in Countdown mode" "${name}_countdown" "$face" "${name}_countdown_frame" \
        "${name}_clock_frame" "${name}_countdown_frame"
    request_close
    timeout 20 tail --pid="$clock" -f /dev/null || die "$name: the clock did not end"
done
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
