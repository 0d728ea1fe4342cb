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


def bmp(pixels):
    """A BMP with the picture's own palette at the fewest bits a pixel that hold it: 4 up to 16
    colours, 8 up to 256 (every picture here has fewer, so nothing is lost), 24 otherwise. Not 1:
    a blit from a two-colour bitmap takes the target's text and background colours on some paths
    instead of the palette."""
    colours = sorted({c for row in pixels for c in row})
    if len(colours) > 256:
        return bmp24(pixels)
    bits = 4 if len(colours) <= 16 else 8
    index = {c: i for i, c in enumerate(colours)}
    height, width = len(pixels), len(pixels[0])
    stride = ((width * bits + 31) // 32) * 4
    rows = b""
    for row in reversed(pixels):
        indices = [index[c] for c in row]
        if bits == 4:
            indices += [0] * (len(indices) % 2)
            data = bytes(a << 4 | b for a, b in zip(indices[::2], indices[1::2]))
        else:
            data = bytes(indices)
        rows += data + b"\0" * (stride - len(data))
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(rows), 3780, 3780,
                       len(colours), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + palette + rows


# The standard 16-colour palette; the icon is drawn with these only.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def ico16(images, transparent):
    """An icon file with one 16-colour image for each of the square pictures given."""
    entries, data = b"", b""
    offset = 6 + 16 * len(images)
    for pixels in images:
        image = ico16_image(pixels, transparent)
        size = len(pixels)
        entries += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        data += image
        offset += len(image)
    return struct.pack("<HHH", 0, 1, len(images)) + entries + data


def ico16_image(pixels, transparent):
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
    return info + palette + xor + mask


NAVY = (0, 0, 128)
DARK_BLUE = (0, 32, 112)
LIGHT_BLUE = (176, 208, 240)
WHITE = (255, 255, 255)
KEY_GREY = (192, 192, 192)  # Image2's background; the window leaves it unpainted.


class Pen:
    """Draws on a canvas in the picture's own units, k pixels each (lines k pixels thick)."""

    def __init__(self, pixels, k):
        self.p, self.k = pixels, k

    def _(self, value):
        return int(round(value * self.k))

    def rect(self, left, top, right, bottom, colour):
        rect(self.p, self._(left), self._(top), self._(right), self._(bottom), colour)

    def frame(self, left, top, right, bottom, colour):
        t = 1 / self.k if self.k < 1 else 1
        self.rect(left, top, right, top + t, colour)
        self.rect(left, bottom - t, right, bottom, colour)
        self.rect(left, top, left + t, bottom, colour)
        self.rect(right - t, top, right, bottom, colour)

    def polygon(self, points, colour):
        polygon(self.p, [(x * self.k, y * self.k) for x, y in points], colour)

    def disc(self, cx, cy, radius, colour, inner=0.0):
        disc(self.p, cx * self.k, cy * self.k, radius * self.k, colour, inner * self.k)


def logo_mark(k=1):
    # The host program's mark: a stylised "T" over a test tube, dark blue on light blue, framed.
    p = canvas(int(32 * k), int(32 * k), LIGHT_BLUE)
    pen = Pen(p, k)
    pen.frame(0, 0, 32, 32, DARK_BLUE)
    pen.frame(2, 2, 30, 30, DARK_BLUE)
    pen.rect(6, 6, 26, 10, DARK_BLUE)
    pen.rect(14, 10, 18, 20, DARK_BLUE)
    pen.disc(16, 22, 5, DARK_BLUE)
    pen.disc(16, 22, 2.2, LIGHT_BLUE)
    return p


def software_box(k=1):
    # An open software box with a disc leaning out of it, on the grey key colour.
    p = canvas(int(48 * k), int(48 * k), KEY_GREY)
    pen = Pen(p, k)
    box_front, box_side, box_inner = (30, 70, 170), (20, 45, 120), (10, 25, 70)
    flap, outline = (70, 110, 210), (0, 0, 40)
    pen.polygon([(6, 22), (30, 22), (30, 44), (6, 44)], box_front)
    pen.polygon([(30, 22), (42, 16), (42, 38), (30, 44)], box_side)
    pen.polygon([(6, 22), (18, 16), (42, 16), (30, 22)], box_inner)
    pen.disc(25, 14, 11, (235, 235, 245))
    pen.disc(25, 14, 11, (150, 150, 170), inner=10)
    pen.disc(25, 14, 7, (200, 215, 255), inner=4)
    pen.disc(25, 14, 3, KEY_GREY)
    pen.disc(25, 14, 3, (90, 90, 110), inner=2.2)
    pen.polygon([(6, 22), (30, 22), (30, 44), (6, 44)], box_front)
    pen.polygon([(6, 22), (0, 30), (22, 30), (30, 22)], flap)
    pen.polygon([(30, 22), (42, 16), (47, 24), (36, 30)], flap)
    pen.rect(10, 32, 26, 34, (255, 220, 0))
    pen.rect(10, 36, 22, 38, WHITE)
    pen.frame(6, 22, 30, 44, outline)
    return p


def app_icon(k=1):
    # The installer's icon in 16 colours: a navy box with a yellow arrow pointing into it.
    transparent = (255, 0, 255)
    p = canvas(int(32 * k), int(32 * k), transparent)
    pen = Pen(p, k)
    pen.rect(3, 14, 29, 30, NAVY)
    pen.frame(3, 14, 29, 30, (0, 0, 0))
    pen.rect(5, 16, 27, 18, (0, 0, 255))
    pen.rect(13, 2, 19, 12, (255, 255, 0))
    pen.polygon([(8, 11), (24, 11), (16, 20)], (255, 255, 0))
    pen.frame(13, 2, 19, 11, (128, 128, 0))
    pen.rect(9, 24, 23, 26, (255, 255, 255))
    return p, transparent


SUPERSAMPLING = 4


def smooth(draw, size, base, key=None):
    """The picture at size x size pixels, drawn four times as large and averaged down, so that
    its edges are smooth. With a key colour, a pixel is painted (with the average of its painted
    samples) when most of its samples are, and left as the key otherwise: the window masks the key
    out exactly, so no grey fringe may mix into the picture's edge."""
    big = draw(size * SUPERSAMPLING / base)
    n = SUPERSAMPLING
    out = canvas(size, size, key or (0, 0, 0))
    for y in range(size):
        for x in range(size):
            samples = [big[y * n + j][x * n + i] for j in range(n) for i in range(n)]
            painted = [c for c in samples if c != key] if key else samples
            if key and len(painted) * 2 < len(samples):
                continue
            out[y][x] = tuple(sum(c[ch] for c in painted) // len(painted) for ch in range(3))
    return out


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(data)


if __name__ == "__main__":
    # At 96 DPI the pictures are drawn pixel for pixel; at 120 and 144 DPI (1.25 and 1.5 times
    # as large) they have versions of their own instead of being stretched.
    write("Image1.bmp", bmp(logo_mark()))
    write("Image2.bmp", bmp(software_box()))
    for size in (40, 48):
        write("Image1_%d.bmp" % size, bmp(smooth(logo_mark, size, 32)))
    for size in (60, 72):
        write("Image2_%d.bmp" % size, bmp(smooth(software_box, size, 48, KEY_GREY)))
    icons = [app_icon(size / 32)[0] for size in (16, 32, 48)]
    write("Instalator.ico", ico16(icons, app_icon()[1]))
