#!/usr/bin/env python3
"""Draws the application icon, a page of text with a Japanese character, as 16-colour PNGs at the
desktop's icon sizes and as an SVG of the 32-pixel drawing.

Usage: tools/draw_icon.py [OUTPUT_DIR]  (writes propdesk-SIZE.png and propdesk.svg; default res/icons)
"""
import struct
import sys
import zlib
from pathlib import Path

# The classic 16-colour palette. In the PNG, entry 0 is transparent and these follow it.
PALETTE = {
    "black": (0, 0, 0), "navy": (0, 0, 128), "gray": (128, 128, 128),
    "silver": (192, 192, 192), "red": (255, 0, 0), "white": (255, 255, 255),
    "maroon": (128, 0, 0), "green": (0, 128, 0), "olive": (128, 128, 0), "purple": (128, 0, 128),
    "teal": (0, 128, 128), "lime": (0, 255, 0), "yellow": (255, 255, 0), "blue": (0, 0, 255),
    "fuchsia": (255, 0, 255), "aqua": (0, 255, 255),
}
NAMES = list(PALETTE)

# A hand-drawn "あ" for the large icon ('#' is ink).
GLYPH_A = [
    "....#......",
    "###########",
    "....#......",
    "....#.###..",
    "..#####..#.",
    ".#..#..#..#",
    "#...#..#..#",
    "#..#...#..#",
    "#.#...#...#",
    ".#...#...#.",
    "..###...#..",
]


# The sizes of the hicolor icon theme; the window itself uses 16 and 32.
SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def draw(size):
    """Returns rows of colour names (None for transparent): a page with a folded corner, lines of
    text and a red mark that stands for the Japanese text. Strokes are one pixel up to 32 pixels and
    grow with the icon above that."""
    unit = max(1, size // 32)
    pixels = [[None] * size for _ in range(size)]
    left, right, top, bottom = size // 8, size - size // 8 - 1, 0, size - 1
    fold = size // 4
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            beyond_fold = x - (right - fold) - (y - top)
            if beyond_fold > 0:
                continue
            edge = (min(x - left, right - x, y - top, bottom - y) < unit) or beyond_fold > -unit
            pixels[y][x] = "black" if edge else "white"
    for i in range(unit, fold):
        for x in range(right - fold, right - fold + i - unit + 1):
            pixels[top + i][x] = "silver"
    line_step = 2 if size < 32 else 3 * unit
    first_line = top + fold + unit
    for n, y in enumerate(range(first_line, bottom - unit, line_step)):
        length = (right - left - 3 * unit) - (n % 3) * (size // 8)
        for dy in range(unit):
            for x in range(left + 2 * unit, left + 2 * unit + length):
                pixels[y + dy][x] = "navy"
    if size >= 32:
        mark = [[ch == "#" for ch in row for _ in range(unit)] for row in GLYPH_A for _ in range(unit)]
    else:
        mark = [[True] * (size // 4) for _ in range(size // 4)]
    ox, oy = size - len(mark[0]) - 2 * unit, size - len(mark) - 2 * unit
    for my, row in enumerate(mark):
        for mx, ink in enumerate(row):
            if size >= 32:
                pixels[oy + my][ox + mx] = "red" if ink else "white"
            elif ink:
                pixels[oy + my][ox + mx] = "red"
    return pixels


def svg_text(pixels):
    """The drawing as an SVG of one rectangle per run of equal pixels in a row, kept sharp."""
    size = len(pixels)
    rects = []
    for y, row in enumerate(pixels):
        x = 0
        while x < size:
            colour, run = row[x], 1
            while x + run < size and row[x + run] == colour:
                run += 1
            if colour:
                fill = "#%02x%02x%02x" % PALETTE[colour]
                rects.append(f'  <rect x="{x}" y="{y}" width="{run}" height="1" fill="{fill}"/>')
            x += run
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
        f'viewBox="0 0 {size} {size}" shape-rendering="crispEdges">\n' + "\n".join(rects) + "\n</svg>\n"
    )


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(pixels):
    size = len(pixels)
    index = {name: i + 1 for i, name in enumerate(NAMES)}
    raw = b"".join(b"\0" + bytes(index[p] if p else 0 for p in row) for row in pixels)
    palette = b"\0\0\0" + b"".join(bytes(PALETTE[name]) for name in NAMES)
    return (
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 3, 0, 0, 0))
        + chunk(b"PLTE", palette)
        + chunk(b"tRNS", b"\0")
        + chunk(b"IDAT", zlib.compress(raw, 9))
        + chunk(b"IEND", b"")
    )


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else "res/icons")
    out.mkdir(parents=True, exist_ok=True)
    for size in SIZES:
        (out / f"propdesk-{size}.png").write_bytes(png_bytes(draw(size)))
    (out / "propdesk.svg").write_text(svg_text(draw(32)))


if __name__ == "__main__":
    main()
