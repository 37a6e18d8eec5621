#!/usr/bin/env python3
"""The mouse pointer the X server shows now, through the XFixes extension: saved as a PNG
(argument 1, with ImageMagick's convert) and said as one line, its size and a hash of its
pixels, so that two pointers can be told apart."""
import ctypes
import hashlib
import subprocess
import sys


class CursorImage(ctypes.Structure):
    _fields_ = [
        ("x", ctypes.c_short),
        ("y", ctypes.c_short),
        ("width", ctypes.c_ushort),
        ("height", ctypes.c_ushort),
        ("xhot", ctypes.c_ushort),
        ("yhot", ctypes.c_ushort),
        ("cursor_serial", ctypes.c_ulong),
        ("pixels", ctypes.POINTER(ctypes.c_ulong)),  # one ARGB value in each long
        ("atom", ctypes.c_ulong),
        ("name", ctypes.c_char_p),
    ]


def main():
    xlib = ctypes.CDLL("libX11.so.6")
    xfixes = ctypes.CDLL("libXfixes.so.3")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("no X display")
    image = xfixes.XFixesGetCursorImage(display).contents
    rgba = bytearray()
    for i in range(image.width * image.height):
        argb = image.pixels[i] & 0xFFFFFFFF
        rgba += bytes([(argb >> 16) & 255, (argb >> 8) & 255, argb & 255, argb >> 24])
    subprocess.run(["/usr/bin/convert", "-size", f"{image.width}x{image.height}", "-depth", "8",
                    "rgba:-", sys.argv[1]], input=bytes(rgba), check=True)
    print(f"{image.width}x{image.height} {hashlib.sha1(rgba).hexdigest()}")


main()
