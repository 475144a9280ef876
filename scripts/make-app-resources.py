#!/usr/bin/env python3
"""Writes the built-in pictures of setup.exe into src/app/win32/res/:
gradient.bmp, the background window's 1 x 768 palette gradient (blue to black),
and setup.ico, the program's icon. Run again only to change them."""
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), "..", "src", "app", "win32", "res")

# Blue at given rows; linear in between, 255 above row 9 and 0 from row 740 on.
POINTS = [(0, 255), (9, 255), (100, 211), (200, 183), (300, 155), (400, 125),
          (500, 80), (600, 47), (700, 15), (740, 0), (767, 0)]


def blue(row):
    for (r0, b0), (r1, b1) in zip(POINTS, POINTS[1:]):
        if r0 <= row <= r1:
            return round(b0 + (b1 - b0) * (row - r0) / (r1 - r0))
    return 0


def gradient():
    height, row_bytes = 768, 4  # one 8-bit pixel, padded to 4 bytes
    palette = b"".join(struct.pack("<BBBB", b, 0, 0, 0) for b in range(256))  # B, G, R, 0
    # Rows bottom-up, the pixel is its blue value's palette index.
    pixels = b"".join(struct.pack("<B3x", blue(row)) for row in reversed(range(height)))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, 1, height, 1, 8, 0, len(pixels), 2835, 2835, 256, 0)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + palette + pixels


def icon():
    # 8 bits per pixel with a palette of the colours used, and the AND mask for
    # the transparent border (black there, so the screen shows through): a
    # third of the size of the same picture in 32 bits with alpha.
    size = 32
    colours, pixels, mask = [], bytearray(), bytearray(4 * size)  # mask rows: 32 bits
    for y in range(size):  # bottom-up
        for x in range(size):
            inside = 3 <= x < 29 and 3 <= y < 29
            disk = (x - 16) ** 2 + (y - 18) ** 2 < 64
            colour = (255, 255, 255) if disk else ((160 - 4 * y) % 256, 0, 0) if inside else (0, 0, 0)
            if colour not in colours:
                colours.append(colour)
            pixels.append(colours.index(colour))
            if not inside:
                mask[4 * y + x // 8] |= 0x80 >> (x % 8)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for b, g, r in colours)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0, len(pixels) + len(mask), 0, 0, len(colours), 0)
    image = info + palette + pixels + mask
    head = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 22)
    return head + image


os.makedirs(OUT, exist_ok=True)
with open(os.path.join(OUT, "gradient.bmp"), "wb") as f:
    f.write(gradient())
with open(os.path.join(OUT, "setup.ico"), "wb") as f:
    f.write(icon())
