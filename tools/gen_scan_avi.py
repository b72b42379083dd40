#!/usr/bin/env python3
"""Draws the progress window's animation clip into res/scan.avi: a magnifying glass that
sweeps to and fro over a row of program buttons, lighting up the button under it.

The clip is an uncompressed 8-bit palette AVI (one video stream, 'DIB ' frames, an index),
which the common controls' animation control plays without any codec.
Run from anywhere: python3 tools/gen_scan_avi.py"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), 'art'))
from raster import Canvas  # noqa: E402

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')

WIDTH, HEIGHT = 128, 40
STEPS = 12                    # frames of one sweep; the clip sweeps there and back
FRAME_US = 90000              # 90 ms a frame
BACKGROUND = (240, 240, 240)  # first pixel: the control shows the dialog through it
TILES = [(230, 80, 60), (60, 170, 80), (250, 190, 40), (70, 130, 220), (170, 90, 200)]


def lighter(color, amount):
    return tuple(int(c + (255 - c) * amount) for c in color)


def frame(step):
    c = Canvas(WIDTH, HEIGHT, ss=3)
    c.rect(0, 0, WIDTH, HEIGHT, BACKGROUND + (255,))
    # the bar: a light panel with a darker rim
    c.round_rect(4, 10, WIDTH - 4, 34, 4, (150, 160, 175, 255))
    c.round_rect(5, 11, WIDTH - 5, 33, 3, (250, 250, 252, 255))
    # where the glass is: an eased sweep from the first tile to the last
    t = step / float(STEPS)
    ease = 0.5 - 0.5 * math.cos(math.pi * t)
    first_x, last_x = 22, WIDTH - 22
    gx = first_x + (last_x - first_x) * ease
    for i, col in enumerate(TILES):
        x = 12 + i * 22
        centre = x + 8
        glow = max(0.0, 1.0 - abs(centre - gx) / 14.0)
        c.round_rect(x, 14, x + 16, 30, 2.5, lighter(col, 0.45 * glow) + (255,))
        c.rect(x + 3, 17, x + 13, 19, lighter(col, 0.6) + (255,))
    # the glass: a tinted lens, a dark ring and a handle towards the lower right
    gy = 16
    c.ellipse(gx, gy, 9, 9, (200, 225, 255, 110))
    c.fill(lambda x, y: 7.2 ** 2 <= (x - gx) ** 2 + (y - gy) ** 2 <= 9.2 ** 2, (45, 55, 75, 255))
    c.line(gx + 6.5, gy + 6.5, gx + 12, gy + 12, 3.2, (45, 55, 75, 255))
    c.ellipse(gx - 3, gy - 3, 2, 1.4, (255, 255, 255, 200))
    return [[(r, g, b) for r, g, b, _a in row] for row in c.pixels()]


def build_palette(frames):
    """Index 0 is the background; the rest are the most used colours (5 bits a channel)."""
    counts = {}
    for rows in frames:
        for row in rows:
            for col in row:
                key = tuple(v >> 3 for v in col)
                counts[key] = counts.get(key, 0) + 1
    bg_key = tuple(v >> 3 for v in BACKGROUND)
    counts.pop(bg_key, None)
    chosen = sorted(counts, key=lambda k: -counts[k])[:255]
    palette = [BACKGROUND] + [tuple((v << 3) | 4 for v in k) for k in chosen]
    while len(palette) < 256:
        palette.append((0, 0, 0))
    return palette


def quantise(frames, palette):
    cache = {tuple(BACKGROUND): 0}

    def index(col):
        if col not in cache:
            best, best_d = 1, None
            for i in range(1, 256):
                p = palette[i]
                d = (p[0] - col[0]) ** 2 + (p[1] - col[1]) ** 2 + (p[2] - col[2]) ** 2
                if best_d is None or d < best_d:
                    best, best_d = i, d
            cache[col] = best
        return cache[col]

    stride = (WIDTH + 3) & ~3
    out = []
    for rows in frames:
        data = bytearray()
        for row in reversed(rows):  # DIBs are stored bottom-up
            line = bytes(index(col) for col in row)
            data += line + bytes(stride - len(line))
        out.append(bytes(data))
    return out


def chunk(fourcc, payload):
    data = fourcc + struct.pack('<I', len(payload)) + payload
    return data + (b'\0' if len(payload) % 2 else b'')


def riff_list(kind, fourcc, payload):
    return kind + struct.pack('<I', len(payload) + 4) + fourcc + payload


def write_avi(path, images, palette):
    frame_bytes = len(images[0])
    count = len(images)
    avih = struct.pack('<IIIIIIIIII4I', FRAME_US, frame_bytes * 1000000 // FRAME_US, 0,
                       0x10,  # AVIF_HASINDEX
                       count, 0, 1, frame_bytes, WIDTH, HEIGHT, 0, 0, 0, 0)
    strh = struct.pack('<4s4sIHHIIIIIIIIhhhh', b'vids', b'DIB ', 0, 0, 0, 0,
                       FRAME_US, 1000000, 0, count, frame_bytes, 0xFFFFFFFF, 0,
                       0, 0, WIDTH, HEIGHT)
    bih = struct.pack('<IiiHHIIiiII', 40, WIDTH, HEIGHT, 1, 8, 0, frame_bytes, 0, 0, 256, 0)
    colours = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    strl = riff_list(b'LIST', b'strl', chunk(b'strh', strh) + chunk(b'strf', bih + colours))
    hdrl = riff_list(b'LIST', b'hdrl', chunk(b'avih', avih) + strl)

    movi_body = b''
    index = b''
    for img in images:
        offset = 4 + len(movi_body)  # from the 'movi' identifier
        movi_body += chunk(b'00db', img)
        index += struct.pack('<4sIII', b'00db', 0x10, offset, len(img))  # AVIIF_KEYFRAME
    movi = riff_list(b'LIST', b'movi', movi_body)
    body = hdrl + movi + chunk(b'idx1', index)
    with open(path, 'wb') as f:
        f.write(b'RIFF' + struct.pack('<I', len(body) + 4) + b'AVI ' + body)


def main():
    steps = list(range(STEPS + 1)) + list(range(STEPS - 1, 0, -1))
    frames = [frame(s) for s in steps]
    palette = build_palette(frames)
    write_avi(os.path.join(RES, 'scan.avi'), quantise(frames, palette), palette)
    print('wrote res/scan.avi (%d frames)' % len(frames))


if __name__ == '__main__':
    main()
