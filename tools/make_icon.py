#!/usr/bin/env python3
"""Draws the program's icon and writes res/discovel.ico.

The design is a disc: a dark blue rim, a light blue ring and a dark blue hub.
Every size is drawn from these shapes at that size (ImageMagick's antialiased
circles), never scaled from another size. Up to 48 pixels the radii are
rounded to whole pixels so that the ring edges fall on pixel edges and the
small images stay crisp.

The 256 pixel image is stored as PNG, the others as 32-bit BMP images with
alpha and a matching AND mask, as Explorer expects. The build uses the
committed .ico; run this only to change the icon:

    tools/make_icon.py [output.ico]     (needs ImageMagick's convert)
"""
import struct
import subprocess
import sys
from pathlib import Path

SIZES = [16, 20, 24, 32, 40, 48, 64, 256]
DARK = "#005F8C"
LIGHT = "#C8DCF0"
# Radii as parts of the icon's width: rim, ring, hub.
RADII = [0.48, 0.36, 0.17]
# Above this size the edges are smooth enough without snapping to pixels.
SNAP_UP_TO = 48


def radii(size):
    exact = [part * size for part in RADII]
    if size > SNAP_UP_TO:
        return exact
    # The rim keeps half a pixel of its round edge inside the image.
    return [min(round(r), size / 2 - 0.5) for r in exact]


def draw(size, fmt):
    """The image at this size, as PNG or as raw RGBA bytes (fmt "png" or "rgba")."""
    c = (size - 1) / 2  # ImageMagick places pixel centres on whole numbers
    command = ["convert", "-size", f"{size}x{size}", "xc:none"]
    for colour, r in zip([DARK, LIGHT, DARK], radii(size)):
        command += ["-fill", colour, "-draw", f"circle {c},{c} {c + r},{c}"]
    command += ["-depth", "8", f"{fmt}:-" if fmt == "rgba" else "png32:-"]
    return subprocess.run(command, check=True, capture_output=True).stdout


def bmp_image(size, rgba):
    """A 32-bit icon image: header, bottom-up BGRA rows, then the AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = (size + 31) // 32 * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = rgba[(y * size + x) * 4:(y * size + x) * 4 + 4]
            row += bytes([b, g, r, a])
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "res/discovel.ico"
    images = [draw(s, "png") if s >= 256 else bmp_image(s, draw(s, "rgba")) for s in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(SIZES))
    offset = 6 + 16 * len(SIZES)
    for size, data in zip(SIZES, images):
        side = size % 256  # 0 stands for 256
        directory += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out.write_bytes(directory + b"".join(images))


if __name__ == "__main__":
    main()
