#!/usr/bin/env bash
# The include check passes the rooms of the checkout and fails a copy of them with one
# backward include planted, naming the file, the line and the cycle it makes.
# Usage: check_includes_test.sh CHECKOUT
set -uo pipefail
checkout=$1
check=$checkout/scripts/check_includes
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src"
cp -r "$checkout/src/core" "$work/src/core"

if ! output=$("$check" "$work"); then
    printf 'FAILED: the rooms as they are do not pass:\n%s\n' "$output"
    exit 1
fi

# The lowest room includes the face, which includes it back.
planted=$work/src/core/text/utf16.h
printf '#include "core/clock/clock_window.h"\n' >>"$planted"
line=$(wc -l <"$planted")
if output=$("$check" "$work"); then
    printf 'FAILED: a backward include passed:\n%s\n' "$output"
    exit 1
fi
for expected in "src/core/text/utf16.h:$line: text/ includes core/clock/clock_window.h, a room above it" \
    "a cycle between rooms: clock/ -> text/ -> clock/" "include order: 2 fault(s)"; do
    if [[ $output != *"$expected"* ]]; then
        printf 'FAILED: the report does not say "%s":\n%s\n' "$expected" "$output"
        exit 1
    fi
done
echo "passed"
