#!/usr/bin/env python3
"""Draws the 16x16 command pictures of the program's menus (bitmap 380) into
res/menu_pictures.bmp: one row of pictures on magenta, which the program keys out; and the
same pictures at 24 and 32 pixels (for 150 % and 200 %) into res/menu_pictures_24.bmp and
res/menu_pictures_32.bmp.
Run from anywhere: python3 tools/gen_menu_art.py

The order is the program's (src/bar/menu_pictures.cpp names each picture's command)."""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'art'))
from raster import Canvas, write_bmp  # noqa: E402

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
S = 16
INK = (40, 50, 70, 255)
BLUE = (50, 110, 200, 255)
LIGHT = (235, 240, 250, 255)
RED = (210, 50, 40, 255)
GREEN = (50, 150, 70, 255)
YELLOW = (245, 195, 60, 255)


def gear(c):
    for i in range(8):
        a = i * math.pi / 4
        x, y = 8 + 5.2 * math.cos(a), 8 + 5.2 * math.sin(a)
        c.ellipse(x, y, 1.6, 1.6, INK)
    c.ellipse(8, 8, 5, 5, INK)
    c.ellipse(8, 8, 2, 2, LIGHT)


def pin(c):
    c.rect(5, 2, 11, 4, RED)
    c.polygon([(6, 4), (10, 4), (11.5, 9), (4.5, 9)], RED)
    c.line(8, 9, 8, 15, 1.2, INK)


def auto_hide(c):
    c.rect(1, 12, 15, 15, INK)
    c.polygon([(8, 10.5), (3.5, 5), (12.5, 5)], BLUE)
    c.rect(6.5, 1, 9.5, 5.5, BLUE)


def clock(c):
    c.ellipse(8, 8, 6.8, 6.8, INK)
    c.ellipse(8, 8, 5.6, 5.6, LIGHT)
    c.line(8, 8, 8, 4, 1.2, INK)
    c.line(8, 8, 11, 9.5, 1.2, INK)


def about(c):
    c.ellipse(8, 8, 7, 7, BLUE)
    c.ellipse(8, 4.5, 1.2, 1.2, LIGHT)
    c.rect(7, 6.8, 9, 12.5, LIGHT)


def globe(c):
    c.ellipse(8, 8, 7, 7, BLUE)
    c.ellipse(8, 8, 3, 6.5, (110, 170, 235, 255))
    c.line(1.5, 8, 14.5, 8, 1, LIGHT)
    c.line(8, 1.5, 8, 14.5, 1, LIGHT)


def exit_cross(c):
    c.line(3, 3, 13, 13, 2.6, RED)
    c.line(13, 3, 3, 13, 2.6, RED)


def icon_view(c):
    for x in (2, 9):
        for y in (2, 9):
            c.rect(x, y, x + 5, y + 5, BLUE)


def tab_view(c):
    c.rect(1, 6, 15, 14, INK)
    c.rect(2, 7, 14, 13, LIGHT)
    c.rect(1, 2, 6, 6, INK)
    c.rect(7, 3, 12, 6, (120, 130, 150, 255))


def category_only(c):
    c.rect(1, 4, 15, 12, INK)
    c.rect(2, 5, 7, 11, YELLOW)
    c.rect(9, 5, 14, 11, YELLOW)


def folder_add(c):
    c.polygon([(1, 4), (6, 4), (7, 5.5), (13, 5.5), (13, 13), (1, 13)], YELLOW)
    c.rect(10, 9.5, 16, 11.5, GREEN)
    c.rect(12, 7.5, 14, 13.5, GREEN)


def refresh(c):
    for i in range(20):
        a = math.pi * (0.2 + 1.5 * i / 19)
        c.ellipse(8 + 5.5 * math.cos(a), 8 - 5.5 * math.sin(a), 1.1, 1.1, GREEN)
    c.polygon([(11.5, 1.5), (15, 5.5), (10, 6.5)], GREEN)


def position(c):
    c.rect(1, 1, 15, 15, INK)
    c.rect(2, 2, 14, 14, LIGHT)
    c.rect(2, 11, 14, 14, BLUE)


def button_size(c):
    c.rect(1, 1, 15, 15, INK)
    c.rect(2, 2, 14, 14, LIGHT)
    c.rect(4, 4, 12, 12, YELLOW)


def cut(c):
    c.ellipse(4.5, 12, 2.5, 2.5, INK)
    c.ellipse(11.5, 12, 2.5, 2.5, INK)
    c.ellipse(4.5, 12, 1.2, 1.2, LIGHT)
    c.ellipse(11.5, 12, 1.2, 1.2, LIGHT)
    c.line(5.5, 10, 11, 1, 1.3, INK)
    c.line(10.5, 10, 5, 1, 1.3, INK)


def page(c, x, y):
    c.rect(x, y, x + 8, y + 10, INK)
    c.rect(x + 1, y + 1, x + 7, y + 9, LIGHT)


def copy(c):
    page(c, 2, 1)
    page(c, 6, 5)


def paste(c):
    c.rect(2, 2, 12, 15, (150, 110, 60, 255))
    c.rect(5, 1, 9, 3, INK)
    page(c, 7, 5)


def delete(c):
    c.line(3, 3, 13, 13, 2.2, INK)
    c.line(13, 3, 3, 13, 2.2, INK)


def properties(c):
    page(c, 3, 2)
    for y in (5, 8, 11):
        c.rect(5, y, 9, y + 1, BLUE)


def new_button(c):
    c.rect(1, 3, 12, 14, INK)
    c.rect(2, 4, 11, 13, LIGHT)
    c.rect(10, 9.5, 16, 11.5, GREEN)
    c.rect(12, 7.5, 14, 13.5, GREEN)


def separator(c):
    c.rect(1, 7, 15, 9, INK)


PICTURES = [gear, pin, auto_hide, clock, about, globe, exit_cross, icon_view, tab_view,
            category_only, folder_add, refresh, position, button_size, cut, copy, paste,
            delete, properties, new_button, separator]


class ScaledCanvas:
    """The shapes of the 16-unit drawings on a canvas of `size` pixels."""

    def __init__(self, size):
        self.c = Canvas(size, size)
        self.k = size / S

    def rect(self, x0, y0, x1, y1, color):
        k = self.k
        self.c.rect(x0 * k, y0 * k, x1 * k, y1 * k, color)

    def ellipse(self, cx, cy, rx, ry, color):
        k = self.k
        self.c.ellipse(cx * k, cy * k, rx * k, ry * k, color)

    def polygon(self, pts, color):
        self.c.polygon([(x * self.k, y * self.k) for x, y in pts], color)

    def line(self, xa, ya, xb, yb, width, color):
        k = self.k
        self.c.line(xa * k, ya * k, xb * k, yb * k, width * k, color)

    def pixels(self):
        return self.c.pixels()


def strip(size):
    row = [[None] * (size * len(PICTURES)) for _ in range(size)]
    for n, draw in enumerate(PICTURES):
        c = Canvas(S, S) if size == S else ScaledCanvas(size)
        draw(c)
        px = c.pixels()
        for y in range(size):
            for x in range(size):
                r, g, b, a = px[y][x]
                # Hard edges: the magenta key would otherwise leave a pink fringe.
                row[y][n * size + x] = (r, g, b, 255) if a >= 128 else (255, 0, 255, 255)
    return row


def main():
    write_bmp(os.path.join(RES, 'menu_pictures.bmp'), strip(S), bits=24)
    for size in (24, 32):
        write_bmp(os.path.join(RES, 'menu_pictures_%d.bmp' % size), strip(size), bits=24)
    print('wrote res/menu_pictures.bmp, res/menu_pictures_24.bmp, res/menu_pictures_32.bmp')


if __name__ == '__main__':
    main()
