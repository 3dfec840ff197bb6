#!/usr/bin/env python3
"""Draws the program icon: two small graphs, axes with curves, on white.

Writes quintrel16.png and quintrel32.png (16-colour palette PNGs), quintrel.ico (both sizes as
4-bit bitmaps, and 48 and 256 pixels as PNG images) and quintrel16.xpm / quintrel32.xpm beside this script. The XPM files are C source:
the program includes them, so showing its icon reads no image file and loads no image plugin at
start-up. quintrel.svg is the same picture drawn by hand as vectors; the larger sizes, for screens
at 1.5 and 2 times the usual resolution, are rendered from it by rsvg-convert (Debian package
librsvg2-bin) into quintrel48.png, quintrel256.png, quintrel48.xpm and quintrel64.xpm. Otherwise
only the standard library is used. quintrel_icon_pixels.h holds the XPM images' pixels as plain
arrays for the window icon (`draw_icons.py --pixels` writes it alone, without rsvg-convert).
"""
import math
import os
import struct
import subprocess
import zlib

# The classic 16-colour palette.
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GRAY, RED, BLUE, WHITE = 0, 4, 8, 9, 12, 15


def draw(size):
    """The icon as rows of palette indices."""
    px = [[WHITE] * size for _ in range(size)]

    def put(x, y, c):
        if 0 <= x < size and 0 <= y < size:
            px[y][x] = c

    def plot(f, left, right, base, height, colour):
        # Samples f on [0, 1] across the columns and joins neighbours with vertical runs.
        prev = None
        for x in range(left, right + 1):
            t = (x - left) / max(1, right - left)
            y = base - round(f(t) * height)
            if prev is not None:
                for yy in range(min(prev, y), max(prev, y) + 1):
                    put(x, yy, colour)
            put(x, y, colour)
            prev = y

    half = size // 2
    pad = 1 if size == 16 else 2
    for top, curve, colour in (
        (0, lambda t: math.exp(-2.5 * t) * math.cos(12.0 * t), NAVY),
        (half, lambda t: 1.0 / (1.0 + (t - 0.3) ** 2 * 120.0) - 0.06, RED),
    ):
        upper = top + pad          # first row of the vertical axis
        lower = top + half - pad   # last row of the vertical axis
        left = pad
        if colour == NAVY:         # a signal around its zero line
            base = (upper + lower) // 2
            amplitude = base - upper - (0 if size == 16 else 1)
        else:                      # a spectrum above its zero line
            base = lower - 1
            amplitude = base - upper - 1
        for y in range(upper, lower):
            put(left, y, BLACK)
        for x in range(left, size - pad):
            put(x, base, BLACK)
        plot(curve, left + 1, size - pad - 1, base, amplitude, colour)
    return px


def png(rows):
    size = len(rows)
    raw = b"".join(
        b"\x00" + bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2)) for row in rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 4, 3, 0, 0, 0)  # 4-bit palette
    palette = b"".join(bytes(c) for c in PALETTE)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"PLTE", palette) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ico(images, pngs=()):
    """An icon file with one 4-bit bitmap per image, the smallest first, then the larger sizes
    as PNG images (size, bytes), which Windows takes in an icon file since Vista."""
    entries, blobs = [], []
    offset = 6 + 16 * (len(images) + len(pngs))
    for rows in images:
        size = len(rows)
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
        palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
        xor_stride = ((size * 4 + 31) // 32) * 4
        and_stride = ((size + 31) // 32) * 4
        xor = b"".join(
            bytes((row[i] << 4) | row[i + 1] for i in range(0, size, 2)).ljust(xor_stride, b"\0")
            for row in reversed(rows))
        mask = b"\0" * (and_stride * size)  # fully opaque
        blob = info + palette + xor + mask
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4, len(blob),
                                   offset))
        blobs.append(blob)
        offset += len(blob)
    for size, blob in pngs:
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob),
                                   offset))
        blobs.append(blob)
        offset += len(blob)
    count = len(images) + len(pngs)
    return struct.pack("<HHH", 0, 1, count) + b"".join(entries) + b"".join(blobs)


# Characters that may stand for a colour in an XPM string: printable, without '"' and '\\'.
XPM_CODES = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
             "!#$%&'()*+,-./:;<=>?@[]^_`{|}~ ")


def xpm(rows, rgb=PALETTE.__getitem__):
    """The icon as an XPM image, which is also a C array the program can include. rows hold
    palette indices, or whatever rgb turns into a colour; one character stands for each."""
    size = len(rows)
    used = sorted({c for row in rows for c in row})
    assert len(used) <= len(XPM_CODES), "at most one colour per one-character code"
    code = {c: XPM_CODES[i] for i, c in enumerate(used)}
    lines = [f"{size} {size} {len(used)} 1"]
    lines += [f"{code[c]} c #{''.join(f'{v:02X}' for v in rgb(c))}" for c in used]
    lines += ["".join(code[c] for c in row) for row in rows]
    body = ",\n".join(f'"{line}"' for line in lines)
    return (f"/* XPM */\nstatic const char* const quintrel{size}_xpm[] = {{\n{body}}};\n")


def png_pixels(data):
    """The rows of (red, green, blue) of an 8-bit RGB or RGBA PNG, as rsvg-convert writes it;
    transparent parts are laid on white."""
    pos, chunks = 8, {}
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        chunks[kind] = chunks.get(kind, b"") + data[pos + 8:pos + 8 + length]
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    assert depth == 8 and colour in (2, 6) and interlace == 0, "an 8-bit RGB(A) PNG"
    step = 3 if colour == 2 else 4
    stride = width * step
    raw = zlib.decompress(chunks[b"IDAT"])
    rows, previous = [], bytes(stride)
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for x in range(stride):  # undoes the row's filter
            a = line[x - step] if x >= step else 0
            b = previous[x]
            c = previous[x - step] if x >= step else 0
            p = a + b - c
            paeth = (a if abs(p - a) <= min(abs(p - b), abs(p - c))
                     else b if abs(p - b) <= abs(p - c) else c)
            line[x] = (line[x] + (0, a, b, (a + b) // 2, paeth)[kind]) & 0xFF
        previous = bytes(line)
        row = []
        for x in range(0, stride, step):
            alpha = line[x + 3] if step == 4 else 255
            row.append(tuple(round(v * alpha / 255 + 255 - alpha) for v in line[x:x + 3]))
        rows.append(row)
    return rows


def xpm_pixels(text):
    """The rows of 0xAARRGGBB values of an XPM image as xpm() writes it (one character a
    pixel, colours as #RRGGBB)."""
    lines = [line[line.index('"') + 1:line.rindex('"')] for line in text.splitlines()
             if line.count('"') >= 2]
    width, height, colours, _ = (int(v) for v in lines[0].split())
    colour = {line[0]: 0xFF000000 | int(line[line.rindex("#") + 1:], 16)
              for line in lines[1:1 + colours]}
    return [[colour[c] for c in line[:width]] for line in lines[1 + colours:1 + colours + height]]


def pixels_header(here, sizes=(16, 32, 48, 64)):
    """quintrel_icon_pixels.h: the XPM images' pixels as C arrays the program wraps in images
    as they are, so the window icon costs no image decoding at start-up."""
    parts = ["// The program icon's pixels, 0xAARRGGBB, rows top first: written by draw_icons.py "
             "from\n// the XPM images beside it. Do not edit.\n#pragma once\n"]
    for size in sizes:
        with open(os.path.join(here, f"quintrel{size}.xpm")) as f:
            values = [v for row in xpm_pixels(f.read()) for v in row]
        assert len(values) == size * size
        lines = [", ".join(f"0x{v:08X}" for v in values[i:i + 8])
                 for i in range(0, len(values), 8)]
        parts.append(f"static const unsigned int quintrel{size}_argb[{size} * {size}] = {{\n    "
                     + ",\n    ".join(lines) + ",\n};\n")
    with open(os.path.join(here, "quintrel_icon_pixels.h"), "w") as out:
        out.write("\n".join(parts))


def render_svg(here, size):
    return subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size),
                           os.path.join(here, "quintrel.svg")],
                          check=True, capture_output=True).stdout


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    large = []
    for size in (48, 64, 256):
        rendered = render_svg(here, size)
        if size in (48, 256):
            large.append((size, rendered))
            with open(os.path.join(here, f"quintrel{size}.png"), "wb") as out:
                out.write(rendered)
        if size in (48, 64):
            # 16 levels a channel (steps of 17, invisible on the blends of white with the four
            # colours) leave fewer colours than XPM has one-character codes: the program then
            # reads the image about twice as fast as with all of the render's 200-odd colours.
            rows = [[tuple(round(v / 17) * 17 for v in pixel) for pixel in row]
                    for row in png_pixels(rendered)]
            with open(os.path.join(here, f"quintrel{size}.xpm"), "w") as out:
                out.write(xpm(rows, rgb=lambda c: c))
    images = [draw(16), draw(32)]
    for rows in images:
        with open(os.path.join(here, f"quintrel{len(rows)}.png"), "wb") as out:
            out.write(png(rows))
        with open(os.path.join(here, f"quintrel{len(rows)}.xpm"), "w") as out:
            out.write(xpm(rows))
    with open(os.path.join(here, "quintrel.ico"), "wb") as out:
        out.write(ico(images, large))
    pixels_header(here)
    for rows in images:  # a preview on the terminal
        print("\n".join("".join({BLACK: "#", NAVY: "o", RED: "x"}.get(c, " ") for c in r)
                        for r in rows))


if __name__ == "__main__":
    import sys
    if sys.argv[1:] == ["--pixels"]:  # the header alone, from the committed XPM images
        pixels_header(os.path.dirname(os.path.abspath(__file__)))
    else:
        main()
