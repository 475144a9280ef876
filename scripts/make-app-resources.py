#!/usr/bin/env python3
"""Writes setup.exe's icon, src/app/win32/res/setup.ico. Run again only to
change it. (The background's gradient is made by the program itself.)"""
import os
import struct

OUT = os.path.join(os.path.dirname(__file__), "..", "src", "app", "win32", "res")


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
with open(os.path.join(OUT, "setup.ico"), "wb") as f:
    f.write(icon())
