#!/usr/bin/env python3
"""Draws the About box banner (a ring chart and the program's name) and writes res/Banner.bmp: 281 x 106
pixels, 16 colours (the standard 16-colour palette), 4 bits per pixel.

Run from the repository root: python3 tools/make_banner.py
"""
import math
import struct
import sys

WIDTH, HEIGHT = 281, 106
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(16)

# 5 x 7 capitals, one string per row ('#' set).
GLYPHS = {
    'A': [" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"],
    'C': [" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"],
    'D': ["#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "],
    'E': ["#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"],
    'I': ["#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "#####"],
    'K': ["#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"],
    'L': ["#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"],
    'N': ["#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"],
    'O': [" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "],
    'P': ["#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "],
    'R': ["#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"],
    'S': [" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "],
    'V': ["#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "],
    'W': ["#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"],
    ' ': ["     "] * 7,
}

INNER = [(0.00, 0.42, RED), (0.42, 0.70, YELLOW), (0.70, 1.00, BLUE)]
OUTER = [(0.00, 0.22, MAROON), (0.22, 0.42, FUCHSIA), (0.42, 0.58, OLIVE), (0.58, 0.70, LIME),
         (0.70, 0.86, AQUA), (0.86, 1.00, TEAL)]


def ring_pixel(x, y, cx, cy, radius):
    """Colour index of the ring chart at (x, y), or None outside it."""
    dx, dy = x + 0.5 - cx, y + 0.5 - cy
    r = math.hypot(dx, dy) / radius
    if r > 1.0:
        return None
    if r > 0.97 or abs(r - 0.36) < 0.025 or abs(r - 0.68) < 0.025:
        return BLACK
    if r < 0.36:
        return SILVER
    frac = ((math.atan2(dy, dx) + math.pi / 2) / (2 * math.pi)) % 1.0
    segments = INNER if r < 0.68 else OUTER
    for start, end, colour in segments:
        if abs(frac - start) * 2 * math.pi * r * radius < 0.8:
            return BLACK  # segment border
        if start <= frac < end:
            return colour
    return segments[-1][2]


def draw_text(pixels, text, left, top, scale, colour, shadow=None):
    for offset, ink in ([(1, shadow)] if shadow is not None else []) + [(0, colour)]:
        x = left + offset
        for ch in text:
            glyph = GLYPHS[ch]
            for gy, row in enumerate(glyph):
                for gx, bit in enumerate(row):
                    if bit != '#':
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            px, py = x + gx * scale + sx, top + offset + gy * scale + sy
                            if 0 <= px < WIDTH and 0 <= py < HEIGHT:
                                pixels[py][px] = ink
            x += 6 * scale


def picture():
    """Rows top-down of palette indices."""
    pixels = [[NAVY] * WIDTH for _ in range(HEIGHT)]
    for y in range(HEIGHT):  # a lighter band behind the name
        for x in range(WIDTH):
            if 24 <= y <= 58 and x >= 104:
                pixels[y][x] = BLUE if (x + y) % 2 else NAVY
    cx, cy, radius = 53, 53, 47
    for y in range(HEIGHT):
        for x in range(WIDTH):
            colour = ring_pixel(x, y, cx, cy, radius)
            if colour is not None:
                pixels[y][x] = colour
    draw_text(pixels, "KELVARAN", 112, 31, 3, WHITE, shadow=BLACK)
    draw_text(pixels, "DISK SPACE OVERVIEW", 116, 70, 1, YELLOW)
    for x in range(112, 270):  # underline
        pixels[64][x] = AQUA
    return pixels


def bmp(pixels):
    row_bytes = ((WIDTH * 4 + 31) // 32) * 4
    data = bytearray()
    for row in reversed(pixels):
        packed = bytearray()
        for x in range(0, WIDTH, 2):
            hi = row[x]
            lo = row[x + 1] if x + 1 < WIDTH else 0
            packed.append((hi << 4) | lo)
        packed += bytes(row_bytes - len(packed))
        data += packed
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    return header + info + palette + bytes(data)


def main(path):
    with open(path, 'wb') as f:
        f.write(bmp(picture()))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/Banner.bmp')
