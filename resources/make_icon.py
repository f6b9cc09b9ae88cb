#!/usr/bin/env python3
"""Draws Ardentia.ico: a white K on a blue rounded square, at 16, 32 and 48 pixels (32-bit with alpha).
Run once after changing the drawing; the .ico it writes is kept in the repository."""
import struct

BLUE = (170, 70, 20, 255)      # BGRA
WHITE = (255, 255, 255, 255)
CLEAR = (0, 0, 0, 0)


def pixel(x, y, n):
    r = max(2, n // 6)  # rounded corners
    if (x < r or x > n - 1 - r) and (y < r or y > n - 1 - r):
        cx = r if x < r else n - 1 - r
        cy = r if y < r else n - 1 - r
        if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
            return CLEAR
    # The K: a stem and two arms, in a box inset by a fifth of the size.
    u = n / 16.0
    left, right, top, bottom = 4.5 * u, 12 * u, 3 * u, 13 * u
    stroke = max(1.0, 2.0 * u)
    if top <= y < bottom:
        if left <= x < left + stroke:
            return WHITE
        mid = (top + bottom) / 2
        t = abs(y + 0.5 - mid) / (mid - top)  # 0 at the middle, 1 at top and bottom
        arm = left + stroke + t * (right - left - stroke)
        if arm - stroke * 0.75 <= x + 0.5 <= arm + stroke * 0.75:
            return WHITE
    return BLUE


def image(n):
    rows = []
    for y in reversed(range(n)):  # bottom-up
        rows.append(b"".join(bytes(pixel(x, y, n)) for x in range(n)))
    xor = b"".join(rows)
    mask_stride = ((n + 31) // 32) * 4
    mask = bytes(mask_stride * n)  # alpha decides; the AND mask lets everything through
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


sizes = (16, 32, 48)
images = [image(n) for n in sizes]
out = struct.pack("<HHH", 0, 1, len(sizes))
offset = 6 + 16 * len(sizes)
for n, data in zip(sizes, images):
    out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
open("Ardentia.ico", "wb").write(out + b"".join(images))
