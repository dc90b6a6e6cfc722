#!/usr/bin/env python3
"""Draws the demo's artwork, the music app's icon and the headphone glyphs.

Everything is computed from simple shapes, so the files are ours and rebuild identically:
    python3 assets/make_assets.py
Writes PNG (zlib) and baseline JPEG files next to this script; needs only the standard library.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------------------------------------
# Canvas: RGBA floats, shapes with a one-pixel soft edge.

class Canvas:
    def __init__(self, w, h, color=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(color) for _ in range(w * h)]

    def blend(self, x, y, color, coverage):
        if coverage <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        r, g, b, a = color
        a *= min(coverage, 1.0)
        p = self.px[y * self.w + x]
        out_a = a + p[3] * (1 - a)
        if out_a <= 0:
            return
        for i, c in enumerate((r, g, b)):
            p[i] = (c * a + p[i] * p[3] * (1 - a)) / out_a
        p[3] = out_a

    def fill(self, shade):
        """shade(x, y) -> RGBA for every pixel (u, v in 0..1)."""
        for y in range(self.h):
            for x in range(self.w):
                self.blend(x, y, shade((x + 0.5) / self.w, (y + 0.5) / self.h), 1)

    def circle(self, cx, cy, r, color):
        for y in range(max(0, int(cy - r - 1)), min(self.h, int(cy + r + 2))):
            for x in range(max(0, int(cx - r - 1)), min(self.w, int(cx + r + 2))):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.blend(x, y, color, r + 0.5 - d)

    def ring(self, cx, cy, r, width, color, start=0.0, end=2 * math.pi):
        for y in range(max(0, int(cy - r - width)), min(self.h, int(cy + r + width + 1))):
            for x in range(max(0, int(cx - r - width)), min(self.w, int(cx + r + width + 1))):
                dx, dy = x + 0.5 - cx, y + 0.5 - cy
                angle = math.atan2(dy, dx) % (2 * math.pi)
                if not (start <= angle <= end):
                    continue
                d = abs(math.hypot(dx, dy) - r)
                self.blend(x, y, color, width / 2 + 0.5 - d)

    def capsule(self, x0, y0, x1, y1, r, color):
        """A thick line with round ends from (x0, y0) to (x1, y1)."""
        lx, ly = x1 - x0, y1 - y0
        length2 = lx * lx + ly * ly or 1
        for y in range(max(0, int(min(y0, y1) - r - 1)), min(self.h, int(max(y0, y1) + r + 2))):
            for x in range(max(0, int(min(x0, x1) - r - 1)), min(self.w, int(max(x0, x1) + r + 2))):
                px, py = x + 0.5 - x0, y + 0.5 - y0
                t = max(0, min(1, (px * lx + py * ly) / length2))
                d = math.hypot(px - t * lx, py - t * ly)
                self.blend(x, y, color, r + 0.5 - d)

    def rounded_mask(self, radius):
        """Makes the corners outside a rounded rectangle transparent."""
        for y in range(self.h):
            for x in range(self.w):
                cx = min(max(x + 0.5, radius), self.w - radius)
                cy = min(max(y + 0.5, radius), self.h - radius)
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.px[y * self.w + x][3] *= max(0, min(1, radius + 0.5 - d))

    def rgba8(self):
        return [tuple(max(0, min(255, int(round(c * 255)))) for c in p) for p in self.px]


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


# ---------------------------------------------------------------------------------------------
# PNG

def write_png(path, canvas):
    pixels = canvas.rgba8()
    raw = bytearray()
    for y in range(canvas.h):
        raw.append(0)
        for p in pixels[y * canvas.w:(y + 1) * canvas.w]:
            raw.extend(p)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + \
        chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------------------------
# Baseline JPEG (4:4:4, standard tables)

ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34,
          27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37,
          44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]
Q_LUMA = [16, 11, 10, 16, 24, 40, 51, 61, 12, 12, 14, 19, 26, 58, 60, 55, 14, 13, 16, 24, 40, 57,
          69, 56, 14, 17, 22, 29, 51, 87, 80, 62, 18, 22, 37, 56, 68, 109, 103, 77, 24, 35, 55,
          64, 81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100,
          103, 99]
Q_CHROMA = [17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99,
            99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99] + [99] * 32
DC_LUMA = ([0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0], list(range(12)))
DC_CHROMA = ([0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0], list(range(12)))
def _tail(first_rows):
    """The regular part of the standard AC tables: for each high nibble, its low nibbles."""
    out = []
    for high, low_start in first_rows:
        out += [(high << 4) | low for low in range(low_start, 11)]
    return out


AC_LUMA = ([0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d], bytes(
    [0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
     0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
     0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a] +
    _tail([(2, 5), (3, 4), (4, 3), (5, 3), (6, 3), (7, 3), (8, 3), (9, 2), (10, 2), (11, 2),
           (12, 2), (13, 2), (14, 1), (15, 1)])))
AC_CHROMA = ([0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77], bytes(
    [0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
     0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
     0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
     0x19, 0x1a] +
    _tail([(2, 6), (3, 5), (4, 3), (5, 3), (6, 3), (7, 3), (8, 2), (9, 2), (10, 2), (11, 2),
           (12, 2), (13, 2), (14, 2), (15, 2)])))
assert len(AC_LUMA[1]) == sum(AC_LUMA[0]) == 162
assert len(AC_CHROMA[1]) == sum(AC_CHROMA[0]) == 162


def huffman_codes(table):
    counts, symbols = table
    codes, code, k = {}, 0, 0
    for length, n in enumerate(counts, start=1):
        for _ in range(n):
            codes[symbols[k]] = (code, length)
            code += 1
            k += 1
        code <<= 1
    return codes


class BitWriter:
    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.n = 0

    def write(self, code, length):
        self.acc = (self.acc << length) | code
        self.n += length
        while self.n >= 8:
            byte = (self.acc >> (self.n - 8)) & 0xFF
            self.out.append(byte)
            if byte == 0xFF:
                self.out.append(0)
            self.n -= 8

    def flush(self):
        if self.n:
            self.write((1 << (8 - self.n)) - 1, 8 - self.n)


def scaled_table(table, quality):
    s = 5000 / quality if quality < 50 else 200 - 2 * quality
    return [max(1, min(255, (q * s + 50) // 100)) for q in table]


COS = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]


def fdct(block):
    out = [0.0] * 64
    for v in range(8):
        for u in range(8):
            s = 0.0
            for y in range(8):
                cy = COS[v][y]
                row = block[y * 8:(y + 1) * 8]
                for x in range(8):
                    s += row[x] * COS[u][x] * cy
            cu = 1 / math.sqrt(2) if u == 0 else 1
            cv = 1 / math.sqrt(2) if v == 0 else 1
            out[v * 8 + u] = 0.25 * cu * cv * s
    return out


def magnitude(value):
    size = abs(value).bit_length()
    bits = value if value >= 0 else value + (1 << size) - 1
    return size, bits


def write_jpeg(path, canvas, quality=88):
    pixels = canvas.rgba8()
    w, h = canvas.w, canvas.h
    qy, qc = scaled_table(Q_LUMA, quality), scaled_table(Q_CHROMA, quality)
    tables = [(qy, huffman_codes(DC_LUMA), huffman_codes(AC_LUMA)),
              (qc, huffman_codes(DC_CHROMA), huffman_codes(AC_CHROMA)),
              (qc, huffman_codes(DC_CHROMA), huffman_codes(AC_CHROMA))]
    planes = [[], [], []]
    for r, g, b, _ in pixels:
        planes[0].append(0.299 * r + 0.587 * g + 0.114 * b - 128)
        planes[1].append(-0.168736 * r - 0.331264 * g + 0.5 * b)
        planes[2].append(0.5 * r - 0.418688 * g - 0.081312 * b)
    bits = BitWriter()
    previous = [0, 0, 0]
    for by in range(0, h, 8):
        for bx in range(0, w, 8):
            for c in range(3):
                q, dc_codes, ac_codes = tables[c]
                block = [planes[c][min(by + y, h - 1) * w + min(bx + x, w - 1)]
                         for y in range(8) for x in range(8)]
                coefficients = fdct(block)
                zz = [int(round(coefficients[ZIGZAG[i]] / q[ZIGZAG[i]])) for i in range(64)]
                size, value = magnitude(zz[0] - previous[c])
                previous[c] = zz[0]
                bits.write(*dc_codes[size])
                if size:
                    bits.write(value, size)
                run = 0
                for i in range(1, 64):
                    if zz[i] == 0:
                        run += 1
                        continue
                    while run > 15:
                        bits.write(*ac_codes[0xF0])
                        run -= 16
                    size, value = magnitude(zz[i])
                    bits.write(*ac_codes[(run << 4) | size])
                    bits.write(value, size)
                    run = 0
                if run:
                    bits.write(*ac_codes[0x00])
    bits.flush()

    def segment(marker, data):
        return struct.pack(">BBH", 0xFF, marker, len(data) + 2) + data

    out = b"\xff\xd8"
    out += segment(0xE0, b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00")
    out += segment(0xDB, bytes([0]) + bytes(qy[ZIGZAG[i]] for i in range(64)) +
                   bytes([1]) + bytes(qc[ZIGZAG[i]] for i in range(64)))
    out += segment(0xC0, struct.pack(">BHHB", 8, h, w, 3) +
                   bytes([1, 0x11, 0, 2, 0x11, 1, 3, 0x11, 1]))
    for cls_id, (counts, symbols) in ((0x00, DC_LUMA), (0x10, AC_LUMA), (0x01, DC_CHROMA),
                                      (0x11, AC_CHROMA)):
        out += segment(0xC4, bytes([cls_id]) + bytes(counts) + bytes(symbols))
    out += segment(0xDA, bytes([3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0]))
    out += bytes(bits.out) + b"\xff\xd9"
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------------------------------------
# The pictures

def sunset(size):
    c = Canvas(size, size)
    top, middle, bottom = (0.18, 0.09, 0.35, 1), (0.93, 0.36, 0.31, 1), (0.99, 0.72, 0.33, 1)
    c.fill(lambda u, v: mix(top, middle, v / 0.6) if v < 0.6 else mix(middle, bottom, (v - 0.6) / 0.4))
    c.circle(size * 0.5, size * 0.62, size * 0.2, (1, 0.86, 0.55, 0.95))
    for i in range(5):
        y = size * (0.7 + i * 0.06)
        c.capsule(size * 0.15, y, size * 0.85, y, size * 0.008, (0.3, 0.1, 0.3, 0.55))
    return c


def ocean(size):
    c = Canvas(size, size)
    c.fill(lambda u, v: mix((0.05, 0.2, 0.45, 1), (0.1, 0.65, 0.75, 1), v))
    for i in range(7):
        y0 = size * (0.25 + i * 0.1)
        for k in range(12):
            x = size * k / 11
            y = y0 + math.sin(k * 0.9 + i) * size * 0.02
            c.circle(x, y, size * 0.018, (0.85, 0.95, 1, 0.35))
    c.circle(size * 0.78, size * 0.18, size * 0.08, (1, 1, 0.9, 0.9))
    return c


def forest(size):
    c = Canvas(size, size)
    c.fill(lambda u, v: mix((0.75, 0.85, 0.7, 1), (0.2, 0.35, 0.2, 1), v))
    for i, x in enumerate((0.15, 0.35, 0.55, 0.75, 0.92, 0.25, 0.65)):
        base = 0.95 if i < 5 else 0.8
        green = (0.08 + 0.05 * (i % 3), 0.3 + 0.08 * (i % 4), 0.12, 1)
        for k in range(10):
            t = k / 9
            width = (1 - t) * 0.12
            y = size * (base - t * 0.5)
            c.capsule(size * (x - width), y, size * (x + width), y, size * 0.02, green)
    return c


def app_icon(size):
    c = Canvas(size, size)
    c.fill(lambda u, v: mix((0.99, 0.36, 0.45, 1), (0.98, 0.17, 0.3, 1), v))
    white = (1, 1, 1, 1)
    s = size / 60
    c.circle(21 * s, 41 * s, 6 * s, white)
    c.circle(39 * s, 37 * s, 6 * s, white)
    c.capsule(26 * s, 41 * s, 26 * s, 17 * s, 1.6 * s, white)
    c.capsule(44 * s, 37 * s, 44 * s, 13 * s, 1.6 * s, white)
    c.capsule(26 * s, 17 * s, 44 * s, 13 * s, 2.2 * s, white)
    c.rounded_mask(size * 0.225)
    return c


def earbuds(size, stem=True, tips=False):
    c = Canvas(size, size)
    white = (1, 1, 1, 1)
    s = size / 30
    for cx in (9, 21):
        c.circle(cx * s, 10 * s, 4.5 * s, white)
        if stem:
            c.capsule(cx * s, 12 * s, cx * s, (21 if not tips else 18) * s, 1.8 * s, white)
        if tips:
            c.circle((cx + (2 if cx < 15 else -2)) * s, 13 * s, 2.2 * s, white)
    return c


def headphones(size):
    c = Canvas(size, size)
    white = (1, 1, 1, 1)
    s = size / 30
    c.ring(15 * s, 15 * s, 10 * s, 2.4 * s, white, math.pi, 2 * math.pi)
    for cx in (6, 24):
        c.capsule(cx * s, 15 * s, cx * s, 22 * s, 3.2 * s, white)
    return c


def main():
    write_jpeg(os.path.join(HERE, "artwork-sunset.jpg"), sunset(480))
    write_png(os.path.join(HERE, "artwork-ocean.png"), ocean(400))
    write_jpeg(os.path.join(HERE, "artwork-forest.jpg"), forest(360))
    write_png(os.path.join(HERE, "appicon.png"), app_icon(120))
    glyphs = os.path.join(HERE, "glyphs")
    os.makedirs(glyphs, exist_ok=True)
    shapes = {
        "B688": lambda n: earbuds(n, stem=True),
        "batteryglyphs-b515": headphones,
        "batteryglyphs-b298-left-right": lambda n: earbuds(n, stem=True, tips=True),
        "batteryglyphs-airpodspro-left-right": lambda n: earbuds(n, stem=True, tips=True),
        "batteryglyphs-airpods-left-right": lambda n: earbuds(n, stem=True),
    }
    for name, draw in shapes.items():
        write_png(os.path.join(glyphs, name + ".png"), draw(30))
        write_png(os.path.join(glyphs, name + "@3x.png"), draw(90))


if __name__ == "__main__":
    main()
