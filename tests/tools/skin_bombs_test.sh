#!/usr/bin/env bash
# Skins built to hurt, made at test time by make_bomb_skins.py (nothing large is kept in the
# repository). Each is checked and drawn at 300 % under /usr/bin/time: every run must end
# within 2 s of processor time and below 256 MiB, and refuse the skin or load it as the table
# says. The runs that meet a named pipe, a device or a link leading out are traced: nothing
# outside the skin is opened or listed, and nothing waits. The largest skin the limits allow
# must stay within the peak docs/skins.md quotes. Prints the table of figures.
# Usage: skin_bombs_test.sh NORVALE_SKIN_EXE GOOD_SKIN_FOLDER SKINS_MD
set -uo pipefail
tool=$1
good=$2
guide=$3
source "$(dirname "$0")/test_lib.sh"

python3 "$(dirname "$0")/make_bomb_skins.py" "$good" "$work/face" "$work/outside" ||
    { echo "FAILED: the skins were not made"; exit 1; }

# The figure docs/skins.md quotes for the largest skin, in MiB.
quoted=$(sed -n 's/.*the largest skin these limits allow peaks at \([0-9]*\) MiB.*/\1/p' "$guide")
[ -n "$quoted" ] || fail "docs/skins.md quotes no peak for the largest skin"

printf '%-16s %-7s %-8s %9s %7s %7s\n' skin run result "peak MiB" "cpu s" "wall s"

# run SKIN COMMAND: runs the tool on the skin under /usr/bin/time; sets rc, peak (KiB), cpu
# and wall (seconds), and leaves its output in $work/out.
run() {
    local args
    if [ "$2" = check ]; then
        args=(check "$work/face/$1")
    else
        args=(render "$work/face/$1" --mode 0 --at "2026-12-07 15:04:05" --scale 3
            -o "$work/$1.png")
    fi
    timeout 10 /usr/bin/time -f '%M %U %S %e' -o "$work/time" "$tool" "${args[@]}" \
        >"$work/out" 2>&1
    rc=$?
    read -r peak user system wall < <(tail -n 1 "$work/time")
    cpu=$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')
}

# expect SKIN ok|refused [PART]: both runs must load the skin, or refuse it with a message
# holding PART, within the limits.
expect() {
    local skin=$1 want=$2 part=${3:-} command result
    if [ ! -e "$work/face/$skin" ]; then
        printf '%-16s skipped (only root makes device files)\n' "$skin"
        return
    fi
    for command in check render; do
        run "$skin" "$command"
        if [ "$rc" -eq 124 ]; then
            fail "$skin $command: still running after 10 s"
            continue
        fi
        result=$([ "$rc" -eq 0 ] && echo ok || echo refused)
        printf '%-16s %-7s %-8s %9.1f %7s %7s\n' "$skin" "$command" "$result" \
            "$(awk -v k="$peak" 'BEGIN { print k / 1024 }')" "$cpu" "$wall"
        [ "$result" = "$want" ] || fail "$skin $command: $result, not $want: $(cat "$work/out")"
        if [ -n "$part" ] && ! grep -qF -- "$part" "$work/out"; then
            fail "$skin $command: the message does not say \"$part\": $(cat "$work/out")"
        fi
        [ "$peak" -lt $((256 * 1024)) ] || fail "$skin $command: $peak KiB"
        awk -v c="$cpu" 'BEGIN { exit !(c < 2) }' || fail "$skin $command: $cpu s"
        if [ "$skin" = largest ] && [ -n "$quoted" ] && [ "$peak" -gt $((quoted * 1024)) ]; then
            fail "largest $command: $peak KiB, more than the $quoted MiB docs/skins.md quotes"
        fi
    done
}

expect good ok
expect fifo_image refused "fifo_image/glass.png: it is not a regular file"
expect fifo_xml refused "fifo_xml/skin.xml: it is not a regular file"
expect device_inside refused "device_inside/glass.png: it is not a regular file"
expect device_link refused "device_link/glass.png: the file lies outside the skin folder"
expect image_link refused "image_link/face.png: the file lies outside the skin folder"
expect fonts_link refused "fonts_link/fonts: the folder lies outside the skin folder"
expect link_loop refused "link_loop/face.png: its links lead round in a loop"
expect padded_image refused "padded_image/glass.png: the file is larger than"
expect sparse_image refused "sparse_image/glass.png: the file is larger than"
expect total_bytes refused "files hold more than 67108864 bytes together"
expect idat_confetti ok
expect long_text refused "is longer than 64 characters"
expect wide_label refused "the label \"timebg\" is"
expect huge_labels ok
expect font_collection refused "many.ttf: the skin's fonts hold more than 16 faces together"
expect font_instances refused "variable.ttf: the skin's fonts hold more than 16 faces together"
expect font_folder refused "font_folder/fonts: the folder holds too many entries"
expect pixel_budget refused "face.png: the skin's images need more than 25165824 pixels"
expect deep_glass ok
expect utf16 ok
expect utf16_broken refused "skin.xml: line 8, position 14:"
expect control_chars refused '"\x1B]0;owned\x07\x1B[2J" is not a colour'
grep -q $'\x1b' "$work/out" && fail "a raw escape character reached the output"
expect reserved_name refused 'art/nul.png: the name "nul.png" is reserved for a device'
expect empty_element refused "empty element skin/glass"
expect largest ok

# Nothing outside the skin is opened or listed, and the pipe is opened without waiting.
for skin in fifo_image device_link image_link fonts_link; do
    strace -f -qq -e trace=open,openat,getdents64 -o "$work/trace" \
        "$tool" check "$work/face/$skin" >/dev/null 2>&1
    if grep -E "\"($work/outside|/dev/zero)" "$work/trace" >/dev/null; then
        fail "$skin: opened outside: $(grep -E "$work/outside|/dev/zero" "$work/trace" | head -3)"
    fi
done
strace -f -qq -e trace=open,openat -o "$work/trace" "$tool" check "$work/face/fifo_image" \
    >/dev/null 2>&1
grep 'fifo_image/glass.png' "$work/trace" | grep -q O_NONBLOCK ||
    fail "the pipe was not opened without waiting: $(grep glass.png "$work/trace")"

finish
