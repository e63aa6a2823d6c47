#!/usr/bin/env python3
"""Writes the resource art in the exact file formats the resource compiler expects.

ImageMagick draws the pictures; this step turns its raw pixel output into
  - 8-bit palette BMP files (BITMAPINFOHEADER, 256-entry colour table, BI_RGB, bottom-up),
  - one .ico whose every image is a DIB with its AND mask (4, 8 and 32 bits per pixel, no PNG),
because ImageMagick's own BMP/ICO writers do not promise those exact headers.
Only the standard library is used, and the output depends on nothing but the input bytes.

Usage:
  pack.py pixmap KEYS COLOURS SCHEME OUT.rgba   pixel art (one key letter per pixel) to RGBA
  pack.py bmp RAW.rgb WIDTH HEIGHT OUT.bmp      8-bit BMP from raw 8-bit RGB
  pack.py ico OUT.ico SIZE:BPP:RAW.rgba ...     icon from raw 8-bit RGBA images, in order
"""
import struct
import sys

# The standard 16-colour palette in its usual order; 4-bit images must use these exactly.
VGA16 = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def fail(message):
    sys.exit("pack.py: " + message)


def read_exact(path, size):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) != size:
        fail(f"{path}: {len(data)} bytes, expected {size}")
    return data


def hex_colour(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def stride(width, bpp):
    """Bytes per DIB row: rows are padded to a multiple of four bytes."""
    return (width * bpp + 31) // 32 * 4


def info_header(width, height, bpp, image_size, colours_used):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0, image_size, 0, 0,
                       colours_used, 0)


def sorted_palette(colours):
    """A palette of exactly 256 entries: the colours in ascending order, then black padding."""
    palette = sorted(set(colours))
    if len(palette) > 256:
        fail(f"{len(palette)} colours do not fit a 256-entry palette")
    return palette + [(0, 0, 0)] * (256 - len(palette))


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)


def palette_index(palette):
    """Colour to its first position in the palette (the black padding never wins)."""
    index = {}
    for i, colour in enumerate(palette):
        index.setdefault(colour, i)
    return index


def pack_rows(indices, width, height, bpp):
    """Palette indices (top row first) to bottom-up DIB rows of 1, 4 or 8 bits per pixel."""
    out = bytearray()
    row_bytes = stride(width, bpp)
    for y in reversed(range(height)):
        row = bytearray(row_bytes)
        for x in range(width):
            value = indices[y * width + x]
            bit = x * bpp
            row[bit // 8] |= value << (8 - bpp - bit % 8)
        out += row
    return bytes(out)


def cmd_pixmap(keys_path, colours_path, scheme, out_path):
    column = {"true": 1, "vga": 2}[scheme]
    colours = {".": (0, 0, 0, 0)}
    with open(colours_path, encoding="ascii") as f:
        for line in f:
            fields = line.split()
            if fields and not fields[0].startswith("#"):
                colours[fields[0]] = hex_colour(fields[column]) + (255,)
    with open(keys_path, encoding="ascii") as f:
        rows = [line.rstrip("\n") for line in f if line.strip()]
    if len(rows) != 16 or any(len(r) != 16 for r in rows):
        fail(f"{keys_path}: the pixel art must be 16 rows of 16 keys")
    data = bytearray()
    for row in rows:
        for key in row:
            if key not in colours:
                fail(f"{keys_path}: unknown key {key!r}")
            data += bytes(colours[key])
    with open(out_path, "wb") as f:
        f.write(data)


def cmd_bmp(raw_path, width, height, out_path):
    width, height = int(width), int(height)
    raw = read_exact(raw_path, width * height * 3)
    pixels = [tuple(raw[i:i + 3]) for i in range(0, len(raw), 3)]
    palette = sorted_palette(pixels)
    index = palette_index(palette)
    bits = pack_rows([index[p] for p in pixels], width, height, 8)
    offset = 14 + 40 + 256 * 4
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    with open(out_path, "wb") as f:
        f.write(header + info_header(width, height, 8, len(bits), 256) +
                palette_bytes(palette) + bits)


def icon_image(size, bpp, raw):
    """One icon image: BITMAPINFOHEADER (height doubled for XOR + AND), colours, XOR, AND."""
    rgba = [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]
    opaque = [a >= 128 for (_, _, _, a) in rgba]
    if bpp == 32:
        # Colour and alpha as drawn; the mask still marks the fully transparent pixels.
        xor = bytearray()
        for y in reversed(range(size)):
            for (r, g, b, a) in rgba[y * size:(y + 1) * size]:
                xor += struct.pack("<BBBB", b, g, r, a)
        mask = pack_rows([0 if a else 1 for (_, _, _, a) in rgba], size, size, 1)
        colours = b""
    else:
        # Transparent pixels are black in the colour part and 1 in the mask, so they show
        # the screen through unchanged.
        solid = [(r, g, b) if o else (0, 0, 0) for (r, g, b, _), o in zip(rgba, opaque)]
        if bpp == 4:
            palette = VGA16
            for c in solid:
                if c not in palette:
                    fail(f"{size}px 4-bit image uses {c}, not a standard 16-colour value")
        else:
            palette = sorted_palette(solid + [(0, 0, 0)])
        index = palette_index(palette)
        xor = pack_rows([index[c] for c in solid], size, size, bpp)
        mask = pack_rows([0 if o else 1 for o in opaque], size, size, 1)
        colours = palette_bytes(palette)
    header = info_header(size, size * 2, bpp, len(xor) + len(mask), 0)
    return header + colours + bytes(xor) + mask


def cmd_ico(out_path, *entries):
    images = []
    for entry in entries:
        size, bpp, path = entry.split(":", 2)
        size, bpp = int(size), int(bpp)
        if bpp not in (4, 8, 32):
            fail(f"unsupported depth {bpp}")
        images.append((size, bpp, icon_image(size, bpp, read_exact(path, size * size * 4))))
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    body = b""
    for size, bpp, image in images:
        colour_count = 16 if bpp == 4 else 0
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, bpp,
                                 len(image), offset + len(body))
        body += image
    with open(out_path, "wb") as f:
        f.write(directory + body)


def main(argv):
    commands = {"pixmap": (cmd_pixmap, 4), "bmp": (cmd_bmp, 4), "ico": (cmd_ico, None)}
    if len(argv) < 2 or argv[1] not in commands:
        fail(__doc__.strip())
    handler, count = commands[argv[1]]
    args = argv[2:]
    if (count is not None and len(args) != count) or (count is None and len(args) < 2):
        fail(__doc__.strip())
    handler(*args)


if __name__ == "__main__":
    main(sys.argv)
