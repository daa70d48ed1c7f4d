#!/usr/bin/env python3
"""Writes the tool-button glyphs and the application icon of Zonefold.

Run from anywhere:  python3 resources/make_resources.py
Only the Python standard library is used.

Every glyph is a 32 x 16 Windows bitmap, 4 bits per pixel, with the
standard 16-colour palette.  The left half is the normal picture, the
right half the disabled one (grey with a white shadow one pixel down and
to the right).  The colour of the bottom-left pixel is transparent.

The icon holds two 16-colour pictures, 32 x 32 and 16 x 16, each with its
AND mask.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# The standard 16-colour palette, in the Windows VGA order, as (R, G, B).
PALETTE = [
    (0, 0, 0),        # 0  black
    (128, 0, 0),      # 1  maroon
    (0, 128, 0),      # 2  green
    (128, 128, 0),    # 3  olive
    (0, 0, 128),      # 4  navy
    (128, 0, 128),    # 5  purple
    (0, 128, 128),    # 6  teal
    (192, 192, 192),  # 7  silver
    (128, 128, 128),  # 8  grey
    (255, 0, 0),      # 9  red
    (0, 255, 0),      # 10 lime
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 fuchsia
    (0, 255, 255),    # 14 aqua
    (255, 255, 255),  # 15 white
]

BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# Background of the glyphs: used by no drawing, so it can be transparent.
BACKGROUND = FUCHSIA

# Letters used in the pixel drawings below.
CODES = {
    '.': BACKGROUND,
    'K': BLACK,
    'm': MAROON,
    'g': GREEN,
    'o': OLIVE,
    'n': NAVY,
    'p': PURPLE,
    't': TEAL,
    's': SILVER,
    'G': GREY,
    'R': RED,
    'l': LIME,
    'Y': YELLOW,
    'B': BLUE,
    'A': AQUA,
    'W': WHITE,
}

# ---------------------------------------------------------------------------
# The five glyphs, 16 x 16 each, top row first.

OPEN = [
    "................",
    "................",
    "................",
    ".KKKK...........",
    "KWWWWK..........",
    "KWYYYWKKKKKKK...",
    "KWYYYYWWWWWWK...",
    "KWYYYYYYYYYYK...",
    "KWYYKKKKKKKKKKKK",
    "KWYKYYYYYYYYYYoK",
    "KWKYYYYYYYYYYoK.",
    "KKYYYYYYYYYYoK..",
    "KKooooooooooK...",
    "KKKKKKKKKKKKK...",
    "................",
    "................",
]

TAGLIST = [
    "........KKKK....",
    ".....KKKWWWK....",
    "..KKKWWWWWWK....",
    ".KWWWWWWKKKWK...",
    ".KWWWKKKWWWWK...",
    ".KWKKWWWWWWWK...",
    "..KWWWWWKKKWWK..",
    "..KWWKKKWWWWWK..",
    "..KWKWWWWWWKWK..",
    "...KWWWWKKKWWWK.",
    "...KWKKKWWWWWWK.",
    "...KWWWWWWWWWWK.",
    "....KWWWWWWKKK..",
    "....KWWWKKK.....",
    "....KKKK........",
    "................",
]

COPY = [
    "................",
    "KKKKKK..........",
    "KWWWWKK.........",
    "KWWWWKWK........",
    "KWKKWKKKK.......",
    "KWWWWWWWK..K....",
    "KWKKKKKWK..KK...",
    "KWWWWWWWK..KRK..",
    "KWKKKKKWKKKKRRK.",
    "KWWWWWWWKRRRRRRK",
    "KWKKKKKWKRRRRRRK",
    "KWWWWWWWKKKKRRK.",
    "KWKKKKKWK..KRK..",
    "KWWWWWWWK..KK...",
    "KKKKKKKKK..K....",
    "................",
]

ZOOMIN = [
    "................",
    "....KKKK........",
    "..KKWWWWKK......",
    "..KWWRRWWK......",
    ".KWWWRRWWWK.....",
    ".KWRRRRRRWK.....",
    ".KWRRRRRRWK.....",
    ".KWWWRRWWWK.....",
    "..KWWRRWWK......",
    "..KKWWWWKKK.....",
    "....KKKK.KKK....",
    "..........KKK...",
    "...........KKK..",
    "............KKK.",
    ".............KK.",
    "................",
]

ZOOMOUT = [
    "................",
    "....KKKK........",
    "..KKWWWWKK......",
    "..KWWWWWWK......",
    ".KWWWWWWWWK.....",
    ".KWRRRRRRWK.....",
    ".KWRRRRRRWK.....",
    ".KWWWWWWWWK.....",
    "..KWWWWWWK......",
    "..KKWWWWKKK.....",
    "....KKKK.KKK....",
    "..........KKK...",
    "...........KKK..",
    "............KKK.",
    ".............KK.",
    "................",
]


def parse(rows):
    """Turns a drawing into a list of rows of palette indices."""
    size = len(rows[0])
    for row in rows:
        assert len(row) == size, row
    return [[CODES[c] for c in row] for row in rows]


def is_dark(index):
    """Whether a pixel takes part in the disabled picture."""
    r, g, b = PALETTE[index]
    return (r * 30 + g * 59 + b * 11) < 160 * 100


def disabled(pic):
    """Embossed grey picture: dark pixels in grey over a white shadow."""
    h = len(pic)
    w = len(pic[0])
    out = [[BACKGROUND] * w for _ in range(h)]
    dark = [[pic[y][x] != BACKGROUND and is_dark(pic[y][x])
             for x in range(w)] for y in range(h)]
    for y in range(h):
        for x in range(w):
            if dark[y][x] and x + 1 < w and y + 1 < h:
                out[y + 1][x + 1] = WHITE
    for y in range(h):
        for x in range(w):
            if dark[y][x]:
                out[y][x] = GREY
    return out


def pack4(row):
    """Packs one row of palette indices at 4 bits per pixel, padded."""
    data = bytearray()
    for i in range(0, len(row), 2):
        hi = row[i]
        lo = row[i + 1] if i + 1 < len(row) else 0
        data.append((hi << 4) | lo)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def pack1(row):
    """Packs one row of 0/1 values at 1 bit per pixel, padded."""
    data = bytearray()
    for i in range(0, len(row), 8):
        byte = 0
        for j in range(8):
            if i + j < len(row) and row[i + j]:
                byte |= 0x80 >> j
        data.append(byte)
    while len(data) % 4:
        data.append(0)
    return bytes(data)


def palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)


def info_header(width, height, image_size, colours_used):
    return struct.pack('<IiiHHIIiiII',
                       40,            # biSize
                       width,         # biWidth
                       height,        # biHeight (positive: bottom-up)
                       1,             # biPlanes
                       4,             # biBitCount
                       0,             # biCompression (BI_RGB)
                       image_size,    # biSizeImage
                       0,             # biXPelsPerMeter
                       0,             # biYPelsPerMeter
                       colours_used,  # biClrUsed
                       0)             # biClrImportant (all)


def bmp_bytes(pixels):
    """A 4-bit Windows bitmap of the given rows (top row first)."""
    height = len(pixels)
    width = len(pixels[0])
    bits = b''.join(pack4(row) for row in reversed(pixels))
    header = info_header(width, height, len(bits), 16)
    pal = palette_bytes()
    offset = 14 + len(header) + len(pal)
    file_header = struct.pack('<2sIHHI', b'BM', offset + len(bits), 0, 0,
                              offset)
    return file_header + header + pal + bits


def glyph(rows):
    normal = parse(rows)
    assert len(normal) == 16 and len(normal[0]) == 16
    grey = disabled(normal)
    pixels = [normal[y] + grey[y] for y in range(16)]
    # The bottom-left pixel decides the transparent colour.
    assert pixels[15][0] == BACKGROUND
    return bmp_bytes(pixels)


# ---------------------------------------------------------------------------
# The application icon.

def blank(size):
    return [[None] * size for _ in range(size)]


def fill_rect(pic, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            pic[y][x] = colour


def frame_rect(pic, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        pic[y0][x] = colour
        pic[y1][x] = colour
    for y in range(y0, y1 + 1):
        pic[y][x0] = colour
        pic[y][x1] = colour


def disc(pic, x0, y0, x1, y1, fill, edge):
    """A filled circle in the box (x0, y0)-(x1, y1) with a 1-pixel edge."""
    cx = (x0 + x1 + 1) / 2.0
    cy = (y0 + y1 + 1) / 2.0
    r = (x1 - x0 + 1) / 2.0
    inside = set()
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            dx = x + 0.5 - cx
            dy = y + 0.5 - cy
            if dx * dx + dy * dy <= r * r:
                inside.add((x, y))
    for (x, y) in inside:
        border = any((x + dx, y + dy) not in inside
                     for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
        pic[y][x] = edge if border else fill


def icon_picture(size):
    pic = blank(size)
    if size == 32:
        fill_rect(pic, 0, 24, 31, 30, BLUE)         # strip along the bottom
        fill_rect(pic, 2, 1, 29, 26, WHITE)         # the field
        frame_rect(pic, 2, 1, 29, 26, RED)
        frame_rect(pic, 3, 2, 28, 25, RED)
        fill_rect(pic, 6, 5, 14, 11, GREY)          # grey shape, upper left
        frame_rect(pic, 6, 5, 14, 11, RED)
        disc(pic, 16, 12, 25, 21, GREEN, RED)       # green circle, lower right
    else:
        fill_rect(pic, 0, 12, 15, 15, BLUE)
        fill_rect(pic, 1, 0, 14, 13, WHITE)
        frame_rect(pic, 1, 0, 14, 13, RED)
        fill_rect(pic, 3, 2, 7, 5, GREY)
        frame_rect(pic, 3, 2, 7, 5, RED)
        disc(pic, 8, 6, 12, 10, GREEN, RED)
    return pic


def icon_image(pic):
    size = len(pic)
    colours = [[BLACK if c is None else c for c in row] for row in pic]
    mask = [[1 if c is None else 0 for c in row] for row in pic]
    xor = b''.join(pack4(row) for row in reversed(colours))
    and_ = b''.join(pack1(row) for row in reversed(mask))
    header = info_header(size, size * 2, len(xor) + len(and_), 0)
    return header + palette_bytes() + xor + and_


def ico_bytes(pictures):
    images = [icon_image(p) for p in pictures]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for pic, data in zip(pictures, images):
        size = len(pic)
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4,
                           len(data), offset)
        offset += len(data)
    return out + b''.join(images)


# ---------------------------------------------------------------------------

def write(name, data):
    path = os.path.join(HERE, name)
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote', path, len(data), 'bytes')


def main():
    write('open.bmp', glyph(OPEN))
    write('taglist.bmp', glyph(TAGLIST))
    write('copy.bmp', glyph(COPY))
    write('zoomin.bmp', glyph(ZOOMIN))
    write('zoomout.bmp', glyph(ZOOMOUT))
    write('zonefold.ico', ico_bytes([icon_picture(32), icon_picture(16)]))


if __name__ == '__main__':
    main()
