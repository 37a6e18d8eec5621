#!/usr/bin/env bash
# Network time with the real program. This machine's clock is never set: start_clock runs the
# clock with the clock setter's test seam ("--clock-setter-log FILE", honoured under Wine
# only), which writes every setting to FILE and answers for the clock that the privilege is
# missing.
#   1. A time server that does not answer (a closed loopback port): "See the time difference"
#      and "Sync time" each keep the Clock mode and give one message; the face ticks on while
#      the query waits; closing the clock while a query waits ends it at once, without one.
#   2. chronyd on 127.0.0.1, answering a client once in 2 s at most ("ratelimit interval 1
#      burst 1"): "Sync time" runs the program elevated for the job (no window of its own);
#      the job's setting in the log lies within 5 ms of the time it was made; the face shows
#      the remaining difference in the Atomic mode, with no message: every request, the
#      clock's and the job's, came in its turn. The pointer over the face shows the query
#      running, and no longer once it is done.
#   3. chronyd on [::1]: "See the time difference" shows the difference, under a second.
#   4. A server two hours ahead (a small SNTP server of this script's own): "Sync time" asks
#      first; Cancel sets nothing; OK lets the elevated job make the step the user agreed to.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
trap 'say "failed at line $LINENO: $BASH_COMMAND" >&2' ERR
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"
source "$NORVALE_ROOT/tests/e2e/lib/face_check.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
out=$NORVALE_ARTEFACTS/network_time
rm -rf "$out"
mkdir -p "$out"
ahead_server=
trap 'stop_ntp_server; [ -z "$ahead_server" ] || kill "$ahead_server" 2>/dev/null || true' EXIT
skin=$(dirname "$NORVALE_EXE")/face/norvale
setter_log=$out/clock_setter.log
: >"$setter_log"

# serve SERVER: the clock's time server from its next start.
serve() {
    wine reg add "$settings" /v TimeServer /t REG_SZ /d "$1" /f >/dev/null 2>&1
}
# start: the clock with the seam, in Clock mode, its hands away (the second hand would sweep
# through the title).
start() {
    local value
    for value in ClockType:0 bDisplayArrows:0; do
        wine reg add "$settings" /v "${value%%:*}" /t REG_SZ /d "${value#*:}" /f >/dev/null 2>&1
    done
    start_clock
    click 75 30 # the keyboard's focus
}
# close_clock SECONDS: asks the clock to close and waits that long at most for it to end.
close_clock() {
    request_close || true # whether it ends is what counts
    timeout "$1" tail --pid="$clock" -f /dev/null || die "the clock did not end within $1 s"
}
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
for mode in 0 5; do render "title_$mode" "$skin" --mode "$mode" --at '2026-12-08 10:00:00' --hands off; done
# titled SHOT MODE: the shot shows the title of the mode (Clock or Atomic).
titled() {
    expect_nearest "$1's title" "$1" "$title" "title_$2" title_0 title_5
}
# until_title NAME MODE: waits up to 15 s for the face, with no message over it, to show the
# title of the mode.
until_title() {
    local i
    for i in $(seq 1 30); do
        shot "$1"
        [ "$(message_boxes)" -eq 0 ] && [ "$(nearest "$1" "$title" title_0 title_5)" = "title_$2" ] &&
            return 0
        sleep 0.5
    done
    die "$1: the face did not come to mode $2"
}

# ---------------------------------------------------------------------------------------
# 1. No answer.
serve "127.0.0.1:$(unused_udp_port)"
start
click 128 75 # See the time difference
running waiting_a || die "the face stood still while the query waited"
running waiting_b || die "the face stood still later in the wait"
one_message no_answer_difference
shot after_difference
titled after_difference 0
click 22 75 # Sync time
running waiting_sync || die "the face stood still while the sync waited"
one_message no_answer_sync
shot after_sync
titled after_sync 0
[ ! -s "$setter_log" ] || die "a setting without an answer: $(cat "$setter_log")"
click 128 75
sleep 0.5
close_clock 4
[ "$(message_boxes)" -eq 0 ] || die "a message after the clock closed"

# pointer NAME: the mouse pointer now ($out/NAME.png), as its size and a hash of its pixels.
pointer() {
    python3 "$NORVALE_ROOT/tests/e2e/lib/cursor_image.py" "$out/$1.png"
}

# ---------------------------------------------------------------------------------------
# 2. Sync time against chronyd on IPv4 that limits its clients' rate: the elevated job sets the
#    clock (in the log).
start_ntp_server "$out/chrony" 'ratelimit interval 1 burst 1'
serve "127.0.0.1:$NORVALE_NTP_PORT"
start
xdotool key 4 # the stopwatch at zero: the read-out of no difference
sleep 0.5
shot zero
xdotool key 1
sleep 0.5
xdotool mousemove "$((X + 75))" "$((Y + 30))" # where click leaves the mouse
sleep 0.3
at_rest=$(pointer pointer_at_rest)
click 22 75
busy=$(pointer pointer_busy)
[ "$busy" != "$at_rest" ] || die "the pointer does not show the query running"
until_title synced 5
[ "$(message_boxes)" -eq 0 ] || die "a message after a sync"
[ "$(pointer pointer_after)" != "$busy" ] || die "the pointer still shows a query running"
[ "$(xdotool search --onlyvisible --name 'Norvale Time Clock' | wc -l)" -eq 1 ] ||
    die "a window besides the face"
grep -c '' "$setter_log" | grep -qx 2 || die "not two lines in the log: $(cat "$setter_log")"
grep -q '^clock privilege-not-held ' "$setter_log" || die "the clock did not try first"
job=$(grep '^job set ' "$setter_log") || die "the elevated job did not set the clock"
# The correction the job made: the time set minus the time of setting, in milliseconds.
read -r set_to asked < <(awk '{ print $3, $4 }' <<<"$job")
correction=$(($(date -u -d "${set_to/T/ }" +%s%3N) - $(date -u -d "${asked/T/ }" +%s%3N)))
say "the elevated job's correction: $correction ms"
[ "${correction#-}" -lt 5 ] || die "the job would move the clock by $correction ms"
[ "$(differ zero synced "$readout")" -le 10 ] || die "the difference after the sync is a second or more"
close_clock 10

# ---------------------------------------------------------------------------------------
# 3. See the time difference against chronyd on IPv6.
serve "[::1]:$NORVALE_NTP_PORT"
start
click 128 75
until_title ipv6 5
[ "$(message_boxes)" -eq 0 ] || die "a message for the IPv6 server"
[ "$(differ zero ipv6 "$readout")" -le 10 ] || die "the difference over IPv6 is a second or more"
close_clock 10
[ "$(grep -c '' "$setter_log")" -eq 2 ] || die "the difference set the clock"

# ---------------------------------------------------------------------------------------
# 4. Two hours ahead: the step bound.
ahead_port=$(unused_udp_port)
python3 - "$ahead_port" <<'PYTHON' &
import socket, struct, sys, time
# Answers every request on 127.0.0.1 as a stratum-2 server whose clock is 7200 s ahead.
server = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
server.bind(("127.0.0.1", int(sys.argv[1])))
while True:
    request, client = server.recvfrom(512)
    if len(request) < 48:
        continue
    now = time.time() + 7200 + 2208988800
    stamp = struct.pack("!II", int(now), int((now % 1) * 2**32))
    server.sendto(bytes([0x1C, 2, 6, 0xEC]) + bytes(20) + request[40:48] + stamp + stamp, client)
PYTHON
ahead_server=$!
serve "127.0.0.1:$ahead_port"
start
click 22 75
await_message "the question before a step of two hours"
sleep 0.5
/usr/bin/import -window root "$out/step_question.png"
xdotool key Escape # Cancel
messages_gone || die "the question did not close"
sleep 1
[ "$(grep -c '' "$setter_log")" -eq 2 ] || die "Cancel let the clock be set"
shot cancelled
titled cancelled 0
click 22 75
await_message "the question the second time"
sleep 0.5
xdotool key shift+Tab Return # OK, the button before the default Cancel
until_title stepped 5
job=$(tail -n 1 "$setter_log")
read -r set_to asked < <(awk '/^job set / { print $3, $4 }' <<<"$job")
[ -n "$set_to" ] || die "the elevated job did not make the step: $job"
correction=$(($(date -u -d "${set_to/T/ }" +%s%3N) - $(date -u -d "${asked/T/ }" +%s%3N)))
say "the consented step: $correction ms"
[ "$correction" -gt 7199000 ] && [ "$correction" -lt 7201000 ] ||
    die "the job's step was $correction ms, not two hours"
close_clock 10
