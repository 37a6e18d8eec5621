#!/usr/bin/env bash
# Every skin in skins/ is laid out in the program folder, passes norvale-skin check with an
# @2x and an @3x variant of each of its images, and carries a font for every family its
# labels name, so that no computer draws it in a stand-in font.
# Usage: shipped_skins_test.sh NORVALE_SKIN_EXE PROGRAM_FOLDER SKINS_SOURCE_FOLDER
set -uo pipefail
tool=$1
program=$2
sources=$3
failures=0

fail() {
    printf 'FAILED: %s\n' "$*"
    failures=$((failures + 1))
}

# carries SKIN FAMILY: whether a font file in the skin's fonts/ holds the family.
carries() {
    local file
    for file in "$1"/fonts/*; do
        fc-scan --format '%{family}\n' "$file" 2>/dev/null | tr ',' '\n' | grep -qxF "$2" && return 0
    done
    return 1
}

count=0
for source in "$sources"/*/; do
    [ -f "$source/skin.xml" ] || continue
    name=$(basename "$source")
    skin=$program/face/$name
    count=$((count + 1))
    output=$("$tool" check "$skin" 2>&1) || { fail "$name: $output"; continue; }
    [[ $output =~ variants\ @2x\ ([0-9]+)/([0-9]+)\ @3x\ ([0-9]+)/([0-9]+) ]] &&
        [ "${BASH_REMATCH[1]}" = "${BASH_REMATCH[2]}" ] && [ "${BASH_REMATCH[3]}" = "${BASH_REMATCH[4]}" ] ||
        fail "$name: not every image has its @2x and @3x variants: $output"
    while IFS= read -r family; do
        [ -z "$family" ] || carries "$skin" "$family" || fail "$name: no font in fonts/ is \"$family\""
    done < <(xmllint --xpath '//label/font/@name' "$skin/skin.xml" | sed -n 's/.*name="\([^"]*\)".*/\1/p' | sort -u)
done
[ "$count" -ge 5 ] || fail "only $count skins in $sources"

printf '%d skins, %d failed\n' "$count" "$failures"
[ "$failures" -eq 0 ]
