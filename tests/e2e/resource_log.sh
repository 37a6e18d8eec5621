#!/usr/bin/env bash
# --resource-log FILE: the real exe appends a line of its GUI objects, handles, memory and
# frames at once and another ten seconds later, keeps what FILE held, and goes on running.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"

out=$NORVALE_ARTEFACTS/resource_log
mkdir -p "$out"
log=$out/log.txt
printf 'earlier\n' >"$log"
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
start_clock --resource-log "$(winepath -w "$log")"
for i in $(seq 1 150); do
    [ "$(wc -l <"$log")" -ge 3 ] && break
    sleep 0.1
done
request_close
timeout 20 tail --pid="$clock" -f /dev/null || die "the clock did not end"

field='[1-9][0-9]*'
line="gdi=$field user=$field method=probe handles=$field private_bytes=$field"
line="$line working_set_bytes=$field frames=($field)"
[ "$(sed -n 1p "$log")" = earlier ] || die "the log's earlier content was lost"
grep -Eqx "seconds=0 $line" <(sed -n 2p "$log") || die "no first line: $(sed -n 2p "$log")"
grep -Eqx "seconds=1[01] $line" <(sed -n 3p "$log") || die "no line at 10 s: $(sed -n 3p "$log")"
first=$(sed -n 2p "$log" | sed -E 's/.*frames=//')
second=$(sed -n 3p "$log" | sed -E 's/.*frames=//')
# Clock mode draws a frame a second at least (the fade-in at the start adds its own).
[ $((second - first)) -ge 8 ] || die "$((second - first)) frames presented in ten seconds"
