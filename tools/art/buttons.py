"""The navigation and paging icons of the bar, the checked pattern and the drag cursors."""
from raster import Canvas

NORMAL = ((90, 150, 230), (25, 70, 170))
DISABLED_FACE = (160, 160, 160, 255)
DISABLED_LIGHT = (255, 255, 255, 255)


def _fill(top, bottom, y0, y1):
    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / max(1e-6, y1 - y0)))
        return tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3)) + (255,)
    return colour


def _draw(shape, size, disabled):
    """shape(k) gives polygons on a 16-unit grid; a disabled icon is grey and embossed."""
    c = Canvas(size, size)
    k = size / 16.0
    polys = shape(k)
    if disabled:
        for poly in polys:
            c.polygon([(x + k * 0.75, y + k * 0.75) for x, y in poly], DISABLED_LIGHT)
        for poly in polys:
            c.polygon(poly, DISABLED_FACE)
    else:
        for poly in polys:
            c.polygon(poly, _fill(NORMAL[0], NORMAL[1], 2 * k, 14 * k))
    return c.pixels()


def _triangle(direction):
    def shape(k):
        pts = {'up': [(8, 3), (14, 11), (2, 11)], 'down': [(2, 5), (14, 5), (8, 13)],
               'left': [(3, 8), (11, 2), (11, 14)], 'right': [(5, 2), (13, 8), (5, 14)]}
        return [[(x * k, y * k) for x, y in pts[direction]]]
    return shape


def _select_category(k):
    """A list with a drop-down chevron: the menu of the categories."""
    bars = [[(x0 * k, y * k), (x1 * k, y * k), (x1 * k, (y + 2) * k), (x0 * k, (y + 2) * k)]
            for (x0, x1, y) in ((1, 10, 2), (1, 10, 6), (1, 10, 10))]
    return bars + [[(10.5 * k, 9 * k), (15.5 * k, 9 * k), (13 * k, 13 * k)]]


def _parent_category(k):
    """An arrow that climbs up and to the left: one level up."""
    return [[(1 * k, 6 * k), (6 * k, 1 * k), (6 * k, 4 * k), (14 * k, 4 * k), (14 * k, 15 * k),
             (11 * k, 15 * k), (11 * k, 8 * k), (6 * k, 8 * k), (6 * k, 11 * k)]]


# Resource name -> (shape, disabled)
ICONS = {
    'select_category': (_select_category, False),
    'select_category_off': (_select_category, True),
    'parent_category': (_parent_category, False),
    'parent_category_off': (_parent_category, True),
    'next_page_h': (_triangle('right'), False),
    'next_page_h_off': (_triangle('right'), True),
    'prev_page_h': (_triangle('left'), False),
    'prev_page_h_off': (_triangle('left'), True),
    'next_page_v': (_triangle('down'), False),
    'next_page_v_off': (_triangle('down'), True),
    'prev_page_v': (_triangle('up'), False),
    'prev_page_v_off': (_triangle('up'), True),
}


def icon_images(name):
    shape, disabled = ICONS[name]
    return [_draw(shape, s, disabled) for s in (16, 24, 32)]


def checked_pattern():
    """8 x 8 rows of palette indices: white and the classic button face, alternating."""
    return [[(x + y) % 2 for x in range(8)] for y in range(8)], [(255, 255, 255), (192, 192, 192)]


BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
ARROW = [(0, 0), (0, 17.5), (4.2, 13.6), (7.2, 20.5), (10.2, 19.2), (7.3, 12.5), (12.5, 12.5)]
ARROW_INSIDE = [(1, 2.4), (1, 15.2), (4.6, 11.8), (7.7, 19), (8.9, 18.5), (5.8, 11.4),
                (10, 11.4)]


def cursor(badge):
    """The arrow pointer with a box under its tail: dotted (move), a plus (copy) or a red
    cross (remove). The hot spot is the arrow's tip."""
    c = Canvas(32, 32)
    c.polygon(ARROW, BLACK)
    c.polygon(ARROW_INSIDE, WHITE)
    x0, y0, x1, y1 = 13, 19, 26, 30
    if badge == 'move':
        for i in range(int(x0), int(x1), 2):
            c.rect(i, y0, i + 1, y0 + 1, BLACK)
            c.rect(i + 1, y1 - 1, i + 2, y1, BLACK)
        for j in range(int(y0), int(y1), 2):
            c.rect(x0, j, x0 + 1, j + 1, BLACK)
            c.rect(x1 - 1, j + 1, x1, j + 2, BLACK)
    else:
        c.rect(x0, y0, x1, y1, BLACK)
        c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, WHITE)
        if badge == 'copy':
            c.rect(x0 + 3, 24, x1 - 3, 25, BLACK)
            c.rect(19, y0 + 3, 20, y1 - 3, BLACK)
        else:
            red = (220, 30, 30, 255)
            c.line(x0 + 3, y0 + 3, x1 - 3, y1 - 3, 1.6, red)
            c.line(x1 - 3, y0 + 3, x0 + 3, y1 - 3, 1.6, red)
    return c.pixels()
