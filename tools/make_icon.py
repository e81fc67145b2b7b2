#!/usr/bin/env python3
"""Draws the program icon (a small ring pie) and writes res/Kelvaran.ico with 16, 20, 24, 32, 40, 48, 64 and 256
pixel images: each drawn at its size, so that the system finds one for the small and large icon at 100 %,
125 %, 150 % and 200 % display scale without stretching.

Run from the repository root: python3 tools/make_icon.py
"""
import math
import struct
import sys

SEGMENTS_INNER = [(0.00, 0.45, (220, 60, 40)), (0.45, 0.75, (240, 170, 30)), (0.75, 1.00, (60, 140, 220))]
SEGMENTS_OUTER = [(0.00, 0.25, (240, 110, 70)), (0.25, 0.45, (200, 40, 40)), (0.45, 0.62, (250, 210, 80)),
                  (0.62, 0.75, (230, 150, 20)), (0.75, 0.90, (110, 180, 240)), (0.90, 1.00, (40, 100, 190))]


def pixel(size, x, y):
    """RGBA of one pixel, supersampled 4x4 for smooth edges."""
    acc = [0, 0, 0, 0]
    for sy in range(4):
        for sx in range(4):
            px = (x + (sx + 0.5) / 4) / size * 2 - 1
            py = (y + (sy + 0.5) / 4) / size * 2 - 1
            r = math.hypot(px, py)
            frac = ((math.atan2(py, px) + math.pi / 2) / (2 * math.pi)) % 1.0
            colour = None
            if r < 0.36:
                colour = (128, 128, 128)
            elif r < 0.66:
                colour = next(c for a, b, c in SEGMENTS_INNER if a <= frac < b)
            elif r < 0.96:
                colour = next(c for a, b, c in SEGMENTS_OUTER if a <= frac < b)
            if colour:
                edge = abs(r - 0.36) < 0.03 or abs(r - 0.66) < 0.03 or r > 0.93
                shade = 0.55 if edge else 1.0
                acc[0] += colour[0] * shade
                acc[1] += colour[1] * shade
                acc[2] += colour[2] * shade
                acc[3] += 255
    return tuple(int(v / 16) for v in acc)


def image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA rows, then the AND mask."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = bytearray()
    for y in reversed(range(size)):
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            rows += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    return header + bytes(rows) + bytes(mask_row * size)


def main(path):
    sizes = [16, 20, 24, 32, 40, 48, 64, 256]
    images = [image(s) for s in sizes]
    out = bytearray(struct.pack('<HHH', 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s % 256, s % 256, 0, 0, 1, 32, len(data), offset)  # 0 means 256
        offset += len(data)
    for data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/Kelvaran.ico')
