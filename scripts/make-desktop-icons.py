#!/usr/bin/env python3
"""Writes the desktop icons under packaging/icons/ from resources/appicon.png.

Desktops want square icons at fixed sizes; the program's icon is a 48 x 29 picture with
anti-aliased edges. It keeps its white background, as in the window icon, so that the black
chevron stays visible on dark panels. Where a whole-number enlargement fits (48, 64, 128, 256) each pixel
becomes an n x n block, so the edges stay as sharp as the original, and the picture is
centred on a transparent square. 32 and 16 px are smaller than the picture: there each
output pixel is the average of the source area it covers (1.5 or 3 source pixels square),
with one row of the white background added on top so that the chevron's flat base falls on
an output pixel boundary and stays a sharp edge instead of a grey row.

    scripts/make-desktop-icons.py            write the icons
    scripts/make-desktop-icons.py --check    exit 1 if a written icon differs from a fresh one

Standard library only.
"""
import pathlib
import struct
import sys
import zlib

root = pathlib.Path(__file__).resolve().parent.parent
source = root / "resources" / "appicon.png"
icons = root / "packaging" / "icons"
name = "org.tarrow.BootScreenEditor.png"
sizes = (16, 32, 48, 64, 128, 256)


def read_png(path):
    """Returns (width, height, rows of RGBA tuples) of an 8-bit RGB or RGBA PNG."""
    data = path.read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat = 8, b""
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError(f"{path}: only 8-bit RGB or RGBA without interlace is read")
        elif kind == b"IDAT":
            idat += body
    channels = 3 if colour == 2 else 4
    stride = width * channels
    raw = zlib.decompress(idat)
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = previous[x]
            c = previous[x - channels] if x >= channels else 0
            if kind == 1:
                line[x] = (line[x] + a) & 255
            elif kind == 2:
                line[x] = (line[x] + b) & 255
            elif kind == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[x] = (line[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        previous = line
        pixels = [tuple(line[x:x + channels]) for x in range(0, stride, channels)]
        rows.append([p if channels == 4 else p + (255,) for p in pixels])
    return width, height, rows


def png_bytes(rows):
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def enlarged(rows, factor):
    return [[pixel for pixel in row for _ in range(factor)] for row in rows for _ in range(factor)]


def reduced(rows, block):
    """Averages block x block areas of the picture enlarged twice with a white row on top
    (29 + 1 rows divide evenly by 1.5 and by 3)."""
    doubled = enlarged([[(255, 255, 255, 255)] * len(rows[0])] + rows, 2)
    out = []
    for y in range(0, len(doubled), block):
        line = []
        for x in range(0, len(doubled[0]), block):
            area = [doubled[y + j][x + i] for j in range(block) for i in range(block)]
            line.append(tuple((sum(p[c] for p in area) + len(area) // 2) // len(area) for c in range(4)))
        out.append(line)
    return out


def centred(rows, size):
    width, height = len(rows[0]), len(rows)
    left, top = (size - width) // 2, (size - height) // 2
    clear = (0, 0, 0, 0)
    square = [[clear] * size for _ in range(size)]
    for y, row in enumerate(rows):
        square[top + y][left:left + width] = row
    return square


def icon(rows, width, size):
    factor = size // width
    if factor >= 1:
        return centred(enlarged(rows, factor), size)
    return centred(reduced(rows, 2 * width // size), size)


def main():
    check = sys.argv[1:] == ["--check"]
    if sys.argv[1:] not in ([], ["--check"]):
        print("usage: make-desktop-icons.py [--check]", file=sys.stderr)
        return 2
    width, height, rows = read_png(source)
    if (width, height) != (48, 29):
        raise ValueError(f"{source}: the 32 and 16 px reductions are laid out for 48 x 29")
    stale = []
    for size in sizes:
        path = icons / "hicolor" / f"{size}x{size}" / "apps" / name
        pixels = icon(rows, width, size)
        if check:
            if not path.exists() or read_png(path)[2] != pixels:
                stale.append(str(path.relative_to(root)))
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(png_bytes(pixels))
        print(f"wrote {path.relative_to(root)}")
    if stale:
        print("out of date with resources/appicon.png (run scripts/make-desktop-icons.py): "
              + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
