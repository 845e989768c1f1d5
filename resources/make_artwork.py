#!/usr/bin/python3
"""Draws the program's icon and pictures. Deterministic: every run writes the same bytes.

Run with Debian's python3 and python3-pil:  resources/make_artwork.py
"""
import io
import struct
from pathlib import Path

from PIL import Image, ImageDraw

HERE = Path(__file__).resolve().parent

# The 16-colour palette of the standard VGA icon format.
VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, CYAN, WHITE = 0, 14, 15


def slanted_window(size):
    """Pixel rows of palette indices (None: transparent) for a window leaning right."""
    pixels = [[None] * size for _ in range(size)]
    top, bottom = size // 8, size - size // 8
    width = size * 5 // 8
    title_rows = max(2, size // 6)
    for y in range(top, bottom):
        shift = (bottom - y) * (size - width - 2) // (bottom - top)  # leans to the right
        left, right = 1 + shift, 1 + shift + width
        for x in range(left, right):
            edge = y in (top, bottom - 1) or x in (left, right - 1)
            if edge or y == top + title_rows:
                pixels[y][x] = BLACK
            elif y < top + title_rows:
                pixels[y][x] = CYAN
            else:
                pixels[y][x] = WHITE
    return pixels


def icon_image(size, bits):
    """One image of an icon resource: header, palette, colour rows, mask rows."""
    pixels = slanted_window(size)
    colours = 1 << bits
    if bits == 1:
        palette, to_index = [(0, 0, 0), (255, 255, 255)], (lambda p: 1 if p == WHITE else 0)
    else:
        palette, to_index = VGA16, (lambda p: p)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    body = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette[:colours])

    def packed_rows(value_of, depth):
        data = b""
        for row in reversed(pixels):  # bottom-up
            bits_row = "".join(format(value_of(p), f"0{depth}b") for p in row)
            raw = int(bits_row, 2).to_bytes(len(bits_row) // 8, "big")
            data += raw + b"\0" * (-len(raw) % 4)
        return data

    body += packed_rows(lambda p: 0 if p is None else to_index(p), bits)
    body += packed_rows(lambda p: 1 if p is None else 0, 1)
    return header + body, colours


def write_icon(path):
    images = [icon_image(32, 1), icon_image(32, 4), icon_image(16, 4)]
    sizes = [32, 32, 16]
    bits = [1, 4, 4]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (data, colours), size, depth in zip(images, sizes, bits):
        out += struct.pack("<BBBBHHII", size, size, colours % 256, 0, 1, depth, len(data), offset)
        offset += len(data)
    out += b"".join(data for data, _ in images)
    path.write_bytes(out)


def go_button(fill, path):
    """The Go picture, 65 x 36: a rounded button with GO in white capitals."""
    image = Image.new("RGB", (65, 36), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((0, 0, 64, 35), radius=9, fill=fill, outline=(120, 120, 120))
    # Block letters drawn from rectangles, so no font is needed.
    white = (255, 255, 255)
    for box in [(16, 9, 19, 26), (16, 9, 29, 12), (16, 23, 29, 26), (26, 17, 29, 26), (23, 17, 29, 20),
                (35, 9, 38, 26), (46, 9, 49, 26), (35, 9, 49, 12), (35, 23, 49, 26)]:
        draw.rectangle(box, fill=white)
    buffer = io.BytesIO()
    image.save(buffer, format="BMP")
    path.write_bytes(buffer.getvalue())


def main():
    write_icon(HERE / "brelix.ico")
    go_button((168, 168, 168), HERE / "go_at_rest.bmp")
    go_button((255, 190, 120), HERE / "go_pressed.bmp")


if __name__ == "__main__":
    main()
