#!/usr/bin/env python3
"""Writes the progress bar's pictures into src/controls/pictures/.

- progress_frame.png, 59 x 13: a dark blue outline with rounded corners, a pale blue ring inside
  it, white within. Only the corners, a 3-pixel band of each edge and the white middle are
  copied onto the bar, so the picture can be stretched to any size.
- progress_<look>.png, 24 x 10 each: the three 8 x 10 block pictures of one look side by side,
  pale, medium and full colour. Each is shaded lighter towards its top and bottom edges.

24-bit RGB with no colour-space chunks, so Qt reads back exactly these colours.

Usage: scripts/make-progress-pictures.py [output-dir]
       (default: src/controls/pictures/ next to this script's folder)
"""
import os
import struct
import sys
import zlib

WHITE = (255, 255, 255)
OUTLINE = (0, 77, 113)
CORNER_OUTLINE = (0, 111, 164)
CORNER_EDGE = (0, 147, 217)
RING = (204, 238, 255)

# Full colour at the middle rows of a block, and at its top row where the look has a metallic
# sheen; other looks are lightened towards white at the top.
LOOKS = [
    ("master", (40, 210, 43), None),
    ("blue", (0, 118, 236), None),
    ("bluemet", (9, 60, 45), (88, 145, 185)),
    ("goldmet", (216, 166, 47), None),
    ("grmet", (131, 174, 118), None),
    ("greymet", (108, 108, 108), None),
    ("orangemet", (255, 210, 45), None),
    ("redmet", (228, 134, 74), None),
]

BLOCK_W, BLOCK_H = 8, 10
# How far each row is from the middle colour towards the top colour; rows 4 and 5 are the
# middle. The bottom stays a little darker than the top, as if lit from above.
ROW_SHEEN = [1.0, 0.62, 0.3, 0.1, 0.0, 0.0, 0.12, 0.32, 0.58, 0.85]
TOP_LIGHTEN = 0.5
# Pictures 0 and 1 are the full one washed towards white by these amounts.
WASH = [0.65, 0.35, 0.0]


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def write_png(path, width, height, pixel):
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # no filter
        for x in range(width):
            raw.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def frame():
    w, h = 59, 13
    img = [[WHITE] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if x in (0, w - 1) or y in (0, h - 1):
                img[y][x] = OUTLINE
            elif x in (1, w - 2) or y in (1, h - 2):
                img[y][x] = RING
    # Top-left corner; the others are its mirror images. The outline bends through the
    # diagonal pixel, the two beside it are partly covered, the outermost is mostly white.
    corner = [
        [mix(CORNER_EDGE, WHITE, 0.75), CORNER_EDGE, OUTLINE],
        [CORNER_EDGE, CORNER_OUTLINE, RING],
        [OUTLINE, RING, RING],
    ]
    for cy in range(3):
        for cx in range(3):
            c = corner[cy][cx]
            img[cy][cx] = c
            img[cy][w - 1 - cx] = c
            img[h - 1 - cy][cx] = c
            img[h - 1 - cy][w - 1 - cx] = c
    return w, h, lambda x, y: img[y][x]


def blocks(middle, top):
    if top is None:
        top = mix(middle, WHITE, TOP_LIGHTEN)

    def pixel(x, y):
        full = mix(middle, top, ROW_SHEEN[y])
        return mix(full, WHITE, WASH[x // BLOCK_W])

    return 3 * BLOCK_W, BLOCK_H, pixel


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    default = os.path.join(here, os.pardir, "src", "controls", "pictures")
    out_dir = sys.argv[1] if len(sys.argv) > 1 else default
    os.makedirs(out_dir, exist_ok=True)
    write_png(os.path.join(out_dir, "progress_frame.png"), *frame())
    for name, middle, top in LOOKS:
        write_png(os.path.join(out_dir, "progress_%s.png" % name), *blocks(middle, top))


if __name__ == "__main__":
    main()
