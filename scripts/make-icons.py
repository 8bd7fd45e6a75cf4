#!/usr/bin/env python3
"""Draws Zarn's icons and writes them as .ico files under res/icons/.

The build uses the committed .ico files, so Python is only needed to change the artwork.
Standard library only, and deterministic: the same bytes on every run.

    python3 scripts/make-icons.py [--preview build/icons-preview.png]
"""

import argparse
import math
import os
import re
import struct
import zlib

# ---------------------------------------------------------------- palette

OUTLINE = (44, 52, 68)
FRAME = (84, 100, 124)           # window borders, blue-grey
CAPTION = (46, 110, 204)
CAPTION_LIGHT = (110, 166, 236)
CAPTION_DIM = (128, 146, 172)    # windows behind the active one
BODY = (250, 251, 253)
BODY_SHADE = (222, 228, 236)
FOLDER = (246, 196, 72)
FOLDER_LIGHT = (253, 226, 140)
FOLDER_DARK = (222, 156, 40)
FOLDER_EDGE = (146, 94, 18)
RED = (218, 50, 42)
RED_EDGE = (128, 20, 16)
GREEN = (64, 170, 74)
GREEN_EDGE = (24, 92, 34)
BLUE = (52, 124, 222)
BLUE_EDGE = (22, 64, 140)
STEEL = (132, 146, 166)
STEEL_LIGHT = (196, 206, 220)
WHITE = (255, 255, 255)
HIGHLIGHT = (255, 170, 30)


# ---------------------------------------------------------------- canvas

class Canvas:
    """Straight (non-premultiplied) RGBA in floats, composited with 'over'."""

    SS = 4  # supersampling per axis for the anti-aliased shapes

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(w * h)]

    def blend(self, x, y, color, cover=1.0):
        if not (0 <= x < self.w and 0 <= y < self.h) or cover <= 0.0:
            return
        p = self.px[y * self.w + x]
        sa = min(cover, 1.0) * (color[3] / 255.0 if len(color) > 3 else 1.0)
        da = p[3]
        oa = sa + da * (1.0 - sa)
        if oa <= 0.0:
            return
        for i in range(3):
            p[i] = (color[i] / 255.0 * sa + p[i] * da * (1.0 - sa)) / oa
        p[3] = oa

    # Pixel-exact primitives keep small icons crisp; coordinates are inclusive.
    def rect(self, x0, y0, x1, y1, color):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.blend(x, y, color)

    def frame(self, x0, y0, x1, y1, color):
        for x in range(x0, x1 + 1):
            self.blend(x, y0, color)
            self.blend(x, y1, color)
        for y in range(y0 + 1, y1):
            self.blend(x0, y, color)
            self.blend(x1, y, color)

    def box(self, x0, y0, x1, y1, fill, edge):
        self.rect(x0, y0, x1, y1, fill)
        self.frame(x0, y0, x1, y1, edge)

    def line(self, x0, y0, x1, y1, color):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.blend(x0, y0, color)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    # Anti-aliased shapes: `inside(x, y)` in pixel units, pixel (i, j) covering [i, i+1) x [j, j+1).
    # The outline is the shape grown by `width` pixels, drawn first underneath the fill.
    def shape(self, inside, fill, edge=None, width=1.0):
        s = self.SS
        W, H = self.w * s, self.h * s
        mask = bytearray(W * H)
        for j in range(H):
            y = (j + 0.5) / s
            for i in range(W):
                if inside((i + 0.5) / s, y):
                    mask[j * W + i] = 1
        if edge is not None:
            r = int(round(width * s))
            kernel = [(dx, dy) for dy in range(-r, r + 1) for dx in range(-r, r + 1)
                      if dx * dx + dy * dy <= r * r + r]
            grown = bytearray(W * H)
            for j in range(H):
                for i in range(W):
                    if mask[j * W + i]:
                        for dx, dy in kernel:
                            u, v = i + dx, j + dy
                            if 0 <= u < W and 0 <= v < H:
                                grown[v * W + u] = 1
            self._stamp(grown, edge)
        self._stamp(mask, fill)

    def _stamp(self, mask, color):
        s = self.SS
        W = self.w * s
        for y in range(self.h):
            for x in range(self.w):
                n = 0
                for j in range(y * s, y * s + s):
                    row = j * W
                    for i in range(x * s, x * s + s):
                        n += mask[row + i]
                if n:
                    self.blend(x, y, color, n / float(s * s))

    def rgba8(self):
        out = []
        for p in self.px:
            out.append(tuple(int(round(max(0.0, min(1.0, c)) * 255)) for c in p))
        return out


# ---------------------------------------------------------------- shape helpers

def polygon(points):
    def inside(x, y):
        c = False
        n = len(points)
        for k in range(n):
            x0, y0 = points[k]
            x1, y1 = points[(k + 1) % n]
            if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                c = not c
        return c
    return inside


def capsule(x0, y0, x1, y1, half):
    def inside(x, y):
        vx, vy = x1 - x0, y1 - y0
        t = ((x - x0) * vx + (y - y0) * vy) / (vx * vx + vy * vy)
        t = max(0.0, min(1.0, t))
        px, py = x0 + t * vx - x, y0 + t * vy - y
        return px * px + py * py <= half * half
    return inside


def union(*fs):
    return lambda x, y: any(f(x, y) for f in fs)


def window(c, x0, y0, x1, y1, active=True, cap=2, body=BODY):
    """A shell folder window: dark border, caption rows, pale client area."""
    c.box(x0, y0, x1, y1, body, OUTLINE if active else FRAME)
    c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + cap, CAPTION if active else CAPTION_DIM)
    if active and x1 - x0 >= 8:
        c.rect(x0 + 1, y0 + 1, x1 - 1, y0 + 1, CAPTION_LIGHT)


def folder(c, x0, y0, x1, y1, tab=None):
    """Closed manila folder with its tab on the top left."""
    tab = tab if tab is not None else max(3, (x1 - x0) * 2 // 5)
    c.box(x0, y0, x0 + tab, y0 + 2, FOLDER_DARK, FOLDER_EDGE)
    c.box(x0, y0 + 2, x1, y1, FOLDER, FOLDER_EDGE)
    c.rect(x0 + 1, y0 + 3, x1 - 1, y0 + 3, FOLDER_LIGHT)
    c.blend(x0 + tab, y0 + 2, FOLDER_EDGE)


def arrow_up(cx, tip, base, bottom, head_half, shaft_half):
    return polygon([(cx, tip), (cx + head_half, base), (cx + shaft_half, base),
                    (cx + shaft_half, bottom), (cx - shaft_half, bottom),
                    (cx - shaft_half, base), (cx - head_half, base)])


def flip_v(f, h):
    return lambda x, y: f(x, h - y)


# ---------------------------------------------------------------- the icons

def icon_cascade():
    c = Canvas(16, 16)
    window(c, 0, 0, 9, 7, active=False)
    window(c, 3, 3, 12, 10, active=False)
    window(c, 6, 7, 15, 15)
    return c


def icon_tile():
    c = Canvas(16, 16)
    for x0, y0 in ((0, 0), (8, 0), (0, 8), (8, 8)):
        window(c, x0, y0, x0 + 7, y0 + 7, active=True)
    return c


def icon_close_all():
    c = Canvas(16, 16)
    window(c, 3, 0, 15, 10, active=False)
    window(c, 0, 3, 12, 15)
    x = union(capsule(3.5, 7.5, 9.5, 13.5, 1.05), capsule(9.5, 7.5, 3.5, 13.5, 1.05))
    c.shape(x, RED, RED_EDGE, 0.75)
    return c


def icon_settings():
    c = Canvas(16, 16)
    cx, cy, teeth = 8.0, 8.0, 8

    def gear(x, y):
        dx, dy = x - cx, y - cy
        r = math.hypot(dx, dy)
        if r < 2.3:
            return False
        a = (math.atan2(dy, dx) + math.pi / teeth) % (2 * math.pi / teeth)
        tooth = abs(a - math.pi / teeth) < 0.24 * (2 * math.pi / teeth)
        return r <= (6.9 if tooth else 5.2)

    c.shape(gear, STEEL, OUTLINE, 0.8)
    c.shape(lambda x, y: 3.1 <= math.hypot(x - cx, y - cy) <= 4.2, STEEL_LIGHT)
    return c


def icon_organise():
    c = Canvas(16, 16)
    c.box(0, 1, 10, 14, BODY, OUTLINE)
    for y in (3, 7, 11):
        c.box(2, y, 3, y + 1, BLUE, BLUE)
        c.rect(5, y, 8, y + 1, STEEL)
    up = arrow_up(13.0, 0.6, 5.2, 8.0, 2.9, 1.0)
    c.shape(union(up, flip_v(up, 16.0)), GREEN, GREEN_EDGE, 0.75)
    return c


def icon_load():
    c = Canvas(16, 16)
    # The back of an open folder, its front flap tilted down toward the viewer.
    c.box(0, 5, 5, 7, FOLDER_DARK, FOLDER_EDGE)
    c.box(0, 7, 13, 15, FOLDER_DARK, FOLDER_EDGE)
    c.shape(polygon([(3.0, 10.0), (16.0, 10.0), (13.0, 16.0), (0.0, 16.0)]),
            FOLDER, FOLDER_EDGE, 0.9)
    c.rect(3, 11, 13, 11, FOLDER_LIGHT)
    up = arrow_up(11.0, 0.6, 5.0, 10.0, 4.0, 1.0)
    c.shape(up, GREEN, GREEN_EDGE, 0.8)
    return c


def icon_save():
    c = Canvas(16, 16)
    c.shape(polygon([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)]), BLUE, BLUE_EDGE, 1.0)
    c.box(4, 1, 11, 5, STEEL_LIGHT, BLUE_EDGE)      # metal shutter
    c.rect(8, 2, 9, 4, STEEL)                        # its slot
    c.box(3, 8, 12, 14, BODY, BLUE_EDGE)            # label
    c.rect(5, 10, 10, 10, STEEL)
    c.rect(5, 12, 9, 12, STEEL)
    return c


def icon_new():
    c = Canvas(16, 16)
    folder(c, 0, 4, 13, 15, tab=5)
    plus = union(polygon([(9.8, 2.0), (15.7, 2.0), (15.7, 4.4), (9.8, 4.4)]),
                 polygon([(11.55, 0.3), (13.95, 0.3), (13.95, 6.1), (11.55, 6.1)]))
    c.shape(plus, GREEN, GREEN_EDGE, 0.8)
    return c


def icon_titlebar():
    c = Canvas(16, 16)
    window(c, 0, 1, 15, 14, cap=4, body=BODY_SHADE)
    c.rect(1, 2, 14, 2, CAPTION_LIGHT)
    c.rect(2, 3, 7, 3, WHITE)                        # caption text
    c.rect(12, 3, 13, 4, WHITE)                      # close button
    c.frame(0, 0, 15, 6, HIGHLIGHT)                  # the selection around the caption
    c.rect(0, 6, 15, 6, HIGHLIGHT)
    for y in (8, 10, 12):
        c.rect(2, y, 11 if y < 12 else 8, y, (176, 186, 200))
    return c


def icon_exit():
    c = Canvas(16, 16)
    cx, cy = 8.0, 8.6

    def ring(x, y):
        r = math.hypot(x - cx, y - cy)
        if not (4.3 <= r <= 6.4):
            return False
        return not (y < cy and abs(x - cx) < 2.9)  # open at the top

    bar = polygon([(7.0, 0.8), (9.0, 0.8), (9.0, 8.4), (7.0, 8.4)])
    c.shape(ring, RED, RED_EDGE, 0.8)
    c.shape(bar, RED, RED_EDGE, 0.8)
    return c


def icon_move_up():
    c = Canvas(16, 16)
    c.shape(arrow_up(8.0, 1.0, 8.0, 14.0, 6.0, 2.0), BLUE, BLUE_EDGE, 1.0)
    return c


def icon_move_down():
    c = Canvas(16, 16)
    c.shape(flip_v(arrow_up(8.0, 1.0, 8.0, 14.0, 6.0, 2.0), 16.0), BLUE, BLUE_EDGE, 1.0)
    return c


def icon_region():
    c = Canvas(16, 16)
    c.rect(2, 2, 13, 13, (52, 124, 222, 56))        # the translucent selected area
    for k in range(2, 14):
        dark = ((k // 2) % 2) == 0
        col = OUTLINE if dark else WHITE
        c.blend(k, 2, col)
        c.blend(k, 13, col)
        c.blend(2, k, col)
        c.blend(13, k, col)
    for x, y in ((1, 1), (12, 1), (1, 12), (12, 12)):
        c.box(x, y, x + 2, y + 2, WHITE, BLUE_EDGE)
    return c


def icon_app(size):
    """Folder windows in a stack, the front one showing a folder: what the program arranges."""
    c = Canvas(size, size)
    if size == 16:
        window(c, 4, 0, 15, 9, active=False)
        window(c, 0, 4, 12, 15)
        folder(c, 3, 8, 9, 13, tab=2)
        return c
    window(c, 12, 0, 31, 15, active=False, cap=3)
    window(c, 6, 5, 25, 20, active=False, cap=3)
    window(c, 0, 10, 22, 31, cap=4)
    c.rect(18, 12, 20, 13, WHITE)                   # close box
    folder(c, 4, 17, 17, 28, tab=5)
    c.rect(5, 20, 16, 20, FOLDER_LIGHT)
    return c


# The image list's drawings, by the name res/resource.h gives each index (ZARN_IMAGE_<NAME>).
DRAWINGS = {
    "CASCADE": icon_cascade,
    "TILE": icon_tile,
    "CLOSE_ALL": icon_close_all,
    "SETTINGS": icon_settings,
    "ORGANISE": icon_organise,
    "LOAD": icon_load,
    "SAVE": icon_save,
    "NEW": icon_new,
    "TITLEBAR": icon_titlebar,
    "EXIT": icon_exit,
    "MOVE_UP": icon_move_up,
    "MOVE_DOWN": icon_move_down,
    "REGION": icon_region,
}


def image_list_order(header):
    """The image names in index order, as the header defines them; fails when it and DRAWINGS differ."""
    with open(header, encoding="utf-8") as f:
        found = re.findall(r"^#define ZARN_IMAGE_(\w+) (\d+)", f.read(), re.M)
    order = sorted((int(index), name) for name, index in found)
    if [i for i, _ in order] != list(range(len(order))) or {n for _, n in order} != set(DRAWINGS):
        raise SystemExit(f"{header}: the ZARN_IMAGE_ indices must be 0..n-1 and name each of {sorted(DRAWINGS)}")
    return [name for _, name in order]


def image_file(name):
    return "image-" + name.lower().replace("_", "-")



# ---------------------------------------------------------------- the region editor's glyphs
# Drawn in a 16-unit design square and scaled, so each glyph can carry a second, larger image for
# high DPI without being redrawn by hand.

def scaled(f, size):
    k = 16.0 / size
    return lambda x, y: f(x * k, y * k)


def flip_h(f, w):
    return lambda x, y: f(w - x, y)


def corner_top_left(x, y):
    """An arrow heading for the top-left corner, which an L bracket marks."""
    bracket = polygon([(0.7, 0.7), (8.6, 0.7), (8.6, 2.7), (2.7, 2.7), (2.7, 8.6), (0.7, 8.6)])
    head = polygon([(5.4, 5.4), (11.4, 5.4), (5.4, 11.4)])
    shaft = capsule(8.0, 8.0, 13.8, 13.8, 1.2)
    return bracket(x, y) or head(x, y) or shaft(x, y)


def glyph_corner(size, flip_x, flip_y):
    c = Canvas(size, size)
    f = corner_top_left
    if flip_x:
        f = flip_h(f, 16.0)
    if flip_y:
        f = flip_v(f, 16.0)
    c.shape(scaled(f, size), BLUE, BLUE_EDGE, 0.7 * size / 16.0)
    return c


def glyph_confirm(size):
    c = Canvas(size, size)
    tick = union(capsule(2.6, 8.6, 6.4, 12.4, 1.55), capsule(6.4, 12.4, 13.4, 3.4, 1.55))
    c.shape(scaled(tick, size), GREEN, GREEN_EDGE, 0.75 * size / 16.0)
    return c


def glyph_move(size):
    """Four arrows from a centre: the handle that carries the whole region."""
    c = Canvas(size, size)
    up = arrow_up(8.0, 0.5, 4.4, 8.0, 3.3, 1.0)

    def turn(f):  # a quarter turn about the centre
        return lambda x, y: f(y, 16.0 - x)

    right = turn(up)
    cross = union(up, flip_v(up, 16.0), right, flip_h(right, 16.0))
    c.shape(scaled(cross, size), STEEL_LIGHT, OUTLINE, 0.75 * size / 16.0)
    c.shape(scaled(lambda x, y: math.hypot(x - 8.0, y - 8.0) <= 1.6, size), BLUE)
    return c


# File name, then the images: the buttons' glyphs at 16 and 32 pixels, the handle at its design
# size of 20 and at 40.
GLYPHS = [
    ("corner-top-left", lambda s: glyph_corner(s, False, False), (16, 32)),
    ("corner-top-right", lambda s: glyph_corner(s, True, False), (16, 32)),
    ("corner-bottom-left", lambda s: glyph_corner(s, False, True), (16, 32)),
    ("corner-bottom-right", lambda s: glyph_corner(s, True, True), (16, 32)),
    ("confirm", glyph_confirm, (16, 32)),
    ("move", glyph_move, (20, 40)),
]


# ---------------------------------------------------------------- file formats

def ico_bytes(canvases):
    """ICONDIR + entries + DIB images (32-bit BGRA bottom-up, then the 1-bit AND mask)."""
    images = []
    for cv in canvases:
        w, h = cv.w, cv.h
        pix = cv.rgba8()
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = pix[y * w + x]
                xor += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                if pix[y * w + x][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        body = header[:20] + struct.pack("<I", len(xor) + len(mask)) + header[24:]
        images.append((w, h, body + bytes(xor) + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    return out


def png_bytes(w, h, rgb_rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    raw = b"".join(b"\x00" + bytes(row) for row in rgb_rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def preview(path, tiles):
    """Each icon enlarged (to 128 px) and at actual size, on light grey and on dark."""
    cell, pad, per_row = 128, 16, 8
    rows = (len(tiles) + per_row - 1) // per_row
    band_h = rows * (cell + pad + 40) + pad
    W = per_row * (cell + pad) + pad
    H = 2 * band_h
    img = [bytearray(W * 3) for _ in range(H)]
    for band, bg in enumerate(((214, 214, 214), (40, 42, 48))):
        for y in range(band * band_h, (band + 1) * band_h):
            img[y][:] = bytes(bg) * W
        for n, cv in enumerate(tiles):
            ox = pad + (n % per_row) * (cell + pad)
            oy = band * band_h + pad + (n // per_row) * (cell + pad + 40)
            scale = cell // cv.w
            pix = cv.rgba8()
            for y in range(cv.h * scale):              # sizes that do not divide the cell stay whole
                for x in range(cv.w * scale):
                    r, g, b, a = pix[(y // scale) * cv.w + (x // scale)]
                    row = img[oy + y]
                    k = (ox + x) * 3
                    for i, v in enumerate((r, g, b)):
                        row[k + i] = int(round(v * a / 255.0 + bg[i] * (1 - a / 255.0)))
            for y in range(cv.h):                     # actual size, under the enlargement
                for x in range(cv.w):
                    r, g, b, a = pix[y * cv.w + x]
                    row = img[oy + cell + 6 + y]
                    k = (ox + x) * 3
                    for i, v in enumerate((r, g, b)):
                        row[k + i] = int(round(v * a / 255.0 + bg[i] * (1 - a / 255.0)))
    os.makedirs(os.path.dirname(path) or ".", exist_ok=True)
    with open(path, "wb") as f:
        f.write(png_bytes(W, H, img))


def strip_bmp_bytes(canvases):
    """One 32-bit BMP holding the 16x16 command images side by side: the image list is filled from it
    in one call at the usual DPI, where loading thirteen icons one by one costs noticeable start-up time."""
    h = canvases[0].h
    w = sum(cv.w for cv in canvases)
    rows = []
    pixels = [cv.rgba8() for cv in canvases]
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for cv, pix in zip(canvases, pixels):
            for x in range(cv.w):
                r, g, b, a = pix[y * cv.w + x]
                row += bytes((b, g, r, a))
        rows.append(bytes(row))
    data = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 32, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    return head + info + data


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="PATH", default="build/icons-preview.png",
                    help="where to write the enlarged preview (default: %(default)s)")
    args = ap.parse_args()

    outdir = os.path.join("res", "icons")
    os.makedirs(outdir, exist_ok=True)
    app16, app32 = icon_app(16), icon_app(32)
    with open(os.path.join(outdir, "zarn.ico"), "wb") as f:
        f.write(ico_bytes([app16, app32]))
    tiles = [app16, app32]
    commands = []
    for name in image_list_order(os.path.join("res", "resource.h")):
        cv = DRAWINGS[name]()
        with open(os.path.join(outdir, image_file(name) + ".ico"), "wb") as f:
            f.write(ico_bytes([cv]))
        tiles.append(cv)
        commands.append(cv)
    with open(os.path.join(outdir, "imagelist.bmp"), "wb") as f:
        f.write(strip_bmp_bytes(commands))
    for name, draw, sizes in GLYPHS:
        images = [draw(size) for size in sizes]
        with open(os.path.join(outdir, name + ".ico"), "wb") as f:
            f.write(ico_bytes(images))
        tiles.extend(images)
    preview(args.preview, tiles)


if __name__ == "__main__":
    main()
