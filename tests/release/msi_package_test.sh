#!/usr/bin/env bash
# Checks the installer that cpack made beside the release zip in the Windows build folder $1
# (tests/release/zip_package_test.sh runs cpack): it carries the project's version, as the
# exe does, installs per user under the product's fixed upgrade code, and holds exactly the
# files of the program folder. Installing it is tested under Wine by tests/e2e/install.sh.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -nE 's/^project\(NorvaleTimeClock VERSION ([0-9.]+).*/\1/p' "$source_dir/CMakeLists.txt")
msi=$build/package/NorvaleTimeClock-$version-x64.msi
fail() { printf 'FAILED: %s\n' "$*"; exit 1; }

[ -f "$msi" ] || fail "$msi was not made"
property() { msiinfo export "$msi" Property | tr -d '\r' | awk -F '\t' -v p="$1" '$1 == p { print $2 }'; }
[ "$(property ProductVersion)" = "$version" ] || fail "ProductVersion is $(property ProductVersion)"
[ "$(property ProductName)" = "Norvale Time Clock" ] || fail "ProductName is $(property ProductName)"
[ "$(property UpgradeCode)" = "{CCF960C0-845E-4FF8-A7E6-DB2B9914FC11}" ] ||
    fail "the upgrade code changed: $(property UpgradeCode)"
[ "$(property ALLUSERS)" = 2 ] && [ "$(property MSIINSTALLPERUSER)" = 1 ] ||
    fail "not a per-user package"
[ -n "$(property ARPPRODUCTICON)" ] || fail "no icon for the installed apps list"
msiinfo suminfo "$msi" | grep -qx 'Template: x64;1033' || fail "not an x64 package"

# The files it installs are the program folder's, by name, and the exe is the one of this build.
diff <(cd "$build/program" && find . -type f -printf '%f\n' | sort) \
    <(msiinfo export "$msi" File | tr -d '\r' | tail -n +4 | cut -f3 | sed 's/.*|//' | sort) ||
    fail "the package and build/windows/program hold different files"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
msiextract -C "$work" "$msi" >/dev/null
exe=$(find "$work" -name NorvaleTimeClock.exe)
cmp -s "$exe" "$build/program/NorvaleTimeClock.exe" || fail "the packaged exe is not the built one"
wrestool -x --raw --type=version "$exe" | strings -el | grep -qxF "$version" ||
    fail "the packaged exe does not carry version $version"
printf 'the installer %s carries version %s and the program folder\n' "$(basename "$msi")" "$version"
