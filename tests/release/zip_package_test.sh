#!/usr/bin/env bash
# Makes the release zip with cpack in the Windows build folder $1, unpacks it and checks that
# it holds the program folder as it ships and that the exe carries the project's version.
set -euo pipefail
build=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -nE 's/^project\(NorvaleTimeClock VERSION ([0-9.]+).*/\1/p' "$source_dir/CMakeLists.txt")
name=NorvaleTimeClock-$version-win64
fail() { printf 'FAILED: %s\n' "$*"; exit 1; }

rm -rf "$build/package"
(cd "$build" && cpack --config CPackConfig.cmake >/dev/null) || fail "cpack did not run"
zip=$build/package/$name.zip
[ -f "$zip" ] || fail "$zip was not made"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
folder=$work/$name
for file in NorvaleTimeClock.exe README.txt sound/chime.mp3 sound/beep.mp3 \
    face/norvale/skin.xml \
    face/norvale/fonts/DSEG7Classic-Regular.ttf face/norvale/fonts/DejaVuSans.ttf \
    face/norvale/fonts/DejaVuSansCondensed.ttf \
    face/norvale/fonts/dseg_licence.txt face/norvale/fonts/dejavu_licence.txt; do
    [ -s "$folder/$file" ] || fail "$file is missing from the zip"
done
# Everything in the zip is in its one folder, and every skin of skins/ is there with all its
# images and its fonts with their licences.
[ "$(ls "$work")" = "$name" ] || fail "the zip holds more than $name/"
for source in "$source_dir"/skins/*/; do
    skin=face/$(basename "$source")
    [ -s "$folder/$skin/skin.xml" ] || fail "$skin/skin.xml is missing from the zip"
    for image in "$source"*.png; do
        cmp -s "$image" "$folder/$skin/$(basename "$image")" ||
            fail "$skin/$(basename "$image") differs from the skin's own"
    done
    ls "$folder/$skin/fonts/"*.[ot]tf "$folder/$skin/fonts/"*_licence.txt >/dev/null 2>&1 ||
        fail "$skin carries no fonts with their licences"
done
# The zip holds exactly what the build lays out for scripts/run, and nothing else.
diff <(cd "$build/program" && find . -type f | sort) \
    <(cd "$folder" && find . -type f | sort) ||
    fail "the zip and build/windows/program differ"

# The version resource: fixed version words and the texts, in UTF-16.
wrestool -x --raw --type=version "$folder/NorvaleTimeClock.exe" >"$work/version.res" ||
    fail "the exe has no version resource"
texts=$(strings -el "$work/version.res")
for expected in FileVersion ProductVersion "$version" "Norvale Time Clock" NorvaleTimeClock.exe; do
    grep -qxF -- "$expected" <<<"$texts" || fail "the version resource lacks \"$expected\""
done
IFS=. read -r major minor patch <<<"$version"
# VS_FIXEDFILEINFO after its signature 0xFEEF04BD: struct version, then the file version
# as two DWORDs (major.minor, patch.build).
fixed=$(od -An -tx1 -v "$work/version.res" | tr -d ' \n' | grep -o 'bd04effe.\{24\}') ||
    fail "the version resource has no fixed file information"
expected_words=$(printf '%04x%04x%04x%04x' "$minor" "$major" 0 "$patch" |
    sed -E 's/(..)(..)(..)(..)(..)(..)(..)(..)/\2\1\4\3\6\5\8\7/')
[ "${fixed:16:16}" = "$expected_words" ] || fail "the file version words are not $version.0"
printf 'the zip %s holds the program folder; the exe is version %s\n' "$name.zip" "$version"
