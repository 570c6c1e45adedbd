#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""text-in-view.py SETTINGS < IMAGE.ppm: tells run-demo.sh whether a shot of
the sign's window shows the message well in view. It looks for the text
colour that line 6 of the settings file gives, and answers (exit status)
0 when the text's middle is in the middle half of the window, 1 when it is
not (yet), 2 when the colour is a system colour reference or the file cannot
be read, so that there is nothing to look for."""

import re
import sys


def text_colour(path):
    try:
        with open(path, "rb") as f:
            items = re.split(r"\r\n|\r|\n|,", f.read().decode("cp932"))
        value = int(items[5].strip(" \t"))
    except (OSError, UnicodeDecodeError, IndexError, ValueError):
        return None
    if value < 0:
        return None
    return value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF


def read_ppm(data):
    """Width, height and the RGB bytes of a binary 8-bit PPM."""
    fields = re.match(rb"P6\s+(?:#[^\n]*\n\s*)*(\d+)\s+(\d+)\s+(\d+)\s", data)
    if not fields or int(fields.group(3)) != 255:
        sys.exit("text-in-view.py: not an 8-bit PPM image")
    width, height = int(fields.group(1)), int(fields.group(2))
    return width, height, data[fields.end():fields.end() + width * height * 3]


def main():
    colour = text_colour(sys.argv[1])
    if colour is None:
        return 2
    width, height, pixels = read_ppm(sys.stdin.buffer.read())
    columns = set()
    for i in range(0, len(pixels), 3):
        # Antialiased edges blend into the background; the strokes are exact.
        if sum(abs(pixels[i + c] - colour[c]) for c in range(3)) <= 48:
            columns.add(i // 3 % width)
    if not columns:
        return 1
    middle = (min(columns) + max(columns)) / 2
    return 0 if width / 4 <= middle <= width * 3 / 4 else 1


if __name__ == "__main__":
    sys.exit(main())
