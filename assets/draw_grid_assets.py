#!/usr/bin/env python3
"""Draws the pictures of the grid library into this folder: check boxes and radio buttons of the
two bitmap control styles and of the flat "metro" look, node glyphs, the filter funnel, the close
pictures, the spin arrows, the search footer's button pictures, the wheel-panning origin marks
and the colour spectrum of the colour picker.

Transparency: the grid draws most of these pictures with the colour of one corner pixel taken as
transparent (the bottom-left one for bitmaps drawn "automatically", the top-left one where a
routine copies through a background brush). Every picture with a transparent part therefore
keeps all four corners in KEY, a colour used nowhere else in it.

Pure Python (BMP files), so it needs nothing but the interpreter:
    python3 assets/draw_grid_assets.py
"""
import colorsys
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)


class Image:
    def __init__(self, w, h, bg=KEY):
        self.w, self.h = w, h
        self.px = [[bg for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def get(self, x, y):
        return self.px[y][x]

    def rect(self, x0, y0, x1, y1, c):  # inclusive
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def vgradient(self, x0, y0, x1, y1, c0, c1):
        n = max(1, y1 - y0)
        for y in range(y0, y1 + 1):
            t = (y - y0) / n
            c = tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1))
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def disc_gradient(self, cx, cy, r, c0, c1):
        # filled disc shaded from c0 at its upper left to c1 at its lower right
        for y in range(self.h):
            for x in range(self.w):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                if dx * dx + dy * dy <= r * r:
                    t = min(1.0, max(0.0, ((dx + dy) / (2 * r)) + 0.5))
                    self.set(x, y, tuple(int(round(a + (b - a) * t)) for a, b in zip(c0, c1)))

    def ring(self, cx, cy, r0, r1, c):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if r0 <= d <= r1:
                    self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=1):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(n + 1):
            t = i / n
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dy in range(-(width // 2), width - width // 2):
                for dx in range(-(width // 2), width - width // 2):
                    self.set(int(round(x)) + dx, int(round(y)) + dy, c)

    def polygon(self, pts, c):
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            xs = []
            for i in range(len(pts)):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
                if (ay <= y + 0.5 < by) or (by <= y + 0.5 < ay):
                    xs.append(ax + (y + 0.5 - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(round(a)), int(round(b))):
                    self.set(x, y, c)

    def key_corners(self):
        for x, y in ((0, 0), (self.w - 1, 0), (0, self.h - 1), (self.w - 1, self.h - 1)):
            self.set(x, y, KEY)

    def check_key(self, name):
        # KEY only where the picture is meant to be see-through: never inside a drawn shape
        assert self.get(0, self.h - 1) == KEY and self.get(0, 0) == KEY, name

    def save(self, name, transparent=True):
        if transparent:
            self.check_key(name)
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            data += line + b'\0' * (row - len(line))
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(os.path.join(HERE, name + '.bmp'), 'wb') as f:
            f.write(header + info + data)

    def save16(self, name):
        """A 4-bit (16-colour) bitmap with the picture's own palette."""
        self.check_key(name)
        palette = []
        for row in self.px:
            for c in row:
                if c not in palette:
                    palette.append(c)
        assert len(palette) <= 16, name
        palette += [(0, 0, 0)] * (16 - len(palette))
        row = ((self.w * 4 + 31) // 32) * 4
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            nib = [palette.index(c) for c in self.px[y]]
            if len(nib) % 2:
                nib.append(0)
            line = bytearray((nib[i] << 4) | nib[i + 1] for i in range(0, len(nib), 2))
            data += line + b'\0' * (row - len(line))
        pal = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
        off = 14 + 40 + len(pal)
        header = struct.pack('<2sIHHI', b'BM', off + len(data), 0, 0, off)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
        with open(os.path.join(HERE, name + '.bmp'), 'wb') as f:
            f.write(header + info + pal + data)


WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (128, 128, 128)
SILVER = (192, 192, 192)
DARK = (64, 64, 64)

# ---- check boxes and radio buttons (15 x 15 and 16 x 16) ----------------------------------------

# Two looks of the bitmap control styles: a crisp blue box with a blue tick (numbers 01-04) and a
# softer box with a green tick (numbers 05-08). Numbering in each group of four:
# checked enabled, unchecked enabled, checked disabled, unchecked disabled.
STYLES = {
    'blue': dict(border=(44, 90, 150), top=(255, 255, 255), bottom=(214, 228, 244),
                 mark=(28, 64, 128), dis_border=(170, 176, 184), dis_fill=(240, 240, 240),
                 dis_mark=(160, 164, 170)),
    'soft': dict(border=(33, 70, 120), top=(226, 226, 220), bottom=(252, 252, 250),
                 mark=(36, 150, 48), dis_border=(200, 198, 186), dis_fill=(246, 246, 242),
                 dis_mark=(196, 194, 184)),
}


def tick(img, ox, oy, c):
    # a 3-pixel-thick tick mark anchored at (ox, oy) = top-left of a 7 x 7 area
    pts = [(0, 2), (1, 3), (2, 4), (3, 3), (4, 2), (5, 1), (6, 0)]
    for x, y in pts:
        for d in range(3):
            img.set(ox + x, oy + y + d, c)


def check_box(style, checked, enabled):
    s = STYLES[style]
    img = Image(15, 15)
    # 13 x 13 box at (1, 1); the outer ring of the picture stays transparent
    if enabled:
        img.vgradient(2, 2, 12, 12, s['top'], s['bottom'])
        img.frame(1, 1, 13, 13, s['border'])
    else:
        img.rect(2, 2, 12, 12, s['dis_fill'])
        img.frame(1, 1, 13, 13, s['dis_border'])
    if style == 'blue':
        # rounded corners of the frame
        for x, y in ((1, 1), (13, 1), (1, 13), (13, 13)):
            img.set(x, y, KEY)
    if checked:
        tick(img, 4, 4, s['mark'] if enabled else s['dis_mark'])
    return img


def radio(style, on, enabled):
    s = STYLES[style]
    img = Image(16, 16)
    if enabled:
        img.disc_gradient(8, 8, 6.5, s['top'], s['bottom'])
        img.ring(8, 8, 5.4, 6.7, s['border'])
    else:
        img.disc(8, 8, 6.5, s['dis_fill'])
        img.ring(8, 8, 5.4, 6.7, s['dis_border'])
    if on:
        img.disc(8, 8, 2.9, s['mark'] if enabled else s['dis_mark'])
    return img


def checks_and_radios():
    order = [(True, True), (False, True), (True, False), (False, False)]
    for base, style in ((1, 'blue'), (5, 'soft')):
        for i, (on, enabled) in enumerate(order):
            check_box(style, on, enabled).save('ASGCHK%02d' % (base + i))
            radio(style, on, enabled).save('ASGRAD%02d' % (base + i))


# The flat look: plain outlines, filled accent when on.
METRO_ACCENT = (0, 114, 198)
METRO_LINE = (110, 110, 110)


def metro():
    img = Image(15, 15)
    img.rect(1, 1, 13, 13, WHITE)
    img.frame(1, 1, 13, 13, METRO_LINE)
    img.save('metrocheckoff')

    img = Image(15, 15)
    img.rect(1, 1, 13, 13, METRO_ACCENT)
    tick(img, 4, 4, WHITE)
    img.save('metrocheckon')

    img = Image(16, 16)
    img.disc(8, 8, 6.5, WHITE)
    img.ring(8, 8, 5.4, 6.7, METRO_LINE)
    img.save('metroradiooff')

    img = Image(16, 16)
    img.disc(8, 8, 6.5, WHITE)
    img.ring(8, 8, 5.4, 6.7, METRO_ACCENT)
    img.disc(8, 8, 3.2, METRO_ACCENT)
    img.save('metroradioon')


# ---- node glyphs -------------------------------------------------------------------------------

def nodes():
    # 12 x 12 leaf glyphs: a filled triangle pointing down (open) or an outlined one pointing right
    img = Image(12, 12)
    img.polygon([(2, 4), (10, 4), (6, 8.5)], DARK)
    img.save('ASGLEAFOPEN')
    img = Image(12, 12)
    img.line(4, 2, 4, 10, DARK)
    img.line(4, 2, 8, 6, DARK)
    img.line(4, 10, 8, 6, DARK)
    img.save('ASGLEAFCLOSE')

    # 10 x 10 boxed plus and minus: the box fills (0, 0)-(8, 8), corners rounded off
    for name, plus in (('XPNODEO', False), ('XPNODEC', True)):
        img = Image(10, 10)
        img.vgradient(1, 1, 7, 7, WHITE, (206, 214, 226))
        img.frame(0, 0, 8, 8, (120, 140, 170))
        img.set(0, 0, KEY)
        img.set(8, 0, KEY)
        img.set(0, 8, KEY)
        img.set(8, 8, KEY)
        img.line(2, 4, 6, 4, BLACK)
        if plus:
            img.line(4, 2, 4, 6, BLACK)
        img.save(name)


# ---- filter funnel, close pictures --------------------------------------------------------------

def funnel():
    img = Image(16, 16)
    body = (70, 110, 170)
    light = (160, 195, 235)
    img.polygon([(1, 2), (15, 2), (10, 8), (10, 14), (6, 14), (6, 8)], body)
    img.polygon([(3.5, 3), (12.5, 3), (8.5, 7.5), (7.5, 7.5)], light)
    img.save('ASGFILT')


def close_pictures():
    # 16 x 16: normal (grey cross), hot (white cross on red), down (white cross on dark red)
    def cross(img, c):
        for d in range(2):
            img.line(4 + d, 4, 11, 11 - d, c)
            img.line(11 - d, 4, 4, 11 - d, c)
            img.line(4, 4 + d, 11 - d, 11, c)
            img.line(4, 11 - d, 11 - d, 4, c)

    img = Image(16, 16)
    cross(img, (90, 90, 90))
    img.save('ASGCLOSE')
    for name, back in (('ASGCLOSEH', (220, 60, 50)), ('ASGCLOSED', (150, 30, 25))):
        img = Image(16, 16)
        img.rect(1, 1, 14, 14, back)
        for x, y in ((1, 1), (14, 1), (1, 14), (14, 14)):
            img.set(x, y, KEY)
        cross(img, WHITE)
        img.save(name)


# ---- spin arrows (9 x 6, 16 colours) -----------------------------------------------------------

def spin():
    up = Image(9, 6)
    up.polygon([(0.5, 5), (8.5, 5), (4.5, 1)], BLACK)
    up.save16('AsgSpinUp')
    down = Image(9, 6)
    down.polygon([(0.5, 1), (8.5, 1), (4.5, 5)], BLACK)
    down.save16('AsgSpinDown')


# ---- search footer buttons (16 x 16) -----------------------------------------------------------

ARROW = (40, 110, 60)
DISABLED = (165, 165, 165)


def search_footer():
    for name, c in (('ASGARDOWN', ARROW), ('ASGARDOWND', DISABLED)):
        img = Image(16, 16)
        img.rect(6, 2, 9, 8, c)
        img.polygon([(2, 8), (14, 8), (8, 14)], c)
        img.save(name)
    for name, c in (('ASGARUP', ARROW), ('ASGARUPD', DISABLED)):
        img = Image(16, 16)
        img.rect(6, 7, 9, 13, c)
        img.polygon([(2, 8), (14, 8), (8, 2)], c)
        img.save(name)
    # highlighter: a tilted marker over a yellow stroke
    for name, enabled in (('ASGHI', True), ('ASGHID', False)):
        img = Image(16, 16)
        stroke = (250, 220, 40) if enabled else (220, 220, 220)
        body = (60, 60, 60) if enabled else DISABLED
        tip = (230, 180, 0) if enabled else (190, 190, 190)
        img.rect(1, 13, 14, 14, stroke)
        img.line(12, 3, 7, 8, body, width=4)
        img.line(6, 9, 4, 11, tip, width=2)
        img.set(3, 12, tip)
        img.save(name)


# ---- wheel panning origin marks (25 x 25) ------------------------------------------------------

def pan_marks():
    for name, horz, vert in (('INTLI1', True, True), ('INTLI2', True, False), ('INTLI3', False, True)):
        img = Image(25, 25)
        img.disc(12.5, 12.5, 12, WHITE)
        img.ring(12.5, 12.5, 11, 12.2, GREY)
        img.disc(12.5, 12.5, 1.6, BLACK)
        if vert:
            img.polygon([(8.5, 8), (16.5, 8), (12.5, 3.5)], BLACK)
            img.polygon([(8.5, 17), (16.5, 17), (12.5, 21.5)], BLACK)
        if horz:
            img.polygon([(8, 8.5), (8, 16.5), (3.5, 12.5)], BLACK)
            img.polygon([(17, 8.5), (17, 16.5), (21.5, 12.5)], BLACK)
        img.save(name)


# ---- wheel panning pointers PAN8000 .. PAN8008 (32 x 32, hot spot in the middle) ----------------
# 8000 none, 8001 down, 8002 left, 8003 right, 8004 up, 8005 up-right, 8006 up-left,
# 8007 down-right, 8008 down-left: a small origin ring and a black arrow with a white rim
# pointing the way the view travels.

PAN_POINTERS = (
    (8000, 0, 0), (8001, 1, 0), (8002, 0, -1), (8003, 0, 1), (8004, -1, 0),
    (8005, -1, 1), (8006, -1, -1), (8007, 1, 1), (8008, 1, -1),
)


def pan_pointers():
    for number, v, h in PAN_POINTERS:
        img = Image(32, 32)
        img.ring(16, 16, 3, 5, BLACK)
        img.disc(16, 16, 1.5, BLACK)
        if v == 0 and h == 0:
            # every way open: four small arrow heads around the ring
            for dx, dy in ((0, -1), (0, 1), (-1, 0), (1, 0)):
                tip = (16 + dx * 14, 16 + dy * 14)
                base = (16 + dx * 8, 16 + dy * 8)
                px, py = -dy, dx
                pts = [tip, (base[0] + px * 4, base[1] + py * 4), (base[0] - px * 4, base[1] - py * 4)]
                img.polygon(pts, WHITE)
                inner = [(tip[0] - dx, tip[1] - dy), (base[0] + px * 3 + dx, base[1] + py * 3 + dy),
                         (base[0] - px * 3 + dx, base[1] - py * 3 + dy)]
                img.polygon(inner, BLACK)
        else:
            n = math.hypot(h, v)
            dx, dy = h / n, v / n
            px, py = -dy, dx
            tip = (16 + dx * 15, 16 + dy * 15)
            base = (16 + dx * 6, 16 + dy * 6)
            outer = [tip, (base[0] + px * 7, base[1] + py * 7), (base[0] - px * 7, base[1] - py * 7)]
            img.polygon(outer, WHITE)
            inner = [(tip[0] - dx * 2, tip[1] - dy * 2), (base[0] + px * 5 + dx, base[1] + py * 5 + dy),
                     (base[0] - px * 5 + dx, base[1] - py * 5 + dy)]
            img.polygon(inner, BLACK)
        img.key_corners()
        img.save('PAN%d' % number)


# ---- colour spectrum of the colour picker (128 x 128, opaque) ----------------------------------

def spectrum():
    img = Image(128, 128, WHITE)
    for y in range(128):
        for x in range(128):
            r, g, b = colorsys.hsv_to_rgb((x * 360 / 128) / 360.0, 1.0, 1.0)
            full = (r * 255, g * 255, b * 255)
            if y <= 63:
                t = y / 63.0  # white at the top, the full hue in row 63
                c = tuple(255 + (v - 255) * t for v in full)
            else:
                t = (y - 64) / 63.0  # the full hue in row 64, black at the bottom
                c = tuple(v * (1 - t) for v in full)
            img.set(x, y, tuple(int(round(v)) for v in c))
    img.save('ORLEX_SPECTRUM', transparent=False)


if __name__ == '__main__':
    checks_and_radios()
    metro()
    nodes()
    funnel()
    close_pictures()
    spin()
    search_footer()
    pan_marks()
    pan_pointers()
    spectrum()
