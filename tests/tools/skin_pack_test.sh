#!/usr/bin/env bash
# norvale-skin pack makes of every skin that ships a package that checks exactly as its folder
# does, the same bytes each time, holding what the skin needs and nothing else; a skin that
# fails its check, also by a variant whose compressed data is damaged, gets no package.
# Usage: skin_pack_test.sh NORVALE_SKIN_EXE PROGRAM_FOLDER
set -uo pipefail
tool=$1
program=$2
source "$(dirname "$0")/test_lib.sh"

count=0
for skin in "$program"/face/*/; do
    name=$(basename "$skin")
    count=$((count + 1))
    folder_check=$("$tool" check "$skin" 2>&1) || { fail "$name: $folder_check"; continue; }
    output=$(cd "$work" && "$tool" pack "$skin" 2>&1) || { fail "$name: pack: $output"; continue; }
    [[ $output == *"packed $name into $name.nvskin: "*" bytes" ]] || fail "$name: pack says: $output"
    package_check=$("$tool" check "$work/$name.nvskin" 2>&1) || fail "$name.nvskin: $package_check"
    [ "$package_check" = "$folder_check" ] ||
        fail "$name: the package checks as \"$package_check\", the folder as \"$folder_check\""
    "$tool" pack "$skin" -o "$work/again.nvskin" >/dev/null 2>&1
    cmp -s "$work/$name.nvskin" "$work/again.nvskin" || fail "$name: two packs differ"
    entries=$(unzip -Z1 "$work/$name.nvskin")
    grep -qx "$name/skin.xml" <<<"$entries" || fail "$name: no skin.xml in: $entries"
    grep -q "^$name/fonts/.*\.[to]tf$" <<<"$entries" || fail "$name: no fonts in: $entries"
    grep -q "^$name/fonts/.*licence\.txt$" <<<"$entries" || fail "$name: no licence in: $entries"
    grep -q "preview.png" <<<"$entries" && fail "$name: the package holds its preview: $entries"
done
[ "$count" -ge 5 ] || fail "only $count skins in $program/face"

# A variant whose chunks and CRCs are whole but whose compressed data is not: only decoding
# finds it, and pack decodes every variant.
cp -r "$program/face/norvale" "$work/damaged"
python3 - "$work/damaged/glass@3x.png" <<'PY'
import struct, sys, zlib
data = bytearray(open(sys.argv[1], 'rb').read())
at = data.index(b'IDAT') + 4
data[at + 2:at + 12] = b'\xff' * 10
length = struct.unpack('>I', data[at - 8:at - 4])[0]
data[at + length:at + length + 4] = struct.pack('>I', zlib.crc32(data[at - 4:at + length]))
open(sys.argv[1], 'wb').write(data)
PY
output=$("$tool" pack "$work/damaged" -o "$work/damaged.nvskin" 2>&1) && fail "a damaged variant was packed"
[[ $output == *"glass@3x.png: bad compressed data"* ]] || fail "the damaged variant: $output"
[ -e "$work/damaged.nvskin" ] && fail "a package was written for a skin that fails"

"$tool" pack >/dev/null 2>&1
[ $? -eq 2 ] || fail "pack without a folder should exit 2"

finish
