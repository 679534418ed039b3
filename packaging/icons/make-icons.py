#!/usr/bin/env python3
"""Draws the program icon: a baton touching an ID button on a blue tile.

Writes the scalable SVG and the PNG sizes of the hicolor theme into
packaging/icons/hicolor/ (Python only, no imaging library). Run it again
after changing the drawing; the results are kept in the repository.
"""
import math
import os
import struct
import sys
import zlib

APP_ID = "example.dorodure.Uploader"
SIZES = (16, 24, 32, 48, 64, 128, 256)
SUPERSAMPLE = 4

# The drawing on a unit square, painted in order.
TILE = {"inset": 0.04, "radius": 0.18, "colour": (0x1F, 0x4E, 0x79)}
BUTTON_RING = {"centre": (0.62, 0.40), "r": 0.21, "colour": (0xB8, 0xBE, 0xC4)}
BUTTON_FACE = {"centre": (0.62, 0.40), "r": 0.14, "colour": (0xEC, 0xEF, 0xF1)}
BATON = {"from": (0.20, 0.82), "to": (0.47, 0.55), "width": 0.15, "colour": (0xF2, 0xB1, 0x34)}
TIP = {"centre": (0.49, 0.53), "r": 0.045, "colour": (0x3B, 0xB2, 0x73)}


def in_rounded_square(x, y):
    lo, hi, r = TILE["inset"], 1 - TILE["inset"], TILE["radius"]
    if not (lo <= x <= hi and lo <= y <= hi):
        return False
    cx = min(max(x, lo + r), hi - r)
    cy = min(max(y, lo + r), hi - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_circle(shape, x, y):
    cx, cy = shape["centre"]
    return (x - cx) ** 2 + (y - cy) ** 2 <= shape["r"] ** 2


def in_capsule(x, y):
    (ax, ay), (bx, by) = BATON["from"], BATON["to"]
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= (BATON["width"] / 2) ** 2


LAYERS = (
    (lambda x, y: in_rounded_square(x, y), TILE["colour"]),
    (lambda x, y: in_circle(BUTTON_RING, x, y), BUTTON_RING["colour"]),
    (lambda x, y: in_circle(BUTTON_FACE, x, y), BUTTON_FACE["colour"]),
    (lambda x, y: in_capsule(x, y), BATON["colour"]),
    (lambda x, y: in_circle(TIP, x, y), TIP["colour"]),
)


def sample(x, y):
    colour = None
    for inside, c in LAYERS:
        if inside(x, y):
            colour = c
    return colour


def pixel(px, py, size):
    total = [0, 0, 0, 0]
    n = SUPERSAMPLE
    for sy in range(n):
        for sx in range(n):
            c = sample((px + (sx + 0.5) / n) / size, (py + (sy + 0.5) / n) / size)
            if c is not None:
                total[0] += c[0]
                total[1] += c[1]
                total[2] += c[2]
                total[3] += 255
    covered = total[3] / 255
    if covered == 0:
        return (0, 0, 0, 0)
    # Colour averaged over the covered samples, coverage as alpha.
    return tuple(round(v / covered) for v in total[:3]) + (round(total[3] / (n * n)),)


def png(size):
    rows = bytearray()
    for py in range(size):
        rows.append(0)
        for px in range(size):
            rows.extend(pixel(px, py, size))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


def svg():
    def hexc(c):
        return "#%02x%02x%02x" % c

    s = 256
    inset, r = TILE["inset"] * s, TILE["radius"] * s
    (ax, ay), (bx, by) = BATON["from"], BATON["to"]
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        '  <rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>' %
        (inset, inset, s - 2 * inset, s - 2 * inset, r, hexc(TILE["colour"])),
    ]
    for shape in (BUTTON_RING, BUTTON_FACE):
        parts.append('  <circle cx="%g" cy="%g" r="%g" fill="%s"/>' %
                     (shape["centre"][0] * s, shape["centre"][1] * s, shape["r"] * s,
                      hexc(shape["colour"])))
    parts.append('  <line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s" stroke-width="%g" '
                 'stroke-linecap="round"/>' % (ax * s, ay * s, bx * s, by * s,
                                               hexc(BATON["colour"]), BATON["width"] * s))
    parts.append('  <circle cx="%g" cy="%g" r="%g" fill="%s"/>' %
                 (TIP["centre"][0] * s, TIP["centre"][1] * s, TIP["r"] * s, hexc(TIP["colour"])))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "hicolor")
    scalable = os.path.join(root, "scalable", "apps")
    os.makedirs(scalable, exist_ok=True)
    with open(os.path.join(scalable, APP_ID + ".svg"), "w", encoding="ascii") as f:
        f.write(svg())
    for size in SIZES:
        folder = os.path.join(root, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, APP_ID + ".png"), "wb") as f:
            f.write(png(size))
        print("drew %dx%d" % (size, size), file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
