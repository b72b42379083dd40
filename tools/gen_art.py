#!/usr/bin/env python3
"""Draws the program's artwork into res/. Run from anywhere: python3 tools/gen_art.py"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'art'))
from raster import Canvas, write_ico, write_bmp, write_bmp_indexed, write_bmp4  # noqa: E402
import buttons  # noqa: E402
import pictures  # noqa: E402

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')


def gradient(top, bottom, height):
    def color(_x, y):
        t = max(0.0, min(1.0, y / height))
        return tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3)) + (255,)
    return color


def main_icon(size):
    """Icon 99: a blue tile holding a docked bar with three buttons and a small lark above."""
    c = Canvas(size, size)
    k = size / 32.0
    c.round_rect(1 * k, 1 * k, 31 * k, 31 * k, 6 * k, gradient((90, 160, 235), (25, 70, 160), size))
    # the bar along the bottom edge
    c.round_rect(3 * k, 20 * k, 29 * k, 29 * k, 2 * k, (245, 245, 250, 255))
    for i, col in enumerate([(230, 80, 60), (60, 170, 80), (250, 190, 40)]):
        x = 6 * k + i * 7.5 * k
        c.round_rect(x, 22 * k, x + 5.5 * k, 27 * k, 1 * k, col + (255,))
    # the lark: body, head, beak and a raised wing
    c.ellipse(15 * k, 12 * k, 6 * k, 3.6 * k, (250, 220, 120, 255))
    c.ellipse(21 * k, 9.5 * k, 2.6 * k, 2.4 * k, (250, 220, 120, 255))
    c.polygon([(23 * k, 8.8 * k), (26.5 * k, 9.8 * k), (23 * k, 10.6 * k)], (240, 140, 30, 255))
    c.polygon([(11 * k, 11 * k), (17 * k, 11 * k), (9 * k, 4.5 * k)], (230, 190, 90, 255))
    c.polygon([(9.5 * k, 12 * k), (4.5 * k, 10 * k), (5 * k, 14 * k)], (230, 190, 90, 255))
    if size >= 24:
        c.ellipse(21.6 * k, 9 * k, 0.6 * k, 0.6 * k, (30, 30, 40, 255))
    return c.pixels()


def pixel_art(pattern, legend):
    """Rows of palette indices from a picture drawn with one character per pixel."""
    return [[legend[ch] for ch in line] for line in pattern.strip().split()]


# Bitmap 145: the menu glyph shown in the pressed menu button, a black arrow pointing down
# on the button's white square.
MENU_GLYPH = """
.........
.........
.........
.#######.
..#####..
...###...
....#....
.........
.........
"""

# Bitmap 30997: the exit glyph, a bold cross. Black and the 192 grey are the colours the
# system maps to the button text and face colours, so the glyph follows the colour scheme.
EXIT_GLYPH = """
.........
.........
.##...##.
..##.##..
...###...
..##.##..
.##...##.
.........
.........
"""


def menu_glyph(n):
    """MENU_GLYPH for an n-pixel square at a higher resolution: an arrow seven ninths wide
    whose rows narrow by two pixels each, centred a little below the middle."""
    rows = [[0] * n for _ in range(n)]
    width = round(7 * n / 9)
    if width % 2 != n % 2:
        width -= 1
    y = round((n - (width + 1) // 2) / 2 + n / 18)
    while width > 0 and y < n:
        left = (n - width) // 2
        for x in range(left, left + width):
            rows[y][x] = 1
        width -= 2
        y += 1
    return rows


def exit_glyph(n):
    """EXIT_GLYPH for an n-pixel square at a higher resolution: two crossing strokes about two
    ninths thick, two ninths in from the edges."""
    c = (n - 1) / 2
    reach = c - round(2 * n / 9) + 0.5
    half = n / 9 - 0.5
    rows = [[0] * n for _ in range(n)]
    for y in range(n):
        for x in range(n):
            if abs(y - c) <= reach and abs(x - c) <= reach + half and \
                    abs(abs(x - c) - abs(y - c)) <= half:
                rows[y][x] = 1
    return rows


def main():
    write_ico(os.path.join(RES, 'LarkB.ico'), [main_icon(s) for s in (16, 24, 32, 48)])
    print('wrote res/LarkB.ico')
    write_bmp_indexed(os.path.join(RES, 'menu_button.bmp'),
                      pixel_art(MENU_GLYPH, {'.': 0, '#': 1}), [(255, 255, 255), (0, 0, 0)])
    print('wrote res/menu_button.bmp')
    write_bmp_indexed(os.path.join(RES, 'exit_button.bmp'),
                      pixel_art(EXIT_GLYPH, {'.': 0, '#': 1}), [(192, 192, 192), (0, 0, 0)])
    print('wrote res/exit_button.bmp')
    # The glyphs of the small buttons at 150 % and 200 % (buttons of 17 and 22 pixels).
    for n in (15, 20):
        write_bmp_indexed(os.path.join(RES, 'menu_button_%d.bmp' % n), menu_glyph(n),
                          [(255, 255, 255), (0, 0, 0)])
        write_bmp_indexed(os.path.join(RES, 'exit_button_%d.bmp' % n), exit_glyph(n),
                          [(192, 192, 192), (0, 0, 0)])
    print('wrote res/menu_button_*.bmp, res/exit_button_*.bmp')

    # Picture strips of the image lists: 32-bit with alpha, and the fallbacks on magenta.
    for name, size, grey in (('pictures_large', 32, False), ('pictures_small', 16, False),
                             ('pictures_large_grey', 32, True), ('pictures_small_grey', 16, True)):
        rows = pictures.strip(size, grey)
        write_bmp(os.path.join(RES, name + '.bmp'), rows, bits=32)
        if name == 'pictures_large':
            write_bmp(os.path.join(RES, name + '_old.bmp'), rows, bits=32, opaque=True)
        else:
            write_bmp4(os.path.join(RES, name + '_old.bmp'), rows)
    # The same strips at the sizes of 150 % and 200 % (small at 200 % is the 32-pixel strip).
    for size in (24, 48, 64):
        for grey in (False, True):
            name = 'pictures_%d%s' % (size, '_grey' if grey else '')
            write_bmp(os.path.join(RES, name + '.bmp'), pictures.strip(size, grey), bits=32)
    print('wrote res/pictures_*.bmp')

    for name in buttons.ICONS:
        write_ico(os.path.join(RES, name + '.ico'), buttons.icon_images(name))
    rows, palette = buttons.checked_pattern()
    write_bmp_indexed(os.path.join(RES, 'checked_pattern.bmp'), rows, palette)
    for badge in ('move', 'copy', 'remove'):
        write_ico(os.path.join(RES, 'drag_%s.cur' % badge), [buttons.cursor(badge)],
                  cursor_hotspot=(0, 0))
    print('wrote res/ navigation icons, checked_pattern.bmp, drag_*.cur')

    # The icon library larkb.icl is linked from these (res/library/library.rc).
    os.makedirs(os.path.join(RES, 'library'), exist_ok=True)
    lines = ['// The icon library larkb.icl: a resource-only module beside the program whose icons',
             '// are numbered from 0 in this order (drawn by tools/gen_art.py, which writes this',
             '// file; tools/art/picture_subjects.txt says what each shows).']
    for n, draw in enumerate(pictures.LIBRARY):
        write_ico(os.path.join(RES, 'library', 'icon%02d.ico' % n),
                  [pictures.picture(draw, s) for s in (16, 24, 32, 48, 64)])
        lines.append('%d ICON "icon%02d.ico"' % (n + 1, n))
    with open(os.path.join(RES, 'library', 'library.rc'), 'w', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')
    print('wrote res/library/icon*.ico and library.rc')


if __name__ == '__main__':
    main()
