#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Draws the installed icons from resources/velmora.xpm, the program's own
32x32 pixel art: a scalable SVG of crisp squares and PNGs for the hicolor
theme. Whole scale factors repeat each pixel; the others (16, 24 and 48
pixels) give each pixel of the icon the average of the art it covers, which
is what the SVG looks like at that size.

    scripts/make-icons.py [OUTPUT_DIR]    (resources/icons by default)

The output is committed; run this again after editing the XPM."""

import os
import re
import struct
import sys
import zlib
from fractions import Fraction

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
XPM = os.path.join(ROOT, "resources", "velmora.xpm")
SIZES = (16, 24, 32, 48, 64, 128, 256)


def read_xpm(path):
    """The pixel rows as lists of (r, g, b)."""
    with open(path, encoding="ascii") as f:
        strings = re.findall(r'"([^"]*)"', f.read())
    width, height, colours, chars = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for line in strings[1:1 + colours]:
        key, rest = line[:chars], line[chars:].split()
        value = rest[rest.index("c") + 1]
        if not re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            sys.exit("%s: colour %r: only #RRGGBB colours are drawn" % (path, value))
        palette[key] = tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    rows = strings[1 + colours:1 + colours + height]
    if len(rows) != height or any(len(row) != width * chars for row in rows):
        sys.exit("%s: the pixel rows do not match %dx%d" % (path, width, height))
    return [[palette[row[i:i + chars]] for i in range(0, len(row), chars)] for row in rows]


def svg(pixels):
    """The most common colour as the background, then one rectangle for each
    run of another colour, joined with the same run in the rows below."""
    height, width = len(pixels), len(pixels[0])
    counts = {}
    for row in pixels:
        for colour in row:
            counts[colour] = counts.get(colour, 0) + 1
    background = max(sorted(counts), key=counts.get)
    runs = []  # [x, y, w, h, colour]
    open_runs = {}
    for y, row in enumerate(pixels):
        x, current = 0, {}
        while x < width:
            end = x
            while end < width and row[end] == row[x]:
                end += 1
            if row[x] != background:
                key = (x, end - x, row[x])
                run = open_runs.get(key)
                if run is not None and run[1] + run[3] == y:
                    run[3] += 1
                else:
                    run = [x, y, end - x, 1, row[x]]
                    runs.append(run)
                current[key] = run
            x = end
        open_runs = current
    hex_ = lambda c: "#%02x%02x%02x" % c
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             "<!-- SPDX-License-Identifier: MIT -->",
             "<!-- Drawn from resources/velmora.xpm by scripts/make-icons.py. -->",
             '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" '
             'viewBox="0 0 %d %d" shape-rendering="crispEdges">' % (width, height, width, height),
             '  <rect width="%d" height="%d" fill="%s"/>' % (width, height, hex_(background))]
    for x, y, w, h, colour in runs:
        lines.append('  <rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
                     % (x, y, w, h, hex_(colour)))
    lines.append("</svg>")
    return "\n".join(lines) + "\n"


def scaled(pixels, size):
    """The art at size x size: pixels repeated for a whole factor, averaged
    over the area each output pixel covers otherwise."""
    n = len(pixels)
    if size % n == 0:
        f = size // n
        return [[pixels[y // f][x // f] for x in range(size)] for y in range(size)]
    step = Fraction(n, size)

    def spans(i):
        lo, hi = i * step, (i + 1) * step
        k = int(lo)
        while k < hi:
            yield k, min(hi, k + 1) - max(lo, k)
            k += 1

    out = []
    for y in range(size):
        row = []
        for x in range(size):
            total = [Fraction(0)] * 3
            for sy, wy in spans(y):
                for sx, wx in spans(x):
                    for c in range(3):
                        total[c] += pixels[sy][sx][c] * wy * wx
            area = step * step
            row.append(tuple(int(t / area + Fraction(1, 2)) for t in total))
        out.append(row)
    return out


def png(pixels):
    """An 8-bit RGB PNG, with nothing in it that changes from run to run."""
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" +
            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "resources", "icons")
    pixels = read_xpm(XPM)
    if len(pixels) != len(pixels[0]):
        sys.exit("%s: the icon must be square" % XPM)
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "velmora.svg"), "w", encoding="utf-8") as f:
        f.write(svg(pixels))
    for size in SIZES:
        with open(os.path.join(out, "velmora-%d.png" % size), "wb") as f:
            f.write(png(scaled(pixels, size)))


if __name__ == "__main__":
    main()
