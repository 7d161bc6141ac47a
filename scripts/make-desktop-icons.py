#!/usr/bin/env python3
"""Writes the product icon's files from scripts/producticon.py.

  packaging/icons/hicolor/SIZExSIZE/apps/org.tarrow.BootScreenEditor.png   the desktop icons,
      which the editor also compiles in as its window icon and the studio takes as its favicon
  web/src/icons/icon-SIZE.png, maskable-SIZE.png   the installed studio's icons (192, 512)
(resources/appicon.ico, the Windows program icon, is written by scripts/make-appicon-ico.py.)

    scripts/make-desktop-icons.py            write the icons
    scripts/make-desktop-icons.py --check    exit 1 if a written icon differs from a fresh one

Standard library only.
"""
import pathlib
import sys

import producticon

root = pathlib.Path(__file__).resolve().parent.parent
icons = root / "packaging" / "icons"
name = "org.tarrow.BootScreenEditor.png"
sizes = (16, 32, 48, 64, 128, 256)
web_icons = root / "web" / "src" / "icons"
web_sizes = (192, 512)


def files():
    """Each icon file with the bytes it is to hold."""
    for size in sizes:
        yield icons / "hicolor" / f"{size}x{size}" / "apps" / name, lambda size=size: producticon.icon(size)
    for size in web_sizes:
        yield web_icons / f"icon-{size}.png", lambda size=size: producticon.icon(size)
        yield web_icons / f"maskable-{size}.png", lambda size=size: producticon.maskable(size)


def main():
    check = sys.argv[1:] == ["--check"]
    if sys.argv[1:] not in ([], ["--check"]):
        print("usage: make-desktop-icons.py [--check]", file=sys.stderr)
        return 2
    stale = []
    for path, rows in files():
        data = producticon.png_bytes(rows())
        if check:
            if not path.exists() or path.read_bytes() != data:
                stale.append(str(path.relative_to(root)))
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        print(f"wrote {path.relative_to(root)}")
    if stale:
        print("out of date with scripts/producticon.py (run scripts/make-desktop-icons.py): "
              + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
