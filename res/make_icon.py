#!/usr/bin/env python3
"""Draws Travik's icon, a 32 x 32 image with a 256-colour palette, into
res/travik.ico: a monitor whose screen holds a diagonal resize arrow. Run it
by hand after changing the drawing; the .ico is checked in."""
import os
import struct

SIZE = 32
PALETTE = [
    (0, 0, 0),        # 0 transparent (masked)
    (40, 40, 48),     # 1 bezel outline
    (120, 124, 136),  # 2 bezel
    (170, 174, 186),  # 3 bezel light
    (16, 48, 120),    # 4 screen dark
    (32, 96, 200),    # 5 screen light
    (255, 255, 0),    # 6 arrow (the hotspot's yellow)
    (200, 160, 0),    # 7 arrow shade
    (90, 94, 104),    # 8 stand
]


def draw():
    px = [[0] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = c

    rect(1, 3, 30, 24, 1)   # outline
    rect(2, 4, 29, 23, 2)   # bezel
    rect(2, 4, 29, 4, 3)    # top light
    rect(4, 6, 27, 21, 4)   # screen
    for y in range(6, 22):  # screen gradient
        for x in range(4, 28):
            if x + (21 - y) > 24:
                px[y][x] = 5
    rect(13, 25, 18, 27, 8)  # neck
    rect(8, 28, 23, 29, 1)   # foot
    rect(9, 28, 22, 28, 8)

    # Double arrow from bottom left to top right of the screen.
    for i in range(0, 13):
        x, y = 9 + i, 18 - i
        px[y][x] = 6
        px[y][x + 1] = 7
    for d in range(0, 5):
        px[19 - d][8] = 6      # lower head, vertical
        px[19][8 + d] = 6      # lower head, horizontal
        px[6 + d][22] = 6      # upper head, vertical
        px[6][22 - d] = 6      # upper head, horizontal
    return px


def ico(px):
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b''.join(bytes((b, g, r, 0)) for r, g, b in PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)))
    xor = b''.join(bytes(px[y]) for y in reversed(range(SIZE)))
    mask = b''
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            if px[y][x] == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack('>I', bits)
    image = header + palette + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 8, len(image), 22)
    return directory + image


if __name__ == '__main__':
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'travik.ico')
    with open(out, 'wb') as f:
        f.write(ico(draw()))
    print(out)
