#!/usr/bin/env python3
"""Draws the program icon, a pipe with a pressure gauge, as three PNGs and packs them into
the Windows .ico: 32x32 in two colours, 32x32 and 16x16 in sixteen colours.

It also draws the picture as SVG (the scalable icon of the desktop) and renders the desktop's
PNG sizes from it into OUTPUT_DIR/hicolor; only 16 px keeps the hand-drawn image.

Usage: make_icons.py OUTPUT_DIR [PREVIEW_SCALE]
Needs the Python standard library, icotool (icoutils) and rsvg-convert (librsvg2-bin).
"""
import math
import os
import string
import struct
import subprocess
import sys
import tempfile
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


def polar(cx, cy, radius, degrees):
    """A point on a circle, angles counter-clockwise from the right as on the dial."""
    a = math.radians(degrees)
    return cx + math.cos(a) * radius, cy - math.sin(a) * radius


def fmt(value):
    return ("%.2f" % value).rstrip("0").rstrip(".")


def vector_picture(small=False):
    """The picture as an SVG on a 256-unit canvas, with the depth a large icon needs: a
    chromed bezel, a glass over the dial, metal gradients on pipe and flanges.

    The small variant (for 22 to 32 pixels) has the same shapes with outlines, ticks and
    needle thick enough to survive the scaling, and only the major ticks."""
    cx, cy = 128, 80
    bezel, face = 72, 58
    start, end, needle_at = 210, -30, 40  # the dial spans 240 degrees, as in the .ico images
    line = 7 if small else 3

    ticks = []
    for i in range(0, 17, 4 if small else 1):
        angle = start - i * (start - end) / 16
        major = i % 2 == 0
        x0, y0 = polar(cx, cy, face - (14 if major else 9) - (4 if small else 0), angle)
        x1, y1 = polar(cx, cy, face - 4, angle)
        width = 9 if small else (4.5 if major else 2.5)
        ticks.append('<line x1="%s" y1="%s" x2="%s" y2="%s" stroke-width="%s"/>' %
                     (fmt(x0), fmt(y0), fmt(x1), fmt(y1), fmt(width)))

    # The red band at the top of the scale, drawn as a thick arc.
    band = face - (10 if small else 7)
    red_from, red_to = polar(cx, cy, band, 0), polar(cx, cy, band, end)
    red_band = ('<path d="M %s %s A %d %d 0 0 1 %s %s" fill="none" stroke="#d93025" '
                'stroke-width="%d"/>' % (fmt(red_from[0]), fmt(red_from[1]), band, band,
                                         fmt(red_to[0]), fmt(red_to[1]), 14 if small else 7))

    # A tapered needle with a short tail, pointing at needle_at degrees.
    half = 10 if small else 5
    tip = polar(cx, cy, face - 8, needle_at)
    tail = polar(cx, cy, 14, needle_at + 180)
    left = polar(cx, cy, half, needle_at + 90)
    right = polar(cx, cy, half, needle_at - 90)
    needle = "M %s %s L %s %s L %s %s L %s %s Z" % tuple(
        fmt(v) for p in (tip, left, tail, right) for v in p)

    return string.Template("""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <title>Kolmaris</title>
  <defs>
    <linearGradient id="pipe" x1="0" y1="170" x2="0" y2="226" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#8c979f"/>
      <stop offset="0.22" stop-color="#eef2f5"/>
      <stop offset="0.5" stop-color="#b9c3cb"/>
      <stop offset="1" stop-color="#5d6870"/>
    </linearGradient>
    <linearGradient id="flange" x1="0" y1="158" x2="0" y2="238" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#6f7a83"/>
      <stop offset="0.18" stop-color="#d7dee4"/>
      <stop offset="0.55" stop-color="#95a0a9"/>
      <stop offset="1" stop-color="#48525a"/>
    </linearGradient>
    <linearGradient id="stem" x1="112" y1="0" x2="144" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#6f7a83"/>
      <stop offset="0.35" stop-color="#e6ebef"/>
      <stop offset="1" stop-color="#5d6870"/>
    </linearGradient>
    <linearGradient id="nut" x1="100" y1="0" x2="156" y2="0" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#8a6a2c"/>
      <stop offset="0.3" stop-color="#f1d48b"/>
      <stop offset="0.7" stop-color="#c89b3c"/>
      <stop offset="1" stop-color="#7a5a20"/>
    </linearGradient>
    <linearGradient id="bezel" x1="70" y1="14" x2="186" y2="150" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#fbfcfd"/>
      <stop offset="0.45" stop-color="#a9b4bd"/>
      <stop offset="1" stop-color="#47525b"/>
    </linearGradient>
    <linearGradient id="bevel" x1="186" y1="150" x2="70" y2="14" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#f4f7f9"/>
      <stop offset="1" stop-color="#56616a"/>
    </linearGradient>
    <radialGradient id="face" cx="128" cy="70" r="62" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffffff"/>
      <stop offset="0.75" stop-color="#f5f7f9"/>
      <stop offset="1" stop-color="#d9dfe4"/>
    </radialGradient>
    <linearGradient id="glass" x1="0" y1="22" x2="0" y2="84" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#ffffff" stop-opacity="0.9"/>
      <stop offset="1" stop-color="#ffffff" stop-opacity="0"/>
    </linearGradient>
    <radialGradient id="hub" cx="125" cy="77" r="11" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#7b858d"/>
      <stop offset="1" stop-color="#1f2529"/>
    </radialGradient>
    <linearGradient id="flow" x1="0" y1="186" x2="0" y2="212" gradientUnits="userSpaceOnUse">
      <stop offset="0" stop-color="#4aa3ff"/>
      <stop offset="1" stop-color="#0b5cc4"/>
    </linearGradient>
    <filter id="soft" x="-20%" y="-20%" width="140%" height="140%">
      <feGaussianBlur stdDeviation="3"/>
    </filter>
  </defs>

  <!-- shadow on the ground -->
  <ellipse cx="128" cy="243" rx="116" ry="7" fill="#000000" opacity="0.28" filter="url(#soft)"/>

  <!-- the pipe between its two flanges, with the flow as an arrow on it -->
  <rect x="20" y="170" width="216" height="56" fill="url(#pipe)" stroke="#2c3439"
        stroke-width="${line}"/>
  <path d="M 62 ${body_top} H 168 V 181 L 196 198 L 168 215 V ${body_bottom} H 62 Z"
        fill="url(#flow)" stroke="#083f87" stroke-width="${line}" stroke-linejoin="round"/>
  <g fill="url(#flange)" stroke="#2c3439" stroke-width="${line}">
    <rect x="10" y="158" width="26" height="80" rx="4"/>
    <rect x="220" y="158" width="26" height="80" rx="4"/>
  </g>
  <g fill="#2c3439" opacity="${bolts}">
    <rect x="15" y="163" width="16" height="6" rx="2"/>
    <rect x="15" y="227" width="16" height="6" rx="2"/>
    <rect x="225" y="163" width="16" height="6" rx="2"/>
    <rect x="225" y="227" width="16" height="6" rx="2"/>
  </g>

  <!-- the stem and its nut, from the pipe up to the gauge -->
  <rect x="114" y="140" width="28" height="32" fill="url(#stem)" stroke="#2c3439"
        stroke-width="${line}"/>
  <path d="M 104 150 H 152 L 156 157 L 152 164 H 104 L 100 157 Z" fill="url(#nut)"
        stroke="#2c3439" stroke-width="${line}" stroke-linejoin="round"/>

  <!-- the gauge: chromed bezel, dial, scale, needle, glass -->
  <circle cx="${cx}" cy="${cy}" r="${bezel}" fill="url(#bezel)" stroke="#2c3439"
          stroke-width="${line}"/>
  <circle cx="${cx}" cy="${cy}" r="${bevel}" fill="url(#bevel)"/>
  <circle cx="${cx}" cy="${cy}" r="${face}" fill="url(#face)" stroke="#3a444b"
          stroke-width="${face_line}"/>
  ${red_band}
  <g stroke="#1f2529" stroke-linecap="round">
    ${ticks}
  </g>
  <path d="${needle}" fill="#000000" opacity="0.3" transform="translate(3 4)"
        filter="url(#soft)"/>
  <path d="${needle}" fill="#e0281e" stroke="#8e1009" stroke-width="1.5"
        stroke-linejoin="round"/>
  <circle cx="${cx}" cy="${cy}" r="${hub}" fill="url(#hub)" stroke="#111518"
          stroke-width="1.5"/>
  <path d="M ${gx0} ${gy} A ${face} ${face} 0 0 1 ${gx1} ${gy}
           Q ${cx} ${gq} ${gx0} ${gy} Z" fill="url(#glass)"/>
</svg>
""").substitute({
        "cx": cx, "cy": cy, "bezel": bezel, "bevel": bezel - (8 if small else 6),
        "face": face, "line": line, "face_line": 4 if small else 2,
        "body_top": 189 if small else 192, "body_bottom": 207 if small else 204,
        "bolts": 0 if small else 0.55, "hub": 13 if small else 10,
        "red_band": red_band, "ticks": "\n    ".join(ticks), "needle": needle,
        "gx0": fmt(polar(cx, cy, face - 3, 155)[0]), "gx1": fmt(polar(cx, cy, face - 3, 25)[0]),
        "gy": fmt(polar(cx, cy, face - 3, 155)[1]), "gq": fmt(cy - 2)})


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
    draw_desktop_icons(out_dir)


# Below 48 px the fine ticks and thin outlines of the large picture blur into grey.
SMALL_SVG_SIZES = (22, 24, 32)
LARGE_SVG_SIZES = (48, 64, 128, 256)


def draw_desktop_icons(out_dir):
    with open(os.path.join(out_dir, "davudeviredidara.svg"), "w", encoding="utf-8") as out:
        out.write(vector_picture())
    hicolor = os.path.join(out_dir, "hicolor")
    os.makedirs(hicolor, exist_ok=True)
    write_png(os.path.join(hicolor, "16.png"), small_picture())
    with tempfile.TemporaryDirectory() as scratch:
        small_svg = os.path.join(scratch, "small.svg")
        with open(small_svg, "w", encoding="utf-8") as out:
            out.write(vector_picture(small=True))
        for sizes, source in ((SMALL_SVG_SIZES, small_svg),
                              (LARGE_SVG_SIZES, os.path.join(out_dir, "davudeviredidara.svg"))):
            for size in sizes:
                subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o",
                                os.path.join(hicolor, "%d.png" % size), source], check=True)


if __name__ == "__main__":
    main()
