#!/usr/bin/env python3
"""Writes the program's artwork: the maker's logo (logo.bmp) and the program icon (setup.ico).

Standard library only, and the bytes depend on nothing but this file, so a rerun reproduces the
committed files exactly. Usage: make_art.py [OUTPUT_DIR] (default: the res/ folder above this one).
"""
import os
import struct
import sys

# A 5 by 7 font of our own, only the letters of the maker's name.
GLYPHS = {
    "V": ["X...X", "X...X", "X...X", "X...X", ".X.X.", ".X.X.", "..X.."],
    "a": [".....", ".....", ".XXX.", "....X", ".XXXX", "X...X", ".XXXX"],
    "n": [".....", ".....", "XXXX.", "X...X", "X...X", "X...X", "X...X"],
    "t": [".X...", ".X...", "XXXX.", ".X...", ".X...", ".X..X", "..XX."],
    "r": [".....", ".....", "X.XX.", "XX..X", "X....", "X....", "X...."],
    "e": [".....", ".....", ".XXX.", "X...X", "XXXXX", "X....", ".XXXX"],
    "l": [".XX..", "..X..", "..X..", "..X..", "..X..", "..X..", ".XXX."],
}
GLYPH_W, GLYPH_H = 5, 7

# The 16 colours of the standard VGA palette, as (red, green, blue).
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
MONO = [(0, 0, 0), (255, 255, 255)]


class Canvas:
    """A grid of palette indices, row 0 at the top."""

    def __init__(self, width, height, fill):
        self.width, self.height = width, height
        self.px = [[fill] * width for _ in range(height)]

    def put(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Filled rectangle, both corners inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, c)

    def frame(self, x0, y0, x1, y1, thick, c):
        self.rect(x0, y0, x1, y0 + thick - 1, c)
        self.rect(x0, y1 - thick + 1, x1, y1, c)
        self.rect(x0, y0, x0 + thick - 1, y1, c)
        self.rect(x1 - thick + 1, y0, x1, y1, c)

    def text(self, x, y, s, scale, c):
        for ch in s:
            for gy, row in enumerate(GLYPHS[ch]):
                for gx, bit in enumerate(row):
                    if bit == "X":
                        self.rect(x + gx * scale, y + gy * scale,
                                  x + gx * scale + scale - 1, y + gy * scale + scale - 1, c)
            x += (GLYPH_W + 1) * scale

    def vee(self, x0, y0, x1, y1, thick, c):
        """A V from the top corners of the box down to the middle of its bottom edge."""
        mid = (x0 + x1) / 2.0
        for y in range(y0, y1 + 1):
            t = (y - y0) / float(max(1, y1 - y0))
            left = x0 + (mid - x0) * t
            right = x1 - (x1 - mid) * t
            for x in range(int(left), int(left) + thick):
                self.put(x, y, c)
            for x in range(int(right) - thick + 1, int(right) + 1):
                self.put(x, y, c)


def pack_rows(canvas, bpp):
    """Bottom-up rows of the canvas at bpp bits per pixel, each padded to 4 bytes."""
    out = bytearray()
    stride = ((canvas.width * bpp + 31) // 32) * 4
    for y in range(canvas.height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(canvas.width):
            bit = x * bpp
            shift = 8 - bpp - (bit % 8)
            row[bit // 8] |= (canvas.px[y][x] & ((1 << bpp) - 1)) << shift
        out += row
    return bytes(out)


def info_header(width, height, bpp, image_size):
    """BITMAPINFOHEADER: no compression, no resolution given, every palette entry used."""
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, image_size, 0, 0, 0, 0)


def palette(colours):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in colours)


def logo():
    """230 by 110, one bit per pixel: index 0 black ink on index 1 white."""
    ink, paper = 0, 1
    c = Canvas(230, 110, paper)
    c.frame(0, 0, 229, 109, 2, ink)
    c.frame(5, 5, 224, 104, 1, ink)
    name = "Vantrel"
    scale = 4
    text_w = len(name) * (GLYPH_W + 1) * scale - scale
    c.text((230 - text_w) // 2, 24, name, scale, ink)
    # The maker's mark under the name: a rule broken by a small filled V.
    c.rect(40, 76, 98, 77, ink)
    c.rect(131, 76, 189, 77, ink)
    for i in range(12):
        c.rect(104 + i, 70 + i, 125 - i, 70 + i, ink)
    bits = pack_rows(c, 1)
    pal = palette(MONO)
    offset = 14 + 40 + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info_header(230, 110, 1, len(bits)) + pal + bits


def icon_image(width, height, bpp, colours, draw):
    """One icon image: header with doubled height, palette, colour bits, opaque AND mask."""
    c = Canvas(width, height, colours[1])
    draw(c, colours[0])
    xor = pack_rows(c, bpp)
    mask = bytes(((width + 31) // 32) * 4 * height)
    pal = palette(colours[2])
    return info_header(width, height * 2, bpp, len(xor) + len(mask)) + pal + xor + mask


def mark_square(c, colours):
    """The program's mark on a 32 by 32 image: a framed V."""
    frame_c, vee_c = colours
    c.frame(0, 0, 31, 31, 2, frame_c)
    c.vee(6, 6, 25, 25, 3, vee_c)


def mark_wide(c, colours):
    """The same mark squeezed into 32 by 16."""
    frame_c, vee_c = colours
    c.frame(0, 0, 31, 15, 1, frame_c)
    c.vee(9, 3, 22, 12, 2, vee_c)


def icon():
    # (width, height, bpp, colour count entered in the directory, (ink colours, paper, palette), mark)
    images = [
        (32, 16, 1, 2, ((0, 0), 1, MONO), mark_wide),
        (32, 32, 4, 8, ((4, 1), 15, VGA16), mark_square),
        (32, 32, 1, 2, ((0, 0), 1, MONO), mark_square),
        (32, 32, 4, 16, ((12, 9), 11, VGA16), mark_square),
    ]
    blobs = [icon_image(w, h, bpp, cols, draw) for (w, h, bpp, _, cols, draw) in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (w, h, bpp, count, _, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", w, h, count % 256, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(here)
    for name, data in (("logo.bmp", logo()), ("setup.ico", icon())):
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
