#!/usr/bin/env python3
"""Draws Corvane's application icon: the SVG and the PNGs of the hicolor sizes.

The mark is a slate tile with an amber arrow that points down into an open
white tray: a level's files going into the game directory. The shapes are defined
once below; the SVG is written from them and the PNGs are rasterised from them
with 4x4 supersampling, so no drawing program is needed and the files can be
made again at any time:

    packaging/icons/make_icons.py packaging/icons
"""
import struct
import sys
import zlib
from pathlib import Path

CANVAS = 256
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)

TILE = {"x": 16, "y": 16, "w": 224, "h": 224, "r": 48, "fill": (0x24, 0x4A, 0x61)}
# The tray: an open box drawn as three bars.
TRAY = [
    {"x": 52, "y": 136, "w": 20, "h": 76},
    {"x": 52, "y": 192, "w": 152, "h": 20},
    {"x": 184, "y": 136, "w": 20, "h": 76},
]
TRAY_FILL = (0xF4, 0xF1, 0xEA)
# The arrow comes straight down into the tray.
ARROW = [(110, 44), (146, 44), (146, 104), (180, 104), (128, 172), (76, 104), (110, 104)]
ARROW_FILL = (0xF2, 0xA6, 0x35)


def hex_colour(rgb):
    return "#%02x%02x%02x" % rgb


def svg_text():
    parts = [
        '<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
        % (CANVAS, CANVAS, CANVAS, CANVAS),
        '  <rect x="%d" y="%d" width="%d" height="%d" rx="%d" fill="%s"/>'
        % (TILE["x"], TILE["y"], TILE["w"], TILE["h"], TILE["r"], hex_colour(TILE["fill"])),
    ]
    for bar in TRAY:
        parts.append('  <rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
                     % (bar["x"], bar["y"], bar["w"], bar["h"], hex_colour(TRAY_FILL)))
    points = " ".join("%d,%d" % p for p in ARROW)
    parts.append('  <polygon points="%s" fill="%s"/>' % (points, hex_colour(ARROW_FILL)))
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def in_rounded_rect(px, py, rect):
    x0, y0 = rect["x"], rect["y"]
    x1, y1 = x0 + rect["w"], y0 + rect["h"]
    if px < x0 or px >= x1 or py < y0 or py >= y1:
        return False
    r = rect["r"]
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def in_rect(px, py, rect):
    return rect["x"] <= px < rect["x"] + rect["w"] and rect["y"] <= py < rect["y"] + rect["h"]


def in_polygon(px, py, points):
    inside = False
    n = len(points)
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        if (ay > py) != (by > py):
            cross = ax + (py - ay) * (bx - ax) / (by - ay)
            if px < cross:
                inside = not inside
    return inside


def sample(px, py):
    """The colour and coverage of one point of the canvas."""
    if any(in_rect(px, py, bar) for bar in TRAY):
        return TRAY_FILL, 1.0
    if in_polygon(px, py, ARROW):
        return ARROW_FILL, 1.0
    if in_rounded_rect(px, py, TILE):
        return TILE["fill"], 1.0
    return (0, 0, 0), 0.0


def raster(size, grid=4):
    scale = CANVAS / size
    rows = []
    for y in range(size):
        row = bytearray([0])  # PNG filter type: none
        for x in range(size):
            r = g = b = a = 0.0
            for sy in range(grid):
                for sx in range(grid):
                    colour, cover = sample((x + (sx + 0.5) / grid) * scale,
                                           (y + (sy + 0.5) / grid) * scale)
                    r += colour[0] * cover
                    g += colour[1] * cover
                    b += colour[2] * cover
                    a += cover
            n = grid * grid
            if a > 0:
                row += bytes((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
            else:
                row += bytes(4)
        rows.append(bytes(row))
    return b"".join(rows)


def png_bytes(size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raster(size), 9)) + chunk(b"IEND", b""))


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    (out / "corvane.svg").write_text(svg_text())
    for size in SIZES:
        (out / ("corvane-%d.png" % size)).write_bytes(png_bytes(size))


if __name__ == "__main__":
    main()
