# shellcheck shell=bash
# The clock's menu, its notification-area icon, its dialogs and its messages in the
# end-to-end scripts. Needs clock_face.sh (for $X, $Y and shot).

# menu KEYS...: opens the face's context menu and walks it with the keys given.
menu() {
    xdotool mousemove "$((X + 75))" "$((Y + 30))"
    sleep 0.2
    xdotool click 3
    sleep 0.8
    xdotool key --delay 120 "$@"
    sleep 0.8
}

# menu_item N: chooses item N (0 is the first, separators not counted) of the face's menu.
menu_item() {
    local keys=() i
    for ((i = 0; i <= $1; i++)); do keys+=(Down); done
    menu "${keys[@]}" Return
}

# submenu ITEM N: chooses item N of the submenu at ITEM of the face's menu (a submenu opens
# with its first item selected).
submenu() {
    local keys=() i
    for ((i = 0; i <= $1; i++)); do keys+=(Down); done
    keys+=(Right)
    for ((i = 0; i < $2; i++)); do keys+=(Down); done
    menu "${keys[@]}" Return
}

# skin_position NAME: the place of the skin NAME in the Skins submenu (0 is the first), which
# lists the folders of $program/face in the order Windows lists them: by name, case aside.
skin_position() {
    find "$program/face" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort -f |
        grep -nxF "$1" | awk -F: '{ print $1 - 1 }'
}

# tray_click BUTTON: a click on the clock's icon in Wine's notification area.
tray_click() {
    local tray
    tray=$(xdotool search --onlyvisible --name 'Wine System Tray' 2>/dev/null | head -n 1) || true
    [ -n "$tray" ] || die "no notification area window"
    eval "$(xdotool getwindowgeometry --shell "$tray" | sed 's/^/TRAY_/')"
    xdotool mousemove "$((TRAY_X + 8))" "$((TRAY_Y + 8))"
    sleep 0.2
    xdotool click "$1"
    sleep 0.8
}

# dark NAME: whether the face's place in shot NAME is (nearly) black: the clock is hidden.
dark() {
    local lit
    lit=$(/usr/bin/convert "$out/$1.png" -colorspace gray -threshold 8% -format '%[fx:mean]' info:)
    awk -v lit="$lit" 'BEGIN { exit !(lit < 0.05) }'
}

# dialog NAME: waits for a dialog window named NAME, gives it time to settle and sets DX and
# DY to its client area's screen position.
dialog() {
    local id
    id=$(wait_for_window "$1" 10) || die "no dialog \"$1\""
    sleep 0.8
    eval "$(xdotool getwindowgeometry --shell "$id" | sed 's/^/D/')"
}

# closed NAME: waits until the dialog named NAME has gone.
closed() {
    local i
    for i in $(seq 1 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    die "the dialog \"$1\" did not close"
}

# pick X Y: a click at a point of the dialog's client area (a picker's field).
pick() {
    xdotool mousemove "$((DX + $1))" "$((DY + $2))"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}

# message_boxes: how many of the clock's messages are on the screen (they share its caption;
# the face is the one window of 150 x 150).
message_boxes() {
    local id n=0
    for id in $(xdotool search --onlyvisible --name '^Norvale Time Clock$' 2>/dev/null); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q 'Geometry: 150x150' || n=$((n + 1))
    done
    printf '%s\n' "$n"
}

# own_program NAME: a fresh folder $out for the shots of the script NAME, and in it a copy of
# the program folder, $program (its default skin $skin), that the script may change; the
# clock started is the copy's.
own_program() {
    out=$NORVALE_ARTEFACTS/$1
    rm -rf "$out"
    mkdir -p "$out"
    program=$out/program
    cp -r "$(dirname "$NORVALE_EXE")" "$program"
    NORVALE_EXE=$program/NorvaleTimeClock.exe
    skin=$program/face/norvale
}

# message_window [SIDE]: the window of one of the clock's messages: a window with its caption
# that is not the face's SIDE x SIDE pixels (150 unless given).
message_window() {
    local id side=${1:-150}
    for id in $(xdotool search --onlyvisible --name '^Norvale Time Clock$' 2>/dev/null); do
        xdotool getwindowgeometry "$id" 2>/dev/null | grep -q "Geometry: ${side}x$side" ||
            { printf '%s\n' "$id" && return 0; }
    done
    return 1
}

# wait_early_in_minute: waits for a second of the minute far enough from its end that a
# picker's seconds field moved a few seconds on does not wrap round.
wait_early_in_minute() {
    while [ "$(date +%S | sed 's/^0//')" -gt 25 ]; do sleep 1; done
}

# messages_gone: waits up to five seconds for the clock's messages to leave the screen.
messages_gone() {
    local i
    for i in $(seq 1 50); do
        [ "$(message_boxes)" -gt 0 ] || return 0
        sleep 0.1
    done
    return 1
}

# await_message NAME: waits up to eight seconds for one of the clock's messages; fails unless
# exactly one came.
await_message() {
    local i
    for i in $(seq 1 80); do
        [ "$(message_boxes)" -eq 0 ] || break
        sleep 0.1
    done
    [ "$(message_boxes)" -eq 1 ] || die "$1: $(message_boxes) messages, not one"
}

# one_message NAME: exactly one of the clock's messages comes within eight seconds (its
# screenshot is $out/NAME_message.png), is closed with Return, and no second one follows.
one_message() {
    await_message "$1"
    /usr/bin/import -window root "$out/$1_message.png"
    xdotool key Return
    messages_gone || die "$1: the message did not close"
    sleep 1.5
    [ "$(message_boxes)" -eq 0 ] || die "$1: a second message followed"
}
