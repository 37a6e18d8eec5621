#!/usr/bin/env bash
# norvale-skin render draws the face of every mode, follows --hands, --title and --boxes, and refuses
# bad arguments with exit code 2 and a broken skin with exit code 1.
# Usage: skin_render_test.sh NORVALE_SKIN_EXE DEFAULT_SKIN_FOLDER
set -uo pipefail
tool=$1
skin=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
at="2026-12-07 15:04:05"

fail() {
    printf 'FAILED: %s\n' "$*"
    failures=$((failures + 1))
}

# Renders $1.png with the remaining arguments; a failure is reported.
render() {
    local name=$1
    shift
    "$tool" render "$skin" "$@" -o "$work/$name.png" || fail "render $name exited $?"
}

# A checksum of the RGBA bytes of the box "X,Y WxH" of a frame.
region() {
    local x=${2%%,*} rest=${2#*,}
    local y=${rest%% *} size=${2#* }
    stream -map rgba -storage-type char -extract "$size+$x+$y" "$work/$1.png" - | md5sum
}

# The box of a label or button as `check` prints it, for example "31,77 89x11".
box() {
    "$tool" check "$skin" | sed -n "s/^$1 //p"
}

# Expects the arguments to be refused with exit code $1 and a message containing $2.
expect_refused() {
    local code=$1 text=$2 output
    shift 2
    output=$("$tool" render "$@" 2>&1)
    local got=$?
    [ "$got" -eq "$code" ] || fail "render $*: exit $got, not $code"
    [[ $output == *"$text"* ]] || fail "render $*: the message does not say \"$text\": $output"
}

title=$(box "label title")
[ -n "$title" ] || fail "no title box"
for mode in 0 1 2 3 4 5; do
    render "mode$mode" --mode "$mode" --at "$at"
    size=$(identify -format '%wx%h %[channels]' "$work/mode$mode.png")
    [[ $size == "150x150 srgba"* ]] || fail "mode $mode: the frame is $size, not the 150x150 face with alpha"
done
titles=$(for mode in 0 1 2 3 4 5; do region "mode$mode" "$title"; done | sort -u | wc -l)
[ "$titles" -eq 6 ] || fail "the title region shows $titles different pictures over the six modes"

# The second hand of 15:04:05 points at 12 past 1, between the centre and the top edge.
render nohands --mode 0 --at "$at" --hands off
[ "$(region mode0 '75,20 12x50')" != "$(region nohands '75,20 12x50')" ] ||
    fail "--hands off leaves the hand area as it was"
render noampm --mode 0 --at "$at" --ampm off
ampm=$(box "label ampm")
[ "$(region mode0 "$ampm")" != "$(region noampm "$ampm")" ] || fail "--ampm off still shows pm"
render titled --mode 0 --at "$at" --title "Petropavlovsk-Kamchatsky"
[ "$(region mode0 "$title")" != "$(region titled "$title")" ] || fail "--title leaves the title as it was"

render boxes --mode 0 --at "$at" --boxes
for name in "label title" "label time" "button left" "button right"; do
    corner=$(box "$name")
    pixel=$(stream -map rgba -storage-type char -extract "1x1+${corner%%,*}+$(cut -d' ' -f1 <<<"${corner#*,}")" \
        "$work/boxes.png" - | od -An -tx1 | tr -d ' ')
    case $name in
    label*) [ "$pixel" == ff00ffff ] || fail "$name: corner $pixel is not magenta" ;;
    button*) [ "$pixel" == 00ffffff ] || fail "$name: corner $pixel is not cyan" ;;
    esac
done

# At a display scale the frame is the face at that scale, with the boxes mapped to it; scale 1
# is the frame drawn without the option.
for scale in 1.25:187 1.5:225 2:300 3:450; do
    render "scale${scale%%:*}" --mode 0 --at "$at" --scale "${scale%%:*}"
    size=$(identify -format '%wx%h' "$work/scale${scale%%:*}.png")
    [ "$size" = "${scale#*:}x${scale#*:}" ] || fail "--scale ${scale%%:*}: the frame is $size"
done
render scale1 --mode 0 --at "$at" --scale 1
cmp -s "$work/mode0.png" "$work/scale1.png" || fail "--scale 1 draws another frame than no --scale"
render boxes2 --mode 0 --at "$at" --scale 2 --boxes
corner=$(box "label title")
x=${corner%%,*} y=$(cut -d' ' -f1 <<<"${corner#*,}")
pixel=$(stream -map rgba -storage-type char -extract "1x1+$((2 * x))+$((2 * y))" "$work/boxes2.png" - |
    od -An -tx1 | tr -d ' ')
[ "$pixel" == ff00ffff ] || fail "--scale 2 --boxes: the title box's corner is $pixel, not magenta"

expect_refused 2 "--mode" "$skin" --mode 7 --at "$at" -o "$work/x.png"
expect_refused 2 "--at" "$skin" --mode 0 --at "2026-13-01 00:00:00" -o "$work/x.png"
expect_refused 2 "--at" "$skin" --mode 0 --at "tomorrow" -o "$work/x.png"
expect_refused 2 "required" "$skin" --mode 0 --at "$at"
expect_refused 2 "--hands" "$skin" --mode 0 --at "$at" --hands maybe -o "$work/x.png"
expect_refused 2 "--span" "$skin" --mode 3 --at "$at" --span fast -o "$work/x.png"
expect_refused 2 "--span" "$skin" --mode 0 --at "$at" --span 3 -o "$work/x.png"
expect_refused 2 "unknown option --colour" "$skin" --mode 0 --at "$at" --colour red -o "$work/x.png"
expect_refused 2 "needs a value" "$skin" --mode
for scale in 0.5 6 1.1 two; do
    expect_refused 2 "--scale" "$skin" --mode 0 --at "$at" --scale "$scale" -o "$work/x.png"
done
expect_refused 1 "skin.xml: the file is missing" "$work" --mode 0 --at "$at" -o "$work/x.png"
expect_refused 1 "cannot write" "$skin" --mode 0 --at "$at" -o "$work/none/x.png"
[ ! -e "$work/x.png" ] || fail "a refused render wrote a frame"

printf '%d failed\n' "$failures"
[ "$failures" -eq 0 ]
