#!/usr/bin/env python3
"""Draws the program's own pictures into this folder: the glyphs of the main window's buttons,
the product picture of the about box and two flag pictures for the LANGUAGE folder.

Pure Python (24-bit BMP files), so it needs nothing but the interpreter:
    python3 assets/draw_assets.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)  # transparent colour of the glyphs (the bottom-left pixel)


class Image:
    def __init__(self, w, h, bg):
        self.w, self.h = w, h
        self.px = [[bg for _ in range(w)] for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

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

    def disc(self, cx, cy, r, c):
        for y in range(self.h):
            for x in range(self.w):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)

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

    def save(self, name):
        row = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for r, g, b in self.px[y]:
                line += bytes((b, g, r))
            data += line + b'\0' * (row - len(line))
        header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
        info = struct.pack('<IiiHHIIiiII', 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        with open(os.path.join(HERE, name), 'wb') as f:
            f.write(header + info + data)


BLUE = (30, 96, 170)
LIGHT = (120, 170, 225)
DARK = (40, 40, 40)
GREY = (128, 128, 128)
WHITE = (255, 255, 255)
PAPER = (250, 250, 245)
GREEN = (40, 150, 70)
ORANGE = (235, 140, 30)
RED = (200, 40, 40)
YELLOW = (245, 200, 40)


def page(img, x0, y0, x1, y1):
    img.rect(x0, y0, x1, y1, PAPER)
    img.frame(x0, y0, x1, y1, GREY)
    img.polygon([(x1 - 5, y0), (x1 + 1, y0), (x1 + 1, y0 + 6)], KEY)
    img.line(x1 - 5, y0, x1 - 5, y0 + 5, GREY)
    img.line(x1 - 5, y0 + 5, x1, y0 + 5, GREY)


def glyphs():
    # 24 x 24 glyphs of the step buttons
    g = Image(24, 24, KEY)
    page(g, 4, 2, 17, 21)
    g.disc(17, 17, 6, GREEN)
    g.rect(16, 13, 17, 20, WHITE)
    g.rect(13, 16, 20, 17, WHITE)
    g.save('GLYPH_NEW.bmp')

    g = Image(24, 24, KEY)
    g.rect(2, 6, 10, 8, ORANGE)
    g.rect(2, 8, 20, 19, YELLOW)
    g.polygon([(5, 11), (23, 11), (20, 20), (2, 20)], ORANGE)
    g.frame(2, 8, 20, 19, (180, 110, 20))
    g.save('GLYPH_OPEN.bmp')

    g = Image(24, 24, KEY)
    for i, y in enumerate((5, 11, 17)):
        g.rect(3, y, 20, y + 1, GREY)
        x = (15, 7, 12)[i]
        g.rect(x - 2, y - 2, x + 2, y + 3, BLUE)
    g.save('GLYPH_PARAMS.bmp')

    g = Image(24, 24, KEY)
    g.rect(2, 3, 21, 20, WHITE)
    g.rect(2, 3, 21, 7, BLUE)
    for y in (11, 15):
        g.line(2, y, 21, y, LIGHT)
    for x in (8, 14):
        g.line(x, 3, x, 20, LIGHT)
    g.frame(2, 3, 21, 20, BLUE)
    g.save('GLYPH_TABLE.bmp')

    g = Image(24, 24, KEY)
    g.rect(3, 12, 20, 20, GREY)
    g.frame(3, 12, 20, 20, DARK)
    g.disc(7, 16, 1.5, GREEN)
    g.polygon([(12, 2), (18, 8), (14, 8), (14, 12), (10, 12), (10, 8), (6, 8)], BLUE)
    g.save('GLYPH_UPDATE.bmp')

    g = Image(24, 24, KEY)
    page(g, 5, 2, 18, 21)
    for y in (8, 11, 14, 17):
        g.line(8, y, 15, y, LIGHT)
    g.save('GLYPH_FILE.bmp')

    # 32 x 32 glyphs of the three round buttons
    g = Image(32, 32, KEY)
    g.disc(16, 16, 13, BLUE)
    g.disc(16, 9.5, 2.2, WHITE)
    g.rect(14, 13, 17, 24, WHITE)
    g.save('GLYPH_INFO.bmp')

    g = Image(32, 32, KEY)
    for k in range(8):
        a = k * math.pi / 4
        g.line(16 + 8 * math.cos(a), 16 + 8 * math.sin(a), 16 + 13 * math.cos(a), 16 + 13 * math.sin(a), GREY, 4)
    g.disc(16, 16, 10, GREY)
    g.disc(16, 16, 4, KEY)
    g.save('GLYPH_OPTIONS.bmp')

    g = Image(32, 32, KEY)
    g.disc(16, 16, 13, RED)
    g.line(10, 10, 22, 22, WHITE, 3)
    g.line(22, 10, 10, 22, WHITE, 3)
    g.save('GLYPH_CLOSE.bmp')


def product():
    # the gateway: a grey DIN-rail module with two connectors and status lights
    p = Image(80, 80, (248, 247, 237))
    p.rect(10, 36, 69, 40, (170, 170, 170))           # rail
    p.rect(18, 8, 61, 72, (215, 218, 222))            # housing
    p.frame(18, 8, 61, 72, (110, 110, 115))
    p.rect(22, 12, 57, 24, BLUE)                      # label
    p.line(25, 18, 54, 18, WHITE)
    for y in (30, 46):                                # two network ports
        p.rect(26, y, 40, y + 10, DARK)
        p.rect(29, y + 3, 37, y + 10, (90, 90, 90))
    for i, c in enumerate((GREEN, GREEN, ORANGE, RED)):
        p.disc(50, 32 + 7 * i, 2.2, c)
    p.rect(24, 62, 55, 66, (160, 160, 165))           # terminal strip
    for x in range(26, 55, 5):
        p.disc(x, 64, 1.2, DARK)
    p.save('PRODUCT.bmp')


def flags():
    f = Image(48, 32, WHITE)                          # a neutral flag: plain blue with a white band
    f.rect(0, 0, 47, 31, BLUE)
    f.rect(0, 13, 47, 18, WHITE)
    f.frame(0, 0, 47, 31, GREY)
    f.save('DefaultFlag.bmp')

    f = Image(48, 32, (0, 36, 125))                   # the English language
    f.line(0, 0, 47, 31, WHITE, 6)
    f.line(47, 0, 0, 31, WHITE, 6)
    f.line(0, 0, 47, 31, RED, 2)
    f.line(47, 0, 0, 31, RED, 2)
    f.rect(0, 11, 47, 20, WHITE)
    f.rect(19, 0, 28, 31, WHITE)
    f.rect(0, 13, 47, 18, RED)
    f.rect(21, 0, 26, 31, RED)
    f.save('English.bmp')


if __name__ == '__main__':
    glyphs()
    product()
    flags()
