#!/usr/bin/env python3
"""Draws the program's icons as .ico files: a database cylinder.

    128  application icon, blue on cyan
    130  server running, blue on cyan
    131  server stopped, greys
    132  service not available, blue on cyan with a red mark lower right

Each icon holds the 16-colour images it always had (128: 32x32 and 16x16; the others
16x16) and, from the same artwork, 32-bit images with alpha at 16, 20, 24, 32, 40, 48
and 64 pixels (and 256 for the application icon, stored as PNG), so that every screen
scale finds its own size. Needs nothing but Python 3.

Run it from anywhere; it writes the .ico files beside itself.
"""
import os
import struct
import zlib

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

TRUE_COLOUR_SIZES = (16, 20, 24, 32, 40, 48, 64)

# The same schemes in true colour: outline, body from light to shaded, lid, rings.
TRUE_SCHEMES = {
    "blue": {"line": (0, 40, 190), "light": (225, 255, 255), "fill": (60, 220, 245),
             "shade": (0, 140, 175), "lid": (170, 245, 255)},
    "grey": {"line": (100, 100, 100), "light": (250, 250, 250), "fill": (200, 200, 200),
             "shade": (135, 135, 135), "lid": (230, 230, 230)},
}
MARK = {"rim": (140, 0, 0), "disc": (225, 25, 25), "bar": (255, 255, 255)}


# --- 16-colour pixel art -------------------------------------------------------------

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
    xor = b""
    for row in reversed(pix):  # bottom-up
        nibbles = [0 if c is None else c for c in row]
        line = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor += line.ljust(xor_stride, b"\0")
    return header + palette + xor + and_mask([[c is None for c in row] for row in pix])


def and_mask(clear):
    """The 1-bit mask of an icon image, bottom-up: 1 where the image is transparent."""
    size = len(clear)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(clear):
        out = bytearray(stride)
        for i, transparent in enumerate(row):
            if transparent:
                out[i // 8] |= 0x80 >> (i % 8)
        mask += bytes(out)
    return mask


# --- true colour with alpha ----------------------------------------------------------

def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


class Cylinder:
    """The cylinder as a shape in pixel coordinates of a size x size image. The sides
    sit on pixel edges, so that small sizes stay sharp."""

    def __init__(self, size, scheme):
        self.s = TRUE_SCHEMES[scheme]
        margin = max(1, round(size / 8.0))
        self.left, self.right = float(margin), float(size - margin)
        self.cx = (self.left + self.right) / 2.0
        self.rx = (self.right - self.left) / 2.0
        self.ry = max(2.0, size / 6.0)
        self.w = max(1.0, round(size / 16.0))          # line width
        self.top = margin / 2.0 + self.ry
        self.bottom = size - margin / 2.0 - self.ry
        step = (self.bottom - self.top) / 3.0
        self.rings = (self.top + step, self.top + 2 * step)

    def ellipse(self, x, y, cy, shrink=0.0):
        rx, ry = self.rx - shrink, self.ry - shrink
        return rx > 0 and ry > 0 and ((x - self.cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0

    def inside(self, x, y, shrink=0.0):
        in_body = self.left + shrink <= x <= self.right - shrink and self.top <= y <= self.bottom
        return in_body or self.ellipse(x, y, self.top, shrink) or self.ellipse(x, y, self.bottom, shrink)

    def colour(self, x, y):
        """(r, g, b) at the point, or None outside the shape."""
        if not self.inside(x, y):
            return None
        s, w = self.s, self.w
        if not self.inside(x, y, w):
            return s["line"]
        if self.ellipse(x, y, self.top):
            return s["lid"] if self.ellipse(x, y, self.top, w) else s["line"]
        for cy in self.rings:
            if y >= cy and self.ellipse(x, y, cy, -w / 2.0) and not self.ellipse(x, y, cy, w / 2.0):
                return s["line"]
        t = (x - self.left) / (self.right - self.left)
        if t < 0.3:
            return mix(s["light"], s["fill"], t / 0.3)
        return mix(s["fill"], s["shade"], (t - 0.3) / 0.7)


class Mark:
    """The red disc with a white bar, over the lower right corner."""

    def __init__(self, size):
        self.r = size * 0.28
        self.c = size - self.r - size * 0.02
        self.w = max(1.0, size / 20.0)

    def colour(self, x, y):
        d = ((x - self.c) ** 2 + (y - self.c) ** 2) ** 0.5
        if d > self.r:
            return None
        if abs(y - self.c) <= self.r * 0.2 and abs(x - self.c) <= self.r * 0.6:
            return MARK["bar"]
        return MARK["rim"] if d > self.r - self.w else MARK["disc"]


def render(size, scheme, marked=False):
    """size x size (r, g, b, a) pixels, top row first, 4 x 4 samples a pixel."""
    layers = [Cylinder(size, scheme)] + ([Mark(size)] if marked else [])
    n = 4
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0]
            covered = 0
            for j in range(n):
                for i in range(n):
                    x, y = px + (i + 0.5) / n, py + (j + 0.5) / n
                    c = None
                    for layer in reversed(layers):
                        c = layer.colour(x, y)
                        if c is not None:
                            break
                    if c is not None:
                        covered += 1
                        for k in range(3):
                            acc[k] += c[k]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                rgb = [int(round(v / covered)) for v in acc]
                row.append((rgb[0], rgb[1], rgb[2], int(round(255.0 * covered / (n * n)))))
        rows.append(row)
    return rows


def true_colour_bitmap(rows):
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(rows))
    return header + xor + and_mask([[a == 0 for _, _, _, a in row] for row in rows])


def png(rows):
    size = len(rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


# --- the files -----------------------------------------------------------------------

def write_ico(path, entries):
    """entries: (size, colour count, bits per pixel, image bytes)."""
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, colours, bits, blob in entries:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blob for _, _, _, blob in entries))


def sixteen_colours(pix):
    return (len(pix), 16, 4, bitmap_entry(pix))


def true_colour(scheme, marked=False, large=False):
    entries = [(size, 0, 32, true_colour_bitmap(render(size, scheme, marked))) for size in TRUE_COLOUR_SIZES]
    if large:
        entries.append((256, 0, 32, png(render(256, scheme, marked))))
    return entries


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, "veldbctrl.ico"),
              [sixteen_colours(cylinder(32, "blue")), sixteen_colours(cylinder(16, "blue"))]
              + true_colour("blue", large=True))
    write_ico(os.path.join(here, "running.ico"), [sixteen_colours(cylinder(16, "blue"))] + true_colour("blue"))
    write_ico(os.path.join(here, "stopped.ico"), [sixteen_colours(cylinder(16, "grey"))] + true_colour("grey"))
    write_ico(os.path.join(here, "unavailable.ico"),
              [sixteen_colours(red_mark(cylinder(16, "blue")))] + true_colour("blue", marked=True))


if __name__ == "__main__":
    main()
