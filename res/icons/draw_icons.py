#!/usr/bin/env python3
"""Draws the program's icons as 16-colour .ico files: a database cylinder.

    128  application icon, 32x32 and 16x16, blue on cyan
    130  server running, 16x16, blue on cyan
    131  server stopped, 16x16, greys
    132  service not available, 16x16, blue on cyan with a red mark lower right

Run it from anywhere; it writes the .ico files beside itself.
"""
import os
import struct

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DARKRED, NAVY, TEAL, SILVER, GREY, RED, BLUE, CYAN, WHITE = 0, 1, 4, 6, 7, 8, 9, 12, 14, 15
CLEAR = None

SCHEMES = {
    "blue": {"line": BLUE, "fill": CYAN, "shade": TEAL, "light": WHITE},
    "grey": {"line": GREY, "fill": SILVER, "shade": GREY, "light": WHITE},
}


def cylinder(size, scheme):
    """Returns size x size palette indexes (None = transparent), top row first."""
    s = SCHEMES[scheme]
    margin = max(1, size // 8)
    left, right = margin, size - 1 - margin
    cx = (left + right) / 2.0
    rx = (right - left) / 2.0
    ry = max(2.0, size / 6.0)
    top, bottom = ry + margin / 2.0, size - 1 - ry - margin / 2.0

    def in_ellipse(x, y, cy, grow=0.0):
        return ((x - cx) / (rx + grow)) ** 2 + ((y - cy) / (ry + grow)) ** 2 <= 1.0

    def inside(x, y):
        return (left <= x <= right and top <= y <= bottom) or in_ellipse(x, y, top) or in_ellipse(x, y, bottom)

    pix = [[CLEAR] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if not inside(x, y):
                continue
            edge = any(not inside(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if edge:
                pix[y][x] = s["line"]
            elif x - left < max(1, size // 8):
                pix[y][x] = s["light"]
            elif right - x < max(2, size // 5):
                pix[y][x] = s["shade"]
            else:
                pix[y][x] = s["fill"]
    # The lid: the whole top ellipse outlined, and two rings on the body.
    for cy in (top, top + (bottom - top) / 3.0, top + 2 * (bottom - top) / 3.0):
        for x in range(left, right + 1):
            if abs(x - cx) > rx:
                continue
            dy = ry * (1 - ((x - cx) / rx) ** 2) ** 0.5
            yb = int(round(cy + dy))
            if 0 <= yb < size:
                pix[yb][x] = s["line"]
            if cy == top:
                yt = int(round(cy - dy))
                if 0 <= yt < size:
                    pix[yt][x] = s["line"]
    return pix


def red_mark(pix):
    """A red disc with a white bar in the lower right corner."""
    size = len(pix)
    r = size * 0.28
    cx = cy = size - 1 - r
    for y in range(size):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= r + 0.3:
                pix[y][x] = DARKRED if d > r - 0.7 else RED
    for x in range(int(cx - r / 2), int(cx + r / 2) + 1):
        pix[int(round(cy))][x] = WHITE
    return pix


def bitmap_entry(pix):
    size = len(pix)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(pix):  # bottom-up
        nibbles = [0 if c is None else c for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line.ljust(xor_stride, b"\0")
        bits = 0
        out = bytearray()
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                out.append(bits)
                bits = 0
        mask += bytes(out).ljust(and_stride, b"\0")
    return header + palette + xor + mask


def write_ico(path, images):
    data = [bitmap_entry(p) for p in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for pix, blob in zip(images, data):
        size = len(pix)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(data))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, "veldbctrl.ico"), [cylinder(32, "blue"), cylinder(16, "blue")])
    write_ico(os.path.join(here, "running.ico"), [cylinder(16, "blue")])
    write_ico(os.path.join(here, "stopped.ico"), [cylinder(16, "grey")])
    write_ico(os.path.join(here, "unavailable.ico"), [red_mark(cylinder(16, "blue"))])


if __name__ == "__main__":
    main()
