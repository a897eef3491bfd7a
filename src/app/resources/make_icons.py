#!/usr/bin/env python3
"""Draws the program icon, a pipe with a pressure gauge, as three PNGs and packs them into
the Windows .ico: 32x32 in two colours, 32x32 and 16x16 in sixteen colours.

Usage: make_icons.py OUTPUT_DIR [PREVIEW_SCALE]
Needs only the Python standard library; the .ico step needs icotool (icoutils).
"""
import math
import os
import struct
import subprocess
import sys
import zlib

# The sixteen colours of the classic palette; an icon of sixteen colours picks from these.
PALETTE = {
    "black": (0, 0, 0), "maroon": (128, 0, 0), "navy": (0, 0, 128), "teal": (0, 128, 128),
    "grey": (128, 128, 128), "silver": (192, 192, 192), "red": (255, 0, 0),
    "blue": (0, 0, 255), "aqua": (0, 255, 255), "white": (255, 255, 255),
}


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[None] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills x0..x1, y0..y1 inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y, colour)

    def disc(self, cx, cy, radius, colour):
        for y in range(self.size):
            for x in range(self.size):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= radius * radius:
                    self.put(x, y, colour)

    def segment(self, x0, y0, x1, y1, width, colour):
        """Every pixel whose centre lies within width/2 of the segment."""
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy
        for y in range(self.size):
            for x in range(self.size):
                px, py = x + 0.5, y + 0.5
                t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length2))
                qx, qy = x0 + t * dx, y0 + t * dy
                if (px - qx) ** 2 + (py - qy) ** 2 <= (width / 2) ** 2:
                    self.put(x, y, colour)


def gauge_and_pipe(size, colours):
    """The same picture at 32 or 16 pixels; `colours` maps the picture's parts to colours."""
    c = Canvas(size)
    s = size / 32.0
    outline = colours["outline"]

    # The pipe, across the lower part, with a flange at either end.
    top, bottom = round(19 * s), round(28 * s)
    c.rect(0, top, size - 1, bottom, outline)
    c.rect(0, top + 1, size - 1, bottom - 1, colours["pipe"])
    c.rect(0, top + 1, size - 1, top + 1, colours["pipe_light"])
    c.rect(0, bottom - 1, size - 1, bottom - 1, colours["pipe_dark"])
    for left in (round(2 * s), size - 1 - round(2 * s) - max(1, round(3 * s)) + 1):
        right = left + max(1, round(3 * s)) - 1
        c.rect(left, top - round(2 * s), right, bottom + round(2 * s), outline)
        if right - left >= 2:
            c.rect(left + 1, top - round(2 * s) + 1, right - 1, bottom + round(2 * s) - 1,
                   colours["pipe_dark"])
    # The medium flowing inside, as an arrow in the pipe.
    mid = (top + bottom) // 2
    c.rect(round(8 * s), mid, round(21 * s), mid, colours["flow"])
    if size >= 32:
        c.rect(round(8 * s), mid + 1, round(21 * s), mid + 1, colours["flow"])
        for i in range(3):
            c.rect(round(22 * s) + i, mid - 2 + i, round(22 * s) + i, mid + 3 - i, colours["flow"])
    else:
        c.put(round(22 * s), mid, colours["flow"])

    # The stem from the pipe up to the gauge.
    stem_left, stem_right = round(14 * s), round(17 * s) - 1
    c.rect(stem_left, round(14 * s), stem_right, top, outline)
    if stem_right - stem_left >= 2:
        c.rect(stem_left + 1, round(14 * s), stem_right - 1, top - 1, colours["pipe"])

    # The gauge: a dial with ticks, a needle and its hub.
    cx, cy, r = 16 * s, 9.5 * s, 9.4 * s
    c.disc(cx, cy, r, outline)
    c.disc(cx, cy, r - max(1.0, 1.5 * s), colours["face"])
    if size >= 32:
        for angle in (210, 150, 90, 30, -30):
            a = math.radians(angle)
            c.segment(cx + math.cos(a) * (r - 4), cy - math.sin(a) * (r - 4),
                      cx + math.cos(a) * (r - 2), cy - math.sin(a) * (r - 2), 1.2, outline)
    a = math.radians(40)
    c.segment(cx, cy, cx + math.cos(a) * (r - 2.5 * s), cy - math.sin(a) * (r - 2.5 * s),
              max(1.2, 2.0 * s), colours["needle"])
    c.disc(cx, cy, max(1.0, 1.6 * s), outline)
    return c


# At 16 pixels the shapes above blur, so the small image is drawn by hand.
SMALL = """
.....KKKKKK.....
....KWWWWWWK....
...KWWWWWWWWK...
...KWWWWWWRWK...
...KWWWKKRWWK...
...KWWWKKWWWK...
...KWWWWWWWWK...
....KWWWWWWK....
.....KKKKKK.....
.......KK.......
.K.....KK.....K.
KKKKKKKKKKKKKKKK
WKWWWWWWWWBWWWKW
SKSBBBBBBBBBSSKS
GKGGGGGGGGBGGGKG
KKKKKKKKKKKKKKKK
"""
SMALL_COLOURS = {".": None, "K": "black", "W": "white", "S": "silver", "G": "grey",
                 "B": "blue", "R": "red"}


def small_picture():
    rows = SMALL.split()
    c = Canvas(len(rows))
    for y, row in enumerate(rows):
        for x, key in enumerate(row):
            c.put(x, y, SMALL_COLOURS[key])
    return c


SIXTEEN = {"outline": "black", "pipe": "silver", "pipe_light": "white", "pipe_dark": "grey",
           "flow": "blue", "face": "white", "needle": "red"}
TWO = {"outline": "black", "pipe": "white", "pipe_light": "white", "pipe_dark": "black",
       "flow": "black", "face": "white", "needle": "black"}


def write_png(path, canvas, scale=1):
    size = canvas.size * scale
    rows = []
    for y in range(size):
        row = bytearray([0])  # filter type: none
        for x in range(size):
            colour = canvas.pixels[y // scale][x // scale]
            if colour is None:
                row += bytes((0, 0, 0, 0))
            else:
                row += bytes(PALETTE[colour] + (255,))
        rows.append(bytes(row))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))


def main():
    out_dir = sys.argv[1]
    scale = int(sys.argv[2]) if len(sys.argv) > 2 else 0
    images = [("davudeviredidara-32-mono.png", gauge_and_pipe(32, TWO), 1),
              ("davudeviredidara-32.png", gauge_and_pipe(32, SIXTEEN), 4),
              ("davudeviredidara-16.png", small_picture(), 4)]
    args = ["icotool", "-c", "-o", os.path.join(out_dir, "davudeviredidara.ico")]
    for name, canvas, bits in images:
        path = os.path.join(out_dir, name)
        write_png(path, canvas)
        args += ["-b", str(bits), path]
        if scale:
            write_png(os.path.join(out_dir, "preview-" + name), canvas, scale)
    subprocess.run(args, check=True)


if __name__ == "__main__":
    main()
