#!/usr/bin/env bash
# The installer and portable mode under Wine. The release's MSI installs per user: the
# program starts from the Start menu shortcut out of its installed place; a newer package
# replaces it in place and keeps the settings and a skin the user added; the uninstall takes
# the program files, the shortcut and the Run value away and leaves the settings. A copy of the
# program folder with a NorvaleTimeClock.ini beside the exe keeps every setting in that file
# and none under HKCU\Software\Brannick; a damaged file is reported, kept aside and started
# anew. Run by scripts/test (after the release step, which makes the MSI) with DISPLAY and
# WINEPREFIX set.
set -euo pipefail
source "$NORVALE_ROOT/scripts/common.sh"
source "$NORVALE_ROOT/tests/e2e/lib/clock_shell.sh"

out=$NORVALE_ARTEFACTS/install
rm -rf "$out"
mkdir -p "$out"
version=$(sed -nE 's/^project\(NorvaleTimeClock VERSION ([0-9.]+).*/\1/p' "$NORVALE_ROOT/CMakeLists.txt")
msi=$NORVALE_ROOT/build/windows/package/NorvaleTimeClock-$version-x64.msi
[ -f "$msi" ] || die "$msi is missing: cpack in build/windows makes it"
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
windows_path() { wine cmd /c "echo $1" 2>/dev/null | tr -d '\r'; }
programs=$(winepath -u "$(windows_path '%LOCALAPPDATA%')\\Programs\\Norvale Time Clock")
shortcut="$(windows_path '%APPDATA%')\\Microsoft\\Windows\\Start Menu\\Programs\\Norvale Time Clock.lnk"

# msiexec ACTION PACKAGE: installs (/i) or removes (/x) a package without any user interface.
msiexec() {
    wine msiexec "$1" "$(winepath -w "$2")" /qn || die "msiexec $1 $(basename "$2") failed"
}

# installed: the installed products named "Norvale Time Clock", "{product code} version" a line.
installed() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        tr -d '\r' | awk '/^HKEY/ { code = $0; sub(/.*\\/, "", code); name = 0; version = "" }
            /DisplayName / && /Norvale Time Clock/ { name = 1 }
            /DisplayVersion / { version = $3 }
            name && version != "" { print code, version; name = 0 }'
}

# products: the versions of the installed products.
products() {
    installed | awk '{ print $2 }'
}

# run_value: the data of the clock's Run value, empty when there is none.
run_value() {
    wine reg query "$run_key" /v NorvaleTimeClock 2>/dev/null | tr -d '\r' |
        sed -nE 's/.*NorvaleTimeClock +REG_SZ +(.*)$/\1/p'
}

# started NAME: waits for the clock's face, shoots the screen into NAME.png and checks that
# the face is lit.
started() {
    window=$(wait_for_window "Norvale Time Clock" 30) || die "no clock window ($1)"
    sleep 3 # the fade-in
    window=$(wait_for_window "Norvale Time Clock" 10) || die "the window went away ($1)"
    eval "$(xdotool getwindowgeometry --shell "$window")"
    /usr/bin/import -window root "$out/$1.png"
    /usr/bin/convert "$out/$1.png" -crop "150x150+$X+$Y" +repage "$out/$1_face.png"
    local lit
    lit=$(/usr/bin/convert "$out/$1_face.png" -colorspace gray -threshold 8% -format '%[fx:mean]' info:)
    awk -v lit="$lit" 'BEGIN { exit !(lit > 0.3) }' || die "no face in $1.png ($lit lit)"
}

# closed: asks the clock to close and waits until its process has ended.
closed() {
    request_close
    local i
    for i in $(seq 1 100); do
        clock_pid >/dev/null 2>&1 || return 0
        sleep 0.2
    done
    die "the clock did not end"
}

# A clean start: no earlier install (of any version), no settings, no Run value.
for code in $(installed | awk '{ print $1 }'); do
    wine msiexec /x "$code" /qn >/dev/null 2>&1 || true
done
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
wine reg delete "$run_key" /v NorvaleTimeClock /f >/dev/null 2>&1 || true

# Install, and start the clock from its Start menu shortcut.
msiexec /i "$msi"
[ -f "$programs/NorvaleTimeClock.exe" ] || die "no NorvaleTimeClock.exe in $programs"
[ -f "$programs/face/norvale/skin.xml" ] || die "no default skin in $programs"
[ -f "$(winepath -u "$shortcut")" ] || die "no Start menu shortcut"
[ "$(products)" = "$version" ] || die "installed apps list: $(products)"
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' |
    sed -nE 's/.*ProductIcon +REG_SZ +(.*NorvaleTimeClock\.ico)$/\1/p')
[ -n "$icon" ] && [ -s "$(winepath -u "$icon")" ] || die "the installed product has no icon"
wine start "$shortcut"
started installed
# "Load at Startup" (on at a first start) names the program where it was started from, in
# quotes.
case "$(run_value)" in
'"'*'\Programs\Norvale Time Clock\NorvaleTimeClock.exe"') ;;
*) die "the Run value is \"$(run_value)\", not the installed program" ;;
esac
closed
wine reg query 'HKCU\Software\Brannick\NorvaleTimeClock' /v ClockSkin >/dev/null 2>&1 ||
    die "the installed clock saved no settings"
cp -r "$programs/face/norvale" "$programs/face/mine" # a skin of the user's own

# A newer package replaces the program in place and keeps settings, skin and Run value.
IFS=. read -r major minor patch <<<"$version"
newer=$major.$minor.$((patch + 1))
cmake -DNORVALE_MSI_STAGE="$(dirname "$NORVALE_EXE")" -DNORVALE_MSI_VERSION="$newer" \
    -DNORVALE_MSI_OUTPUT="$out/NorvaleTimeClock-$newer-x64.msi" \
    -P "$NORVALE_ROOT/cmake/msi_package.cmake" >"$out/newer_msi.log" 2>&1 ||
    die "the newer package was not made (see $out/newer_msi.log)"
msiexec /i "$out/NorvaleTimeClock-$newer-x64.msi"
[ "$(products)" = "$newer" ] || die "after the upgrade: $(products)"
[ -f "$programs/NorvaleTimeClock.exe" ] || die "the upgrade lost the program"
[ -f "$programs/face/mine/skin.xml" ] || die "the upgrade lost the user's skin"
case "$(run_value)" in
'"'*'\Programs\Norvale Time Clock\NorvaleTimeClock.exe"') ;;
*) die "the upgrade left the Run value \"$(run_value)\"" ;;
esac
wine reg query 'HKCU\Software\Brannick\NorvaleTimeClock' /v ClockSkin >/dev/null 2>&1 ||
    die "the upgrade lost the settings"

# The uninstall leaves no program file, shortcut or Run value; the settings stay.
msiexec /x "$out/NorvaleTimeClock-$newer-x64.msi"
[ -z "$(products)" ] || die "still installed: $(products)"
left=$(cd "$programs" 2>/dev/null && find . -type f ! -path './face/mine/*') || true
[ -z "$left" ] || die "the uninstall left program files: $left"
[ ! -e "$(winepath -u "$shortcut")" ] || die "the uninstall left the shortcut"
[ -z "$(run_value)" ] || die "the uninstall left the Run value"
[ -z "$(wine reg query 'HKCU\Software\Brannick\NorvaleTimeClockSetup' 2>/dev/null | grep REG_)" ] ||
    die "the uninstall left the installer's own values"
wine reg query 'HKCU\Software\Brannick\NorvaleTimeClock' /v ClockSkin >/dev/null 2>&1 ||
    die "the uninstall took the user's settings"
rm -rf "$programs"

# Portable: a copy of the program folder with the settings file beside the exe.
wine reg delete 'HKCU\Software\Brannick' /f >/dev/null 2>&1 || true
portable=$out/portable
cp -r "$(dirname "$NORVALE_EXE")" "$portable"
: >"$portable/NorvaleTimeClock.ini"
wine "$portable/NorvaleTimeClock.exe" &
started portable
closed
! wine reg query 'HKCU\Software\Brannick' >/dev/null 2>&1 ||
    die "portable mode wrote HKCU\\Software\\Brannick"
ini=$(tr -d '\r' <"$portable/NorvaleTimeClock.ini")
for line in '[Software\Brannick\NorvaleTimeClock]' 'ClockSkin="norvale"' 'ClockType="0"' \
    'LoadatStartup1_Checked="True"'; do
    grep -qxF "$line" <<<"$ini" || die "the settings file lacks $line"
done
grep -q '^NormPos=' <<<"$ini" || die "the settings file lacks the window's place"
# "Load at Startup" is the one value that still goes to the registry.
case "$(run_value)" in
'"'*'\portable\NorvaleTimeClock.exe"') ;;
*) die "the Run value is \"$(run_value)\", not the portable program" ;;
esac

# A damaged settings file: reported once, kept aside, and a new one started.
printf '[Software\\Brannick\\NorvaleTimeClock]\r\nClockSkin="nor' >"$portable/NorvaleTimeClock.ini"
wine "$portable/NorvaleTimeClock.exe" &
for i in $(seq 1 100); do
    [ "$(message_boxes)" -eq 0 ] || break
    sleep 0.2
done
[ "$(message_boxes)" -eq 1 ] || die "the damaged file gave $(message_boxes) messages, not one"
sleep 0.5
/usr/bin/import -window root "$out/damaged_message.png"
xdotool key Return
messages_gone || die "the damaged file's message did not close"
started after_damage
[ "$(message_boxes)" -eq 0 ] || die "a second message followed the damaged file's"
closed
[ -f "$portable/NorvaleTimeClock.damaged.ini" ] || die "the damaged file was not kept aside"
grep -q 'ClockSkin="nor$' "$portable/NorvaleTimeClock.damaged.ini" ||
    die "the damaged file kept aside is not the damaged one"
grep -qxF 'ClockSkin="norvale"' <(tr -d '\r' <"$portable/NorvaleTimeClock.ini") ||
    die "no new settings file after the damaged one"
! wine reg query 'HKCU\Software\Brannick' >/dev/null 2>&1 ||
    die "the damaged file's run wrote HKCU\\Software\\Brannick"
wine reg delete "$run_key" /v NorvaleTimeClock /f >/dev/null 2>&1 || true
