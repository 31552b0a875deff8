#!/usr/bin/env python3
"""Draws the Tolvane program icons and writes them as classic 16-colour .ico files.

Usage: python3 tools/make_icons.py
Rewrites launcher/Tolvane.ico (16x16 and 32x32) and setup/Setup.ico (32x32).
The files depend only on the grids below, so every run writes identical bytes.
"""

import os
import struct

# The standard 16-colour Windows VGA palette, one grid character per entry.
# '.' is transparent: written as index 0 with the AND-mask bit set, so the
# screen shows through unchanged.
PALETTE = [
    ("K", (0x00, 0x00, 0x00)),  # black
    ("r", (0x80, 0x00, 0x00)),  # dark red
    ("g", (0x00, 0x80, 0x00)),  # dark green
    ("o", (0x80, 0x80, 0x00)),  # olive
    ("n", (0x00, 0x00, 0x80)),  # navy
    ("p", (0x80, 0x00, 0x80)),  # purple
    ("t", (0x00, 0x80, 0x80)),  # teal
    ("s", (0xC0, 0xC0, 0xC0)),  # silver
    ("d", (0x80, 0x80, 0x80)),  # dark grey
    ("R", (0xFF, 0x00, 0x00)),  # red
    ("G", (0x00, 0xFF, 0x00)),  # green
    ("Y", (0xFF, 0xFF, 0x00)),  # yellow
    ("B", (0x00, 0x00, 0xFF)),  # blue
    ("M", (0xFF, 0x00, 0xFF)),  # magenta
    ("C", (0x00, 0xFF, 0xFF)),  # cyan
    ("W", (0xFF, 0xFF, 0xFF)),  # white
]
TRANSPARENT = "."
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}

# Launcher: a yellow folder with a green arrow pointing into it ("go to this folder").
# The 16x16 image is drawn on its own, not scaled, so the tray icon stays crisp.
LAUNCHER_16 = """
................
.KKKK...........
KWYYYK..........
KWYYYYKKKKKKKKK.
KWYYYYYYYYYYYYYK
KKKKKKKKKKKKKKKK
KWWWWWWWWWWWWWWK
KWYYYYYYggYYYYoK
KWYYYYYYgggYYYoK
KWYgggggggggYYoK
KWYggggggggggYoK
KWYgggggggggYYoK
KWYYYYYYgggYYYoK
KWooooooggoooooK
KKKKKKKKKKKKKKKK
................
"""

LAUNCHER_32 = """
................................
................................
................................
.KKKKKKKKKK.....................
KWWWWWWWWWWK....................
KWYYYYYYYYYKKKKKKKKKKKKKKKKKKKK.
KWYYYYYYYYYWWWWWWWWWWWWWWWWWWWoK
KWYYYYYYYYYYYYYYYYYYYYYYYYYYYYoK
KWYYYYYYYYYYYYYYYYYYYYYYYYYYYYoK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
KWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWK
KWYYYYYYYYYYYYYYYYYYYYYYYYYYYYoK
KWYYYYYYYYYYYYYYYKKKYYYYYYYYYYoK
KWYYYYYYYYYYYYYYYKGGKYYYYYYYYYoK
KWYYYYYYYYYYYYYYYKGGGKYYYYYYYYoK
KWYYYYYYYYYYYYYYYKGGGGKYYYYYYYoK
KWYYYKKKKKKKKKKKKGGGGGGKYYYYYYoK
KWYYYKGGGGGGGGGGGGGGGGGGKYYYYYoK
KWYYYKGGGGGGGGGGGGGGGGGGGKYYYYoK
KWYYYKGGGGGGGGGGGGGGGGGGGgKYYYoK
KWYYYKGGGGGGGGGGGGGGGGGGgKYYYYoK
KWYYYKgggggggggggGGGGGGgKYYYYYoK
KWYYYKKKKKKKKKKKKgGGGGgKYYYYYYoK
KWYYYYYYYYYYYYYYYKGGGgKYYYYYYYoK
KWYYYYYYYYYYYYYYYKGGgKYYYYYYYYoK
KWYYYYYYYYYYYYYYYKggKYYYYYYYYYoK
KWYYYYYYYYYYYYYYYKKKYYYYYYYYYYoK
KWYYYYYYYYYYYYYYYYYYYYYYYYYYYYoK
KWoooooooooooooooooooooooooooooK
KKKKKKKKKKKKKKKKKKKKKKKKKKKKKKKK
................................
................................
"""

# Installer: an open box in the launcher's yellow, with the same green arrow going in.
SETUP_32 = """
............KKKKKKK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
............KGGGGgK.............
.........KKKGGGGGGgKKK..........
.........KGGGGGGGGGGgK..........
KKKKKKKK..KGGGGGGGGgK...KKKKKKKK
.KYYYYYYK..KGGGGGGgK...KYYYYYYK.
..KYYYYYYK..KGGGGgK...KYYYYYYK..
...KYYYYYYKKKKGGgKKKKKYYYYYYK...
...KooooooooooKgKoooooooooooK...
...KoooooooooooKooooooooooooK...
...KKKKKKKKKKKKKKKKKKKKKKKKKK...
...KWWWWWWWWWWWWWWWWWWWWWWWWK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWYYYYYYYYYYYYYYYYYYYYYYoK...
...KWoooooooooooooooooooooooK...
...KKKKKKKKKKKKKKKKKKKKKKKKKK...
................................
"""

def ParseGrid(text, size):
    rows = text.strip("\n").split("\n")
    if len(rows) != size or any(len(r) != size for r in rows):
        raise ValueError("grid must be %dx%d" % (size, size))
    for r in rows:
        for ch in r:
            if ch != TRANSPARENT and ch not in INDEX:
                raise ValueError("unknown colour character %r" % ch)
    return rows


def PackRow(bitsPerPixel, values):
    # Every DIB row, colour or mask, is padded to a 32-bit boundary.
    out = bytearray()
    acc = 0
    nbits = 0
    for v in values:
        acc = (acc << bitsPerPixel) | v
        nbits += bitsPerPixel
        if nbits == 8:
            out.append(acc)
            acc = 0
            nbits = 0
    if nbits:
        out.append(acc << (8 - nbits))
    while len(out) % 4:
        out.append(0)
    return bytes(out)


def EncodeImage(rows):
    size = len(rows)
    xorBits = bytearray()
    andBits = bytearray()
    for r in reversed(rows):  # DIB rows are stored bottom-up
        xorBits += PackRow(4, [0 if ch == TRANSPARENT else INDEX[ch] for ch in r])
        andBits += PackRow(1, [1 if ch == TRANSPARENT else 0 for ch in r])
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for _, (r, g, b) in PALETTE)
    # In an icon, biHeight covers the colour bitmap and the AND mask stacked.
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(xorBits) + len(andBits), 0, 0, 0, 0)
    return header + palette + bytes(xorBits) + bytes(andBits)


def WriteIcon(path, grids):
    images = [(len(g), EncodeImage(g)) for g in grids]
    data = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, blob in images:
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    for _, blob in images:
        data += blob
    with open(path, "wb") as f:
        f.write(data)


def Main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    WriteIcon(os.path.join(root, "launcher", "Tolvane.ico"),
              [ParseGrid(LAUNCHER_16, 16), ParseGrid(LAUNCHER_32, 32)])
    WriteIcon(os.path.join(root, "setup", "Setup.ico"),
              [ParseGrid(SETUP_32, 32)])


if __name__ == "__main__":
    Main()
