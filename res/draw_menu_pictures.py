#!/usr/bin/env python3
"""Draws the pictures of the bookmark menu and its lists: folder, bookmark and mail icons, the two
globes of the browsers' bookmarks, the link-failed icon, the hand cursor, the sort arrows and the side-bar picture.

Run it from anywhere: `python3 res/draw_menu_pictures.py [output-dir]` (default: res/pictures next to
this script). The output is committed; tests/menu checks that it matches what this script draws.
Python 3 standard library only."""

import os
import struct
import sys

TRANSPARENT = None

# One letter per colour in the pixel drawings below; '.' is transparent.
COLOURS = {
    'K': (0, 0, 0),          # outline
    'k': (96, 64, 16),       # folder outline, dark brown
    'Y': (248, 208, 72),     # folder body
    'L': (255, 236, 140),    # folder front flap, lit
    'O': (200, 152, 32),     # folder shade
    'W': (255, 255, 255),    # paper
    'g': (192, 192, 192),    # paper fold
    'B': (32, 96, 208),      # sea
    'G': (40, 160, 72),      # land
    'R': (208, 24, 24),      # Opera ring, stamp, failure
    'r': (128, 0, 0),        # dark red
    'E': (240, 232, 200),    # envelope paper
    'N': (16, 40, 112),      # night sea, grid lines
    'C': (64, 176, 200),     # day sea
    'T': (216, 176, 96),     # sand
}

CLOSED_FOLDER = [
    "................",
    "................",
    "..kkkkk.........",
    ".kYLLLYk........",
    "kYLLLLLYkkkkkkk.",
    "kLLLLLLLLLLLLLYk",
    "kLYYYYYYYYYYYYOk",
    "kLYYYYYYYYYYYYOk",
    "kLYYYYYYYYYYYYOk",
    "kLYYYYYYYYYYYYOk",
    "kLYYYYYYYYYYYYOk",
    "kLYYYYYYYYYYYYOk",
    "kYOOOOOOOOOOOOOk",
    ".kkkkkkkkkkkkkk.",
    "................",
    "................",
]

OPEN_FOLDER = [
    "................",
    "................",
    ".kkkkk..........",
    "kYLLLYk.........",
    "kYLLLLYkkkkkk...",
    "kYYYYYYYYYYYYk..",
    "kYYkkkkkkkkkkkkk",
    "kYkLLLLLLLLLLLLk",
    "kYkLLLLLLLLLLLk.",
    "kkLLLLLLLLLLLLk.",
    "kkLLLLLLLLLLLk..",
    "kLLLLLLLLLLLLk..",
    "kLLLLLLLLLLLk...",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
]

# A page with a turned corner and a small globe: the bookmark of the Netscape source.
GLOBE_PAGE = [
    "..KKKKKKKKK.....",
    "..KWWWWWWWKK....",
    "..KWWWWWWWKgK...",
    "..KWWWWWWWKKKK..",
    "..KWWWBBBWWWWK..",
    "..KWWBGGBBWWWK..",
    "..KWBGGGBBBWWK..",
    "..KWBBGGGBBWWK..",
    "..KWBBBGGGBWWK..",
    "..KWBBBBGBBWWK..",
    "..KWWBBBBGWWWK..",
    "..KWWWBBBWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
    "................",
]

# The same page with a red ring: the bookmark of the Opera hotlist.
RING_PAGE = [
    "..KKKKKKKKK.....",
    "..KWWWWWWWKK....",
    "..KWWWWWWWKgK...",
    "..KWWWWWWWKKKK..",
    "..KWWWRRRWWWWK..",
    "..KWWRrWrRWWWK..",
    "..KWRrWWWrRWWK..",
    "..KWRWWWWWRWWK..",
    "..KWRWWWWWRWWK..",
    "..KWRrWWWrRWWK..",
    "..KWWRrWrRWWWK..",
    "..KWWWRRRWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KWWWWWWWWWWK..",
    "..KKKKKKKKKKKK..",
    "................",
]

ENVELOPE = [
    "................",
    "................",
    "...........RRR..",
    "KKKKKKKKKKKRRRK.",
    "KKEEEEEEEEERRRK.",
    "KEKEEEEEEEEEKEK.",
    "KEEKEEEEEEEKEEK.",
    "KEEEKEEEEEKEEEK.",
    "KEEEEKEEEKEEEEK.",
    "KEEEKEKKKEKEEEK.",
    "KEEKEEEEEEEKEEK.",
    "KEKEEEEEEEEEKEK.",
    "KKEEEEEEEEEEEKK.",
    "KKKKKKKKKKKKKKK.",
    "................",
    "................",
]

# Generic globes of the browsers' own bookmarks when their program's icon cannot be had: a day globe with
# its grid for the Chromium family's, a night globe of sand continents for Firefox's.
GRID_GLOBE = [
    "................",
    ".....NNNNNN.....",
    "...NNCCNCCGNN...",
    "..NCCCCNCGGGCN..",
    "..NCGGCNCGGCCN..",
    ".NNNNNNNNNNNNNN.",
    ".NCGGGGNCCCCGCN.",
    ".NCCGGGNCCCGGCN.",
    ".NNNNNNNNNNNNNN.",
    ".NCCCGGNCCCGGGN.",
    ".NCCCGGNCCCCGCN.",
    "..NCCCGNCCCCCN..",
    "..NNNNNNNNNNNN..",
    "...NNCCNCCCNN...",
    ".....NNNNNN.....",
    "................",
]

NIGHT_GLOBE = [
    "................",
    ".....KKKKKK.....",
    "...KKNNNNTTKK...",
    "..KNNNNNTTTTNK..",
    "..KNTTNNNTTNNK..",
    ".KNTTTTNNNNNNNK.",
    ".KNNTTTTNNNNTNK.",
    ".KNNNTTNNNNTTNK.",
    ".KNNNNTNNNTTTNK.",
    ".KNNNNNNNNTTNNK.",
    ".KNNNNNNNNNTNNK.",
    "..KNNTTNNNNNNK..",
    "..KNNNTTTNNNNK..",
    "...KKNNTNNNKK...",
    ".....KKKKKK.....",
    "................",
]

# A red disc with a white cross: a link that failed verification.
FAILED = [
    "................",
    ".....rrrrrr.....",
    "...rrRRRRRRrr...",
    "..rRRRRRRRRRRr..",
    "..rRWWRRRRWWRr..",
    ".rRRWWWRRWWWRRr.",
    ".rRRRWWWWWWRRRr.",
    ".rRRRRWWWWRRRRr.",
    ".rRRRRWWWWRRRRr.",
    ".rRRRWWWWWWRRRr.",
    ".rRRWWWRRWWWRRr.",
    "..rRWWRRRRWWRr..",
    "..rRRRRRRRRRRr..",
    "...rrRRRRRRrr...",
    ".....rrrrrr.....",
    "................",
]

# The hand over a link: K black, W white, '.' transparent; its hot spot is the fingertip.
HAND = [
    ".....KK...........",
    "....KWWK..........",
    "....KWWK..........",
    "....KWWK..........",
    "....KWWK..........",
    "....KWWKKK........",
    "....KWWKWWKKK.....",
    "....KWWKWWKWWKK...",
    ".KK.KWWKWWKWWKWK..",
    "KWWKKWWWWWWWWKWWK.",
    "KWWWKWWWWWWWWWWWK.",
    ".KWWWWWWWWWWWWWWK.",
    "..KWWWWWWWWWWWWWK.",
    "..KWWWWWWWWWWWWWK.",
    "...KWWWWWWWWWWWWK.",
    "...KWWWWWWWWWWWK..",
    "....KWWWWWWWWWWK..",
    "....KWWWWWWWWWK...",
    ".....KWWWWWWWWK...",
    ".....KWWWWWWWWK...",
    ".....KKKKKKKKKK...",
]
HAND_HOT_SPOT = (5, 0)

# Sort marks of list headers, in the system's 3-D greys so that LR_LOADMAP3DCOLORS can recolour them:
# S shadow (128), H highlight (255), F face (192).
GREYS = {'S': (128, 128, 128), 'H': (255, 255, 255), 'F': (192, 192, 192)}
SORT_UP = [
    "FFFFFFFFF",
    "FFFFSFFFF",
    "FFFSFHFFF",
    "FFSFFFHFF",
    "FSFFFFFHF",
    "SHHHHHHHH",
    "FFFFFFFFF",
]
SORT_DOWN = [
    "FFFFFFFFF",
    "SSSSSSSSH",
    "FSFFFFFHF",
    "FFSFFFHFF",
    "FFFSFHFFF",
    "FFFFHFFFF",
    "FFFFFFFFF",
]

# 5 x 7 capitals for the side-bar lettering.
FONT = {
    'T': ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    'R': ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    'E': ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    'S': [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    'K': ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
}

# The program's emblem above the lettering: a red bookmark ribbon with a white star.
RIBBON = [
    ".rrrrrrrrrr.",
    "rRRRRRRRRRRr",
    "rRRRRWWRRRRr",
    "rRRRRWWRRRRr",
    "rRRWWWWWWRRr",
    "rRRRWWWWRRRr",
    "rRRRWRRWRRRr",
    "rRRWRRRRWRRr",
    "rRRRRRRRRRRr",
    "rRRRRRRRRRRr",
    "rRRRRRRRRRRr",
    "rRRRRRRRRRRr",
    "rRRRRRRRRRRr",
    "rRRRRRRRRRRr",
    "rRRRRRrRRRRr",
    "rRRRRr.rRRRr",
    "rRRRr...rRRr",
    "rRRr.....rRr",
    "rRr.......rr",
    "rr.........r",
]

OLIVE = (128, 128, 0)


def canvas(width, height, fill=TRANSPARENT):
    return [[fill] * width for _ in range(height)]


def paint(image, art, palette=COLOURS, left=0, top=0):
    for y, row in enumerate(art):
        for x, ch in enumerate(row):
            if ch != '.':
                image[top + y][left + x] = palette[ch]
    return image


def from_art(art, width, height, palette=COLOURS):
    """The drawing in the upper-left corner of a width x height transparent image."""
    return paint(canvas(width, height), art, palette)


def row_bytes(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def make_palette(image, size):
    # Index 0 is black, which the transparent pixels also use under their mask.
    colours = sorted({c for row in image for c in row if c is not TRANSPARENT} - {(0, 0, 0)})
    palette = [(0, 0, 0)] + colours
    if len(palette) > size:
        raise ValueError("too many colours for a %d-colour picture" % size)
    return palette + [(0, 0, 0)] * (size - len(palette))


def pack_indexes(indexes, bpp):
    per_byte = 8 // bpp
    out = bytearray()
    for i in range(0, len(indexes), per_byte):
        byte = 0
        for j in range(per_byte):
            value = indexes[i + j] if i + j < len(indexes) else 0
            byte |= value << (8 - bpp * (j + 1))
        out.append(byte)
    return bytes(out)


def dib(image, bpp, with_mask):
    """A BITMAPINFOHEADER, palette and bottom-up pixel rows; with_mask adds the icon AND mask and
    doubles the height as icon images do."""
    height, width = len(image), len(image[0])
    palette = make_palette(image, 1 << bpp)
    index_of = {c: i for i, c in reversed(list(enumerate(palette)))}
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(image):
        indexes = [0 if c is TRANSPARENT else index_of[c] for c in row]
        packed = pack_indexes(indexes, bpp)
        pixels += packed + b'\0' * (row_bytes(width * bpp) - len(packed))
        packed = pack_indexes([1 if c is TRANSPARENT else 0 for c in row], 1)
        mask += packed + b'\0' * (row_bytes(width) - len(packed))
    header = struct.pack('<IiiHHIIiiII', 40, width, height * 2 if with_mask else height, 1, bpp, 0,
                         len(pixels) + (len(mask) if with_mask else 0), 0, 0, 1 << bpp, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    return header + colours + bytes(pixels) + (bytes(mask) if with_mask else b'')


def icon_file(image, bpp, hot_spot=None):
    """An .ico file of one image, or a .cur file when hot_spot is given."""
    height, width = len(image), len(image[0])
    data = dib(image, bpp, True)
    kind = 1 if hot_spot is None else 2
    planes, bits = (1, bpp) if hot_spot is None else hot_spot
    colour_count = (1 << bpp) if bpp < 8 else 0
    return (struct.pack('<HHH', 0, kind, 1) +
            struct.pack('<BBBBHHII', width % 256, height % 256, colour_count, 0, planes, bits, len(data), 22) +
            data)


def bmp_24(image):
    height, width = len(image), len(image[0])
    pixels = bytearray()
    for row in reversed(image):
        line = b''.join(struct.pack('<BBB', b, g, r) for (r, g, b) in row)
        pixels += line + b'\0' * (row_bytes(width * 24) - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(pixels), 0, 0, 54) + header + bytes(pixels)


def bmp_indexed(image, bpp):
    data = dib(image, bpp, False)
    return b'BM' + struct.pack('<IHHI', 14 + len(data), 0, 0, 14 + 40 + 4 * (1 << bpp)) + data


def side_bar():
    """22 x 200, olive where the menu shows through: the lettering "TRESK" reading upwards from the
    bottom, white with a black outline so that it stands on dark and light colours, the ribbon above."""
    width, height, scale = 22, 200, 2
    image = canvas(width, height, OLIVE)
    letters = canvas(width, height, None)
    glyph_height = 7 * scale
    left = (width - glyph_height) // 2
    bottom = height - 5
    for n, letter in enumerate("TRESK"):
        base = bottom - n * (5 * scale + 3)
        for gy, line in enumerate(FONT[letter]):
            for gx, ch in enumerate(line):
                if ch != '#':
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        # Turned a quarter left: the glyph's top faces the left edge.
                        letters[base - gx * scale - dx][left + gy * scale + dy] = 'W'
    for y in range(height):
        for x in range(width):
            if letters[y][x] == 'W':
                image[y][x] = COLOURS['W']
            elif any(0 <= y + dy < height and 0 <= x + dx < width and letters[y + dy][x + dx] == 'W'
                     for dy in (-1, 0, 1) for dx in (-1, 0, 1)):
                image[y][x] = COLOURS['K']
    text_top = bottom - 5 * (5 * scale + 3) + 3
    paint(image, RIBBON, COLOURS, (width - len(RIBBON[0])) // 2, text_top - 6 - len(RIBBON))
    return image


def sixteen(art, palette=COLOURS):
    return from_art(art, 16, 16, palette)


def thirty_two(art):
    # The picture fills only the upper-left quarter: the menu draws these at their natural size into a
    # cell made for 16 pixels.
    return from_art(art, 32, 32)


def pictures():
    hand = canvas(32, 32)
    paint(hand, HAND)
    return {
        'open_folder.ico': icon_file(thirty_two(OPEN_FOLDER), 8),
        'closed_folder.ico': icon_file(thirty_two(CLOSED_FOLDER), 8),
        'bookmark.ico': icon_file(thirty_two(GLOBE_PAGE), 8),
        'mail_link.ico': icon_file(thirty_two(ENVELOPE), 8),
        'bookmark_small.ico': icon_file(sixteen(GLOBE_PAGE), 8),
        'mail_link_small.ico': icon_file(sixteen(ENVELOPE), 8),
        'opera_bookmark.ico': icon_file(sixteen(RING_PAGE), 4),
        'chromium_bookmark.ico': icon_file(sixteen(GRID_GLOBE), 8),
        'firefox_bookmark.ico': icon_file(sixteen(NIGHT_GLOBE), 8),
        'link_failed.ico': icon_file(sixteen(FAILED), 8),
        'hand.cur': icon_file(hand, 1, HAND_HOT_SPOT),
        'sort_up.bmp': bmp_indexed(paint(canvas(9, 7), SORT_UP, GREYS), 4),
        'sort_down.bmp': bmp_indexed(paint(canvas(9, 7), SORT_DOWN, GREYS), 4),
        'side_bar.bmp': bmp_24(side_bar()),
    }


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), 'pictures')
    os.makedirs(out, exist_ok=True)
    for name, data in sorted(pictures().items()):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
