#!/usr/bin/env python3
"""Draws the grid's selection pointers into this folder: a black arrow with a white rim pointing
right (whole rows, over the row headers), down (whole columns, over the column headers), down
and right (the whole grid, over the corner cell) and a small cross-hair (the cell selector).
KEY (magenta) is transparent; the pointer's hot spot is its tip, which the grid knows.

Pure Python (24-bit BMP files):
    python3 assets/draw_cursor_assets.py
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
KEY = (255, 0, 255)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
SIZE = 32


def save(name, px):
    rows = []
    for y in range(SIZE - 1, -1, -1):
        row = b''.join(bytes((b, g, r)) for (r, g, b) in px[y])
        rows.append(row)
    data = b''.join(rows)
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name + '.bmp'), 'wb') as f:
        f.write(header + info + data)


def arrow_right():
    """Pointing right, tip at (15, 8): shaft rows 6..10, head from x 9 to 15."""
    inside = set()
    for y in range(6, 11):
        for x in range(0, 9):
            inside.add((x, y))
    for x in range(9, 16):
        half = 15 - x
        for y in range(8 - half, 8 + half + 1):
            inside.add((x, y))
    return inside


def turn(points, f):
    return {f(x, y) for (x, y) in points}


def picture(points):
    px = [[KEY for _ in range(SIZE)] for _ in range(SIZE)]
    for (x, y) in points:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE and (x + dx, y + dy) not in points:
                    px[y + dy][x + dx] = WHITE
    for (x, y) in points:
        px[y][x] = BLACK
    return px


def main():
    right = {(x + 1, y + 1) for (x, y) in arrow_right()}  # tip (16, 9)
    save('GRIDROWSELECT', picture(right))
    down = turn(right, lambda x, y: (y, x))  # tip (9, 16)
    save('GRIDCOLSELECT', picture(down))
    diag = set()
    for y in range(1, 17):  # a triangle with its tip at (16, 16) and a short shaft
        for x in range(1, 17):
            if x >= 9 and y >= 9 and x + y >= 25:
                diag.add((x, y))
    for i in range(2, 12):
        for w in (-1, 0, 1):
            diag.add((i + w, i))
    save('GRIDALLSELECT', picture(diag))
    cross = set()
    for i in range(0, 17):
        cross.add((i, 8))
        cross.add((8, i))
    save('GRIDCELLSELECT', picture(cross))


if __name__ == '__main__':
    main()
