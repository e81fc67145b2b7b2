#!/usr/bin/env python3
"""Draws the main window's bitmaps and writes them as 16-colour BMP files under res/:

  Toolbar.bmp  320 x 16: twenty 16 x 16 tool bar glyphs (Back 1, Forward 2, Parent 3, Rescan 4, Rescan All 5,
               Compare with a data file 6, Any Folder 7, Import 8, Export 9, Open 10, Explore 11, Explore from
               Here 12, Open item 13, Properties 14, Delete 15; others empty)
  Drives.bmp    96 x 16: drive pictures (other, removable, fixed, remote, CD-ROM, RAM disk)
  Folders.bmp   32 x 16: the folder tree's closed and open folder

Each is drawn three times: at 100 % (the sizes above), and as NAME-150.bmp and NAME-200.bmp at 150 % and
200 % (24 and 32 pixel pictures), for displays of 144 and 192 DPI. The pictures are described in 16-pixel
units; shapes are rasterised anew at each size, with outlines one pixel wide, rather than enlarged.
Magenta (255, 0, 255) is the transparent background everywhere. With --preview DIR it also writes the three
pictures enlarged eight times as PNG files for a look.

Run from the repository root: python3 tools/make_bitmaps.py [--preview DIR]
"""
import math
import os
import struct
import sys
import zlib

# The 16 standard colours; one letter each in the pictures below.
PALETTE = [
    ('k', (0, 0, 0)), ('m', (128, 0, 0)), ('g', (0, 128, 0)), ('o', (128, 128, 0)),
    ('n', (0, 0, 128)), ('p', (128, 0, 128)), ('t', (0, 128, 128)), ('s', (192, 192, 192)),
    ('d', (128, 128, 128)), ('r', (255, 0, 0)), ('l', (0, 255, 0)), ('y', (255, 255, 0)),
    ('b', (0, 0, 255)), ('.', (255, 0, 255)), ('c', (0, 255, 255)), ('w', (255, 255, 255)),
]
INDEX = {letter: i for i, (letter, _) in enumerate(PALETTE)}
CLEAR = '.'


# The size the pictures are drawn at: 1 (100 %), 1.5 or 2.
SCALE = 1


def edge(u, scale):
    """The first pixel of unit cell u at a scale."""
    return int(math.floor(u * scale + 0.5))


class Canvas:
    """A picture of palette letters, CLEAR where nothing is drawn. Coordinates are in units of a 100 %
    pixel; the canvas holds SCALE times as many pixels each way."""

    def __init__(self, width=16, height=16):
        self.scale = SCALE
        self.width, self.height = edge(width, self.scale), edge(height, self.scale)
        self.px = [[CLEAR] * self.width for _ in range(self.height)]

    def set(self, x, y, c):
        """Paints unit cell (x, y): the pixels it covers at this scale."""
        for py in range(edge(y, self.scale), edge(y + 1, self.scale)):
            for px in range(edge(x, self.scale), edge(x + 1, self.scale)):
                if 0 <= px < self.width and 0 <= py < self.height:
                    self.px[py][px] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def art(self, rows, x0=0, y0=0):
        """Letters placed at an offset; CLEAR letters leave what is there."""
        for dy, row in enumerate(rows):
            for dx, c in enumerate(row):
                if c != CLEAR:
                    self.set(x0 + dx, y0 + dy, c)

    def shape(self, inside, fill, outline='k'):
        """Fills the pixels whose centre satisfies inside(x, y) (in units); pixels next to the outside get the
        outline, one pixel wide at any scale. fill is a letter or a function (x, y) -> letter of the unit cell."""
        s = self.scale
        mask = {(x, y) for y in range(self.height) for x in range(self.width) if inside((x + 0.5) / s, (y + 0.5) / s)}
        for (x, y) in mask:
            at_edge = any((x + dx, y + dy) not in mask for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            if at_edge and outline:
                letter = outline
            elif callable(fill):
                letter = fill(int(math.floor((x + 0.5) / s)), int(math.floor((y + 0.5) / s)))
            else:
                letter = fill
            self.px[y][x] = letter

    def polygon(self, points, fill, outline='k'):
        self.shape(lambda x, y: inside_polygon(points, x, y), fill, outline)


def inside_polygon(points, x, y):
    inside = False
    for (x1, y1), (x2, y2) in zip(points, points[1:] + points[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            inside = not inside
    return inside


def mirrored(points, width=16):
    return [(width - x, y) for x, y in points]


# Glyph pieces -------------------------------------------------------------------------------------------

LEFT_ARROW = [(0.5, 8), (7.5, 1), (7.5, 5), (15.5, 5), (15.5, 11), (7.5, 11), (7.5, 15)]


def two_tone(top, bottom, split):
    return lambda x, y: top if y < split else bottom


def folder(c, x0=0, y0=3, w=16, h=12, open_=False):
    """A yellow folder with a tab, its top-left corner at x0, y0; open: the front flap tilts towards the
    viewer and shows the darker inside."""
    if open_:
        c.rect(x0, y0, x0 + 5, y0, 'k')
        c.rect(x0, y0 + 1, x0 + w - 3, y0 + h - 1, 'k')
        c.rect(x0 + 1, y0 + 1, x0 + 4, y0 + 1, 'o')
        c.rect(x0 + 1, y0 + 2, x0 + w - 4, y0 + h - 2, 'o')
        flap = [(x0 + 3, y0 + 4), (x0 + w, y0 + 4), (x0 + w - 3, y0 + h), (x0, y0 + h)]
        c.polygon(flap, lambda x, y: 'w' if y == y0 + 5 else 'y')
        return
    c.rect(x0, y0, x0 + 5, y0, 'k')                   # tab
    c.rect(x0, y0 + 1, x0 + w - 1, y0 + h - 1, 'k')   # outline
    c.rect(x0 + 1, y0 + 1, x0 + 4, y0 + 1, 'y')
    c.rect(x0 + 1, y0 + 2, x0 + w - 2, y0 + h - 2, 'y')
    c.rect(x0 + 1, y0 + 2, x0 + w - 2, y0 + 2, 'w')   # light upper edge
    c.rect(x0 + 1, y0 + h - 2, x0 + w - 2, y0 + h - 2, 'o')  # shaded bottom


def up_arrow(c, x0, y0, fill_top, fill_bottom):
    """A 9 x 9 arrow pointing up, top-left at x0, y0."""
    pts = [(x0 + 4.5, y0 - 0.01), (x0 + 9, y0 + 4.5), (x0 + 6.5, y0 + 4.5), (x0 + 6.5, y0 + 9), (x0 + 2.5, y0 + 9),
           (x0 + 2.5, y0 + 4.5), (x0, y0 + 4.5)]
    c.polygon(pts, two_tone(fill_top, fill_bottom, y0 + 5))


def down_arrow(c, x0, y0, fill_top, fill_bottom):
    pts = [(x0 + 2.5, y0), (x0 + 6.5, y0), (x0 + 6.5, y0 + 4.5), (x0 + 9, y0 + 4.5), (x0 + 4.5, y0 + 9.01),
           (x0, y0 + 4.5), (x0 + 2.5, y0 + 4.5)]
    c.polygon(pts, two_tone(fill_top, fill_bottom, y0 + 5))


def tray(c):
    """An open tray at the bottom of a glyph."""
    c.art([
        "kk..........kk",
        "ksk........ksk",
        "ksskkkkkkkkkssk",
        "kssssssssssssk",
        "kdddddddddddddk",
        "kkkkkkkkkkkkkkk",
    ], 1, 10)
    c.rect(2, 12, 13, 13, 's')
    c.rect(2, 14, 14, 14, 'd')
    c.rect(1, 15, 15, 15, 'k')
    for y in range(10, 15):
        c.set(1, y, 'k')
        c.set(15, y, 'k')


def refresh_ring(c, colour, shade):
    """A circular arrow around the centre, open at the top right, with its head pointing clockwise."""
    cx, cy = 8, 8

    def on_ring(x, y):
        r = math.hypot(x - cx, y - cy)
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return 4.6 <= r <= 7.6 and not (280 <= angle <= 350)

    c.shape(on_ring, lambda x, y: colour if y < 8 else shade)
    # Arrow head at the gap's clockwise end (top), pointing right.
    c.polygon([(8.5, -0.01), (14, 3.5), (8.5, 7)], colour)


def magnifier(c, x0, y0):
    c.art([
        ".kkk..",
        "kcwck.",
        "kwccck",
        "kcccck",
        ".kkkk.",
    ], x0, y0)
    c.art(["kk.", ".kk", "..kk"], x0 + 4, y0 + 4)
    c.set(x0 + 5, y0 + 5, 'm')
    c.set(x0 + 6, y0 + 6, 'm')


def hard_disk(c, x0, y0):
    """A 14 x 8 drive box, its top-left at x0, y0."""
    c.art([
        "..kkkkkkkkkkkk",
        ".kwwwwwwwwwwsk",
        "kwwwwwwwwwwsdk",
        "kkkkkkkkkkkkdk",
        "ksssssssssssdk",
        "ksssssssslglsk",
        "kddddddddddddk",
        "kkkkkkkkkkkkkk",
    ], x0, y0)


# The glyphs of the tool bar strip ----------------------------------------------------------------------

def glyph_back():
    c = Canvas()
    c.polygon(LEFT_ARROW, two_tone('l', 'g', 8))
    return c


def glyph_forward():
    c = Canvas()
    c.polygon(mirrored(LEFT_ARROW), two_tone('l', 'g', 8))
    return c


def glyph_parent():
    c = Canvas()
    folder(c, 0, 5, 16, 11)
    # A bent arrow from the folder up and to the left: "one level up".
    c.art([
        "....k....",
        "...kbk...",
        "..kbbbk..",
        ".kbbbbbk.",
        "kkkbbbkkk",
        "..kbbbkkkkkk",
        "..kbbbbbbbbk",
        "..kbbbbbbbbk",
        "..kkkkkkkkkk",
    ], 1, 0)
    return c


def glyph_rescan():
    c = Canvas()
    refresh_ring(c, 'b', 'n')
    c.art(["kkk....", "kyykkkk", "kyyyyyk", "kyyyyyk", "kkkkkkk"], 5, 6)
    return c


def glyph_rescan_all():
    c = Canvas()
    refresh_ring(c, 'g', 'g')
    c.polygon([(8.5, -0.01), (14, 3.5), (8.5, 7)], 'l')
    c.art(["kkkkkkk", "kwwwwsk", "kkkkkkk", "ksssslk", "kkkkkkk"], 5, 6)
    return c


def glyph_open():
    c = Canvas()
    folder(c, 0, 2, 16, 13, open_=True)
    return c


def glyph_explore():
    c = Canvas()
    folder(c, 0, 2, 14, 11)
    c.rect(7, 7, 15, 15, CLEAR)
    magnifier(c, 7, 7)
    c.art(["kkk"], 5, 12)
    return c


def glyph_explore_from_here():
    c = Canvas()
    # A two-pane window: title bar, a folder tree on the left rooted at a red-marked folder, a list right.
    c.rect(0, 1, 15, 14, 'k')
    c.rect(1, 2, 14, 3, 'n')
    c.rect(1, 4, 14, 13, 'w')
    c.rect(7, 4, 7, 13, 'd')
    c.art([
        "rr....",
        "ry....",
        ".d....",
        ".dyy..",
        ".d....",
        ".dyy..",
        ".d....",
        ".dyy..",
    ], 2, 5)
    c.art(["sssss", ".....", "sssss", ".....", "sssss", ".....", "sssss"], 9, 5)
    return c


def glyph_any_folder():
    c = Canvas()
    folder(c, 0, 3, 16, 12)
    c.art(["kk.kk.kk", "kk.kk.kk"], 4, 9)
    return c


def glyph_import():
    c = Canvas()
    tray(c)
    down_arrow(c, 3, 0, 'l', 'g')
    return c


def glyph_export():
    c = Canvas()
    tray(c)
    up_arrow(c, 3, 0, 'r', 'm')
    return c


def page(c, x0, y0):
    """A 10 x 14 white sheet with its top-right corner folded, top-left at x0, y0."""
    c.art([
        "kkkkkkk...",
        "kwwwwwkk..",
        "kwwwwwksk.",
        "kwwwwwkkkk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kwwwwwwwwk",
        "kkkkkkkkkk",
    ], x0, y0)


def glyph_open_item():
    c = Canvas()
    page(c, 1, 1)
    c.art(["ddddd", ".....", "dddd", ".....", "ddddd"], 3, 5)
    # A green arrow leaving the sheet to the right: the item goes to its program.
    c.polygon([(7.5, 9), (11.5, 9), (11.5, 6.5), (15.6, 11), (11.5, 15.5), (11.5, 13), (7.5, 13)], two_tone('l', 'g', 11))
    return c


def glyph_properties():
    c = Canvas()
    # A sheet of labelled rows under a blue title.
    c.rect(1, 1, 14, 14, 'k')
    c.rect(2, 2, 13, 3, 'n')
    c.rect(2, 4, 13, 13, 'w')
    for y in (6, 9, 12):
        c.rect(3, y, 5, y, 'd')
        c.rect(7, y, 12, y, 'b')
    return c


def glyph_delete():
    c = Canvas()
    # A waste basket: a lid with a handle over a ribbed grey bin.
    c.art(["..kkkkk..", "..k...k.."], 3, 0)
    c.rect(1, 2, 14, 3, 'k')
    c.rect(2, 2, 13, 2, 's')
    c.polygon([(2.5, 4), (13.5, 4), (12.5, 16), (3.5, 16)], 's')
    for x in (5, 8, 11):
        c.rect(x, 6, x, 13, 'd')
    return c


def glyph_compare():
    c = Canvas()
    # An earlier and a later data file side by side, the later one taller: what changed between them.
    c.rect(0, 6, 6, 15, 'k')
    c.rect(1, 7, 5, 14, 'w')
    for y in (9, 11, 13):
        c.rect(2, y, 4, y, 'd')
    c.rect(9, 1, 15, 15, 'k')
    c.rect(10, 2, 14, 14, 'w')
    for y in (4, 6, 8, 10, 12):
        c.rect(11, y, 13, y, 'b')
    c.polygon([(5.5, 1.5), (8.5, 4), (5.5, 6.5)], 'r')
    c.rect(1, 3, 5, 4, 'r')
    return c


TOOLBAR = {1: glyph_back, 2: glyph_forward, 3: glyph_parent, 4: glyph_rescan, 5: glyph_rescan_all,
           6: glyph_compare, 7: glyph_any_folder, 8: glyph_import, 9: glyph_export, 10: glyph_open, 11: glyph_explore,
           12: glyph_explore_from_here, 13: glyph_open_item, 14: glyph_properties, 15: glyph_delete}

# Drive pictures ---------------------------------------------------------------------------------------


def drive_other():
    c = Canvas()
    hard_disk(c, 1, 6)
    c.art(["kkkkk", "kwwwk", "..kwk", ".kwk.", ".kk..", ".....", ".kk.."], 5, 0)
    return c


def drive_removable():
    c = Canvas()
    c.art([
        "kkkkkkkkkkkkkk.",
        "knnksssssknnnnk",
        "knnksskssknnnnk",
        "knnksskssknnnnk",
        "knnksssssknnnnk",
        "knnnkkkkknnnnnk",
        "knnnnnnnnnnnnnk",
        "knnwwwwwwwwwnnk",
        "knnwkkkkkkkwnnk",
        "knnwwwwwwwwwnnk",
        "knnwkkkkkkwwnnk",
        "knnwwwwwwwwwnnk",
        "knnwwwwwwwwwnnk",
        "kkkkkkkkkkkkkkk",
    ], 0, 1)
    return c


def drive_fixed():
    c = Canvas()
    hard_disk(c, 1, 4)
    return c


def drive_remote():
    c = Canvas()
    hard_disk(c, 1, 1)
    c.art([
        ".......kk.......",
        ".......kk.......",
        ".kkkkkkkkkkkkkk.",
        ".kbbbbbbbbbbbbk.",
        ".kkkkkkkkkkkkkk.",
        "kk..........kk..",
    ], 0, 9)
    c.rect(0, 15, 15, 15, CLEAR)
    return c


def drive_cdrom():
    c = Canvas()

    def disc(x, y):
        return 1.6 <= math.hypot(x - 8, y - 8) <= 7.4

    def colour(x, y):
        r = math.hypot(x + 0.5 - 8, y + 0.5 - 8)
        angle = math.degrees(math.atan2(y + 0.5 - 8, x + 0.5 - 8)) % 360
        if r < 2.8:
            return 'd'
        if 3.5 <= r <= 6.5:
            if 195 <= angle <= 225:
                return 'c'
            if 225 < angle <= 250:
                return 'y'
            if 20 <= angle <= 45:
                return 'w'
        return 's'

    c.shape(disc, colour, 'd')
    return c


def drive_ram():
    c = Canvas()
    c.art([
        ".y.y.y.y.y.y.y..",
        ".y.y.y.y.y.y.y..",
        "kkkkkkkkkkkkkkkk",
        "kggggggggggggggk",
        "kgkkkgkkkgkkkggk",
        "kgkkkgkkkgkkkggk",
        "kgkkkgkkkgkkkggk",
        "kggggggggggggggk",
        "kkkkkkkkkkkkkkkk",
        ".y.y.y.y.y.y.y..",
        ".y.y.y.y.y.y.y..",
    ], 0, 2)
    return c


DRIVES = [drive_other, drive_removable, drive_fixed, drive_remote, drive_cdrom, drive_ram]

# Folder tree ------------------------------------------------------------------------------------------


def tree_closed():
    c = Canvas()
    folder(c, 0, 2, 15, 12)
    return c


def tree_open():
    c = Canvas()
    folder(c, 0, 2, 15, 12, open_=True)
    return c


FOLDERS = [tree_closed, tree_open]

# Files ------------------------------------------------------------------------------------------------


def strip(canvases, count=None):
    count = count or len(canvases)
    out = Canvas(16 * count, 16)
    side = edge(16, SCALE)
    for i, c in enumerate(canvases):
        if c is None:
            continue
        for y in range(side):
            for x in range(side):
                out.px[y][side * i + x] = c.px[y][x]
    return out


def write_bmp(canvas, path):
    """A bottom-up 4-bit BMP with the 16-colour palette."""
    row_bytes = ((canvas.width + 1) // 2 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray(row_bytes)
        for x in range(canvas.width):
            value = INDEX[canvas.px[y][x]]
            row[x // 2] |= value << 4 if x % 2 == 0 else value
        pixels += row
    palette = b''.join(bytes((b, g, r, 0)) for _, (r, g, b) in PALETTE)
    offset = 14 + 40 + len(palette)
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.width, canvas.height, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    with open(path, 'wb') as f:
        f.write(header + info + palette + pixels)


def write_png(canvas, path, scale=8, side=16):
    """An enlarged preview (grey checks where transparent)."""
    colours = dict(PALETTE)
    raw = bytearray()
    for y in range(canvas.height * scale):
        raw.append(0)
        for x in range(canvas.width * scale):
            c = canvas.px[y // scale][x // scale]
            if c == CLEAR:
                rgb = (200, 200, 200) if ((x // 4) + (y // 4)) % 2 else (230, 230, 230)
            else:
                rgb = colours[c]
            if x % (side * scale) == 0:
                rgb = (255, 0, 0)
            raw += bytes(rgb)

    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

    ihdr = struct.pack('>IIBBBBB', canvas.width * scale, canvas.height * scale, 8, 2, 0, 0, 0)
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', ihdr) + chunk(b'IDAT', zlib.compress(bytes(raw))) +
                chunk(b'IEND', b''))


def main(argv):
    global SCALE
    preview = argv[argv.index('--preview') + 1] if '--preview' in argv else None
    for SCALE, suffix in ((1, ''), (1.5, '-150'), (2, '-200')):
        toolbar = strip([TOOLBAR[i]() if i in TOOLBAR else None for i in range(20)], 20)
        drives = strip([f() for f in DRIVES])
        folders = strip([f() for f in FOLDERS])
        for canvas, name in ((toolbar, 'Toolbar'), (drives, 'Drives'), (folders, 'Folders')):
            write_bmp(canvas, os.path.join('res', name + suffix + '.bmp'))
            if preview:
                os.makedirs(preview, exist_ok=True)
                write_png(canvas, os.path.join(preview, name + suffix + '.png'), 8, edge(16, SCALE))


if __name__ == '__main__':
    main(sys.argv[1:])
