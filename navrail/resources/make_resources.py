#!/usr/bin/env python3
"""Draws the navigation bar's bitmaps and cursors and synthesises its sounds.

Writes, beside this script:
  bitmaps/201.bmp, bitmaps/202.bmp  default large (32 px) and small (16 px) images, one strip each;
                                    the top-left pixel's colour (magenta) is the transparent colour
  bitmaps/209.bmp ... 212.bmp       check-mark images of the icon-size menu entries (16 px):
                                    large icons checked / unchecked, small icons checked / unchecked
  cursors/203.png, 204.png, 205.png splitter cursors (bar across / header button / bar upright)
  sounds/206.wav, 207.wav, 208.wav  group change, scroll step, item opened (8-bit mono 11025 Hz)
The files are kept in the repository; run this again only to change them.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
MASK = (255, 0, 255)

# ---- raster helpers --------------------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, fill):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):           # inclusive corners
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
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.set(x, y, c)


BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY = (128, 128, 128)
YELLOW = (255, 204, 64)
DARKYELLOW = (192, 144, 32)
BLUE = (48, 96, 200)
RED = (200, 48, 48)
GREEN = (48, 160, 72)


def icon(kind, s):
    """One image of size 16*s; shapes are given on a 16-unit grid."""
    n = 16 * s
    c = Canvas(n, n, MASK)

    def R(x0, y0, x1, y1, col):                 # unit rectangle, inclusive
        c.rect(x0 * s, y0 * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1, col)

    def F(x0, y0, x1, y1, col):                 # one-pixel frame around unit rectangle
        c.frame(x0 * s, y0 * s, (x1 + 1) * s - 1, (y1 + 1) * s - 1, col)

    if kind == 'folder':
        R(1, 3, 6, 4, DARKYELLOW)
        R(1, 4, 14, 13, YELLOW)
        F(1, 4, 14, 13, BLACK)
    elif kind == 'document':
        R(3, 1, 12, 14, WHITE)
        F(3, 1, 12, 14, BLACK)
        for y in (4, 6, 8, 10):
            R(5, y, 10, y, GREY)
    elif kind == 'calendar':
        R(2, 2, 13, 13, WHITE)
        R(2, 2, 13, 4, RED)
        F(2, 2, 13, 13, BLACK)
        for y in (6, 9, 12):
            for x in (4, 7, 10):
                R(x, y, x + 1, y, GREY)
    elif kind == 'people':
        c.disc(5.5 * s, 5 * s, 2.5 * s, BLUE)
        R(2, 9, 8, 13, BLUE)
        c.disc(10.5 * s, 5 * s, 2.5 * s, GREEN)
        R(8, 9, 13, 13, GREEN)
    elif kind == 'fish':
        c.disc(7 * s, 8 * s, 4.5 * s, BLUE)
        for i in range(4 * s):                  # tail
            c.rect(11 * s + i, 8 * s - i - 1, 11 * s + i, 8 * s + i, BLUE)
        c.disc(5 * s, 7 * s, 0.75 * s, WHITE)
    elif kind == 'clock':
        c.disc(8 * s, 8 * s, 6.5 * s, BLACK)
        c.disc(8 * s, 8 * s, 5.5 * s, WHITE)
        R(7, 4, 7, 8, BLACK)
        R(7, 8, 10, 8, BLACK)
    return c


KINDS = ['folder', 'document', 'calendar', 'people', 'fish', 'clock']


def strip(s):
    n = 16 * s
    out = Canvas(n * len(KINDS), n, MASK)
    for i, k in enumerate(KINDS):
        img = icon(k, s)
        for y in range(n):
            for x in range(n):
                out.px[y][i * n + x] = img.px[y][x]
    return out


def write_bmp(path, canvas):
    row = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for y in range(canvas.h - 1, -1, -1):
        line = bytearray()
        for (r, g, b) in canvas.px[y]:
            line += bytes((b, g, r))
        line += b'\0' * (row - len(line))
        data += line
    header = struct.pack('<2sIHHI', b'BM', 54 + len(data), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(header + info + data)


def check_mark(small, checked):
    """A 16-pixel image for a menu entry: one large square or four small ones, framed when checked."""
    c = Canvas(16, 16, MASK)
    if checked:
        c.rect(0, 0, 15, 15, WHITE)
        c.frame(0, 0, 15, 15, GREY)
    if small:
        for x0, y0 in ((3, 3), (9, 3), (3, 9), (9, 9)):
            c.rect(x0, y0, x0 + 3, y0 + 3, BLUE)
    else:
        c.rect(3, 3, 12, 12, BLUE)
        c.frame(3, 3, 12, 12, BLACK)
    return c


# ---- cursors ---------------------------------------------------------------------------------
# 'X' black, '.' white, ' ' transparent; 32 x 32 with the hot spot given in the code that loads them.

def arrow_cursor(vertical):
    rows = [[' '] * 32 for _ in range(32)]

    def put(x, y, ch):
        if vertical:
            x, y = y, x
        rows[y][x] = ch

    # a double-headed arrow along x through a two-line bar, drawn for the left-right case
    for x in range(6, 26):
        for y in (14, 15, 16, 17):
            put(x, y, '.')
        put(x, 13, 'X')
        put(x, 18, 'X')
    for x in (14, 17):
        for y in range(6, 26):
            put(x, y, 'X')
    for i in range(7):                        # arrow heads
        for y in range(15 - i, 17 + i):
            put(1 + i, y, '.')
            put(30 - i, y, '.')
        put(1 + i, 15 - i, 'X')
        put(1 + i, 16 + i, 'X')
        put(30 - i, 15 - i, 'X')
        put(30 - i, 16 + i, 'X')
    return rows


HAND = [
    "      XX                        ",
    "     X..X                       ",
    "     X..X                       ",
    "     X..X                       ",
    "     X..X                       ",
    "     X..XXX                     ",
    "     X..X..XXX                  ",
    "     X..X..X..XX                ",
    "     X..X..X..X.X               ",
    "  XX X..........X               ",
    " X..XX..........X               ",
    " X...X..........X               ",
    "  X.............X               ",
    "   X............X               ",
    "   X...........X                ",
    "    X..........X                ",
    "     X........X                 ",
    "     X........X                 ",
    "     XXXXXXXXXX                 ",
]


def hand_cursor():
    rows = [[' '] * 32 for _ in range(32)]
    for y, line in enumerate(HAND):
        for x, ch in enumerate(line[:32]):
            rows[y][x] = ch
    return rows


def write_png(path, rows):
    raw = bytearray()
    for line in rows:
        raw.append(0)
        for ch in line:
            raw += {'X': bytes((0, 0, 0, 255)), '.': bytes((255, 255, 255, 255))}.get(ch, bytes(4))
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', 32, 32, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


# ---- sounds ----------------------------------------------------------------------------------
RATE = 11025


def write_wav(path, samples):
    data = bytes(max(0, min(255, int(round(128 + 127 * v)))) for v in samples)
    header = struct.pack('<4sI4s4sIHHIIHH4sI', b'RIFF', 36 + len(data), b'WAVE', b'fmt ', 16, 1, 1,
                         RATE, RATE, 1, 8, b'data', len(data))
    with open(path, 'wb') as f:
        f.write(header + data)


def tone(n, freqs, attack, decay, volume):
    out = []
    for i in range(n):
        t = i / RATE
        env = min(1.0, t / attack) * math.exp(-t / decay)
        out.append(volume * env * sum(math.sin(2 * math.pi * f(t) * t) for f in freqs) / len(freqs))
    return out


def main():
    for sub in ('bitmaps', 'cursors', 'sounds'):
        os.makedirs(os.path.join(HERE, sub), exist_ok=True)
    write_bmp(os.path.join(HERE, 'bitmaps', '201.bmp'), strip(2))
    write_bmp(os.path.join(HERE, 'bitmaps', '202.bmp'), strip(1))
    for rid, small, checked in ((209, False, True), (210, False, False), (211, True, True), (212, True, False)):
        write_bmp(os.path.join(HERE, 'bitmaps', '%d.bmp' % rid), check_mark(small, checked))
    write_png(os.path.join(HERE, 'cursors', '203.png'), arrow_cursor(vertical=True))
    write_png(os.path.join(HERE, 'cursors', '204.png'), hand_cursor())
    write_png(os.path.join(HERE, 'cursors', '205.png'), arrow_cursor(vertical=False))
    # data lengths give files of 9444, 1016 and 1930 bytes
    write_wav(os.path.join(HERE, 'sounds', '206.wav'),
              tone(9400, [lambda t: 880 - 300 * t, lambda t: 1320 - 450 * t], 0.01, 0.25, 0.6))
    write_wav(os.path.join(HERE, 'sounds', '207.wav'),
              tone(972, [lambda t: 2200.0], 0.001, 0.015, 0.5))
    write_wav(os.path.join(HERE, 'sounds', '208.wav'),
              tone(1886, [lambda t: 660.0 if t < 0.07 else 990.0], 0.002, 0.06, 0.6))


if __name__ == '__main__':
    main()
