#!/usr/bin/env python3
"""Draws the program's icons as 16-colour .ico files beside this script.

pamu.ico         the mascot at 32 x 32 and 16 x 16 (the program's icon)
tray.ico         the mascot at 16 x 16 and 32 x 32 (the tray picture, at the notification area's size)
transparent.ico  32 x 32 with every pixel transparent (the mascot window's own icon)

The mascot is drawn from the window's own geometry (a 31-pixel disc with two eyes and pupils),
sampled at each pixel's centre. Run it again after changing the drawing; the .ico files are kept
in the repository so that a build needs no Python.
"""
import os
import struct

# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, YELLOW, WHITE = 0, 11, 15
TRANSPARENT = None


def inside_ellipse(u, v, left, top, width, height):
    cx, cy = left + width / 2, top + height / 2
    rx, ry = width / 2, height / 2
    return ((u - cx) / rx) ** 2 + ((v - cy) / ry) ** 2 <= 1.0


def mascot_pixel(u, v):
    """Colour index at face coordinates (u, v) of the 31 x 31 face, or None outside the disc."""
    if not inside_ellipse(u, v, 0, 0, 31, 31):
        return TRANSPARENT
    # Pupils looking ahead, at the eyes' inner edges; a little wider than on the window so that
    # they survive the small sizes.
    if inside_ellipse(u, v, 7.5, 10, 5, 10) or inside_ellipse(u, v, 16.5, 10, 5, 10):
        return BLACK
    if inside_ellipse(u, v, 0, 0, 14, 28) or inside_ellipse(u, v, 16, 0, 14, 28):
        return WHITE
    return YELLOW


def draw_mascot(size):
    scale = 31.0 / size
    return [[mascot_pixel((x + 0.5) * scale, (y + 0.5) * scale) for x in range(size)] for y in range(size)]


def draw_transparent(size):
    return [[TRANSPARENT] * size for _ in range(size)]


def image_bytes(pixels):
    """BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, rows bottom up."""
    size = len(pixels)
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, (xor_stride + and_stride) * size, 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    xor_rows, and_rows = b'', b''
    for row in reversed(pixels):
        nibbles = [0 if p is None else p for p in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        packed = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2))
        xor_rows += packed.ljust(xor_stride, b'\0')
        mask = bytearray(and_stride)
        for x, p in enumerate(row):
            if p is None:
                mask[x // 8] |= 0x80 >> (x % 8)
        and_rows += bytes(mask)
    return header + palette + xor_rows + and_rows


def write_ico(path, images):
    blobs = [image_bytes(pixels) for pixels in images]
    out = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    for pixels, blob in zip(images, blobs):
        size = len(pixels)
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    out += b''.join(blobs)
    with open(path, 'wb') as f:
        f.write(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    write_ico(os.path.join(here, 'pamu.ico'), [draw_mascot(32), draw_mascot(16)])
    write_ico(os.path.join(here, 'tray.ico'), [draw_mascot(16), draw_mascot(32)])
    write_ico(os.path.join(here, 'transparent.ico'), [draw_transparent(32)])


if __name__ == '__main__':
    main()
