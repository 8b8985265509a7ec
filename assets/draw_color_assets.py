#!/usr/bin/env python3
"""Draws the pointer of the colour picker's spectrum: ORLEX_POINTER, a 32 x 32 cross hair with
a white rim and a gap in the middle so the pixel being picked stays visible. The hot spot is
the centre (16, 16); KEY marks the see-through pixels, as in the other pointers.

    python3 assets/draw_color_assets.py
"""
from draw_grid_assets import Image, KEY, BLACK, WHITE


def pointer():
    img = Image(32, 32, KEY)
    # white rim first, then the black arms over it
    for x0, y0, x1, y1 in ((16, 3, 16, 12), (16, 20, 16, 29), (3, 16, 12, 16), (20, 16, 29, 16)):
        img.rect(min(x0, x1) - 1, min(y0, y1) - 1, max(x0, x1) + 1, max(y0, y1) + 1, WHITE)
    for x0, y0, x1, y1 in ((16, 3, 16, 12), (16, 20, 16, 29), (3, 16, 12, 16), (20, 16, 29, 16)):
        img.rect(x0, y0, x1, y1, BLACK)
    img.ring(16.5, 16.5, 5, 6, BLACK)
    img.key_corners()
    img.save('ORLEX_POINTER')


if __name__ == '__main__':
    pointer()
