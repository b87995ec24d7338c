#!/usr/bin/env python3
"""Builds the bitmap resources of the LCD dialogs from resources/bitmaps/pictograms.txt.

Usage: make_bitmaps.py PICTOGRAMS_TXT OUTPUT_FOLDER

Writes one Windows .bmp file per resource id, named lcd_<id>.bmp:
- 179: the blank, all white, 24 x 16, 16 colours (pictogram code 0 and bargraph kind 0);
- pictogram codes 1..63: 24 x 16 monochrome; codes 1..26 are the pictures alone, codes 27..63 a
  picture with a badge;
- pictogram codes 64..151 (ids 241..328): 24-bit colour 24 x 16, the pictures in four inks;
  code 78 is 25 x 16 and code 89 is 27 x 16 (their extra columns are cut when drawn);
- colour swatches, 16 colours, 23 x 15 (ids 199 and 207: 22 x 14);
- bargraph pictures 195 (relative), 194 (absolute), 196 (constant), 16 colours 24 x 16;
- the mask 178, monochrome 24 x 16, all black.
"""
import os
import struct
import sys

WIDTH, HEIGHT = 24, 16
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# Pictogram code -> resource id, codes 0..63 (64..151 are code + 177).
SYMBOL_IDS = (
    [179, 159, 158, 157, 156, 160, 161, 181, 182, 162, 163, 184, 183, 186, 185, 154, 144, 125]
    + list(range(128, 139)) + list(range(140, 144)) + list(range(145, 152))
    + [153, 152, 176, 175] + list(range(187, 191)) + list(range(164, 174))
    + [155, 191, 206, 209, 211, 213]
)
assert len(SYMBOL_IDS) == 64
COLOUR_SYMBOL_FIRST_CODE = 64
COLOUR_SYMBOL_ID_OFFSET = 177
SYMBOL_CODE_COUNT = 152
WIDE_SYMBOLS = {78: 25, 89: 27}
MASK_ID = 178
BLANK_ID = 179

# The 16-colour palette of every 4-bit picture (the standard VGA colours).
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
RED, GREEN, BLUE, YELLOW, MAGENTA, WHITE_, CYAN = (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0), \
    (255, 0, 255), (255, 255, 255), (0, 255, 255)
DARK_GREEN, GREY_BROWN = (0, 128, 0), (128, 128, 0)

# Swatches: resource id, size, first colour, second colour (a checkerboard when it differs).
SWATCHES = [
    (198, 23, 15, RED, RED), (199, 22, 14, GREEN, GREEN), (200, 23, 15, BLUE, BLUE),
    (201, 23, 15, YELLOW, YELLOW), (202, 23, 15, MAGENTA, MAGENTA), (197, 23, 15, WHITE_, WHITE_),
    (207, 22, 14, CYAN, CYAN), (231, 23, 15, DARK_GREEN, DARK_GREEN), (235, 23, 15, WHITE_, BLUE),
    (237, 23, 15, GREY_BROWN, GREY_BROWN), (238, 23, 15, WHITE_, RED),
]
BARGRAPH_RELATIVE, BARGRAPH_ABSOLUTE, BARGRAPH_CONSTANT = 195, 194, 196

# Inks of the colour pictograms: outline, fill.
INKS = [((160, 0, 0), (255, 96, 64)), ((0, 0, 160), (64, 160, 255)), ((0, 112, 0), (96, 224, 96)),
        ((176, 96, 0), (255, 200, 0))]


def read_maps(path):
    """Named pictures and badges: {'picture': [(name, rows)], 'badge': [...]}, in file order."""
    maps = {"picture": [], "badge": []}
    kind = name = None
    rows = []
    with open(path, encoding="utf-8") as source:
        for line in source.read().splitlines() + [""]:
            text = line.strip()
            if text.startswith("#") and kind is None:
                continue
            if not text:
                if kind:
                    maps[kind].append((name, rows))
                kind, rows = None, []
                continue
            if kind is None:
                kind, name = text.split()
                if kind not in maps:
                    sys.exit("unknown map kind: " + text)
                continue
            rows.append(text)
    return maps


def blank(width=WIDTH, height=HEIGHT, colour=WHITE):
    return [[colour] * width for _ in range(height)]


def stamp(canvas, rows, left, top, ink, fill):
    for y, row in enumerate(rows):
        for x, cell in enumerate(row):
            if cell == "#":
                canvas[top + y][left + x] = ink
            elif cell == "o" and fill is not None:
                canvas[top + y][left + x] = fill


def bmp_bytes(canvas, bits):
    """A bottom-up BMP of 1, 4 or 24 bits per pixel."""
    height, width = len(canvas), len(canvas[0])
    if bits == 1:
        palette = [BLACK, WHITE]
    elif bits == 4:
        palette = PALETTE16
    else:
        palette = []
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(canvas):
        line = bytearray(stride)
        for x, colour in enumerate(row):
            if bits == 24:
                line[3 * x:3 * x + 3] = bytes((colour[2], colour[1], colour[0]))
                continue
            index = palette.index(colour)
            if bits == 1:
                line[x // 8] |= index << (7 - x % 8)
            else:
                line[x // 2] |= index << (4 if x % 2 == 0 else 0)
        pixels += line
    table = b"".join(bytes((c[2], c[1], c[0], 0)) for c in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835, len(palette), 0)
    return header + info + table + bytes(pixels)


def symbol_canvas(code, pictures, badges):
    if code < COLOUR_SYMBOL_FIRST_CODE:
        canvas = blank()
        if code <= len(pictures):
            stamp(canvas, pictures[code - 1][1], 6, 1, BLACK, None)
        else:
            k = code - len(pictures) - 1
            stamp(canvas, pictures[k % len(pictures)][1], 1, 1, BLACK, None)
            stamp(canvas, badges[k % len(badges)][1], 15, 5, BLACK, None)
        return canvas
    k = code - COLOUR_SYMBOL_FIRST_CODE
    ink, fill = INKS[k // len(pictures)]
    canvas = blank(WIDE_SYMBOLS.get(code, WIDTH))
    stamp(canvas, pictures[k % len(pictures)][1], 6, 1, ink, fill)
    for x in range(WIDTH, len(canvas[0])):  # the columns that drawing cuts off
        for y in range(HEIGHT):
            canvas[y][x] = ink
    return canvas


def swatch_canvas(width, height, first, second):
    canvas = blank(width, height)
    for y in range(height):
        for x in range(width):
            if x in (0, width - 1) or y in (0, height - 1):
                canvas[y][x] = BLACK
            else:
                canvas[y][x] = first if (x // 3 + y // 3) % 2 == 0 else second
    return canvas


def bargraph_canvas(kind):
    canvas = blank()
    for x in range(WIDTH):
        if kind == BARGRAPH_RELATIVE:
            half = round(7 * abs(x - 11.5) / 11.5)
            rows = range(8 - half, 8 + half)
        elif kind == BARGRAPH_ABSOLUTE:
            rows = range(15 - round(14 * (x + 1) / WIDTH), 15)
        else:
            rows = range(4, 12)
        for y in rows:
            canvas[y][x] = BLACK
    return canvas


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    maps = read_maps(sys.argv[1])
    pictures, badges = maps["picture"], maps["badge"]
    for name, rows in pictures:
        if len(rows) > 14 or any(len(r) > 12 for r in rows):
            sys.exit("picture %s is larger than 12 x 14" % name)
    for name, rows in badges:
        if len(rows) > 7 or any(len(r) > 7 for r in rows):
            sys.exit("badge %s is larger than 7 x 7" % name)
    mono_codes = COLOUR_SYMBOL_FIRST_CODE - 1
    if len(pictures) * (len(INKS)) < SYMBOL_CODE_COUNT - COLOUR_SYMBOL_FIRST_CODE or len(pictures) >= mono_codes:
        sys.exit("the pictures do not fill the pictogram codes")
    out = sys.argv[2]
    os.makedirs(out, exist_ok=True)
    files = {BLANK_ID: bmp_bytes(blank(), 4), MASK_ID: bmp_bytes(blank(colour=BLACK), 1)}
    for code in range(1, SYMBOL_CODE_COUNT):
        resource = SYMBOL_IDS[code] if code < COLOUR_SYMBOL_FIRST_CODE else code + COLOUR_SYMBOL_ID_OFFSET
        bits = 1 if code < COLOUR_SYMBOL_FIRST_CODE else 24
        files[resource] = bmp_bytes(symbol_canvas(code, pictures, badges), bits)
    for resource, width, height, first, second in SWATCHES:
        files[resource] = bmp_bytes(swatch_canvas(width, height, first, second), 4)
    for kind in (BARGRAPH_RELATIVE, BARGRAPH_ABSOLUTE, BARGRAPH_CONSTANT):
        files[kind] = bmp_bytes(bargraph_canvas(kind), 4)
    if len(files) != 167:
        sys.exit("expected 167 bitmaps, made %d" % len(files))
    for resource, data in files.items():
        path = os.path.join(out, "lcd_%d.bmp" % resource)
        old = None
        if os.path.exists(path):
            with open(path, "rb") as existing:
                old = existing.read()
        if old != data:  # unchanged files keep their time, so the resources are not rebuilt
            with open(path, "wb") as target:
                target.write(data)


if __name__ == "__main__":
    main()
