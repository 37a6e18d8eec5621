#!/usr/bin/env bash
# Skins that must not hurt the clock: started with a stored skin whose face is declared huge,
# one that names a file outside its folder, one whose face image is padded to 256 MiB and one
# whose fonts folder holds a collection of 5000 faces, the clock starts within its usual time
# with the default face, shows one message each (its shot kept to look at) that the keyboard
# or the mouse closes, and keeps the skin chosen stored for the next start to try again.
# Nothing outside the skin folder is shown. Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
own_program hostile_skin

# "huge": the face declared 200000 x 200000, in skin.xml and in the PNG's header (a header
# alone: nothing may read further).
cp -r "$skin" "$program/face/huge"
sed -i 's/<clockface width="[0-9]*" height="[0-9]*">/<clockface width="200000" height="200000">/' \
    "$program/face/huge/skin.xml"
grep -q 'width="200000"' "$program/face/huge/skin.xml" || die "the huge skin was not made"
printf '\211PNG\r\n\032\n\0\0\0\rIHDR\0\3\15\100\0\3\15\100\10\6\0\0\0\0\0\0\0' \
    >"$program/face/huge/face.png"
# "outside": the face image named three folders up, where a magenta face waits.
cp -r "$skin" "$program/face/outside"
/usr/bin/convert "$skin/face.png" -fill '#ff00ff' -colorize 100 "$out/face.png"
sed -i 's|>face.png<|>..\\..\\..\\face.png<|' "$program/face/outside/skin.xml"
grep -q '>\.\.\\\.\.\\\.\.\\face.png<' "$program/face/outside/skin.xml" ||
    die "the outside skin was not made"

# "padded": the face image a valid PNG followed by zeros up to 256 MiB (a sparse file: the
# disk holds only the image). "fonts": a TrueType collection naming one font 5000 times.
cp -r "$skin" "$program/face/padded"
truncate -s 256M "$program/face/padded/face.png"
cp -r "$skin" "$program/face/fonts"
python3 - "$NORVALE_ROOT/tests/tools" "$skin/fonts/DejaVuSans.ttf" \
    "$program/face/fonts/fonts/many.ttf" <<'PYTHON'
import sys
sys.path.insert(0, sys.argv[1])
import make_bomb_skins
with open(sys.argv[2], "rb") as font, open(sys.argv[3], "wb") as out:
    out.write(make_bomb_skins.collection(font.read(), 5000))
PYTHON

# start_with NAME HOW: starts the clock with the skin NAME stored, expects one message about
# it within the eight seconds a start with any refused skin takes at most, closes it with the
# key Return or a click on its OK button (HOW: key or click), and checks that the default face
# runs on.
start_with() {
    wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
    wine reg add "$settings" /v ClockSkin /t REG_SZ /d "$1" /f >/dev/null 2>&1
    local started=$SECONDS
    wine "$NORVALE_EXE" --clock-setter-log "$(winepath -w "$out/clock_setter.log")" &
    clock=$!
    await_message "$1"
    say "$1: the message came $((SECONDS - started)) s after the start"
    sleep 1
    /usr/bin/import -window root "$out/$1_message.png"
    [ "$(message_boxes)" -eq 1 ] || die "$1: $(message_boxes) messages, not one"
    if [ "$2" = key ]; then
        xdotool key Return
    else
        eval "$(xdotool getwindowgeometry --shell "$(message_window)" | sed 's/^/M/')"
        xdotool mousemove "$((MX + MWIDTH / 2))" "$((MY + MHEIGHT - 21))"
        sleep 0.3
        xdotool click 1
    fi
    messages_gone || die "$1: the message did not close with a $2"
    sleep 1.5
    [ "$(message_boxes)" -eq 0 ] || die "$1: a second message followed"
    kill -0 "$clock" 2>/dev/null || die "$1: the clock ended"
    window=$(wait_for_window "Norvale Time Clock" 10) || die "$1: no clock window"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$WIDTH" -eq 150 ] && [ "$HEIGHT" -eq 150 ] || die "$1: the face is ${WIDTH}x$HEIGHT"
    running "$1" || die "$1: the clock does not run"
    # The default face, with nothing of the magenta face outside the folder.
    magenta=$(/usr/bin/convert "$out/$1_b.png" -fuzz 10% -fill white -opaque '#ff00ff' \
        -fill black +opaque white -format '%[fx:mean]' info:)
    awk -v g="$magenta" 'BEGIN { exit !(g < 0.05) }' || die "$1: the face outside was shown ($magenta)"
    request_close
    timeout 20 tail --pid="$clock" -f /dev/null || die "$1: the clock did not end"
    wait "$clock" || die "$1: exit code $? after a close request"
    # The skin chosen stays chosen, to be tried again at the next start.
    stored=$(wine reg query "$settings" /v ClockSkin 2>/dev/null | tr -d '\r')
    grep -Eq "ClockSkin +REG_SZ +$1\$" <<<"$stored" || die "$1: the chosen skin was not kept: $stored"
}

start_with huge key
start_with outside click
start_with padded key
start_with fonts key
