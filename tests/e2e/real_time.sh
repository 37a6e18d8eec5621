#!/usr/bin/env bash
# The clock through the notices of real life, without ever setting this machine's clock:
#   1. a running stopwatch counts on evenly while the notices Windows sends when the clock
#      is set, the regional format changes and the computer wakes arrive (a small helper
#      broadcasts them); its stored total matches the time the script measured; paused, it
#      is drawn anew once for each notice (frames counted by the program's resource log);
#   2. the selected zone, stored by this version, is still shown after an update of the zone
#      database added a zone before it, which moved its stored list position.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/face_check.sh"

settings='HKCU\Software\Brannick\NorvaleTimeClock'
zones='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Time Zones'
added="$zones\\Norvale Test Standard Time"
broadcast=${NORVALE_EXE%/program/*}/tests/win32/broadcast.exe
skin=$(dirname "$NORVALE_EXE")/face/norvale
out=$NORVALE_ARTEFACTS/real_time
rm -rf "$out"
mkdir -p "$out"
[ -f "$broadcast" ] || die "no notice sender at $broadcast"

# The zone added for the test must not outlive it: the other scripts share the prefix.
trap 'wine reg delete "$added" /f >/dev/null 2>&1 || true' EXIT
wine reg delete "$added" /f >/dev/null 2>&1 || true
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
# Settings as this version stores them for the zone "India Standard Time" (UTC+05:30).
wine reg add "$settings" /v TimeZoneKey /t REG_SZ /d 'India Standard Time' /f >/dev/null 2>&1

stored() { wine reg query "$settings" 2>/dev/null | tr -d '\r'; }
# value STORED NAME: the text of the stored value NAME.
value() { sed -nE "s/^ *$2 +REG_SZ +(.*)\$/\\1/p" <<<"$1"; }
ended() {
    timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"
    wait "$clock" || die "the clock ended with an error"
}
# press X Y: a click on the face; prints the moment the button went up, in seconds. The
# mouse then leaves the buttons, so no tool tip covers the read-out.
press() {
    xdotool mousemove "$((X + $1))" "$((Y + $2))"
    sleep 0.2
    xdotool click 1
    date +%s.%N
    xdotool mousemove "$((X + 75))" "$((Y + 30))"
}
# frames: the frames presented by the resource log's next line, once it has come.
frames() {
    local lines i
    lines=$(wc -l <"$log")
    for i in $(seq 1 150); do
        [ "$(wc -l <"$log")" -gt "$lines" ] && break
        sleep 0.1
    done
    [ "$(wc -l <"$log")" -gt "$lines" ] || die "the resource log wrote no line in 15 s"
    tail -n 1 "$log" | sed -E 's/.*frames=//'
}
# zone_frames SHOT: takes the shot SHOT and renders the frames of the zones the shot could show, for the moment it is
# taken: India's time, the added zone's (UTC+05:15) and the default zone's (UTC in December).
zone_frames() {
    local at
    at=$(date +%s)
    shot "$1"
    render "$1_india" "$skin" --mode 0 --at "$(date -u -d "@$((at + 19800))" '+%F %T')"
    render "$1_added" "$skin" --mode 0 --at "$(date -u -d "@$((at + 18900))" '+%F %T')"
    render "$1_gmt" "$skin" --mode 0 --at "$(date -u -d "@$at" '+%F %T')"
}

# ---------------------------------------------------------------------------------------
# 1. The first session: India's time, and a stopwatch through the notices.
log=$out/resources.txt
start_clock --resource-log "$(winepath -w "$log")"
zone_frames first
expect_nearest "the zone stored by its key" first '150x150+0+0' first_india \
    first_india first_added first_gmt

click 75 30 # focus, on the face background
xdotool key 4
sleep 0.5
started=$(press 22 75)
sleep 1
running before || die "the stopwatch does not run"
for notice in timechange intl resume; do
    wine "$broadcast" "$notice" || die "the $notice notice did not go out"
    running "after_$notice" || die "the stopwatch stopped counting after the $notice notice"
done
paused=$(press 22 75)
sleep 0.5
shot paused
# The mouse rests on the face and nothing else is drawn while the stopwatch is paused.
before=$(frames)
for notice in timechange intl resume; do
    wine "$broadcast" "$notice" || die "the $notice notice did not go out"
done
after=$(frames)
[ $((after - before)) -ge 3 ] && [ $((after - before)) -le 4 ] ||
    die "three notices drew $((after - before)) frames of the paused stopwatch"
xdotool key 1
sleep 0.5
request_close
ended

first=$(stored)
printf '%s\n' "$first" >"$out/stored_first.txt"
[ "$(value "$first" TimeZoneKey)" = 'India Standard Time' ] || die "the zone's key was not stored"
position=$(value "$first" FTimeZoneId)
[[ "$position" =~ ^[0-9]+$ ]] || die "no zone position was stored: $position"
[ "$(value "$first" StopWatch1_Running)" = False ] || die "the paused stopwatch was stored running"
total=$(value "$first" StopWatch1_RunningTotal)
# The stored total is what the stopwatch counted; the script measured from press to press.
awk -v total="$total" -v measured="$(awk -v a="$started" -v b="$paused" 'BEGIN { print b - a }')" \
    'BEGIN { d = total * 86400 - measured; exit !(d < 0.6 && d > -0.6) }' ||
    die "the stopwatch counted $(awk -v t="$total" 'BEGIN { print t * 86400 }') s in $paused - $started s"
[[ "$(value "$first" CountdownIso)" =~ ^[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}$ ]] ||
    die "no locale-independent countdown target was stored"
[ "$(value "$first" TimerSeconds)" = 10 ] || die "the timer's length in seconds was not stored"

# ---------------------------------------------------------------------------------------
# 2. An update of the zone database adds a zone that sorts before India's: the stored
#    position now names the added zone.
hex="c5feffff$(printf '0%.0s' $(seq 1 80))" # a bias of -315 minutes, no daylight saving
wine reg add "$added" /v Display /t REG_SZ /d '(UTC+05:15) Norvale Test' /f >/dev/null 2>&1
wine reg add "$added" /v Std /t REG_SZ /d 'Norvale Test Standard Time' /f >/dev/null 2>&1
wine reg add "$added" /v Dlt /t REG_SZ /d 'Norvale Test Daylight Time' /f >/dev/null 2>&1
wine reg add "$added" /v TZI /t REG_BINARY /d "$hex" /f >/dev/null 2>&1
start_clock
zone_frames second
expect_nearest "the zone after the update" second '150x150+0+0' second_india \
    second_india second_added second_gmt
request_close
ended
second=$(stored)
printf '%s\n' "$second" >"$out/stored_second.txt"
[ "$(value "$second" FTimeZoneId)" = $((position + 1)) ] ||
    die "the zone's new position $((position + 1)) was not stored: $(value "$second" FTimeZoneId)"
