#!/usr/bin/env python3
"""Draws the sample map of samples/bitmaps: a coast, shaded hills with
contour lines, a river, a road and two link sites, as a 24-bit BMP file
(map24.bmp) and a 4-bit BMP file with a core header (map_core.bmp). The
other samples are made from map24.bmp by the tool:

    jxut bmp convert map24.bmp map8.bmp --bits 8
    jxut bmp convert map24.bmp map4.bmp --bits 4
    jxut bmp convert map24.bmp map1.bmp --bits 1
    jxut bmp convert map24.bmp map_rle8.bmp --bits 8 --rle
    jxut bmp convert map24.bmp map_rle4.bmp --bits 4 --rle
"""
import math
import struct
import sys

W, H = 120, 80


def height(x, y):
    return (40 * math.exp(-((x - 80) ** 2 + (y - 30) ** 2) / 500.0)
            + 25 * math.exp(-((x - 45) ** 2 + (y - 55) ** 2) / 300.0)
            + 8 * math.sin(x / 9.0) * math.cos(y / 7.0) + 0.35 * x - 20)


def colour(x, y):
    h = height(x, y)
    if abs(y - (40 + 12 * math.sin(x / 15.0))) < 1.2 and h > 0:
        return (40, 90, 200)  # river
    if abs(x - 1.4 * y - 10) < 0.8 and h > 0:
        return (90, 60, 40)  # road
    for sx, sy in ((80, 30), (30, 62)):
        if abs(x - sx) <= 1 and abs(y - sy) <= 1:
            return (220, 20, 20)  # link sites
    if h <= 0:
        depth = min(1.0, -h / 25.0)
        return (0, int(90 - 50 * depth), int(200 - 80 * depth))
    if int(h) % 10 == 0:
        return (120, 80, 40)  # contour line
    shade = max(0.0, min(1.0, (height(x + 1, y) - height(x - 1, y) + 2) / 4.0))
    base = (60 + int(h * 3), 150 - int(h), 60) if h < 30 else (150, 140, 120)
    return tuple(max(0, min(255, int(c * (0.7 + 0.5 * shade)))) for c in base)


def rows(bits_for, row_bytes):
    out = b''
    for y in range(H - 1, -1, -1):
        row = bits_for(y)
        out += row + b'\0' * (row_bytes - len(row))
    return out


def write_24(path):
    row_bytes = (W * 3 + 3) // 4 * 4
    pixels = rows(lambda y: b''.join(bytes(colour(x, y)[::-1]) for x in range(W)), row_bytes)
    header = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54) + header + pixels)


VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (128, 128, 128), (192, 192, 192), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def nearest(c):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(VGA[i], c)))


def write_core(path):
    row_bytes = (W * 4 + 31) // 32 * 4

    def row(y):
        idx = [nearest(colour(x, y)) for x in range(W)]
        return bytes((idx[i] << 4) | (idx[i + 1] if i + 1 < W else 0) for i in range(0, W, 2))

    pixels = rows(row, row_bytes)
    table = b''.join(bytes(c[::-1]) for c in VGA)
    header = struct.pack('<IHHHH', 12, W, H, 1, 4)
    offset = 14 + 12 + len(table)
    with open(path, 'wb') as f:
        f.write(struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + header + table
                + pixels)


if __name__ == '__main__':
    folder = sys.argv[1] if len(sys.argv) > 1 else '.'
    write_24(folder + '/map24.bmp')
    write_core(folder + '/map_core.bmp')
