#!/usr/bin/env python3
"""Makes skins built to hurt, each a copy of a good skin changed in one way, for
skin_bombs_test.sh. Nothing large is kept in the repository: every file is made here.

Usage: make_bomb_skins.py GOOD_SKIN FACE_FOLDER OUTSIDE_FOLDER
Writes FACE_FOLDER/<name> for every skin below and OUTSIDE_FOLDER with the files that links
point at; prints nothing.
"""
import os
import re
import shutil
import struct
import sys
import zlib

MIB = 1 << 20


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, raw=None, depth=8, colour=6, data_chunk=None, padding=0, level=6):
    """A PNG of the given header. raw: the filtered rows (noise when None); data_chunk splits
    the compressed data into chunks of that many bytes; padding adds an ancillary chunk."""
    channels = {0: 1, 2: 3, 4: 2, 6: 4}[colour]
    row = width * channels * depth // 8
    if raw is None:
        noise = os.urandom(row * height)
        raw = b"".join(b"\0" + noise[y * row:(y + 1) * row] for y in range(height))
    data = zlib.compress(raw, level)
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    parts = [b"\x89PNG\r\n\x1a\n", chunk(b"IHDR", header)]
    if padding:
        parts.append(chunk(b"paDd", bytes(padding)))
    step = data_chunk or len(data)
    parts.extend(chunk(b"IDAT", data[at:at + step]) for at in range(0, len(data), step))
    parts.append(chunk(b"IEND", b""))
    return b"".join(parts)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as out:
        out.write(data)


def set_xml(skin, old, new):
    path = os.path.join(skin, "skin.xml")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if old not in text:
        raise SystemExit(f"{skin}: {old!r} not in skin.xml")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text.replace(old, new, 1))


def font_tables(font):
    """The offset table's version and the (tag, checksum, offset, length) records of a font."""
    version, tables = struct.unpack(">IH", font[:6])
    return version, [struct.unpack(">4sIII", font[12 + 16 * i:28 + 16 * i]) for i in range(tables)]


def sfnt(version, records, shift):
    """An offset table with the records' data offsets moved by shift."""
    n = len(records)
    power = 1 << (n.bit_length() - 1)
    out = struct.pack(">IHHHH", version, n, power * 16, power.bit_length() - 1, n * 16 - power * 16)
    for tag, checksum, offset, length in records:
        out += struct.pack(">4sIII", tag, checksum, offset + shift, length)
    return out


def collection(font, count):
    """A TrueType collection naming the same font count times."""
    version, records = font_tables(font)
    header = 12 + 4 * count
    directory = sfnt(version, records, header)
    offsets = b"".join(struct.pack(">I", header) for _ in range(count))
    return b"ttcf" + struct.pack(">HHI", 1, 0, count) + offsets + directory + font[len(directory):]


def with_instances(font, count):
    """The font with an 'fvar' table of one axis and count named instances."""
    version, records = font_tables(font)
    fvar = struct.pack(">HHHHHHHH", 1, 0, 16, 2, 1, 20, count, 8)
    fvar += struct.pack(">4siiiHH", b"wght", 100 << 16, 400 << 16, 900 << 16, 0, 256)
    fvar += b"".join(struct.pack(">HHi", 256, 0, 400 << 16) for _ in range(count))
    body = font[12 + 16 * len(records):]
    # One more table record moves every table 16 bytes on; the new table goes at the end.
    moved = [(tag, checksum, offset + 16, length) for tag, checksum, offset, length in records]
    moved.append((b"fvar", 0, len(font) + 16, len(fvar)))
    return sfnt(version, sorted(moved), 0) + body + fvar


def copy_skin(good, face, name):
    skin = os.path.join(face, name)
    shutil.rmtree(skin, ignore_errors=True)
    shutil.copytree(good, skin, symlinks=True)
    return skin


def main():
    good, face, outside = sys.argv[1:4]
    os.makedirs(face, exist_ok=True)
    os.makedirs(os.path.join(outside, "fonts"), exist_ok=True)
    font_path = os.path.join(good, "fonts", "DejaVuSans.ttf")
    with open(font_path, "rb") as f:
        font = f.read()
    shutil.copy(font_path, os.path.join(outside, "fonts", "secret.ttf"))
    write(os.path.join(outside, "face.png"), png(150, 150))

    def make(name):
        return copy_skin(good, face, name)

    make("good")

    skin = make("fifo_image")
    os.remove(os.path.join(skin, "glass.png"))
    os.mkfifo(os.path.join(skin, "glass.png"))

    skin = make("fifo_xml")
    os.remove(os.path.join(skin, "skin.xml"))
    os.mkfifo(os.path.join(skin, "skin.xml"))

    skin = make("device_link")
    os.remove(os.path.join(skin, "glass.png"))
    os.symlink("/dev/zero", os.path.join(skin, "glass.png"))

    skin = make("device_inside")
    os.remove(os.path.join(skin, "glass.png"))
    try:
        os.mknod(os.path.join(skin, "glass.png"), 0o600 | 0o020000, os.makedev(1, 5))
    except PermissionError:
        shutil.rmtree(skin)  # only root makes device files; the table skips it

    skin = make("fonts_link")
    shutil.rmtree(os.path.join(skin, "fonts"))
    os.symlink(os.path.join(outside, "fonts"), os.path.join(skin, "fonts"))

    skin = make("image_link")
    os.remove(os.path.join(skin, "face.png"))
    os.symlink(os.path.join(outside, "face.png"), os.path.join(skin, "face.png"))

    skin = make("link_loop")
    os.remove(os.path.join(skin, "face.png"))
    os.symlink("loop_b", os.path.join(skin, "face.png"))
    os.symlink("face.png", os.path.join(skin, "loop_b"))

    skin = make("padded_image")
    write(os.path.join(skin, "glass.png"), png(150, 150, padding=40 * MIB))

    skin = make("sparse_image")
    with open(os.path.join(skin, "glass.png"), "r+b") as f:
        f.truncate(100 << 30)

    skin = make("total_bytes")
    for i in range(3):
        write(os.path.join(skin, "fonts", f"big{i}.ttf"), font + bytes(30 * MIB - len(font)))

    skin = make("idat_confetti")
    write(os.path.join(skin, "glass@3x.png"), png(450, 450, raw=bytes(450 * 1801), data_chunk=1))

    skin = make("long_text")
    set_xml(skin, 'text="88:88:88"', 'text="' + "8" * 65 + '"')

    skin = make("wide_label")
    set_xml(skin, 'text="88:88:88"', 'text="' + "W" * 64 + '"')
    set_xml(skin, 'size="9" color="$3F3C1B"', 'size="400" color="$3F3C1B"')

    skin = make("huge_labels")
    for label in ("time", "timebg", "weekday", "date", "title", "ampm"):
        path = os.path.join(skin, "skin.xml")
        with open(path, encoding="utf-8") as f:
            text = f.read()
        start = text.index(f'<label id="{label}"')
        end = text.index("</label>", start)
        part = text[start:end]
        part = re.sub(r'size="\d+"', 'size="400"', part)
        text = text[:start] + part + text[end:]
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)

    skin = make("font_collection")
    write(os.path.join(skin, "fonts", "many.ttf"), collection(font, 5000))

    skin = make("font_instances")
    write(os.path.join(skin, "fonts", "variable.ttf"), with_instances(font, 60000))

    skin = make("font_folder")
    for i in range(100):
        write(os.path.join(skin, "fonts", f"note{i:03}.txt"), b"")

    skin = make("pixel_budget")
    write(os.path.join(skin, "face.png"), png(1024, 1024, raw=bytes(1024 * (1 + 4096))))
    for variant in ("face@2x.png", "face@3x.png"):
        os.remove(os.path.join(skin, variant))

    skin = make("deep_glass")
    write(os.path.join(skin, "glass.png"), png(1024, 1024, depth=16))
    for variant in ("glass@2x.png", "glass@3x.png"):
        os.remove(os.path.join(skin, variant))

    skin = make("utf16")
    with open(os.path.join(skin, "skin.xml"), encoding="utf-8") as f:
        text = f.read()
    write(os.path.join(skin, "skin.xml"), text.replace('encoding="UTF-8"', 'encoding="UTF-16"').encode("utf-16"))

    skin = make("utf16_broken")
    broken = text.replace('encoding="UTF-8"', 'encoding="UTF-16"').replace("<buttons>", "<buttons x=>", 1)
    write(os.path.join(skin, "skin.xml"), broken.encode("utf-16"))

    skin = make("control_chars")
    set_xml(skin, 'color="$7F898E"', 'color="\x1b]0;owned\x07\x1b[2J"')

    skin = make("reserved_name")
    set_xml(skin, ">glass.png<", ">art/nul.png<")

    skin = make("empty_element")
    set_xml(skin, "<glass>glass.png</glass>", "<glass></glass>")

    make_largest(make("largest"), font)


def make_largest(skin, font):
    """A skin at the limits: a 512 x 512 face with @2x and @3x, glass and digital glass as large,
    images of noise that do not compress, labels at the largest font size, and sixteen fonts
    filling the bytes the images leave."""
    for name in ("face", "glass", "dglass"):
        for suffix in ("@2x.png", "@3x.png"):
            path = os.path.join(skin, name + suffix)
            if os.path.exists(path):
                os.remove(path)
    write(os.path.join(skin, "face.png"), png(512, 512, level=0))
    write(os.path.join(skin, "face@2x.png"), png(1024, 1024, level=0))
    write(os.path.join(skin, "face@3x.png"), png(1536, 1536, level=0))
    write(os.path.join(skin, "glass.png"), png(512, 512, level=0))
    write(os.path.join(skin, "glass@3x.png"), png(1536, 1536, level=0))
    write(os.path.join(skin, "dglass.png"), png(512, 512, level=0))
    path = os.path.join(skin, "skin.xml")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    text = re.sub(r'size="\d+"', 'size="400"', text)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    used = sum(os.path.getsize(os.path.join(skin, n)) for n in os.listdir(skin) if n.endswith(".png"))
    used += os.path.getsize(path)
    fonts = os.path.join(skin, "fonts")
    for name in os.listdir(fonts):
        if name.lower().endswith((".ttf", ".otf")):
            used += os.path.getsize(os.path.join(fonts, name))
    kept = [n for n in os.listdir(fonts) if n.lower().endswith((".ttf", ".otf"))]
    each = (64 * MIB - used - 4096) // (16 - len(kept))
    for i in range(16 - len(kept)):
        write(os.path.join(fonts, f"filler{i:02}.ttf"), font + bytes(max(0, each - len(font))))


if __name__ == "__main__":
    main()
