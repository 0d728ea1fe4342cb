#!/usr/bin/env python3
"""Draws the wizard's branding pictures and its icon and writes them as BMP / ICO files.

Run from anywhere: python3 app/res/make_images.py. Only the standard library is used, so the
pictures can be regenerated on any machine and the output is byte-for-byte reproducible.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def rect(pixels, left, top, right, bottom, colour):
    for y in range(max(top, 0), min(bottom, len(pixels))):
        for x in range(max(left, 0), min(right, len(pixels[0]))):
            pixels[y][x] = colour


def frame(pixels, left, top, right, bottom, colour):
    rect(pixels, left, top, right, top + 1, colour)
    rect(pixels, left, bottom - 1, right, bottom, colour)
    rect(pixels, left, top, left + 1, bottom, colour)
    rect(pixels, right - 1, top, right, bottom, colour)


def polygon(pixels, points, colour):
    # Even-odd scanline fill, sampled at pixel centres.
    for y in range(len(pixels)):
        cy = y + 0.5
        xs = []
        for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
            if (y0 <= cy < y1) or (y1 <= cy < y0):
                xs.append(x0 + (cy - y0) * (x1 - x0) / (y1 - y0))
        xs.sort()
        for a, b in zip(xs[::2], xs[1::2]):
            for x in range(len(pixels[0])):
                if a <= x + 0.5 < b:
                    pixels[y][x] = colour


def disc(pixels, cx, cy, radius, colour, inner=0.0):
    for y in range(len(pixels)):
        for x in range(len(pixels[0])):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if inner <= d <= radius:
                pixels[y][x] = colour


def bmp24(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 3 + 3) & ~3
    rows = b""
    for row in reversed(pixels):
        data = b"".join(bytes((b, g, r)) for r, g, b in row)
        rows += data + b"\0" * (stride - len(data))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


# The standard 16-colour palette; the icon is drawn with these only.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def ico16(pixels, transparent):
    height, width = len(pixels), len(pixels[0])
    xor_stride = ((width * 4 + 31) // 32) * 4
    and_stride = ((width + 31) // 32) * 4
    xor, mask = b"", b""
    for row in reversed(pixels):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x, colour in enumerate(row):
            index = 0 if colour == transparent else PALETTE16.index(colour)
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if colour == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(line)
        mask += bytes(bits)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE16)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, len(xor) + len(mask),
                       0, 0, 16, 0)
    image = info + palette + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", width, height, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


NAVY = (0, 0, 128)
DARK_BLUE = (0, 32, 112)
LIGHT_BLUE = (176, 208, 240)
WHITE = (255, 255, 255)
KEY_GREY = (192, 192, 192)  # Image2's background; the window leaves it unpainted.


def logo_mark():
    # The host program's mark: a stylised "T" over a test tube, dark blue on light blue, framed.
    p = canvas(32, 32, LIGHT_BLUE)
    frame(p, 0, 0, 32, 32, DARK_BLUE)
    frame(p, 2, 2, 30, 30, DARK_BLUE)
    rect(p, 6, 6, 26, 10, DARK_BLUE)
    rect(p, 14, 10, 18, 20, DARK_BLUE)
    disc(p, 16, 22, 5, DARK_BLUE)
    disc(p, 16, 22, 2.2, LIGHT_BLUE)
    return p


def software_box():
    # An open software box with a disc leaning out of it, on the grey key colour.
    p = canvas(48, 48, KEY_GREY)
    box_front, box_side, box_inner = (30, 70, 170), (20, 45, 120), (10, 25, 70)
    flap, outline = (70, 110, 210), (0, 0, 40)
    polygon(p, [(6, 22), (30, 22), (30, 44), (6, 44)], box_front)
    polygon(p, [(30, 22), (42, 16), (42, 38), (30, 44)], box_side)
    polygon(p, [(6, 22), (18, 16), (42, 16), (30, 22)], box_inner)
    disc(p, 25, 14, 11, (235, 235, 245))
    disc(p, 25, 14, 11, (150, 150, 170), inner=10)
    disc(p, 25, 14, 7, (200, 215, 255), inner=4)
    disc(p, 25, 14, 3, KEY_GREY)
    disc(p, 25, 14, 3, (90, 90, 110), inner=2.2)
    polygon(p, [(6, 22), (30, 22), (30, 44), (6, 44)], box_front)
    polygon(p, [(6, 22), (0, 30), (22, 30), (30, 22)], flap)
    polygon(p, [(30, 22), (42, 16), (47, 24), (36, 30)], flap)
    rect(p, 10, 32, 26, 34, (255, 220, 0))
    rect(p, 10, 36, 22, 38, WHITE)
    frame(p, 6, 22, 30, 44, outline)
    return p


def app_icon():
    # The installer's icon in 16 colours: a navy box with a yellow arrow pointing into it.
    transparent = (255, 0, 255)
    p = canvas(32, 32, transparent)
    rect(p, 3, 14, 29, 30, NAVY)
    frame(p, 3, 14, 29, 30, (0, 0, 0))
    rect(p, 5, 16, 27, 18, (0, 0, 255))
    rect(p, 13, 2, 19, 12, (255, 255, 0))
    polygon(p, [(8, 11), (24, 11), (16, 20)], (255, 255, 0))
    frame(p, 13, 2, 19, 11, (128, 128, 0))
    rect(p, 9, 24, 23, 26, (255, 255, 255))
    return p, transparent


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(data)


if __name__ == "__main__":
    write("Image1.bmp", bmp24(logo_mark()))
    write("Image2.bmp", bmp24(software_box()))
    icon, transparent = app_icon()
    write("Instalator.ico", ico16(icon, transparent))
