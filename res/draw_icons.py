#!/usr/bin/env python3
"""Draws Tresk's icons (tray icon, its reloading variant, the command icons) as .ico files.

Usage: draw_icons.py OUTPUT_DIR [--png]  (--png also writes each picture as a PNG, to look at them)
Standard library only: shapes are rasterised with 4x4 supersampling and stored as 32-bit BGRA icons.
"""
import math
import os
import struct
import sys
import zlib

SUB = 4  # supersampling per axis


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def paint(self, inside, colour, scale):
        """Composites colour over every pixel by the share of its subsamples for which inside(x, y) holds.
        Shapes are given on a 16-unit grid and scaled to the canvas."""
        unit = self.size / 16.0
        r, g, b = colour
        for py in range(self.size):
            for px in range(self.size):
                hits = 0
                for sy in range(SUB):
                    for sx in range(SUB):
                        x = (px + (sx + 0.5) / SUB) / unit
                        y = (py + (sy + 0.5) / SUB) / unit
                        if inside(x, y):
                            hits += 1
                if hits:
                    a = hits / (SUB * SUB) * scale
                    dr, dg, db, da = self.pixels[py][px]
                    da_f = da / 255.0
                    out_a = a + da_f * (1 - a)
                    mix = lambda s, d: int(round((s * a + d * da_f * (1 - a)) / out_a)) if out_a else 0
                    self.pixels[py][px] = (mix(r, dr), mix(g, dg), mix(b, db), int(round(out_a * 255)))


def polygon(points):
    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    return inside


def circle(cx, cy, radius):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def ring(cx, cy, outer, inner, start=None, end=None):
    """An annulus, optionally only the arc from start to end degrees (0 = east, clockwise on screen)."""
    def inside(x, y):
        d = (x - cx) ** 2 + (y - cy) ** 2
        if not inner ** 2 <= d <= outer ** 2:
            return False
        if start is None:
            return True
        angle = math.degrees(math.atan2(y - cy, x - cx)) % 360
        return (angle - start) % 360 <= (end - start) % 360
    return inside


def line(x0, y0, x1, y1, width):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (width / 2) ** 2
    return inside


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


BLACK = (30, 30, 40)
WHITE = (255, 255, 255)
BLUE = (40, 90, 190)
LIGHT_BLUE = (120, 170, 240)
RED = (210, 40, 40)
GREEN = (30, 150, 50)
YELLOW = (250, 200, 30)
ORANGE = (240, 130, 20)
GREY = (120, 120, 130)
PAPER = (250, 250, 240)


def book(c, cover=BLUE):
    """An open book seen from the front with a red bookmark ribbon hanging from its top."""
    c.paint(polygon([(1, 4), (8, 5), (15, 4), (15, 14), (8, 15), (1, 14)]), cover, 1)
    c.paint(polygon([(2, 3.5), (7.6, 4.6), (7.6, 13.8), (2, 12.7)]), PAPER, 1)
    c.paint(polygon([(8.4, 4.6), (14, 3.5), (14, 12.7), (8.4, 13.8)]), PAPER, 1)
    for y in (6.5, 8.5, 10.5):
        c.paint(line(3.2, y - 0.6, 6.6, y + 0.1, 0.7), GREY, 1)
    c.paint(polygon([(10, 0.5), (12.6, 0.5), (12.6, 10.5), (11.3, 9), (10, 10.5)]), RED, 1)


def circular_arrow(c, colour, cx=8, cy=8, outer=6.5, inner=4.3):
    c.paint(ring(cx, cy, outer, inner, 300, 230), colour, 1)
    # arrow head at the arc's start (the 300 degree end), pointing clockwise
    a = math.radians(300)
    mid = (outer + inner) / 2
    tip_x, tip_y = cx + mid * math.cos(a), cy + mid * math.sin(a)
    c.paint(polygon([(tip_x - 3.6, tip_y - 2.6), (tip_x + 1.6, tip_y + 0.6), (tip_x - 2.4, tip_y + 3.8)]), colour, 1)


def sheet(c, x, y, w=9, h=11):
    c.paint(rect(x, y, x + w, y + h), BLACK, 1)
    c.paint(rect(x + 0.8, y + 0.8, x + w - 0.8, y + h - 0.8), PAPER, 1)


def copy_sheets(c):
    sheet(c, 1, 1)
    sheet(c, 6, 4)


def draw_tray(c):
    book(c)


def draw_reloading(c):
    book(c, GREY)
    c.paint(circle(11, 11, 5), WHITE, 0.9)
    circular_arrow(c, GREEN, 11, 11, 4.6, 2.8)


def draw_options(c):
    c.paint(lambda x, y: any(line(8, 8, 8 + 7 * math.cos(math.radians(a)), 8 + 7 * math.sin(math.radians(a)), 2.6)(x, y)
                             for a in range(0, 360, 45)), GREY, 1)
    c.paint(circle(8, 8, 5), GREY, 1)
    c.paint(circle(8, 8, 2.2), WHITE, 1)


def draw_refresh(c):
    circular_arrow(c, GREEN)


def draw_about(c):
    c.paint(circle(8, 8, 7.2), BLUE, 1)
    c.paint(circle(8, 4.5, 1.3), WHITE, 1)
    c.paint(rect(6.9, 6.8, 9.1, 12.5), WHITE, 1)


def draw_exit(c):
    c.paint(circle(8, 8, 7.2), RED, 1)
    c.paint(line(5, 5, 11, 11, 2.2), WHITE, 1)
    c.paint(line(11, 5, 5, 11, 2.2), WHITE, 1)


def draw_properties(c):
    sheet(c, 3, 1, 10, 14)
    for y in (4, 6.5, 9, 11.5):
        c.paint(line(5, y, 11, y, 1), BLUE, 1)


def draw_browse(c):
    c.paint(circle(8, 8, 7.2), LIGHT_BLUE, 1)
    c.paint(ring(8, 8, 7.2, 6.3), BLUE, 1)
    c.paint(lambda x, y: ((x - 8) / 3.2) ** 2 + ((y - 8) / 7) ** 2 <= 1 and ((x - 8) / 2.3) ** 2 + ((y - 8) / 6.2) ** 2 >= 1,
            BLUE, 1)
    c.paint(rect(1, 7.5, 15, 8.5), BLUE, 1)
    c.paint(polygon([(3, 3), (7, 4), (6, 7), (3, 6)]), GREEN, 1)
    c.paint(polygon([(9, 9), (13, 9.5), (11, 13)]), GREEN, 1)


def draw_search(c):
    c.paint(ring(6.5, 6.5, 5.5, 3.8), BLACK, 1)
    c.paint(circle(6.5, 6.5, 3.8), LIGHT_BLUE, 0.8)
    c.paint(line(10.5, 10.5, 14.5, 14.5, 3), BLACK, 1)


def draw_copy_name(c):
    copy_sheets(c)
    c.paint(polygon([(8, 13), (10.5, 6), (11.5, 6), (14, 13), (12.7, 13), (11, 8), (9.3, 13)]), BLUE, 1)
    c.paint(rect(9.3, 10.5, 12.7, 11.4), BLUE, 1)


def draw_copy_location(c):
    copy_sheets(c)
    c.paint(circle(10.5, 9.5, 3.2), GREEN, 1)
    c.paint(ring(10.5, 9.5, 3.2, 2.4), BLUE, 1)
    c.paint(rect(7.5, 9.1, 13.5, 9.9), BLUE, 1)


def draw_copy_html(c):
    copy_sheets(c)
    c.paint(line(9.5, 7, 7.5, 9.5, 1.2), ORANGE, 1)
    c.paint(line(7.5, 9.5, 9.5, 12, 1.2), ORANGE, 1)
    c.paint(line(11.5, 7, 13.5, 9.5, 1.2), ORANGE, 1)
    c.paint(line(13.5, 9.5, 11.5, 12, 1.2), ORANGE, 1)


def draw_verify(c):
    c.paint(circle(8, 8, 7.2), GREEN, 1)
    c.paint(polygon([(3.5, 8), (5, 6.5), (7, 8.6), (11.2, 4), (12.7, 5.5), (7, 11.6)]), WHITE, 1)


def draw_quick_url(c):
    c.paint(rect(1, 4, 15, 12), BLACK, 1)
    c.paint(rect(2, 5, 14, 11), WHITE, 1)
    c.paint(polygon([(8.5, 0.5), (4, 9), (7.5, 9), (6, 15.5), (12, 6), (8.5, 6), (10.5, 0.5)]), YELLOW, 1)


# (file name, sizes, drawing)
ICONS = [
    ("tresk.ico", (32, 16), draw_tray),         # 10: the window class icon
    ("tray.ico", (16,), draw_tray),             # 11
    ("reloading.ico", (16,), draw_reloading),   # 12
    ("options.ico", (16,), draw_options),       # 4002
    ("refresh.ico", (16,), draw_refresh),       # 4003
    ("about.ico", (16,), draw_about),           # 4004
    ("exit.ico", (16,), draw_exit),             # 4005
    ("properties.ico", (16,), draw_properties), # 4006
    ("browse.ico", (16,), draw_browse),         # 4007
    ("search.ico", (16,), draw_search),         # 4008
    ("copy_name.ico", (16,), draw_copy_name),   # 4009
    ("copy_location.ico", (16,), draw_copy_location),  # 4010
    ("copy_html.ico", (16,), draw_copy_html),   # 4011
    ("verify.ico", (16,), draw_verify),         # 4012
    ("quick_url.ico", (16,), draw_quick_url),   # 4013
]


def icon_image(canvas):
    """One icon image: BITMAPINFOHEADER (double height for the mask), BGRA rows bottom-up, AND mask."""
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, n * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b"".join(bytes(v for (r, g, b, a) in canvas.pixels[y] for v in (b, g, r, a)) for y in reversed(range(n)))
    mask_stride = ((n + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(n)):
        row = bytearray(mask_stride)
        for x in range(n):
            if canvas.pixels[y][x][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + rows + bytes(mask)


def write_ico(path, canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.size % 256, c.size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


def write_png(path, canvas, zoom=4):
    n = canvas.size * zoom
    raw = b""
    for y in range(n):
        raw += b"\0" + bytes(v for x in range(n) for v in canvas.pixels[y // zoom][x // zoom])
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", n, n, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: draw_icons.py OUTPUT_DIR [--png]")
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for name, sizes, draw in ICONS:
        canvases = []
        for size in sizes:
            c = Canvas(size)
            draw(c)
            canvases.append(c)
        write_ico(os.path.join(out_dir, name), canvases)
        if "--png" in sys.argv:
            write_png(os.path.join(out_dir, name.replace(".ico", ".png")), canvases[-1])


if __name__ == "__main__":
    main()
