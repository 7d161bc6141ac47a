"""The product icon: a tiny dark screen with lit pixels, as the marker shows a boot screen.

At 16 and 32 px every pixel is placed by hand below, since a drawing scaled down to those sizes
blurs. Larger sizes are drawn from a description of the same picture (a rounded bezel, dark
glass, a 9 x 9 grid of cells holding the 32 px pattern) at whole-pixel positions, so the cells
stay sharp; only the rounded corners of the bezel are smoothed.

Standard library only; imported by the scripts that write the icon files.
"""
import struct
import zlib

# Straight RGBA. The outline is light enough to be seen on dark panels, the glass dark enough
# for the lit cells to read on light ones.
PALETTE = {
    ".": (0, 0, 0, 0),          # outside the icon
    "o": (138, 148, 160, 255),  # outline of the bezel
    "b": (43, 48, 56, 255),     # bezel
    "g": (10, 12, 15, 255),     # glass
    "u": (27, 33, 41, 255),     # unlit cell
    "L": (234, 246, 255, 255),  # lit cell
}

ICON_16 = (
    "................",
    "..oooooooooooo..",
    ".oggggggggggggo.",
    ".oggggggggggggo.",
    ".oggggggggggggo.",
    ".ogggggLLgggggo.",
    ".oggggLLLLggggo.",
    ".ogggLLggLLgggo.",
    ".oggLLggggLLggo.",
    ".ogLLggggggLLgo.",
    ".oggggggggggggo.",
    ".oggggggggggggo.",
    ".oggggggggggggo.",
    ".oggggggggggggo.",
    "..oooooooooooo..",
    "................",
)

ICON_32 = (
    "..oooooooooooooooooooooooooooo..",
    ".obbbbbbbbbbbbbbbbbbbbbbbbbbbbo.",
    "obggggggggggggggggggggggggggggbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obguuguuguuguugLLguuguuguuguugbo",
    "obguuguuguuguugLLguuguuguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obguuguuguugLLgLLgLLguuguuguugbo",
    "obguuguuguugLLgLLgLLguuguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obguuguugLLgLLguugLLgLLguuguugbo",
    "obguuguugLLgLLguugLLgLLguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obguugLLgLLguuguuguugLLgLLguugbo",
    "obguugLLgLLguuguuguugLLgLLguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obgLLgLLguuguuguuguuguugLLgLLgbo",
    "obgLLgLLguuguuguuguuguugLLgLLgbo",
    "obggggggggggggggggggggggggggggbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obguuguuguuguuguuguuguuguuguugbo",
    "obggggggggggggggggggggggggggggbo",
    ".obbbbbbbbbbbbbbbbbbbbbbbbbbbbo.",
    "..oooooooooooooooooooooooooooo..",
)

# The cells of the larger sizes, as at 32 px: the chevron of the product's first icon.
CELLS = (
    ".........",
    ".........",
    "....#....",
    "...###...",
    "..##.##..",
    ".##...##.",
    "##.....##",
    ".........",
    ".........",
)

HAND_PLACED = {16: ICON_16, 32: ICON_32}


def _from_grid(grid):
    size = len(grid)
    if any(len(row) != size for row in grid):
        raise ValueError(f"the {size} px grid is not square")
    unknown = {ch for row in grid for ch in row} - PALETTE.keys()
    if unknown:
        raise ValueError(f"the {size} px grid uses colours without a palette entry: {sorted(unknown)}")
    return [[PALETTE[ch] for ch in row] for row in grid]


def _rounded_coverage(x, y, left, top, right, bottom, radius, samples=4):
    """Share of pixel (x, y) inside the rounded rectangle [left, right) x [top, bottom)."""
    if x + 1 <= left or x >= right or y + 1 <= top or y >= bottom:
        return 0
    square = left <= x and x + 1 <= right and top <= y and y + 1 <= bottom
    if square and (left + radius <= x and x + 1 <= right - radius
                   or top + radius <= y and y + 1 <= bottom - radius):
        return 1
    inside = 0
    for j in range(samples):
        for i in range(samples):
            px, py = x + (i + 0.5) / samples, y + (j + 0.5) / samples
            if not (left <= px < right and top <= py < bottom):
                continue
            cx = min(max(px, left + radius), right - radius)
            cy = min(max(py, top + radius), bottom - radius)
            if (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius:
                inside += 1
    return inside / (samples * samples)


def _over(top, bottom, coverage):
    """Straight-alpha 'top over bottom', with top's alpha scaled by coverage."""
    alpha = top[3] / 255 * coverage
    below = bottom[3] / 255 * (1 - alpha)
    out = alpha + below
    if out == 0:
        return (0, 0, 0, 0)
    return tuple(round((top[c] * alpha + bottom[c] * below) / out) for c in range(3)) + (round(out * 255),)


def _drawn(size):
    """The icon at a size without a hand-placed grid, laid out in whole pixels."""
    unit = size / 32  # one pixel of the 32 px icon
    outline = max(1, round(unit * 0.75))
    bezel = max(1, round(unit * 1.5))
    radius = 3 * unit
    pixels = [[PALETTE["."]] * size for _ in range(size)]
    rings = ((0, PALETTE["o"]), (outline, PALETTE["b"]), (outline + bezel, PALETTE["g"]))
    for inset, colour in rings:
        r = max(radius - inset, 0.5)
        for y in range(size):
            for x in range(size):
                coverage = _rounded_coverage(x, y, inset, inset, size - inset, size - inset, r)
                if coverage:
                    pixels[y][x] = _over(colour, pixels[y][x], coverage)
    glass = size - 2 * (outline + bezel)
    count = len(CELLS)
    pitch = (glass - 2) // count  # at least one pixel of glass around the grid
    gap = max(1, round(pitch / 3))
    start = outline + bezel + (glass - (pitch * count - gap)) // 2
    for row, line in enumerate(CELLS):
        for column, mark in enumerate(line):
            colour = PALETTE["L" if mark == "#" else "u"]
            for y in range(start + row * pitch, start + row * pitch + pitch - gap):
                for x in range(start + column * pitch, start + column * pitch + pitch - gap):
                    pixels[y][x] = colour
    return pixels


def icon(size):
    """Rows of straight RGBA tuples of the icon at size x size."""
    if size in HAND_PLACED:
        return _from_grid(HAND_PLACED[size])
    if size < 40:
        raise ValueError(f"no hand-placed {size} px icon, and drawn icons blur below 40 px")
    return _drawn(size)


def maskable(size):
    """The icon for a launcher that cuts its own shape: the bezel's colour to every edge, the
    icon drawn at 70 % in the middle, inside the circle a launcher may keep (80 % of the side)."""
    inner = round(size * 0.7) // 2 * 2
    drawn = icon(inner)
    background = PALETTE["b"]
    pixels = [[background] * size for _ in range(size)]
    offset = (size - inner) // 2
    for y, row in enumerate(drawn):
        for x, colour in enumerate(row):
            pixels[offset + y][offset + x] = _over(colour, background, 1)
    return pixels


def png_bytes(rows):
    """An 8-bit RGBA PNG of the rows."""
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
