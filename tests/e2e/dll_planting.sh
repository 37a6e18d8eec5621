#!/usr/bin/env bash
# No DLL from the program's own folder. Windows looks there first for every DLL that is not one
# of its KnownDLLs, so a DLL dropped beside the exe (a downloads folder, a per-user install)
# would run inside the clock, and inside the elevated sync job. Wine prefers its own DLLs;
# WINEDLLOVERRIDES=NAME=n,b makes it search for NAME as Windows does, and planted.dll (built with
# the Windows tests), copied beside the exe under that name, writes the name to
# planted_loads.txt when it is loaded.
#   1. The exe imports KnownDLLs only; every other DLL it uses is delay-loaded.
#   2. The DLLs to plant: those a plain start (an alarm sounding, a screen reader reading the
#      face) and the sync job (against chronyd) load, as WINEDEBUG=+loaddll lists them, and
#      those the exe names. Left out: the KnownDLLs; what Wine loads before the program's first
#      line (the KnownDLLs' own imports, which Windows takes from the system with them); Wine's
#      own drivers, which no Windows has; and what Wine's loader fetches by itself with no
#      search path at all (+module shows "in (null)": a forwarded export, a delay-load inside
#      one of Wine's DLLs, their imports), where Windows' loader applies the program's default
#      DLL directories as well.
#   3. Each planted at once: not one is loaded, at a plain start or in the sync job.
# Run by scripts/test with DISPLAY and WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_face.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

build=${NORVALE_EXE%/program/*}
probe=$build/tests/win32/desktop_probe.exe
planted=$build/tests/win32/planted.dll
for helper in "$probe" "$planted"; do
    [ -f "$helper" ] || die "no $helper (built with the Windows tests)"
done
own_program dll_planting
settings='HKCU\Software\Brannick\NorvaleTimeClock'
trap stop_ntp_server EXIT
start_ntp_server "$out/chrony"

# Windows' KnownDLLs (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs), and
# ntdll and kernelbase, which come with every process: never searched for.
known=' advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 '
known+='kernelbase msctf msvcrt normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi '
known+='shcore shell32 shlwapi user32 wldap32 ws2_32 '
# Wine's own drivers.
wine_drivers='^wine.*\.drv$|^winegstreamer$'

lower() { tr '[:upper:]' '[:lower:]'; }
# base NAME: the name without ".dll", lower case; other extensions (.drv) stay.
base() { lower | sed -E 's/\.dll$//'; }
# own LOG: the lines of the program's own process in a WINEDEBUG=+pid,... log.
own() {
    local pid
    pid=$(grep -m1 -i 'Loaded L"[^"]*NorvaleTimeClock\.exe" at' "$1" | cut -d: -f1)
    [ -n "$pid" ] || die "no load of the program in $1"
    grep "^$pid:" "$1"
}
# loaded LOG: the DLLs the program's own process loaded (+loaddll).
loaded() {
    own "$1" | sed -nE 's/.*Loaded L"([^"]*)".*/\1/p' | sed 's/.*\\//' | base | sort -u
}
# pathless LOG: the DLLs Wine's loader first looked for with no search path (+module).
pathless() {
    own "$1" | sed -nE 's/.*load_dll looking for L"([^"]*)" in (.*)/\1 \2/p' | sed 's/^[^ ]*\\//' |
        awk '{ name = tolower($1); if (!(name in seen)) { seen[name] = 1; if ($2 == "(null)") print name } }' |
        base | sort -u
}
# from_folder LOG: the modules a run loaded from the program's folder, the exe aside.
from_folder() {
    local folder
    folder=$(winepath -w "$program" | sed 's/\\/\\\\/g')
    grep -iF "Loaded L\"$folder\\\\" "$1" | grep -vi 'NorvaleTimeClock\.exe' || true
}
# plain_start LOG: a start whose countdown sounds within seconds, read by a screen reader, then
# closed.
plain_start() {
    wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
    wine reg add "$settings" /v CountdownIso /t REG_SZ /d "$(date -d '+6 seconds' '+%Y-%m-%dT%H:%M:%S')" \
        /f >/dev/null 2>&1
    WINEDEBUG=+pid,+loaddll,+module start_clock 2>"$1"
    wine "$probe" read >/dev/null 2>&1 || die "$1: the screen reader found no clock"
    sleep 8
    shot "$(basename "$1" .log)"
    request_close
    timeout 20 tail --pid="$clock" -f /dev/null || die "$1: the clock did not end"
}
# sync_job LOG: the elevated job's own run against chronyd; it sets the clock (in the log).
sync_job() {
    local status=0
    WINEDEBUG=+pid,+loaddll,+module timeout 30 wine "$NORVALE_EXE" --sync-time "127.0.0.1:$NORVALE_NTP_PORT" \
        --clock-setter-log "$(winepath -w "$out/clock_setter.log")" 2>"$1" || status=$?
    [ "$status" -eq 0 ] || die "$1: the sync job ended with code $status"
}

# 1. Static imports.
imports=$(x86_64-w64-mingw32-objdump -p "$NORVALE_EXE" | sed -nE 's/.*DLL Name: (.*)/\1/p' | base)
for name in $imports; do
    [[ $known == *" $name "* ]] || die "the exe imports $name.dll, which is no KnownDLL, statically"
done

# 2. What to plant.
plain_start "$out/discover_start.log"
sync_job "$out/discover_sync.log"
WINEDEBUG=+pid,+loaddll wine "$NORVALE_EXE" --sync-time '' 2>"$out/first_line.log" || true
named=$( (strings -a "$NORVALE_EXE" && strings -a -el "$NORVALE_EXE") | grep -ioE '^[a-z0-9_]+\.dll$' | base)
early=$(loaded "$out/first_line.log")
by_wine=$( (pathless "$out/discover_start.log" && pathless "$out/discover_sync.log") | sort -u)
candidates=$( (loaded "$out/discover_start.log" && loaded "$out/discover_sync.log" &&
    printf '%s\n' "$named") | sort -u)
checked=() left=()
for name in $candidates; do
    if [[ $known == *" $name "* ]] || [ "$name" = norvaletimeclock.exe ]; then
        continue
    elif grep -qxF "$name" <<<"$early" || grep -qE "$wine_drivers" <<<"$name" ||
        grep -qxF "$name" <<<"$by_wine"; then
        left+=("$name")
    else
        checked+=("$name")
    fi
done
printf '%s\n' "${checked[@]}" >"$out/checked.txt"
say "planted: ${checked[*]}"
say "left out (loaded before the first line, Wine's drivers, fetched by Wine's loader alone): ${left[*]}"
# The program's own delay-loaded DLLs were used, or the check would prove nothing.
for name in comctl32 oleacc winmm bcrypt; do
    grep -qxF "$name" <<<"$candidates" || die "$name.dll was not loaded by any run"
done

# 3. Each one planted.
overrides=
for name in "${checked[@]}"; do
    case $name in *.*) file=$name ;; *) file=$name.dll ;; esac
    cp "$planted" "$program/$file"
    overrides+="${overrides:+,}$name"
done
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;$overrides=n,b"
status=0
(plain_start "$out/planted_start.log" && sync_job "$out/planted_sync.log") || status=$?
[ ! -f "$program/planted_loads.txt" ] ||
    die "DLLs loaded from the program's folder: $(sort -u "$program/planted_loads.txt" | tr '\n' ' ')"
[ -z "$(from_folder "$out/planted_start.log")$(from_folder "$out/planted_sync.log")" ] ||
    die "modules loaded from the program's folder: $(from_folder "$out/planted_start.log")" \
        "$(from_folder "$out/planted_sync.log")"
[ "$status" -eq 0 ] || die "the runs with the planted DLLs failed"
