#!/usr/bin/env python3
"""Writes a one-colour 24-bit BMP of any size, a row at a time: solid_bmp.py W H OUT."""
import struct
import sys

width, height, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
stride = (width * 3 + 3) & ~3
row = (bytes((235, 206, 135)) * width).ljust(stride, b"\0")
with open(out, "wb") as f:
    f.write(b"BM" + struct.pack("<IHHI", 54 + stride * height, 0, 0, 54))
    f.write(struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, stride * height, 2835, 2835, 0, 0))
    for _ in range(height):
        f.write(row)
