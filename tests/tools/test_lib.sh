# Shared by the skin tool's test scripts; sourced, not run. A work folder removed at the end,
# and the count of failures that `finish` reports as the script's result.
# shellcheck shell=bash
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
    printf 'FAILED: %s\n' "$*"
    failures=$((failures + 1))
}

finish() {
    printf '%d failed\n' "$failures"
    [ "$failures" -eq 0 ]
}
