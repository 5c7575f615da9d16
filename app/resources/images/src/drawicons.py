#!/usr/bin/env python3
"""Draws the program's tool-bar icons as PNG files from simple shapes.

Run from app/resources/images: python3 src/drawicons.py
Plain Python (zlib + struct), 4x4 supersampling for smooth edges.
"""
import math
import struct
import zlib

SS = 4


def rgba(hexcolour, alpha=255):
    h = hexcolour.lstrip('#')
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16), alpha)


def inside_polygon(x, y, pts):
    hit = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def seg_dist(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy or 1)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def rect(x, y, w, h, r=0):
    def test(px, py):
        if not (x <= px <= x + w and y <= py <= y + h):
            return False
        cx = min(max(px, x + r), x + w - r)
        cy = min(max(py, y + r), y + h - r)
        return math.hypot(px - cx, py - cy) <= r if r else True
    return test


def circle(cx, cy, r):
    return lambda px, py: math.hypot(px - cx, py - cy) <= r


def ring(cx, cy, r, width):
    return lambda px, py: abs(math.hypot(px - cx, py - cy) - r) <= width / 2.0


def polygon(pts):
    return lambda px, py: inside_polygon(px, py, pts)


def polyline(pts, width):
    return lambda px, py: any(seg_dist(px, py, pts[i], pts[i + 1]) <= width / 2.0 for i in range(len(pts) - 1))


def render(size, shapes, path):
    rows = []
    for y in range(size):
        row = bytearray([0])
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SS):
                for sx in range(SS):
                    px, py = x + (sx + 0.5) / SS, y + (sy + 0.5) / SS
                    colour = None
                    for test, col in shapes:
                        if test(px, py):
                            colour = col
                    if colour:
                        a = colour[3] / 255.0
                        for c in range(3):
                            acc[c] += colour[c] * a
                        acc[3] += a
            n = SS * SS
            alpha = acc[3] / n
            if alpha > 0:
                row += bytes([int(acc[0] / acc[3]), int(acc[1] / acc[3]), int(acc[2] / acc[3]), int(alpha * 255)])
            else:
                row += bytes([0, 0, 0, 0])
        rows.append(bytes(row))

    def chunk(kind, data):
        c = struct.pack('>I', len(data)) + kind + data
        return c + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff)

    png = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(b''.join(rows), 9)) + chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


BLUE, GREY, RED, WHITE = rgba('#2f5d8a'), rgba('#3a3a3a'), rgba('#d33333'), rgba('#ffffff')

render(128, [(rect(8, 40, 80, 60, 10), BLUE), (polygon([(88, 60), (120, 42), (120, 98), (88, 80)]), BLUE),
             (ring(30, 24, 13, 7), BLUE), (ring(64, 24, 13, 7), BLUE), (circle(22, 54, 6), RED)],
       'device-camera-recorder-video-glyph-128.png')
render(128, [(rect(8, 36, 112, 76, 12), GREY), (rect(42, 22, 40, 20, 5), GREY), (circle(64, 74, 28), rgba('#dddddd')),
             (circle(64, 74, 18), BLUE), (rect(96, 46, 14, 8), rgba('#f3c130'))],
       'icon-camera-128.png')
render(64, [(rect(10, 4, 44, 56, 4), rgba('#555555')), (rect(13, 7, 38, 50, 2), WHITE),
            (rect(18, 14, 28, 4), BLUE), (rect(18, 24, 28, 3), GREY), (rect(18, 33, 22, 3), GREY),
            (rect(18, 42, 28, 3), RED), (rect(18, 50, 16, 3), GREY)],
       'actions/log.png')
render(64, [(polygon([(10, 4), (42, 4), (54, 16), (54, 60), (10, 60)]), rgba('#555555')),
            (polygon([(13, 7), (41, 7), (51, 17), (51, 57), (13, 57)]), WHITE),
            (polygon([(42, 4), (42, 16), (54, 16)]), rgba('#bbbbbb')),
            (ring(32, 38, 11, 6), BLUE), (circle(32, 38, 4), BLUE)],
       'actions/Settings_file_Icon_64.png')
render(64, [(polyline([(8, 4), (8, 56), (60, 56)], 4), GREY),
            (polyline([(12, 46), (22, 30), (32, 38), (42, 16), (54, 24)], 4), RED)],
       'buttons/plot.png')
render(64, [(circle(32, 32, 28), rgba('#2f8a4a')), (rect(27, 12, 10, 24), WHITE),
            (polygon([(16, 34), (48, 34), (32, 52)]), WHITE)],
       'update.png')
