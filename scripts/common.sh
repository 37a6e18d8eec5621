# Shared by scripts/setup, scripts/run and scripts/test; sourced, not run.
# shellcheck shell=bash

NORVALE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NORVALE_BUILD=$NORVALE_ROOT/build

# Every Debian package the project builds, tests or runs with.
NORVALE_PACKAGES=(
    g++ cmake ninja-build pkg-config
    zlib1g-dev libz-mingw-w64-dev
    googletest libgtest-dev libbenchmark-dev
    libfreetype-dev libfontconfig-dev libpugixml-dev
    g++-mingw-w64-x86-64
    wine wine64 xvfb xauth xdotool imagemagick
    librsvg2-bin icoutils libxml2-utils fonts-dseg fonts-dejavu-core fonts-dejavu-extra
    fonts-inter fonts-lato
    chrony
    libpng-dev clang libclang-rt-14-dev
    sox lame
    pulseaudio pulseaudio-utils gstreamer1.0-plugins-base gstreamer1.0-plugins-good
    icoutils unzip valgrind python3 strace
    wixl msitools
)

say() { printf '%s\n' "$*"; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Runs a command with its output kept in a log, shown only when it fails.
quietly() {
    local log
    log=$(mktemp)
    if ! "$@" >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        die "failed: $*"
    fi
    rm -f "$log"
}

is_windows_host() {
    case "$(uname -s)" in MINGW* | MSYS* | CYGWIN*) return 0 ;; *) return 1 ;; esac
}

# Configures a preset the first time and builds it incrementally afterwards.
build_preset() {
    local preset=$1
    if [ ! -f "$NORVALE_BUILD/$preset/build.ninja" ]; then
        quietly cmake --preset "$preset" -S "$NORVALE_ROOT"
    fi
    quietly cmake --build --preset "$preset"
}

# A Wine environment of the project's own: the prefix lives under the build folder, and the
# .NET and browser engines Wine would offer to download are switched off.
use_wine_prefix() {
    export WINEPREFIX=$NORVALE_BUILD/$1
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        quietly wineboot -i
        wineserver -w
    fi
}

# Starts a private Xvfb of the size given (WIDTHxHEIGHT, 1024x768 unless given) on a free
# display and exports DISPLAY; stop_display ends it.
NORVALE_XVFB_PID=
start_display() {
    local n size=${1:-1024x768}
    for n in $(seq 90 130); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
    done
    Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    NORVALE_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    die "Xvfb did not start on $DISPLAY"
}

stop_display() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "$NORVALE_XVFB_PID" ]; then
        kill "$NORVALE_XVFB_PID" >/dev/null 2>&1 || true
        wait "$NORVALE_XVFB_PID" 2>/dev/null || true
        NORVALE_XVFB_PID=
    fi
}

# Prints a UDP port that no socket of this machine is bound to, IPv4 or IPv6.
unused_udp_port() {
    local port
    for port in $(shuf -i 20000-59999 -n 50); do
        grep -qi "$(printf ':%04X ' "$port")" /proc/net/udp /proc/net/udp6 2>/dev/null || break
    done
    printf '%s\n' "$port"
}

# Starts chronyd serving NTP on an unused port of 127.0.0.1 and ::1, in the foreground with -x
# so that it never touches the system clock, its files in folder $1, with the lines of
# configuration given after it; exports NORVALE_NTP_PORT for the tests that query it.
# stop_ntp_server ends it.
NORVALE_CHRONY_PID=
start_ntp_server() {
    local dir=$1 port user=()
    shift
    mkdir -p "$dir"
    port=$(unused_udp_port)
    cat >"$dir/chrony.conf" <<EOF
port $port
bindaddress 127.0.0.1
bindaddress ::1
local stratum 8
allow 127.0.0.1
allow ::1
cmdport 0
pidfile $dir/chronyd.pid
driftfile $dir/drift
EOF
    [ $# -eq 0 ] || printf '%s\n' "$@" >>"$dir/chrony.conf"
    # chronyd starts as root and would drop to a user that cannot write $dir.
    [ "$(id -u)" -ne 0 ] || user=(-u root)
    chronyd -x -d "${user[@]}" -f "$dir/chrony.conf" >"$dir/chronyd.log" 2>&1 &
    NORVALE_CHRONY_PID=$!
    export NORVALE_NTP_PORT=$port
}

stop_ntp_server() {
    if [ -n "$NORVALE_CHRONY_PID" ]; then
        kill "$NORVALE_CHRONY_PID" >/dev/null 2>&1 || true
        wait "$NORVALE_CHRONY_PID" 2>/dev/null || true
        NORVALE_CHRONY_PID=
    fi
}

# Starts a PulseAudio server with a null sink, its files in folder $1, and exports
# XDG_RUNTIME_DIR so that Wine's sound output finds it: the machine has no sound card, and
# without a server MCI cannot open an MP3 at all. stop_sound_server ends it.
NORVALE_PULSE_DIR=
start_sound_server() {
    local dir=$1
    mkdir -p "$dir"
    chmod 700 "$dir"
    export XDG_RUNTIME_DIR=$dir
    # -n: none of the system's configuration. As root it warns that it is meant to run as a
    # user, and runs.
    pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
        --load="module-null-sink sink_name=null" \
        --load="module-native-protocol-unix" >"$dir/pulseaudio.log" 2>&1 || return 1
    NORVALE_PULSE_DIR=$dir
}

stop_sound_server() {
    if [ -n "$NORVALE_PULSE_DIR" ]; then
        XDG_RUNTIME_DIR=$NORVALE_PULSE_DIR pactl exit >/dev/null 2>&1 || true
        NORVALE_PULSE_DIR=
    fi
}

# Waits up to $2 seconds for a window named $1; prints its X id.
wait_for_window() {
    local name=$1 seconds=$2 i id
    for i in $(seq 1 $((seconds * 10))); do
        id=$(xdotool search --name "^$name\$" 2>/dev/null | head -n 1)
        if [ -n "$id" ]; then
            printf '%s\n' "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Prints the process id of the newest process running NorvaleTimeClock.exe in this shell's
# Wine prefix (clocks of other prefixes may run at the same time); fails when there is none.
clock_pid() {
    local candidate pid=
    for candidate in $(pgrep -f 'NorvaleTimeClock\.exe'); do
        if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX"; then
            pid=$candidate
        fi
    done
    [ -n "$pid" ] && printf '%s\n' "$pid"
}

# Asks the clock to close the way Windows does (WM_CLOSE to its windows).
request_close() {
    wine taskkill /im NorvaleTimeClock.exe >/dev/null 2>&1
}

# Runs end-to-end scripts (paths) against the Windows build, each with its log under
# build/e2e/, counting each through count(); needs the display and the prefix started.
run_e2e_scripts() {
    export NORVALE_ROOT NORVALE_EXE=$NORVALE_BUILD/windows/program/NorvaleTimeClock.exe
    export NORVALE_ARTEFACTS=$NORVALE_BUILD/e2e
    export NORVALE_SKIN_TOOL=$NORVALE_BUILD/linux/tools/norvale-skin
    mkdir -p "$NORVALE_ARTEFACTS"
    local script name
    for script in "$@"; do
        name=$(basename "$script" .sh)
        if timeout 600 bash "$script" >"$NORVALE_ARTEFACTS/$name.log" 2>&1; then
            count 1 0
            say "e2e $name: passed"
        else
            count 0 1
            say "e2e $name: FAILED"
            cat "$NORVALE_ARTEFACTS/$name.log"
            # A clock a failed script left running would take the next script's start for a
            # second start and end it.
            wineserver -k >/dev/null 2>&1 || true
            wineserver -w
        fi
    done
}
