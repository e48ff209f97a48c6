#!/usr/bin/env python3
"""Makes the hicolor theme icons of Velmora from the 32 x 32 program icon, as sharp pixels.

Usage: make_icons.py PROGRAM_ICON.xpm OUTPUT_FOLDER SIZE...
Writes OUTPUT_FOLDER/hicolor/NxN/apps/velmora.png for every size (the build runs it).

The program icon is 16-colour pixel art, so it is never smoothed: every icon holds only the
program icon's colours, each pixel either opaque or fully transparent.
- 32 is the picture itself; 64, 128 and 256 are whole multiples of it: each pixel becomes a
  square of 2, 4 or 8 pixels.
- 48 is 1.5 times 32: nearest-neighbour sampling makes the squares alternately 1 and 2 pixels
  wide, which keeps every pixel of the picture (a 16-pixel picture times 3 would lose half).
- 16 is half of 32: each 2 x 2 block becomes its most frequent colour, opaque colours winning
  a tie against the background, so thin outlines survive where plain sampling would drop them.
"""
import collections
import os
import sys

from PIL import Image

NAME = "velmora"


def halved(picture):
    result = Image.new("RGBA", (picture.width // 2, picture.height // 2))
    for y in range(result.height):
        for x in range(result.width):
            block = collections.Counter(
                picture.getpixel((2 * x + dx, 2 * y + dy)) for dy in (0, 1) for dx in (0, 1))
            colour, _ = max(block.items(), key=lambda item: (item[1], item[0][3]))
            result.putpixel((x, y), colour)
    return result


def icon(picture, size):
    if size < picture.width:
        return halved(picture) if size * 2 == picture.width else None
    return picture.resize((size, size), Image.Resampling.NEAREST)


def main(arguments):
    if len(arguments) < 3:
        sys.exit("usage: make_icons.py PROGRAM_ICON.xpm OUTPUT_FOLDER SIZE...")
    source, folder, sizes = arguments[0], arguments[1], [int(size) for size in arguments[2:]]
    picture = Image.open(source).convert("RGBA")
    for size in sizes:
        result = icon(picture, size)
        if result is None:
            sys.exit("make_icons.py: no way to make %d pixels from %d" % (size, picture.width))
        path = os.path.join(folder, "hicolor", "%dx%d" % (size, size), "apps", NAME + ".png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        result.save(path, optimize=True)


if __name__ == "__main__":
    main(sys.argv[1:])
