#!/usr/bin/env python3
"""Writes resources/appicon.ico, the Windows program icon, from scripts/producticon.py.

Windows picks the entry nearest the size it shows: 16 and 32 px for lists and title bars, 48 for
icon views, 256 for large tiles. The small ones are 32-bit DIBs with alpha, which every Windows
reads; the 256 px one is stored as PNG, as Windows does itself, to keep the file small.

    scripts/make-appicon-ico.py            write the icon
    scripts/make-appicon-ico.py --check    exit 1 if the written icon differs from a fresh one

Standard library only.
"""
import pathlib
import struct
import sys

import producticon

root = pathlib.Path(__file__).resolve().parent.parent
ico = root / "resources" / "appicon.ico"
dib_sizes = (16, 32, 48)
png_sizes = (256,)


def dib(rows):
    size = len(rows)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for r, g, b, a in row)  # bottom-up
    mask_row = b"\0" * (-(-size // 32) * 4)  # the alpha channel decides; the mask is all opaque
    # The header's height counts the colour and the mask rows together.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         len(colour) + len(mask_row) * size, 0, 0, 0, 0)
    return header + colour + mask_row * size


def icon_file():
    images = [(size, dib(producticon.icon(size))) for size in dib_sizes]
    images += [(size, producticon.png_bytes(producticon.icon(size))) for size in png_sizes]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in images:
        side = size % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + b"".join(data for _, data in images)


def main():
    if sys.argv[1:] not in ([], ["--check"]):
        print("usage: make-appicon-ico.py [--check]", file=sys.stderr)
        return 2
    data = icon_file()
    if sys.argv[1:] == ["--check"]:
        if not ico.exists() or ico.read_bytes() != data:
            print("resources/appicon.ico is out of date with scripts/producticon.py "
                  "(run scripts/make-appicon-ico.py)", file=sys.stderr)
            return 1
        return 0
    ico.write_bytes(data)
    print(f"wrote {ico.relative_to(root)} ({len(data)} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
