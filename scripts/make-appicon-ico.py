#!/usr/bin/env python3
"""Writes resources/appicon.ico, the Windows program icon, from resources/appicon.png.

Windows wants IDI_ICON1 as a single 48 x 29 image of 24 bits per pixel; image tools tend
to write 32-bit or PNG-compressed icons, so the icon is assembled here byte by byte.
Needs ImageMagick's `convert` to read the PNG.
"""
import pathlib
import struct
import subprocess

root = pathlib.Path(__file__).resolve().parent.parent
png = root / "resources" / "appicon.png"
ico = root / "resources" / "appicon.ico"
width, height = 48, 29

rgb = subprocess.run(["convert", str(png), "-depth", "8", "rgb:-"],
                     check=True, capture_output=True).stdout
assert len(rgb) == width * height * 3

def padded(row: bytes) -> bytes:
    return row + b"\0" * (-len(row) % 4)

xor_rows = []
for y in reversed(range(height)):  # DIBs run bottom-up
    row = bytearray()
    for x in range(width):
        r, g, b = rgb[(y * width + x) * 3:(y * width + x) * 3 + 3]
        row += bytes((b, g, r))
    xor_rows.append(padded(bytes(row)))
and_rows = [padded(b"\0" * ((width + 7) // 8)) for _ in range(height)]  # fully opaque
pixels = b"".join(xor_rows) + b"".join(and_rows)

# The header's height counts the colour and the mask rows together.
header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 24, 0, len(pixels), 0, 0, 0, 0)
image = header + pixels
directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
    "<BBBBHHII", width, height, 0, 0, 1, 24, len(image), 6 + 16)
ico.write_bytes(directory + image)
print(f"wrote {ico} ({len(directory + image)} bytes)")
