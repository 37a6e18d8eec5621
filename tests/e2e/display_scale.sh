#!/usr/bin/env bash
# The clock at display scales of 100 %, 150 % and 200 % (Wine's system DPI, LogPixels 96, 144
# and 192), one Wine session each: the window and the face's disc measure 1, 1.5 and 2 times
# their 100 % size; each screenshot is nearest to the frame norvale-skin draws at its scale
# for the same moment among the frames of the other scales; the read-out stays inside its
# glass; clicks on the scaled face buttons and title work; the notification area shows the
# icon image drawn for its size (the 32-pixel one at 200 %); the Timer, Countdown and World
# Clock dialogs, the Alarms window and a skin's message come at the scale, their shots kept to
# look at. Then a restart on a smaller screen, with the place stored beyond its right edge,
# shows the whole face.
# Run by scripts/test with DISPLAY and WINEPREFIX set; leaves the DPI at 96 for the others.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"
source "$NORVALE_ROOT/tests/e2e/lib/face_check.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
# The program folder with a second skin whose face image is missing, for a message.
own_program display_scale
cp -r "$skin" "$program/face/broken"
rm "$program/face/broken/face.png"
suite_display=$DISPLAY

# wine_idle: waits for this prefix's Wine to end; names and ends what keeps it running after
# a minute, so that a process left behind cannot hang the script until its time-out.
wine_idle() {
    timeout 60 wineserver -w && return 0
    say "Wine did not end by itself; still running:"
    pgrep -af '\.exe' >&2 || true
    wineserver -k >/dev/null 2>&1 || true
    timeout 30 wineserver -w
}
# use_dpi DPI: the system DPI of the next Wine session. Whatever the last session left
# running (the clock has ended by then, or the session has failed) ends first.
use_dpi() {
    wineserver -k >/dev/null 2>&1 || true
    wine_idle
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
    wine_idle
}
# Ends the smaller screen's display if it was started (and any clock left behind), then sets
# 96 dots per inch again on the suite's display.
cleanup() {
    stop_display
    wineserver -k >/dev/null 2>&1 || true
    export DISPLAY=$suite_display
    use_dpi 96
}
trap cleanup EXIT

now() { date +%s; }
utc() { date -u -d "@$1" '+%F %T'; }
# edge N: where the skin edge N lands at the session's DPI (the program's rounding rule).
edge() { echo $(((2 * dpi * $1 - 96 + 191) / 192)); }
# px N: the physical pixel under the middle of skin pixel N.
px() { echo $(((2 * $1 + 1) * dpi / 192)); }
# box W H X Y: the region of W x H skin pixels at X, Y as it is on the screen.
box() {
    local x=$(edge "$3") y=$(edge "$4")
    echo "$(($(edge $(($3 + $1))) - x))x$(($(edge $(($4 + $2))) - y))+$x+$y"
}
# lit NAME: the lit part of a shot's face, as the trimmed box WxH+X+Y.
lit() {
    /usr/bin/convert "$out/$1.png" -colorspace gray -threshold 25% -format '%@' info:
}
# brightest NAME REGION: the lightest grey of a region of a shot, in thousandths.
brightest() {
    /usr/bin/convert "$out/$1.png" -crop "$2" +repage -colorspace gray \
        -format '%[fx:int(maxima * 1000)]' info:
}

# start_scaled: starts the clock and finds its face among its windows by the size the scale
# gives it (a message may share its caption); sets what start_clock sets. Where the program
# knows it, every clock setting goes to a log instead of the computer's clock.
start_scaled() {
    local id
    wine "$NORVALE_EXE" --clock-setter-log "$(winepath -w "$out/clock_setter.log")" &
    clock=$!
    for i in $(seq 1 300); do
        for id in $(xdotool search --onlyvisible --name '^Norvale Time Clock$' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
            if [ "${WIDTH:-0}" -eq "$side" ] && [ "${HEIGHT:-0}" -eq "$side" ]; then
                window=$id
                sleep 3 # the fade-in
                eval "$(xdotool getwindowgeometry --shell "$window")"
                return 0
            fi
        done
        sleep 0.1
    done
    die "no face of ${side} x ${side} at $dpi DPI"
}

# scaled_dialog MENU_ITEM NAME WIDTH HEIGHT: opens a dialog from the menu, expects its client
# area at the scale of its designed size, keeps a shot and cancels it.
scaled_dialog() {
    menu_item "$1"
    dialog "$2"
    /usr/bin/import -window root "$out/dialog_${2%% *}_$dpi.png"
    [ "$DWIDTH" -eq "$(edge "$3")" ] && [ "$DHEIGHT" -eq "$(edge "$4")" ] ||
        die "the $2 dialog at $dpi DPI is ${DWIDTH}x$DHEIGHT, not $(edge "$3")x$(edge "$4")"
    xdotool key Escape
    closed "$2"
}

# tray_icon_is SIZE: the notification area shows tray.ico's SIZE-pixel image rather than
# another image of it stretched to that size.
icons=$out/icons
mkdir -p "$icons"
icotool -x -o "$icons" "$NORVALE_ROOT/src/win32/resources/icons/tray.ico"
tray_icon_is() {
    local size=$1 tray own other cell
    tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | head -n 1)
    [ -n "$tray" ] || die "no notification area window at $dpi DPI"
    eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
    cell=$TRAY_HEIGHT
    /usr/bin/import -window root -crop "${cell}x${cell}+$TRAY_X+$TRAY_Y" +repage "$out/tray_$dpi.png"
    own=$(ls "$icons"/*_"${size}x${size}"x32.png)
    other=$(ls "$icons"/*_16x16x32.png)
    [ "$size" -ne 16 ] || other=$(ls "$icons"/*_32x32x32.png)
    /usr/bin/convert "$own" -background white -flatten -gravity center \
        -extent "${cell}x$cell" "$out/tray_own_$dpi.png"
    /usr/bin/convert "$other" -resize "${size}x$size" -background white -flatten \
        -gravity center -extent "${cell}x$cell" "$out/tray_other_$dpi.png"
    expect_nearest "the tray icon at $dpi DPI" "tray_$dpi" "${cell}x$cell+0+0" "tray_own_$dpi" \
        "tray_own_$dpi" "tray_other_$dpi"
}

# One session at a display scale: DPI, the scale as norvale-skin takes it, the tray icon's
# size and the 100 % disc's width (none in the 100 % session, which measures it).
session() {
    dpi=$1
    local scale=$2 icon=$3 base=${4:-} at s name disc
    side=$(edge 150)
    say "the session at $dpi DPI"
    use_dpi "$dpi"
    wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
    # A time server on loopback that never answers: no click may reach the network.
    wine reg add "$settings" /v TimeServer /t REG_SZ /d 127.0.0.1:9 /f >/dev/null 2>&1
    start_scaled

    # In the middle of a second, so the hands stand where norvale-skin draws them for it.
    while [ $((10#$(date +%N) / 100000000)) -lt 3 ] || [ $((10#$(date +%N) / 100000000)) -gt 6 ]; do
        sleep 0.05
    done
    at=$(now)
    shot "face_$dpi"
    for s in 1 1.5 2; do
        name=frame_${dpi}_${s/./_}
        render "$name" "$skin" --mode 0 --at "$(utc "$at")" --scale "$s"
        /usr/bin/convert "$out/$name.png" -resize "${side}x$side!" "$out/$name.png"
    done
    # The upper part of the face, bezel, ticks and hands without text (the program's text is
    # GDI's, norvale-skin's FreeType's), compared pixel for pixel.
    compare_blur=0x0 expect_nearest "the face at $dpi DPI" "face_$dpi" "$(box 150 62 0 0)" \
        "frame_${dpi}_${scale/./_}" frame_"$dpi"_1 frame_"$dpi"_1_5 frame_"$dpi"_2
    disc=$(lit "face_$dpi")
    disc=${disc%%x*}
    if [ -z "$base" ]; then
        base_disc=$disc
    else
        local expected=$((base * dpi / 96))
        [ $((disc - expected)) -le 2 ] && [ $((expected - disc)) -le 2 ] ||
            die "the disc at $dpi DPI is $disc pixels wide, not $expected"
    fi
    # The read-out stays inside the pane (skin x 40..109): beside it nothing is lighter than
    # in the frame drawn for the scale (where a hand may pass).
    local frame=frame_${dpi}_${scale/./_} region
    for region in "$(box 8 16 31 100)" "$(box 2 16 110 100)"; do
        [ "$(brightest "face_$dpi" "$region")" -le $(($(brightest "$frame" "$region") + 150)) ] ||
            die "the read-out runs out of its glass at $dpi DPI (region $region)"
    done

    # The stopwatch from its scaled left button, then the title steps on to the Timer.
    click "$(px 75)" "$(px 30)"
    xdotool key 4
    sleep 0.5
    shot "stopwatch_$dpi"
    # Only in Stopwatch mode is the left button harmless (in Clock mode it syncs the clock).
    [ "$(differ "face_$dpi" "stopwatch_$dpi" "$(box 90 12 31 77)")" -gt 10 ] ||
        die "key 4 did not switch to the stopwatch at $dpi DPI"
    click "$(px 22)" "$(px 75)"
    sleep 1.1
    shot "running_$dpi"
    [ "$(differ "stopwatch_$dpi" "running_$dpi" "$(box 64 14 43 100)")" -gt 3 ] ||
        die "the scaled left button did not start the stopwatch at $dpi DPI"
    click "$(px 50)" "$(px 85)"
    shot "title_$dpi"
    [ "$(differ "running_$dpi" "title_$dpi" "$(box 90 12 31 77)")" -gt 10 ] ||
        die "a click on the scaled title did not change the mode at $dpi DPI"

    tray_icon_is "$icon"
    # The Alarms window is laid out in dialog units: it grows with the dialog font.
    menu_item 10
    dialog "Alarms"
    /usr/bin/import -window root "$out/dialog_Alarms_$dpi.png"
    if [ -z "$base" ]; then
        base_alarms=$DWIDTH
    else
        local grown=$((DWIDTH * 96 * 100 / (base_alarms * dpi)))
        [ "$grown" -ge 90 ] && [ "$grown" -le 110 ] ||
            die "the Alarms window at $dpi DPI is $DWIDTH pixels wide, $base_alarms at 96 DPI"
    fi
    xdotool key Escape
    closed "Alarms"
    if [ "$dpi" -ne 96 ]; then
        scaled_dialog 9 "Timer" 241 145
        scaled_dialog 8 "Countdown to ..." 273 136
        scaled_dialog 7 "World Clock" 320 219
        # The broken skin brings a message.
        submenu 11 "$(skin_position broken)"
        local message=
        for i in $(seq 1 100); do
            message=$(message_window "$side") && break
            sleep 0.1
        done
        [ -n "$message" ] || die "no message about the broken skin at $dpi DPI"
        sleep 0.5 # settled, for the shot
        /usr/bin/import -window root "$out/message_$dpi.png"
        eval "$(xdotool getwindowgeometry --shell "$message" | sed 's/^/M/')"
        [ "$MWIDTH" -gt "$side" ] || die "the message at $dpi DPI is only $MWIDTH pixels wide"
        xdotool key Return
        for i in $(seq 1 50); do
            message_window "$side" >/dev/null || break
            sleep 0.1
        done
        ! message_window "$side" >/dev/null || die "the message did not close at $dpi DPI"
    fi
    request_close
    timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end at $dpi DPI"
}

session 96 1 16
session 144 1.5 24 "$base_disc"
session 192 2 32 "$base_disc"

# A place stored on a 3200 x 1080 screen, far beyond the right edge of the 1280 x 1024 one
# the clock starts on now: it comes back just inside, at the same height.
say "the restart on a smaller screen"
use_dpi 96
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
for name in 'NormPos(3200x1080)' NormPos; do
    wine reg add "$settings" /v "$name" /t REG_SZ /d 2900,400,3050,550 /f >/dev/null 2>&1
done
wine reg add "$settings" /v PixelsPerInch /t REG_SZ /d 96 /f >/dev/null 2>&1
wine_idle
start_display 1280x1024
dpi=96 side=150
start_scaled
/usr/bin/import -window root "$out/smaller_screen.png"
[ "$X" -eq $((1280 - 150)) ] && [ "$Y" -eq 400 ] ||
    die "on the smaller screen the face is at $X,$Y, not at 1130,400"
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end on the smaller screen"
