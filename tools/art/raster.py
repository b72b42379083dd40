"""A tiny RGBA raster with supersampled shapes, and writers for the Windows image
formats the program's resources use (ICO, CUR, BMP). Standard library only."""
import struct


class Canvas:
    """RGBA canvas; shapes are drawn at `ss` times the size and averaged down."""

    def __init__(self, width, height, ss=4):
        self.w, self.h, self.ss = width, height, ss
        self.W, self.H = width * ss, height * ss
        self.px = [(0, 0, 0, 0)] * (self.W * self.H)

    # --- drawing in output-pixel coordinates (floats allowed) ---
    def _blend(self, i, c):
        r, g, b, a = c
        if a >= 255:
            self.px[i] = c
            return
        dr, dg, db, da = self.px[i]
        fa = a / 255.0
        oa = fa + da / 255.0 * (1 - fa)
        if oa <= 0:
            self.px[i] = (0, 0, 0, 0)
            return
        mix = lambda s, d: int(round((s * fa + d * (da / 255.0) * (1 - fa)) / oa))
        self.px[i] = (mix(r, dr), mix(g, dg), mix(b, db), int(round(oa * 255)))

    def fill(self, inside, color):
        """Paints every subpixel whose centre satisfies inside(x, y) (output units)."""
        s = self.ss
        for Y in range(self.H):
            y = (Y + 0.5) / s
            for X in range(self.W):
                x = (X + 0.5) / s
                col = color(x, y) if callable(color) else color
                if inside(x, y):
                    self._blend(Y * self.W + X, col)

    def rect(self, x0, y0, x1, y1, color):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, color)

    def round_rect(self, x0, y0, x1, y1, r, color):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.fill(inside, color)

    def ellipse(self, cx, cy, rx, ry, color):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0, color)

    def polygon(self, pts, color):
        def inside(x, y):
            c = False
            n = len(pts)
            for i in range(n):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % n]
                if (ya > y) != (yb > y):
                    if x < (xb - xa) * (y - ya) / (yb - ya) + xa:
                        c = not c
            return c
        self.fill(inside, color)

    def line(self, xa, ya, xb, yb, width, color):
        dx, dy = xb - xa, yb - ya
        ln2 = dx * dx + dy * dy or 1e-9
        hw = width / 2.0

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / ln2))
            px, py = xa + t * dx, ya + t * dy
            return (x - px) ** 2 + (y - py) ** 2 <= hw * hw
        self.fill(inside, color)

    # --- output ---
    def pixels(self):
        """Averaged RGBA rows, top-down, as a list of lists of tuples."""
        s = self.ss
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                acc = [0, 0, 0, 0]
                for j in range(s):
                    base = (y * s + j) * self.W + x * s
                    for i in range(s):
                        r, g, b, a = self.px[base + i]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                if acc[3] == 0:
                    row.append((0, 0, 0, 0))
                else:
                    n = s * s
                    row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3],
                                acc[3] // n))
            out.append(row)
        return out


def _dib32(rows, with_mask):
    """BITMAPINFOHEADER + bottom-up BGRA pixels (+ AND mask) as an icon image entry."""
    h, w = len(rows), len(rows[0])
    height = h * 2 if with_mask else h
    hdr = struct.pack('<IiiHHIIiiII', 40, w, height, 1, 32, 0, 0, 0, 0, 0, 0)
    data = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            data += bytes((b, g, r, a))
    if with_mask:
        stride = ((w + 31) // 32) * 4
        for row in reversed(rows):
            bits = bytearray(stride)
            for x, (_, _, _, a) in enumerate(row):
                if a < 128:
                    bits[x // 8] |= 0x80 >> (x % 8)
            data += bits
    return hdr + bytes(data)


def write_ico(path, images, cursor_hotspot=None):
    """images: list of row lists (RGBA). Writes an ICO, or a CUR when a hotspot is given."""
    kind = 2 if cursor_hotspot else 1
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        blob = _dib32(rows, True)
        h, w = len(rows), len(rows[0])
        if cursor_hotspot:
            p1, p2 = cursor_hotspot
        else:
            p1, p2 = 1, 32
        entries.append(struct.pack('<BBBBHHII', w % 256, h % 256, 0, 0, p1, p2, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, 'wb') as f:
        f.write(struct.pack('<HHH', 0, kind, len(images)))
        for e in entries:
            f.write(e)
        for b in blobs:
            f.write(b)


def _over(pixel, background):
    r, g, b, a = pixel
    mix = lambda c, k: (c * a + k * (255 - a)) // 255
    return mix(r, background[0]), mix(g, background[1]), mix(b, background[2])


def write_bmp(path, rows, bits=24, background=(255, 0, 255), opaque=False):
    """Writes a bottom-up BMP. 32-bit output keeps straight (not premultiplied) alpha, as
    icons have it, unless `opaque` composes it over `background` like 24-bit output does."""
    h, w = len(rows), len(rows[0])
    if bits == 32:
        stride = w * 4
    else:
        stride = ((w * 3 + 3) // 4) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for px in row:
            if bits == 32 and not opaque:
                r, g, b, a = px
                line += bytes((b, g, r, a))
            elif bits == 32:
                r, g, b = _over(px, background)
                line += bytes((b, g, r, 255))
            else:
                r, g, b = _over(px, background)
                line += bytes((b, g, r))
        line += bytes(stride - len(line))
        data += line
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, bits, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(data), 0, 0, 14 + 40)
    with open(path, 'wb') as f:
        f.write(head + info + data)


# The 16 colours every display can show; magenta marks what is transparent.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def write_bmp4(path, rows, background=(255, 0, 255)):
    """Writes a bottom-up 4-bit BMP in the 16 standard colours: each pixel, composed over
    `background`, takes the nearest of them (pixels less than half opaque are background)."""
    h, w = len(rows), len(rows[0])
    stride = ((w + 7) // 8) * 4
    magenta = VGA.index((255, 0, 255))

    def nearest(px):
        if px[3] < 128:
            return VGA.index(background) if background in VGA else magenta
        rgb = _over(px, background)
        best = min((i for i in range(16) if i != magenta),
                   key=lambda i: sum((rgb[j] - VGA[i][j]) ** 2 for j in range(3)))
        return best
    data = bytearray()
    for row in reversed(rows):
        idx = [nearest(px) for px in row]
        if len(idx) % 2:
            idx.append(0)
        line = bytearray((idx[i] << 4) | idx[i + 1] for i in range(0, len(idx), 2))
        line += bytes(stride - len(line))
        data += line
    table = bytearray()
    for r, g, b in VGA:
        table += bytes((b, g, r, 0))
    offset = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info + bytes(table) + bytes(data))


def write_bmp_indexed(path, rows, palette):
    """Writes a bottom-up 8-bit BMP with a colour table. rows: lists of palette indices;
    palette: (r, g, b) tuples. Indexed bitmaps can have their colours mapped at run time."""
    h, w = len(rows), len(rows[0])
    stride = ((w + 3) // 4) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(row)
        line += bytes(stride - len(line))
        data += line
    table = bytearray()
    for r, g, b in palette:
        table += bytes((b, g, r, 0))
    offset = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, w, h, 1, 8, 0, len(data), 2835, 2835,
                       len(palette), len(palette))
    head = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    with open(path, 'wb') as f:
        f.write(head + info + bytes(table) + bytes(data))
