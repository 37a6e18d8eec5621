#!/usr/bin/env bash
# norvale-skin check passes the default skin and names the fault of each broken copy of it.
# Usage: skin_check_test.sh NORVALE_SKIN_EXE DEFAULT_SKIN_FOLDER
set -uo pipefail
tool=$1
skin=$2
source "$(dirname "$0")/test_lib.sh"

# A fresh copy of the default skin, broken by the command given.
broken() {
    rm -rf "$work/face/$1"
    mkdir -p "$work/face"
    cp -r "$skin" "$work/face/$1"
    (cd "$work/face/$1" && eval "$2")
}

# Expects the check of face/$1 to fail with a message containing $2.
expect_fault() {
    local output
    if output=$("$tool" check "$work/face/$1" 2>&1); then
        fail "$1: accepted"
    elif [[ $output != *"$2"* ]]; then
        fail "$1: the message does not say \"$2\": $output"
    fi
}

output=$("$tool" check "$skin") || fail "the default skin: $output"
[[ $output == ok* ]] || fail "the default skin does not say ok: $output"
[[ $output == *"face 150x150"* ]] || fail "the default skin's face is not 150x150: $output"
[[ $output == *"variants @2x 8/8 @3x 8/8"* ]] || fail "the default skin's variants: $output"
[[ $output == *"author Norvale Time Clock team"* ]] || fail "the default skin's author: $output"
[[ $output == *$'\ndescription A small '* ]] || fail "the default skin's description: $output"

broken no_xml 'rm skin.xml'
expect_fault no_xml "skin.xml: the file is missing"
broken no_glass 'rm glass.png'
expect_fault no_glass "glass.png"
broken bad_png 'printf "not a png" >face.png'
expect_fault bad_png "face.png"
broken bad_colour 'sed -i "s/color=\"[^\"]*\"/color=\"white\"/" skin.xml'
expect_fault bad_colour "\"white\" is not a colour"
broken no_label 'sed -i "/id=\"date\"/,/<\/label>/d" skin.xml'
expect_fault no_label "missing element skin/label[@id=\"date\"]"
broken wrong_variant '/usr/bin/convert face@2x.png -resize 299x300! face@2x.png'
expect_fault wrong_variant "face@2x.png: the image is 299 x 300 pixels, not 300 x 300"
broken bad_variant 'printf "not a png" >glass@3x.png'
expect_fault bad_variant "glass@3x.png"
broken no_variants 'rm ./*@?x.png'
output=$("$tool" check "$work/face/no_variants") || fail "a skin without variants: $output"
[[ $output == *"variants @2x 0/8 @3x 0/8"* ]] || fail "a skin without variants: $output"
# The skin's own words reach the terminal with their control characters escaped.
broken tab_author 'sed -i "s|<author>[^<]*</author>|<author>A\&#9;B</author>|" skin.xml'
output=$("$tool" check "$work/face/tab_author") || fail "a tab in the author: $output"
[[ $output == *'author A\x09B'* ]] || fail "a tab in the author is not escaped: $output"
broken malformed 'printf "<skin>\n<clockface>face.png</skin>\n" >skin.xml'
expect_fault malformed "line 2"

"$tool" >/dev/null 2>&1
[ $? -eq 2 ] || fail "no arguments should exit 2"

finish
