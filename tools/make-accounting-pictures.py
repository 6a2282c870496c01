#!/usr/bin/env python3
"""Draws the Accounting panel's pictures and writes them as GIF files.

    make-accounting-pictures.py OUTDIR
        writes OUTDIR/Accounting-On.gif (a ledger card with a green check) and
        OUTDIR/Accounting-Off.gif (the card in grey, struck through), 48x48.

    make-accounting-pictures.py --solid WIDTHxHEIGHT RRGGBB OUT.gif
        writes a picture of one colour, for tests.

Only the standard library is used: the shapes are sampled at pixel centres
into a small palette, and the GIF (89a, with a transparent colour) is
LZW-compressed here.
"""

import math
import os
import struct
import sys

SIZE = 48
TRANSPARENT = 0


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# ---- GIF writing ------------------------------------------------------------

def lzw_compress(indices, min_code_size):
    """The LZW code stream of a GIF image, packed least significant bit first."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, width):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {(i,): i for i in range(clear)}

    table = fresh_table()
    next_code = end + 1
    width = min_code_size + 1
    emit(clear, width)
    current = ()
    for index in indices:
        candidate = current + (index,)
        if candidate in table:
            current = candidate
            continue
        emit(table[current], width)
        if next_code < 4096:
            table[candidate] = next_code
            next_code += 1
            # The decoder widens its codes one code later than the encoder adds them.
            if next_code > (1 << width) and width < 12:
                width += 1
        else:
            emit(clear, width)
            table = fresh_table()
            next_code = end + 1
            width = min_code_size + 1
        current = (index,)
    if current:
        emit(table[current], width)
    emit(end, width)
    if bit_count > 0:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for start in range(0, len(data), 255):
        chunk = data[start:start + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def gif_bytes(width, height, palette, indices, transparent=None):
    """A GIF89a of one image; palette is a list of up to 256 (r, g, b)."""
    bits = max(1, math.ceil(math.log2(max(2, len(palette)))))
    table = list(palette) + [(0, 0, 0)] * ((1 << bits) - len(palette))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", width, height, 0x80 | 0x70 | (bits - 1), 0, 0)
    for r, g, b in table:
        out += bytes((r, g, b))
    if transparent is not None:
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x01, 0, transparent, 0)
    out += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)
    min_code_size = max(2, bits)
    out.append(min_code_size)
    out += sub_blocks(lzw_compress(indices, min_code_size))
    out.append(0x3B)
    return bytes(out)


# ---- Drawing ------------------------------------------------------------------

def in_rounded_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def distance_to_segment(x, y, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)
    t = min(1.0, max(0.0, t))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def distance_to_path(x, y, points):
    return min(distance_to_segment(x, y, points[i], points[i + 1])
               for i in range(len(points) - 1))


# Palette slots shared by both pictures; the colours differ.
BORDER, CARD, BAND, RULE, MARK, MARK_EDGE = range(1, 7)

ON_COLOURS = {
    BORDER: "3C4650", CARD: "FDFDF8", BAND: "3A6EA5", RULE: "A9C1DA",
    MARK: "2E9E3E", MARK_EDGE: "1B5E25",
}
OFF_COLOURS = {
    BORDER: "7A7A7A", CARD: "F2F2F2", BAND: "A6A6A6", RULE: "CFCFCF",
    MARK: "6E6E6E", MARK_EDGE: "FFFFFF",
}

CHECK = [(23.0, 31.0), (29.5, 38.0), (42.5, 22.0)]
SLASH = [(7.0, 43.0), (41.0, 5.0)]


def card_pixel(x, y):
    """The ledger card: a rounded frame, a coloured band and ruled lines."""
    if not in_rounded_rect(x, y, 5, 3, 39, 45, 4):
        return TRANSPARENT
    if not in_rounded_rect(x, y, 7, 5, 37, 43, 2.5):
        return BORDER
    if y < 12:
        return BAND
    if (int(y) - 16) % 5 == 0 and 10 <= x < 34:
        return RULE
    if int(x) == 27 and y >= 13:
        return RULE
    return CARD


def mark_pixel(x, y, path, width, edge):
    """The mark over the card: a thick stroke with an edge around it, or None."""
    d = distance_to_path(x, y, path)
    if d <= width / 2:
        return MARK
    if d <= width / 2 + edge:
        return MARK_EDGE
    return None


def draw(path, width, edge):
    pixels = []
    for row in range(SIZE):
        for column in range(SIZE):
            x, y = column + 0.5, row + 0.5
            mark = mark_pixel(x, y, path, width, edge)
            pixels.append(mark if mark is not None else card_pixel(x, y))
    return pixels


def palette_for(colours):
    return [(0, 0, 0)] + [hex_colour(colours[slot]) for slot in sorted(colours)]


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main(argv):
    if len(argv) == 5 and argv[1] == "--solid":
        width, height = (int(n) for n in argv[2].lower().split("x"))
        data = gif_bytes(width, height, [hex_colour(argv[3])], [0] * (width * height))
        write(argv[4], data)
        return 0
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    folder = argv[1]
    os.makedirs(folder, exist_ok=True)
    on = draw(CHECK, 5.0, 1.2)
    off = draw(SLASH, 4.0, 1.2)
    write(os.path.join(folder, "Accounting-On.gif"),
          gif_bytes(SIZE, SIZE, palette_for(ON_COLOURS), on, TRANSPARENT))
    write(os.path.join(folder, "Accounting-Off.gif"),
          gif_bytes(SIZE, SIZE, palette_for(OFF_COLOURS), off, TRANSPARENT))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
