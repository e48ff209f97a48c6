#!/usr/bin/env python3
"""Rewrites the guide's full-colour PNG pictures with an 8-bit palette when that looks the same:
256 colours chosen by median cut, no dithering, kept only when the pixels differ from the
original by less than MEAN_LIMIT on average (out of 255 per channel). Pictures that already have a
palette are left as they are.

    guide_palette.py PICTURE.png...
"""
import sys

from PIL import Image, ImageChops, ImageStat

# A mean difference this small is a few anti-aliased pixels of text, invisible at full size.
MEAN_LIMIT = 0.25


def reduce(path):
    with Image.open(path) as picture:
        if picture.mode == "P":
            return "kept"
        original = picture.convert("RGB")
    reduced = original.quantize(256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    difference = ImageStat.Stat(ImageChops.difference(original, reduced.convert("RGB"))).mean
    if max(difference) >= MEAN_LIMIT:
        return "full colour (mean difference %.2f)" % max(difference)
    reduced.save(path, optimize=True)
    return "palette (mean difference %.2f)" % max(difference)


def main(paths):
    for path in paths:
        print("%s: %s" % (path, reduce(path)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
