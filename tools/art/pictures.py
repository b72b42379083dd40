"""The built-in pictures of the image lists and the icons of the icon library larkb.icl.
Every picture is drawn on a 32-unit grid and scaled to the size asked for."""
import math
import os

from raster import Canvas


def shade(colour, f):
    """The colour made lighter (f > 0) or darker (f < 0)."""
    r, g, b = colour[:3]
    if f >= 0:
        return tuple(int(c + (255 - c) * f) for c in (r, g, b)) + (255,)
    return tuple(int(c * (1 + f)) for c in (r, g, b)) + (255,)


def vertical(top, bottom, y0, y1):
    def colour(_x, y):
        t = max(0.0, min(1.0, (y - y0) / max(1e-6, y1 - y0)))
        return tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3)) + (255,)
    return colour


def window_tile(c, k):
    """A program window: white body under a blue caption."""
    c.round_rect(3 * k, 5 * k, 29 * k, 27 * k, 2 * k, (60, 70, 90, 255))
    c.rect(4 * k, 9 * k, 28 * k, 26 * k, (250, 250, 252, 255))
    c.rect(4 * k, 6 * k, 28 * k, 9 * k, vertical((90, 150, 230), (40, 90, 190), 6 * k, 9 * k))
    for i in range(3):
        c.rect(6 * k, (12 + 4 * i) * k, (22 - 4 * i) * k, (13.5 + 4 * i) * k, (170, 180, 200, 255))


def folder(c, k, body=(250, 200, 70), dx=0.0, dy=0.0):
    x = lambda v: (v + dx) * k
    y = lambda v: (v + dy) * k
    c.round_rect(x(3), y(7), x(14), y(12), 1.5 * k, shade(body, -0.25))
    c.round_rect(x(3), y(9), x(29), y(27), 2 * k, shade(body, -0.25))
    c.round_rect(x(3.8), y(10), x(28.2), y(26.2), 1.5 * k,
                 vertical(shade(body, 0.35), body, y(10), y(26)))


def p_missing(c, k):
    window_tile(c, k)


def p_category(c, k):
    folder(c, k)


def p_parent(c, k):
    folder(c, k, (120, 170, 230), -1.5, -2.5)
    folder(c, k, (250, 200, 70), 1.5, 2.5)


def p_star(c, k):
    pts = []
    for i in range(10):
        r = (13 if i % 2 == 0 else 5.5) * k
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((16 * k + r * math.cos(a), 17 * k + r * math.sin(a)))
    c.polygon(pts, vertical((255, 230, 90), (235, 150, 20), 4 * k, 30 * k))


def p_heart(c, k):
    col = vertical((250, 110, 110), (190, 30, 40), 6 * k, 28 * k)
    c.ellipse(11 * k, 12 * k, 6.5 * k, 6.5 * k, col)
    c.ellipse(21 * k, 12 * k, 6.5 * k, 6.5 * k, col)
    c.polygon([(4.8 * k, 14 * k), (27.2 * k, 14 * k), (16 * k, 28 * k)], col)


def p_tree(c, k):
    c.rect(14 * k, 22 * k, 18 * k, 29 * k, (130, 80, 40, 255))
    col = vertical((120, 210, 110), (30, 130, 50), 3 * k, 24 * k)
    c.polygon([(16 * k, 3 * k), (26 * k, 16 * k), (6 * k, 16 * k)], col)
    c.polygon([(16 * k, 8 * k), (28 * k, 24 * k), (4 * k, 24 * k)], col)


def p_diamond(c, k):
    c.polygon([(16 * k, 3 * k), (29 * k, 16 * k), (16 * k, 29 * k), (3 * k, 16 * k)],
              vertical((120, 190, 255), (20, 80, 190), 3 * k, 29 * k))
    c.polygon([(16 * k, 7 * k), (22 * k, 13 * k), (16 * k, 13 * k)], (230, 245, 255, 180))


def document(c, k, paper, ink):
    c.polygon([(7 * k, 3 * k), (20 * k, 3 * k), (26 * k, 9 * k), (26 * k, 29 * k),
               (7 * k, 29 * k)], shade(ink, -0.3))
    c.polygon([(8 * k, 4 * k), (19.5 * k, 4 * k), (25 * k, 9.5 * k), (25 * k, 28 * k),
               (8 * k, 28 * k)], paper)
    c.polygon([(19.5 * k, 4 * k), (25 * k, 9.5 * k), (19.5 * k, 9.5 * k)], shade(paper, -0.15))
    for i in range(4):
        c.rect(11 * k, (13 + 3.5 * i) * k, (22 - 2 * (i % 2)) * k, (14.5 + 3.5 * i) * k, ink)


def p_document(c, k):
    document(c, k, (250, 248, 255, 255), (140, 80, 200, 255))


def p_monitor(c, k):
    c.round_rect(3 * k, 4 * k, 29 * k, 23 * k, 2 * k, (60, 60, 70, 255))
    c.rect(5 * k, 6 * k, 27 * k, 21 * k, vertical((255, 190, 100), (230, 110, 30), 6 * k, 21 * k))
    c.rect(14 * k, 23 * k, 18 * k, 27 * k, (90, 90, 100, 255))
    c.round_rect(9 * k, 26.5 * k, 23 * k, 29 * k, 1 * k, (60, 60, 70, 255))


def p_envelope(c, k):
    c.rect(3 * k, 8 * k, 29 * k, 26 * k, (20, 110, 120, 255))
    c.rect(4 * k, 9 * k, 28 * k, 25 * k, (220, 245, 245, 255))
    c.line(4.5 * k, 9.5 * k, 16 * k, 19 * k, 1.6 * k, (20, 140, 150, 255))
    c.line(27.5 * k, 9.5 * k, 16 * k, 19 * k, 1.6 * k, (20, 140, 150, 255))


def p_globe(c, k):
    """The web: a blue globe with its meridians and parallels, and green land."""
    cx, cy, r = 16 * k, 16 * k, 13 * k
    c.ellipse(cx, cy, r, r, vertical((110, 180, 250), (20, 70, 170), 3 * k, 29 * k))
    c.ellipse(12 * k, 12 * k, 5 * k, 4 * k, (90, 190, 90, 255))
    c.ellipse(20 * k, 21 * k, 4.5 * k, 3.5 * k, (90, 190, 90, 255))
    grid = (235, 245, 255, 200)
    w = max(0.8, 1.0 * k)
    inside = lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= (r - 0.3 * k) ** 2
    for rx in (r * 0.45, r * 0.9):
        c.fill(lambda x, y, rx=rx: inside(x, y) and
               abs(((x - cx) / rx) ** 2 + ((y - cy) / r) ** 2 - 1) < w / rx, grid)
    c.fill(lambda x, y: inside(x, y) and abs(x - cx) < w / 2, grid)
    for dy in (-r * 0.5, 0, r * 0.5):
        c.fill(lambda x, y, dy=dy: inside(x, y) and abs(y - cy - dy) < w / 2, grid)


def p_old(c, k):
    document(c, k, (235, 235, 230, 255), (140, 140, 140, 255))


def up_arrow(c, k, colour):
    c.polygon([(16 * k, 3 * k), (28 * k, 16 * k), (21 * k, 16 * k), (21 * k, 29 * k),
               (11 * k, 29 * k), (11 * k, 16 * k), (4 * k, 16 * k)], shade(colour, -0.35))
    c.polygon([(16 * k, 4.6 * k), (26 * k, 15.2 * k), (20 * k, 15.2 * k), (20 * k, 28 * k),
               (12 * k, 28 * k), (12 * k, 15.2 * k), (6 * k, 15.2 * k)],
              vertical(shade(colour, 0.4), colour, 4 * k, 28 * k))


def p_go_up(c, k):
    up_arrow(c, k, (40, 170, 70))


def picture(draw, size):
    c = Canvas(size, size)
    draw(c, size / 32.0)
    return c.pixels()


def grey(rows):
    """The grey form: 0.299 R + 0.587 G + 0.114 B, alpha kept (what the program computes)."""
    out = []
    for row in rows:
        line = []
        for r, g, b, a in row:
            v = int(0.299 * r + 0.587 * g + 0.114 * b)
            line.append((v, v, v, a))
        out.append(line)
    return out


def strip(size, grey_form=False):
    """The 13 pictures side by side."""
    pics = [picture(d, size) for d in PICTURES]
    if grey_form:
        pics = [grey(p) for p in pics]
    return [sum((p[y] for p in pics), []) for y in range(size)]


# --- icons of the icon library larkb.icl, selected by 1000 + n ---

def l_house(c, k):
    c.polygon([(16 * k, 4 * k), (29 * k, 16 * k), (3 * k, 16 * k)], (200, 60, 50, 255))
    c.rect(7 * k, 15 * k, 25 * k, 28 * k, (245, 235, 210, 255))
    c.rect(14 * k, 19 * k, 19 * k, 28 * k, (120, 80, 40, 255))


def l_gear(c, k):
    col = vertical((190, 200, 215), (100, 110, 130), 3 * k, 29 * k)
    for i in range(8):
        a = i * math.pi / 4
        c.line(16 * k, 16 * k, 16 * k + 12.5 * k * math.cos(a), 16 * k + 12.5 * k * math.sin(a),
               4.5 * k, col)
    c.ellipse(16 * k, 16 * k, 9.5 * k, 9.5 * k, col)
    c.ellipse(16 * k, 16 * k, 4 * k, 4 * k, (245, 245, 250, 255))


def l_music(c, k):
    ink = (90, 40, 160, 255)
    c.ellipse(10 * k, 24 * k, 4.5 * k, 3.5 * k, ink)
    c.ellipse(23 * k, 21 * k, 4.5 * k, 3.5 * k, ink)
    c.rect(13 * k, 6 * k, 15 * k, 24 * k, ink)
    c.rect(26 * k, 4 * k, 28 * k, 21 * k, ink)
    c.polygon([(13 * k, 6 * k), (28 * k, 3 * k), (28 * k, 8 * k), (13 * k, 11 * k)], ink)


def l_camera(c, k):
    c.round_rect(3 * k, 9 * k, 29 * k, 27 * k, 3 * k, (50, 55, 65, 255))
    c.rect(10 * k, 6 * k, 19 * k, 10 * k, (50, 55, 65, 255))
    c.ellipse(16 * k, 18 * k, 6.5 * k, 6.5 * k, (200, 210, 225, 255))
    c.ellipse(16 * k, 18 * k, 4 * k, 4 * k, vertical((80, 140, 230), (20, 40, 120), 14 * k, 22 * k))


def l_mail(c, k):
    p_envelope(c, k)


def l_chat(c, k):
    c.round_rect(3 * k, 4 * k, 29 * k, 22 * k, 5 * k, vertical((120, 220, 130), (40, 160, 70),
                                                              4 * k, 22 * k))
    c.polygon([(8 * k, 20 * k), (15 * k, 20 * k), (7 * k, 28 * k)], (40, 160, 70, 255))
    for x in (10, 16, 22):
        c.ellipse(x * k, 13 * k, 1.8 * k, 1.8 * k, (255, 255, 255, 255))


def l_calculator(c, k):
    c.round_rect(6 * k, 3 * k, 26 * k, 29 * k, 2 * k, (70, 75, 90, 255))
    c.rect(9 * k, 6 * k, 23 * k, 11 * k, (190, 230, 190, 255))
    for row in range(3):
        for col in range(3):
            c.rect((9 + 5 * col) * k, (14 + 5 * row) * k, (12.5 + 5 * col) * k,
                   (17.5 + 5 * row) * k, (230, 230, 235, 255) if (row, col) != (2, 2)
                   else (240, 140, 40, 255))


def l_terminal(c, k):
    c.round_rect(3 * k, 5 * k, 29 * k, 27 * k, 2 * k, (30, 30, 35, 255))
    c.line(8 * k, 11 * k, 13 * k, 15 * k, 2 * k, (90, 230, 90, 255))
    c.line(13 * k, 15 * k, 8 * k, 19 * k, 2 * k, (90, 230, 90, 255))
    c.rect(15 * k, 19 * k, 23 * k, 21 * k, (90, 230, 90, 255))


def l_book(c, k):
    c.round_rect(6 * k, 3 * k, 27 * k, 29 * k, 1.5 * k, (150, 40, 40, 255))
    c.rect(9 * k, 3 * k, 27 * k, 26 * k, vertical((220, 80, 70), (160, 40, 40), 3 * k, 26 * k))
    c.rect(9 * k, 26 * k, 27 * k, 28 * k, (245, 240, 225, 255))
    c.rect(13 * k, 8 * k, 23 * k, 10 * k, (250, 220, 120, 255))


def l_clock(c, k):
    c.ellipse(16 * k, 16 * k, 13 * k, 13 * k, (60, 70, 90, 255))
    c.ellipse(16 * k, 16 * k, 11.5 * k, 11.5 * k, (250, 250, 245, 255))
    c.line(16 * k, 16 * k, 16 * k, 8 * k, 2 * k, (40, 40, 50, 255))
    c.line(16 * k, 16 * k, 22 * k, 19 * k, 1.6 * k, (40, 40, 50, 255))
    c.ellipse(16 * k, 16 * k, 1.5 * k, 1.5 * k, (200, 40, 40, 255))


def l_game(c, k):
    c.round_rect(3 * k, 10 * k, 29 * k, 24 * k, 6 * k, (80, 80, 100, 255))
    c.rect(7 * k, 16 * k, 13 * k, 18 * k, (240, 240, 245, 255))
    c.rect(9 * k, 14 * k, 11 * k, 20 * k, (240, 240, 245, 255))
    c.ellipse(21 * k, 15 * k, 1.8 * k, 1.8 * k, (230, 60, 60, 255))
    c.ellipse(24.5 * k, 18.5 * k, 1.8 * k, 1.8 * k, (60, 160, 230, 255))


def l_paint(c, k):
    c.ellipse(15 * k, 16 * k, 12.5 * k, 11 * k, (230, 200, 150, 255))
    for (x, y), col in zip([(9, 12), (15, 9), (21, 12), (10, 20)],
                           [(220, 50, 50), (50, 150, 230), (60, 180, 70), (250, 200, 40)]):
        c.ellipse(x * k, y * k, 2.5 * k, 2.5 * k, col + (255,))
    c.ellipse(20 * k, 21 * k, 3 * k, 3 * k, (250, 250, 250, 255))


def l_tools(c, k):
    """A wrench and a screwdriver crossed."""
    steel = vertical((215, 220, 230), (120, 130, 150), 3 * k, 29 * k)
    # the screwdriver: shaft from the top left, red handle at the bottom right
    c.line(6 * k, 6 * k, 18 * k, 18 * k, 2.4 * k, steel)
    c.line(5 * k, 5 * k, 7 * k, 7 * k, 3.2 * k, (90, 95, 110, 255))
    c.line(17 * k, 17 * k, 26 * k, 26 * k, 6 * k, vertical((240, 90, 70), (170, 30, 30),
                                                            17 * k, 29 * k))
    # the wrench: a handle from the bottom left, an open jaw at the top right
    c.line(7 * k, 25 * k, 20 * k, 12 * k, 4.2 * k, steel)
    jaw = lambda x, y: (x - 23 * k) ** 2 + (y - 9 * k) ** 2 <= (6 * k) ** 2
    slot = lambda x, y: abs((x - 23 * k) + (y - 9 * k)) < 2.2 * k and (x - y) > 11 * k
    c.fill(lambda x, y: jaw(x, y) and not slot(x, y), steel)
    ring = lambda x, y: (3.2 * k) ** 2 >= (x - 6.5 * k) ** 2 + (y - 25.5 * k) ** 2 >= (1.4 * k) ** 2
    c.fill(ring, steel)


def l_bookmark(c, k):
    """A ribbon bookmark with a star: a page the user keeps."""
    c.polygon([(8 * k, 2 * k), (24 * k, 2 * k), (24 * k, 30 * k), (16 * k, 22 * k),
               (8 * k, 30 * k)], (20, 60, 140, 255))
    c.polygon([(9 * k, 3 * k), (23 * k, 3 * k), (23 * k, 27.6 * k), (16 * k, 20.6 * k),
               (9 * k, 27.6 * k)], vertical((90, 160, 245), (30, 90, 200), 3 * k, 28 * k))
    pts = []
    for i in range(10):
        r = (5.5 if i % 2 == 0 else 2.3) * k
        a = -math.pi / 2 + i * math.pi / 5
        pts.append((16 * k + r * math.cos(a), 11 * k + r * math.sin(a)))
    c.polygon(pts, (255, 235, 120, 255))


def l_accessories(c, k):
    """A writing pad with a pencil on it."""
    c.round_rect(4 * k, 5 * k, 22 * k, 30 * k, 1.5 * k, (90, 100, 120, 255))
    c.rect(5 * k, 8 * k, 21 * k, 29 * k, (252, 252, 245, 255))
    c.rect(5 * k, 6 * k, 21 * k, 8 * k, (60, 120, 200, 255))
    for i in range(4):
        c.ellipse((7.5 + 4 * i) * k, 5.5 * k, 0.9 * k, 1.6 * k, (70, 70, 80, 255))
    for i in range(5):
        c.rect(7 * k, (12 + 3.5 * i) * k, 19 * k, (13 + 3.5 * i) * k, (150, 180, 220, 255))
    # the pencil, point down to the left
    c.line(28 * k, 7 * k, 16 * k, 21 * k, 4.4 * k, (240, 190, 40, 255))
    c.line(28 * k, 7 * k, 26.6 * k, 8.6 * k, 4.4 * k, (230, 120, 130, 255))
    c.polygon([(13.4 * k, 24 * k), (14.4 * k, 19.2 * k), (18.3 * k, 22.6 * k)],
              (240, 215, 170, 255))
    c.polygon([(13.4 * k, 24 * k), (13.8 * k, 22.2 * k), (15.3 * k, 23.4 * k)], (50, 50, 60, 255))


SUBJECTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'picture_subjects.txt')


def listed():
    """The drawings of picture_subjects.txt: (built-in pictures 0, 1, ..., library icons
    0, 1, ...), each list in the order of its numbers, which must leave no gap."""
    builtin, library = {}, {}
    with open(SUBJECTS) as f:
        for line in f:
            fields = line.split('#', 1)[0].split()
            if not fields:
                continue
            number, name = int(fields[0]), fields[1]
            if len(fields) < 3:
                raise SystemExit('%s: picture %d has no subject' % (SUBJECTS, number))
            if number >= 1000:
                library[number - 1000] = globals()[name]
            else:
                builtin[number] = globals()[name]
    for table in (builtin, library):
        if sorted(table) != list(range(len(table))):
            raise SystemExit('%s: the numbers leave a gap' % SUBJECTS)
    return ([builtin[n] for n in range(len(builtin))],
            [library[n] for n in range(len(library))])


# Built-in pictures in the order of the image lists, then the icons of larkb.icl.
PICTURES, LIBRARY = listed()
