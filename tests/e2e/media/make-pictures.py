#!/usr/bin/env python3
"""Writes the test pictures of the end-to-end scenarios into pictures/ (24-bit BMP).
Their colours are fixed so that the scenarios can check pixels."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "pictures")


def bmp(name, width, height, colour):
    """colour(x, y) -> (r, g, b), y counted from the top."""
    row_bytes = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = b"".join(struct.pack("<BBB", *reversed(colour(x, y))) for x in range(width))
        rows.append(row + b"\0" * (row_bytes - len(row)))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(head + info + pixels)


os.makedirs(OUT, exist_ok=True)
# Tile: left half red, right half green, a white frame line at the top row.
bmp("tile.bmp", 96, 64, lambda x, y: (255, 255, 255) if y == 0 else (200, 0, 0) if x < 48 else (0, 160, 0))
bmp("thin.bmp", 1, 64, lambda x, y: (255, 0, 255))
bmp("wizard.bmp", 120, 259, lambda x, y: (0, 96 + y // 4, 128))
bmp("logo.bmp", 116, 98, lambda x, y: (255, 200, 0) if (x - 58) ** 2 + (y - 49) ** 2 < 40 ** 2 else (0, 0, 96))
bmp("info.bmp", 150, 60, lambda x, y: (40, 40 + x, 200))
# A large picture whose expansion reports progress several times.
bmp("large.bmp", 200, 150, lambda x, y: ((x * 7 + y * 13) % 256, (x * y) % 256, (x ^ y) % 256))
