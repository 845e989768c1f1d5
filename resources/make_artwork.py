#!/usr/bin/python3
"""Draws the program's icon and pictures. Deterministic: every run writes the same bytes.

The GIF and JPEG files are the artwork; the program carries each picture as the bitmap
file beside it (name.bmp), which GDI draws without an image codec.

Run with Debian's python3 and python3-pil:  resources/make_artwork.py
"""
import io
import math
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


def save(image, path, **options):
    buffer = io.BytesIO()
    image.save(buffer, **options)
    path.write_bytes(buffer.getvalue())


BI_RGB, BI_RLE8 = 0, 1  # the bitmap header's compression values


def bitmap_rows(width, height, pixel_bytes, bytes_per_pixel):
    """Bottom-up rows, each padded to a multiple of four bytes."""
    stride = width * bytes_per_pixel
    padding = b"\0" * (-stride % 4)
    return b"".join(pixel_bytes[y * stride:(y + 1) * stride] + padding
                    for y in reversed(range(height)))


def run_length_encoded(rows):
    """Rows of 8-bit indices, bottom-up, in the BI_RLE8 form: a run is a count and an index;
    three or more unlike indices go as one absolute stretch, padded to an even length."""
    out = bytearray()
    for row in rows:
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and run < 255 and row[x + run] == row[x]:
                run += 1
            if run > 1:
                out += bytes((run, row[x]))
                x += run
                continue
            end = x + 1
            while end < len(row) and end - x < 255 and not (
                    end + 1 < len(row) and row[end] == row[end + 1]):
                end += 1
            stretch = row[x:end]
            if len(stretch) < 3:  # absolute mode needs three at least
                out += b"".join(bytes((1, index)) for index in stretch)
            else:
                out += bytes((0, len(stretch))) + bytes(stretch) + b"\0" * (len(stretch) % 2)
            x = end
        out += bytes((0, 0))  # end of line
    out[-2:] = bytes((0, 1))  # the last line's end is the bitmap's end
    return bytes(out)


def bitmap_file(image, path):
    """The picture as a bitmap file (a bottom-up DIB behind a file header), in the smallest
    form that keeps every pixel: 32 bits with premultiplied alpha if any pixel is not
    opaque; otherwise 24 bits, or, for at most 256 colours, 8-bit indices into a colour
    table of exactly those colours, run-length encoded (BI_RLE8) where that is smaller."""
    image = image.convert("RGBA")
    width, height = image.size
    pixels = list(image.getdata())
    colours = []
    if any(alpha < 255 for *_, alpha in pixels):
        bits, compression = 32, BI_RGB
        data = bitmap_rows(width, height, b"".join(
            bytes(round(channel * alpha / 255) for channel in (b, g, r)) + bytes((alpha,))
            for r, g, b, alpha in pixels), 4)
    else:
        bits, compression = 24, BI_RGB
        data = bitmap_rows(width, height, b"".join(bytes((b, g, r)) for r, g, b, _ in pixels), 3)
        used = sorted({pixel[:3] for pixel in pixels})
        if len(used) <= 256:
            index_of = {colour: index for index, colour in enumerate(used)}
            indices = bytes(index_of[pixel[:3]] for pixel in pixels)
            rows = [indices[y * width:(y + 1) * width] for y in reversed(range(height))]
            raw = bitmap_rows(width, height, indices, 1)
            encoded = run_length_encoded(rows)
            if 4 * len(used) + min(len(raw), len(encoded)) < len(data):
                colours = used
                bits = 8
                compression, data = (BI_RLE8, encoded) if len(encoded) < len(raw) else (BI_RGB, raw)
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data),
                         0, 0, len(colours), 0)
    offset = 14 + len(header) + len(table)
    path.write_bytes(struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
                     + header + table + data)
    # Read back by PIL's own decoder, so that a fault in the writing cannot go unseen.
    with Image.open(path) as written:
        assert list(written.convert("RGB").getdata()) == [
            tuple(round(channel * alpha / 255) for channel in (r, g, b))
            for r, g, b, alpha in pixels], path


def block_letters(draw, boxes, colour):
    """Letters drawn from rectangles, so no font is needed and every run draws the same."""
    for box in boxes:
        draw.rectangle(box, fill=colour)


def go_button(fill, path):
    """The Go picture, 65 x 36: a rounded button with GO in white capitals."""
    image = Image.new("RGB", (65, 36), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((0, 0, 64, 35), radius=9, fill=fill, outline=(120, 120, 120))
    block_letters(draw, [(16, 9, 19, 26), (16, 9, 29, 12), (16, 23, 29, 26), (26, 17, 29, 26),
                         (23, 17, 29, 20), (35, 9, 38, 26), (46, 9, 49, 26), (35, 9, 49, 12),
                         (35, 23, 49, 26)], (255, 255, 255))
    save(image, path, format="JPEG", quality=92)


def mail_picture(path):
    """32 x 32 GIF: a glossy teal square with a white envelope; three pixels at each corner
    are transparent."""
    image = Image.new("RGB", (32, 32), (0, 128, 128))
    draw = ImageDraw.Draw(image)
    for y in range(32):  # gloss: lighter towards the top
        shade = 150 - y * 2
        draw.line((0, y, 31, y), fill=(0, shade + 20, shade + 20))
    draw.rectangle((5, 9, 26, 23), fill=(255, 255, 255), outline=(0, 90, 90))
    draw.line((5, 9, 16, 17), fill=(0, 90, 90))
    draw.line((26, 9, 16, 17), fill=(0, 90, 90))
    paletted = image.quantize(colors=64, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    transparent = 63
    pixels = paletted.load()
    for x, y in [(0, 0), (1, 0), (0, 1), (31, 0), (30, 0), (31, 1),
                 (0, 31), (1, 31), (0, 30), (31, 31), (30, 31), (31, 30)]:
        pixels[x, y] = transparent
    save(paletted, path, format="GIF", transparency=transparent)


def web_picture(path):
    """32 x 32 JPEG: a blue round button with a white house."""
    image = Image.new("RGB", (32, 32), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    draw.ellipse((0, 0, 31, 31), fill=(30, 90, 200), outline=(20, 60, 150))
    draw.polygon([(16, 7), (7, 16), (25, 16)], fill=(255, 255, 255))
    draw.rectangle((10, 16, 22, 24), fill=(255, 255, 255))
    draw.rectangle((14, 19, 17, 24), fill=(30, 90, 200))
    save(image, path, format="JPEG", quality=92)


def donate_picture(path):
    """73 x 44 JPEG: a yellow-orange pill-shaped badge with a small logo and "Donate"."""
    image = Image.new("RGB", (73, 44), (255, 255, 255))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle((1, 8, 71, 35), radius=13, fill=(255, 196, 57), outline=(210, 140, 20))
    draw.ellipse((7, 15, 19, 27), fill=(40, 80, 150))  # a plain coin as the logo
    draw.ellipse((10, 18, 16, 24), fill=(255, 196, 57))
    # "Donate" in 3 x 5 block letters.
    x = 24
    letters = {
        "D": [(0, 0, 0, 4), (1, 0, 1, 0), (1, 4, 1, 4), (2, 1, 2, 3)],
        "o": [(0, 2, 0, 4), (2, 2, 2, 4), (1, 2, 1, 2), (1, 4, 1, 4)],
        "n": [(0, 2, 0, 4), (1, 2, 1, 2), (2, 2, 2, 4)],
        "a": [(0, 2, 2, 2), (2, 2, 2, 4), (0, 3, 0, 4), (1, 4, 1, 4)],
        "t": [(1, 0, 1, 4), (0, 1, 2, 1), (2, 4, 2, 4)],
        "e": [(0, 2, 0, 4), (1, 2, 2, 2), (1, 3, 2, 3), (1, 4, 2, 4)],
    }
    for letter in "Donate":
        block_letters(draw, [(x + 2 * a, 17 + 2 * b, x + 2 * c + 1, 17 + 2 * d + 1)
                             for a, b, c, d in letters[letter]], (20, 40, 110))
        x += 7
    save(image, path, format="JPEG", quality=92)


def watermark(path):
    """285 x 194 8-bit BMP (run-length encoded): white crossed by bundles of thin light-grey
    curves rising from the lower left to the upper right, in seven grey levels from white to
    (204, 204, 204)."""
    levels = [255 - step * (255 - 204) // 6 for step in range(7)]
    image = Image.new("P", (285, 194), 0)
    image.putpalette([value for level in levels for value in (level, level, level)] + [0] * (768 - 21))
    draw = ImageDraw.Draw(image)
    for bundle, (start, lift) in enumerate([(230, 150), (150, 120), (70, 100)]):
        for line in range(9):
            points = []
            for x in range(0, 286, 3):
                t = x / 285
                y = start - line * 4 - lift * t + 18 * math.sin(3.2 * t + bundle)
                points.append((x, y))
            draw.line(points, fill=1 + (line + bundle) % 6, width=1)
    bitmap_file(image, path)


def main():
    write_icon(HERE / "brelix.ico")
    go_button((168, 168, 168), HERE / "go_at_rest.jpg")
    go_button((255, 190, 120), HERE / "go_pressed.jpg")
    mail_picture(HERE / "mail.gif")
    web_picture(HERE / "web_site.jpg")
    donate_picture(HERE / "donate.jpg")
    watermark(HERE / "watermark.bmp")
    # Each picture as its file decodes, so the program shows what the artwork holds.
    for name in ["mail.gif", "web_site.jpg", "donate.jpg", "go_at_rest.jpg", "go_pressed.jpg"]:
        artwork = HERE / name
        bitmap_file(Image.open(artwork), artwork.with_suffix(".bmp"))


if __name__ == "__main__":
    main()
