#!/usr/bin/env python3
"""Writes the bundled pixel fonts' glyph tables under core/fonts/ from Debian's font packages.

The fonts are bitmap fonts drawn pixel for pixel for small screens, with licences that allow
shipping them: the public-domain X11 "fixed" fonts (xfonts-base) and Spleen (fonts-spleen,
BSD 2-clause). Each font keeps the printable Latin-1 characters (U+0020-U+007E and
U+00A0-U+00FF), every one drawn in a cell of the font's size. Every character must be drawn, a blank cell only for the spaces. The tables are committed, so
building the product needs none of these packages; this script is run only to change the set
of fonts.

    scripts/make-font-tables.py            write core/fonts/*.cpp
    scripts/make-font-tables.py --check    exit 1 if a committed table differs from a fresh one

Needs the packages xfonts-base, fonts-spleen and pcf2bdf (apt-get install xfonts-base
fonts-spleen pcf2bdf); otherwise the standard library only.
"""
import gzip
import pathlib
import subprocess
import sys
import tempfile

root = pathlib.Path(__file__).resolve().parent.parent
output = root / "core" / "fonts"
fontdir = pathlib.Path("/usr/share/fonts/X11/misc")

FIXED_LICENCE = "Public domain (X11 misc-fixed fonts)"
SPLEEN_LICENCE = "BSD-2-Clause (see docs/font-licences.md)"

# Smallest first: "auto" takes the last one that fits, so every font here must be at least
# as wide and taller than the one before it.
FONTS = (
    # (name, package, file, licence)
    ("fixed-4x6", "xfonts-base", "4x6.pcf.gz", FIXED_LICENCE),
    ("fixed-5x7", "xfonts-base", "5x7.pcf.gz", FIXED_LICENCE),
    # Spleen 5x8 (1.9.1) has blank placeholders for U+00A0-U+00FF; the fixed 5x8 draws them.
    ("fixed-5x8", "xfonts-base", "5x8.pcf.gz", FIXED_LICENCE),
    ("fixed-6x10", "xfonts-base", "6x10.pcf.gz", FIXED_LICENCE),
    ("spleen-6x12", "fonts-spleen", "spleen-6x12.pcf.gz", SPLEEN_LICENCE),
    ("fixed-7x14", "xfonts-base", "7x14.pcf.gz", FIXED_LICENCE),
    ("spleen-8x16", "fonts-spleen", "spleen-8x16.pcf.gz", SPLEEN_LICENCE),
)

REPERTOIRE = list(range(0x20, 0x7F)) + list(range(0xA0, 0x100))

# The characters drawn as blank cells.
BLANK = (0x20, 0xA0)

# A glyph row is one byte in the tables.
MAX_WIDTH = 8


class FontError(Exception):
    pass


def package_version(package):
    result = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                            capture_output=True, text=True)
    if result.returncode != 0 or not result.stdout:
        raise FontError(f"the package {package} is not installed "
                        "(apt-get install xfonts-base fonts-spleen pcf2bdf)")
    return result.stdout


def bdf_text(pcf_gz):
    """The font as BDF text: pcf2bdf reads the PCF files the packages install."""
    with tempfile.TemporaryDirectory() as folder:
        pcf = pathlib.Path(folder) / "font.pcf"
        pcf.write_bytes(gzip.decompress(pcf_gz.read_bytes()))
        try:
            result = subprocess.run(["pcf2bdf", str(pcf)], capture_output=True)
        except FileNotFoundError:
            raise FontError("pcf2bdf is not installed (apt-get install pcf2bdf)")
        if result.returncode != 0:
            raise FontError(f"{pcf_gz}: pcf2bdf failed: {result.stderr.decode(errors='replace')}")
        return result.stdout.decode("latin-1")


def parse_bdf(text, source):
    """(cell width, cell height, descent, copyright, {code point: rows of the cell})."""
    lines = text.splitlines()
    width = height = descent = None
    copyright_notice = ""
    glyphs = {}
    i = 0
    while i < len(lines):
        words = lines[i].split()
        if not words:
            i += 1
            continue
        key = words[0]
        if key == "FONTBOUNDINGBOX":
            width, height, _, low = (int(w) for w in words[1:5])
            descent = -low
        elif key == "COPYRIGHT":
            copyright_notice = lines[i].split(" ", 1)[1].strip().strip('"')
        elif key == "STARTCHAR":
            code = None
            box = None
            i += 1
            while not lines[i].startswith("BITMAP"):
                fields = lines[i].split()
                if fields[0] == "ENCODING":
                    code = int(fields[1])
                elif fields[0] == "BBX":
                    box = tuple(int(f) for f in fields[1:5])
                i += 1
            i += 1
            bits = []
            while lines[i] != "ENDCHAR":
                bits.append(int(lines[i], 16))
                i += 1
            if code is not None and code >= 0:
                glyphs[code] = (box, bits)
        i += 1
    if width is None:
        raise FontError(f"{source}: no FONTBOUNDINGBOX")
    if width > MAX_WIDTH:
        raise FontError(f"{source}: {width} pixels wide, the tables hold at most {MAX_WIDTH}")
    cells = {}
    for code, (box, bits) in glyphs.items():
        cells[code] = cell_rows(box, bits, width, height, descent, source, code)
    return width, height, copyright_notice, cells


def cell_rows(box, bits, width, height, descent, source, code):
    """The glyph placed in its cell: one byte per row, top row first, bit 7 the left column."""
    glyph_width, glyph_height, x, y = box
    stored_bits = ((glyph_width + 7) // 8) * 8
    top = height - descent - (y + glyph_height)
    rows = [0] * height
    for r, value in enumerate(bits):
        for c in range(glyph_width):
            if not (value >> (stored_bits - 1 - c)) & 1:
                continue
            column, row = x + c, top + r
            if not (0 <= column < width and 0 <= row < height):
                raise FontError(f"{source}: U+{code:04X} reaches outside its {width} x {height} "
                                "cell")
            rows[row] |= 0x80 >> column
    return rows


def describe(code):
    """How a comment names the character; a quoted character never ends a line in '\\'."""
    if code in (0x20, 0xA0, 0xAD):
        return f"U+{code:04X}"
    return f"U+{code:04X} '{chr(code)}'"


def identifier(name):
    return name.replace("-", "")


def font_source(name, package, version, filename, licence, width, height, copyright_notice,
                cells):
    out = [
        f"// Generated by scripts/make-font-tables.py from {filename} in the Debian package",
        f"// {package} {version}. Do not edit; run the script again instead.",
        f"// Font: {name}, {copyright_notice}",
        f"// Licence: {licence}",
        "",
        '#include "pixelfont.h"',
        "",
        "namespace pixelfont::fonts {",
        "",
        "// Every bundled font has exactly these characters (see repertoire.cpp).",
        "extern const char32_t repertoire[];",
        "",
        "namespace {",
        "",
        "// clang-format off",
    ]
    out.append("const std::uint8_t rows[] = {")
    for code in REPERTOIRE:
        out.append("    " + " ".join(f"0x{v:02X}," for v in cells[code]) + " // " +
                   describe(code))
    out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append("} // namespace")
    out.append("")
    out.append(f"extern const Font {identifier(name)}{{\"{name}\", {width}, {height}, repertoire, "
               f"rows, {len(REPERTOIRE)}}};")
    out.append("")
    out.append("} // namespace pixelfont::fonts")
    return "\n".join(out) + "\n"


def repertoire_source():
    """The characters every bundled font has, in ascending order, once for all the fonts."""
    out = [
        "// Generated by scripts/make-font-tables.py. Do not edit; run the script again instead.",
        "// The printable Latin-1 characters: every bundled font has a glyph for each of them.",
        "",
        '#include "pixelfont.h"',
        "",
        "namespace pixelfont::fonts {",
        "",
        "// clang-format off",
        "extern const char32_t repertoire[] = {",
    ]
    for start in range(0, len(REPERTOIRE), 8):
        chunk = REPERTOIRE[start:start + 8]
        out.append("    " + " ".join(f"0x{c:04X}," for c in chunk))
    out.append("};")
    out.append("// clang-format on")
    out.append("")
    out.append("} // namespace pixelfont::fonts")
    return "\n".join(out) + "\n"


def list_source(fonts):
    """The list of fonts, smallest first; `fonts` holds (name, width, height)."""
    out = [
        "// Generated by scripts/make-font-tables.py. Do not edit; run the script again instead.",
        "",
        '#include "pixelfont.h"',
        "",
        "namespace pixelfont {",
        "",
        "namespace fonts {",
    ]
    for name, _, _ in fonts:
        out.append(f"extern const Font {identifier(name)};")
    out.append("} // namespace fonts")
    out.append("")
    out.append("const std::vector<const Font *> &bundledFonts()")
    out.append("{")
    out.append("    static const std::vector<const Font *> list{")
    column = max(len(identifier(name)) for name, _, _ in fonts) + len("&fonts::,")
    for name, width, height in fonts:
        entry = f"&fonts::{identifier(name)},"
        out.append(f"        {entry:<{column}} // {width} x {height}")
    out.append("    };")
    out.append("    return list;")
    out.append("}")
    out.append("")
    out.append("} // namespace pixelfont")
    return "\n".join(out) + "\n"


def generate():
    """{file name: contents} of every table, and one line per font for the report."""
    files = {}
    report = []
    sizes = []
    previous = (0, 0)
    for name, package, filename, licence in FONTS:
        version = package_version(package)
        path = fontdir / filename
        width, height, notice, cells = parse_bdf(bdf_text(path), path)
        if not notice:
            raise FontError(f"{path}: no COPYRIGHT property to name the font's licence by")
        missing = [c for c in REPERTOIRE if c not in cells]
        # Some fonts fill the places of glyphs they lack with blank cells.
        missing += [c for c in REPERTOIRE if c in cells and c not in BLANK and not any(cells[c])]
        if missing:
            raise FontError(f"{path}: no glyph for " + ", ".join(f"U+{c:04X}" for c in missing))
        if width < previous[0] or height <= previous[1]:
            raise FontError(f"{name} is listed after a font that is not smaller")
        previous = (width, height)
        sizes.append((name, width, height))
        files[identifier(name) + ".cpp"] = font_source(name, package, version, filename, licence,
                                                       width, height, notice, cells)
        report.append(f"{name}: {width} x {height}, all {len(REPERTOIRE)} printable Latin-1 "
                      f"characters ({len(cells)} glyphs in {filename})")
    files["bundledfonts.cpp"] = list_source(sizes)
    files["repertoire.cpp"] = repertoire_source()
    return files, report


def main():
    check = sys.argv[1:] == ["--check"]
    if sys.argv[1:] and not check:
        print(__doc__.strip())
        return 2
    try:
        files, report = generate()
    except FontError as error:
        print(f"make-font-tables: {error}", file=sys.stderr)
        return 1
    if check:
        stale = [n for n, text in files.items()
                 if not (output / n).exists() or (output / n).read_text() != text]
        for name in stale:
            print(f"make-font-tables: core/fonts/{name} differs from a fresh table",
                  file=sys.stderr)
        return 1 if stale else 0
    output.mkdir(parents=True, exist_ok=True)
    for name, text in files.items():
        (output / name).write_text(text)
    for line in report:
        print(line)
    return 0


if __name__ == "__main__":
    sys.exit(main())
