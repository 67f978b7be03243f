#!/usr/bin/env python3
"""Draws logo.png (256 x 256, RGBA) and turns it into installer.ico.

The mark is a page with a folded corner and a bold "D" on it. Every shape is a signed distance
field, so edges are anti-aliased by their exact coverage without supersampling. Only the standard
library writes the PNG; the icon needs ImageMagick's convert.

Usage: python3 res/make-logo.py   (writes both files next to this script)
"""

import math
import os
import struct
import subprocess
import zlib

SIZE = 256

# Page outline: a rounded rectangle whose top-right corner is folded over.
PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM = 40.0, 16.0, 216.0, 240.0
PAGE_RADIUS = 22.0
FOLD = 60.0

PAGE_TOP_LEFT_COLOUR = (0x4C, 0x8D, 0xFF)
PAGE_BOTTOM_RIGHT_COLOUR = (0x3A, 0x2F, 0xC8)
FOLD_COLOUR = (0xC9, 0xD8, 0xFF)
FOLD_EDGE_COLOUR = (0xA6, 0xBD, 0xFA)
SHADE_COLOUR = (0x10, 0x10, 0x50)
SHADOW_COLOUR = (0x10, 0x18, 0x40)
LETTER_COLOUR = (0xFF, 0xFF, 0xFF)

# The letter: a stem and a half-round bowl around one centre, cut out by a smaller counter.
D_LEFT, D_CENTRE_X, D_CENTRE_Y = 76.0, 120.0, 140.0
D_HALF_HEIGHT = 64.0
D_STROKE = 30.0


def box(x, y, left, top, right, bottom):
    """Signed distance to an axis-aligned rectangle (negative inside)."""
    cx, cy = (left + right) / 2, (top + bottom) / 2
    qx, qy = abs(x - cx) - (right - left) / 2, abs(y - cy) - (bottom - top) / 2
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0)


def rounded_box(x, y, left, top, right, bottom, radius):
    return box(x, y, left + radius, top + radius, right - radius, bottom - radius) - radius


def circle(x, y, cx, cy, radius):
    return math.hypot(x - cx, y - cy) - radius


def fold_line(x, y):
    """Distance to the diagonal that cuts off the folded corner (positive beyond it)."""
    return ((x - (PAGE_RIGHT - FOLD)) - (y - PAGE_TOP)) / math.sqrt(2.0)


def page(x, y):
    return max(rounded_box(x, y, PAGE_LEFT, PAGE_TOP, PAGE_RIGHT, PAGE_BOTTOM, PAGE_RADIUS),
               fold_line(x, y))


def fold(x, y):
    """The turned-over corner: a triangle under the diagonal, its right-angled corner rounded."""
    radius = 8.0
    a = (PAGE_RIGHT - FOLD + radius) - x
    b = y - (PAGE_TOP + FOLD - radius)
    right_angle = math.hypot(max(a, 0.0), max(b, 0.0)) + min(max(a, b), 0.0) - radius
    return max(right_angle, fold_line(x, y))


def letter_d(x, y):
    def half_round(inset):
        radius = D_HALF_HEIGHT - inset
        stem = box(x, y, D_LEFT + inset, D_CENTRE_Y - radius, D_CENTRE_X, D_CENTRE_Y + radius)
        bowl = max(circle(x, y, D_CENTRE_X, D_CENTRE_Y, radius), D_CENTRE_X - x)
        return min(stem, bowl)

    return max(half_round(0.0), -half_round(D_STROKE))


def clamp(value):
    return min(max(value, 0.0), 1.0)


def coverage(distance):
    """The share of a pixel that a shape covers, from the distance at the pixel's centre."""
    return clamp(0.5 - distance)


def mix(a, b, t):
    return tuple(p + (q - p) * t for p, q in zip(a, b))


def over(dst, colour, alpha):
    """Source-over compositing on a premultiplied (r, g, b, a) pixel in 0..1."""
    r, g, b, a = dst
    return (colour[0] / 255 * alpha + r * (1 - alpha), colour[1] / 255 * alpha + g * (1 - alpha),
            colour[2] / 255 * alpha + b * (1 - alpha), alpha + a * (1 - alpha))


def pixel(x, y):
    px = (0.0, 0.0, 0.0, 0.0)

    # Soft shadow under the page, a little below it.
    shadow = page(x, y - 5.0)
    px = over(px, SHADOW_COLOUR, 0.28 * clamp(1.0 - (shadow + 2.0) / 10.0))

    page_alpha = coverage(page(x, y))
    if page_alpha > 0:
        t = ((x - PAGE_LEFT) + (y - PAGE_TOP)) / ((PAGE_RIGHT - PAGE_LEFT) +
                                                  (PAGE_BOTTOM - PAGE_TOP))
        colour = mix(PAGE_TOP_LEFT_COLOUR, PAGE_BOTTOM_RIGHT_COLOUR, clamp(t))
        # The fold casts a short soft shade down and to the left onto the page.
        shade = 0.3 * clamp(1.0 - (fold(x + 2.0, y - 3.0) + 1.0) / 7.0)
        colour = mix(colour, SHADE_COLOUR, shade)
        px = over(px, colour, page_alpha)

    fold_alpha = coverage(fold(x, y))
    if fold_alpha > 0:
        t = clamp((x - (PAGE_RIGHT - FOLD)) / FOLD)
        px = over(px, mix(FOLD_COLOUR, FOLD_EDGE_COLOUR, t), fold_alpha)

    px = over(px, LETTER_COLOUR, coverage(letter_d(x, y)))
    return px


def to_bytes(px):
    r, g, b, a = px
    if a <= 0:
        return b"\0\0\0\0"
    return bytes(round(min(c / a, 1.0) * 255) for c in (r, g, b)) + bytes([round(a * 255)])


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def filtered_rows(rows, stride):
    """Per row, the PNG filter whose output has the smallest sum of magnitudes."""
    previous = bytes(len(rows[0]))
    for row in rows:
        candidates = []
        for kind in range(5):
            out = bytearray(len(row))
            for i, value in enumerate(row):
                left = row[i - stride] if i >= stride else 0
                up = previous[i]
                upper_left = previous[i - stride] if i >= stride else 0
                predictor = (0, left, up, (left + up) // 2, paeth(left, up, upper_left))[kind]
                out[i] = (value - predictor) & 0xFF
            candidates.append((sum(v if v < 128 else 256 - v for v in out), kind, out))
        _, kind, out = min(candidates)
        yield bytes([kind]) + bytes(out)
        previous = row


def png(width, height, rows):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    data = zlib.compress(b"".join(filtered_rows(rows, 4)), 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data) +
            chunk(b"IEND", b""))


def with_png_entries(icon):
    """The icon with its bitmap entries of 32 pixels and more stored as PNG, which takes less
    than half the room; Windows reads PNG entries of any size."""
    count = struct.unpack("<H", icon[4:6])[0]
    entries = []
    for i in range(count):
        entry = icon[6 + 16 * i:22 + 16 * i]
        size, offset = struct.unpack("<II", entry[8:16])
        image = icon[offset:offset + size]
        width = entry[0] or 256
        if width >= 32 and not image.startswith(b"\x89PNG"):
            header_size, _, _, _, bits = struct.unpack("<IiiHH", image[:16])
            assert bits == 32, "expected 32-bit pixels with alpha"
            stride = width * 4
            pixels = image[header_size:header_size + stride * width]
            # Bottom-up BGRA rows become top-down RGBA ones.
            rows = []
            for y in reversed(range(width)):
                row = bytearray(pixels[y * stride:(y + 1) * stride])
                row[0::4], row[2::4] = row[2::4], row[0::4]
                rows.append(bytes(row))
            image = png(width, width, rows)
        entries.append((entry[:8], image))
    out = bytearray(icon[:6])
    offset = 6 + 16 * count
    for head, image in entries:
        out += head + struct.pack("<II", len(image), offset)
        offset += len(image)
    for _, image in entries:
        out += image
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    logo = os.path.join(here, "logo.png")
    rows = [b"".join(to_bytes(pixel(x + 0.5, y + 0.5)) for x in range(SIZE))
            for y in range(SIZE)]
    with open(logo, "wb") as f:
        f.write(png(SIZE, SIZE, rows))
    icon = subprocess.run(["convert", logo, "-define", "icon:auto-resize=256,48,32,16", "ico:-"],
                          check=True, stdout=subprocess.PIPE).stdout
    with open(os.path.join(here, "installer.ico"), "wb") as f:
        f.write(with_png_entries(icon))


if __name__ == "__main__":
    main()
