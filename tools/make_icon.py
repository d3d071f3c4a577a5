#!/usr/bin/python3
"""Draws the program's icon and writes it as a .ico file.

Nine images, in this order: 48, 32 and 16 pixels at 4 bits per pixel, then at 8,
then at 32 (with alpha); every one an uncompressed DIB with its AND mask. The
picture is a blue round notice badge with a white "i". Pure arithmetic, no
timestamps: the same bytes on every run.

    make_icon.py OUTPUT.ico
"""
import struct
import sys

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)
SUPERSAMPLE = 4

BLUE = (84, 144, 212)
DARK_BLUE = (30, 80, 150)
WHITE = (255, 255, 255)


def coverage(size, inside):
    """Fraction of each pixel inside a shape given on the unit square."""
    grid = []
    n = SUPERSAMPLE
    for y in range(size):
        row = []
        for x in range(size):
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    u = (x + (sx + 0.5) / n) / size
                    v = (y + (sy + 0.5) / n) / size
                    hits += inside(u, v)
            row.append(hits / (n * n))
        grid.append(row)
    return grid


def in_disc(cx, cy, r):
    return lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def in_rounded_bar(x0, y0, x1, y1, r):
    def inside(u, v):
        if not (x0 <= u <= x1 and y0 <= v <= y1):
            return False
        cx = min(max(u, x0 + r), x1 - r)
        cy = min(max(v, y0 + r), y1 - r)
        return (u - cx) ** 2 + (v - cy) ** 2 <= r * r
    return inside


def draw(size, blue=BLUE, dark_blue=DARK_BLUE):
    """RGBA rows, top row first."""
    ring = coverage(size, in_disc(0.5, 0.5, 0.48))
    face = coverage(size, in_disc(0.5, 0.5, 0.48 - max(1.0 / size, 0.04)))
    dot = coverage(size, in_disc(0.5, 0.27, 0.085))
    stem = coverage(size, in_rounded_bar(0.42, 0.41, 0.58, 0.80, 0.04))
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            a = ring[y][x]
            f = face[y][x]
            w = min(1.0, dot[y][x] + stem[y][x])
            # Dark rim, blue face, white letter over it.
            base = [dark_blue[i] + (blue[i] - dark_blue[i]) * (f / a if a else 0) for i in range(3)]
            rgb = [base[i] + (WHITE[i] - base[i]) * w for i in range(3)]
            row.append((int(round(rgb[0])), int(round(rgb[1])), int(round(rgb[2])),
                        int(round(255 * a))))
        rows.append(row)
    return rows


# The 16 colours of the standard 4-bit palette.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def palette256():
    """A 6x6x6 colour cube, a ramp of greys and the picture's own blues."""
    pal = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    pal += [(i * 255 // 23, i * 255 // 23, i * 255 // 23) for i in range(24)]
    for t in range(16):
        pal.append(tuple(DARK_BLUE[i] + (BLUE[i] - DARK_BLUE[i]) * t // 15 for i in range(3)))
    pal += [(0, 0, 0)] * (256 - len(pal))
    return pal


def nearest(pal, rgb):
    best = 0
    best_d = None
    for i, p in enumerate(pal):
        d = (p[0] - rgb[0]) ** 2 + (p[1] - rgb[1]) ** 2 + (p[2] - rgb[2]) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def composite_on_white(px):
    """Colour of a partly transparent pixel as seen on a light background."""
    r, g, b, a = px
    t = a / 255
    return tuple(int(round(c * t + 255 * (1 - t))) for c in (r, g, b))


def mask_rows(rows, size):
    """AND mask, bottom row first, rows padded to 32 bits: 1 = transparent."""
    stride = ((size + 31) // 32) * 4
    out = b""
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bytes(bits)
    return out


def dib(rows, size, depth):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, depth, 0, 0, 0, 0,
                         0 if depth == 32 else 1 << depth, 0)
    if depth == 32:
        pixels = b"".join(
            bytes((px[2], px[1], px[0], px[3])) for row in reversed(rows) for px in row)
        return header + pixels + mask_rows(rows, size)
    pal = PALETTE16 if depth == 4 else palette256()
    colours = b"".join(bytes((p[2], p[1], p[0], 0)) for p in pal)
    stride = ((size * depth + 31) // 32) * 4
    pixels = b""
    for row in reversed(rows):
        idx = [0 if px[3] < 128 else nearest(pal, composite_on_white(px)) for px in row]
        line = bytearray(stride)
        if depth == 8:
            line[:size] = bytes(idx)
        else:
            for x, i in enumerate(idx):
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
        pixels += bytes(line)
    return header + colours + pixels + mask_rows(rows, size)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    # 16 colours: the palette's own blue and navy, not the grey nearest to our blue.
    pictures = {(size, depth): draw(size, *((PALETTE16[12], PALETTE16[4]) if depth == 4 else ()))
                for size in SIZES for depth in DEPTHS}
    images = [(size, depth, dib(pictures[size, depth], size, depth)) for depth in DEPTHS
              for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, depth, data in images:
        colours = 1 << depth if depth < 8 else 0
        out += struct.pack("<BBBBHHII", size, size, colours & 0xFF, 0, 1, depth, len(data),
                           offset)
        offset += len(data)
    out += b"".join(data for _, _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
