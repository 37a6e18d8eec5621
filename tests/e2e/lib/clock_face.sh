# shellcheck shell=bash
# The clock's face in the end-to-end scripts: starting the clock, clicking its face,
# screenshots and comparisons of their regions. start_clock [ARGUMENTS] sets $clock (the
# process) and the face's screen position $X, $Y and size $WIDTH, $HEIGHT; the shots go to the
# folder $out. No run may set this machine's clock: the program writes every setting it would
# make to $out/clock_setter.log instead (its test seam, honoured under Wine).

start_clock() {
    wine "$NORVALE_EXE" --clock-setter-log "$(winepath -w "$out/clock_setter.log")" "$@" &
    clock=$!
    wait_for_window "Norvale Time Clock" 30 >/dev/null || die "no clock window"
    sleep 3 # the fade-in
    # NOTE: Wine may replace the X window while it places and shows it: look it up again.
    window=$(wait_for_window "Norvale Time Clock" 10) || die "the window went away"
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# click X Y [BUTTON]: a press and release at a point of the face.
click() {
    xdotool mousemove "$((X + $1))" "$((Y + $2))"
    sleep 0.2
    xdotool click "${3:-1}"
    # Off the buttons again, so no tool tip covers the read-out in the next screenshot.
    xdotool mousemove "$((X + 75))" "$((Y + 30))"
    sleep 0.4
}

# drag_face: presses on the face's background and moves the mouse 40 by 32 pixels with the
# button held, then lets go; sets window, X and Y to the window as it is afterwards.
drag_face() {
    xdotool mousemove "$((X + 75))" "$((Y + 30))"
    sleep 0.2
    xdotool mousedown 1
    for step in 1 2 3 4 5 6 7 8; do
        xdotool mousemove "$((X + 75 + step * 5))" "$((Y + 30 + step * 4))"
        sleep 0.1
    done
    xdotool mouseup 1
    sleep 0.5
    window=$(wait_for_window "Norvale Time Clock" 10) || die "the window went away"
    eval "$(xdotool getwindowgeometry --shell "$window")"
}

# shot NAME: the face as it is now (the window's size, from start_clock).
shot() {
    /usr/bin/import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$out/$1.png"
}

# differ A B REGION: how many pixels of the region (WxH+X+Y on the face) differ.
differ() {
    local a b n
    a=$(mktemp --suffix=.png)
    b=$(mktemp --suffix=.png)
    /usr/bin/convert "$out/$1.png" -crop "$3" +repage "$a"
    /usr/bin/convert "$out/$2.png" -crop "$3" +repage "$b"
    n=$(/usr/bin/compare -metric AE "$a" "$b" /dev/null 2>&1 || true)
    rm -f "$a" "$b"
    printf '%s\n' "${n%% *}"
}

# running NAME: whether the read-out changes within a second (shots NAME_a and NAME_b). The
# smallest change, 8 to 9, is one segment of one digit: a handful of pixels.
running() {
    shot "$1_a"
    sleep 1.1
    shot "$1_b"
    [ "$(differ "$1_a" "$1_b" "$readout")" -gt 3 ]
}

# Regions of the default skin's face.
title='90x12+31+77'
readout='64x14+43+100'
weekday='60x8+45+87'
hands='40x40+55+30'
