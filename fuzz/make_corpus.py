#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora: for the reader one small BMP file of each variant it accepts;
for the pipeline a few pictures of fish and sheets, each behind the 12-byte prefix of choices."""
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "corpus")
pipeline_out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "corpus-pipeline")
os.makedirs(out, exist_ok=True)
os.makedirs(pipeline_out, exist_ok=True)


def info(width, height, bits, compression=0, clr_used=0, size_image=0, header=40, masks=b""):
    body = struct.pack("<iiHHIIiiII", width, height, 1, bits, compression, size_image, 0, 0, clr_used, 0)
    body += masks
    body += b"\0" * (header - 4 - len(body))
    return struct.pack("<I", header) + body


def bmp_bytes(header, table=b"", pixels=b""):
    return b"BM" + struct.pack("<IHHI", 0, 0, 0, 0) + header + table + pixels


def bmp(name, header, table=b"", pixels=b""):
    with open(os.path.join(out, name), "wb") as f:
        f.write(bmp_bytes(header, table, pixels))


grey = b"".join(bytes((i, i, i, 0)) for i in range(256))
bmp("rgb24.bmp", info(3, 2, 24), pixels=bytes(range(24)))
bmp("rgb24-topdown.bmp", info(2, -2, 24), pixels=bytes(range(16)))
bmp("rgb32.bmp", info(2, 1, 32), pixels=bytes(range(8)))
bmp("rgb16.bmp", info(3, 1, 16), pixels=bytes(range(8)))
bmp("fields16.bmp", info(2, 1, 16, 3), table=struct.pack("<III", 0xF800, 0x07E0, 0x1F), pixels=b"\xff\xff\0\0")
bmp("fields32-v4.bmp", info(1, 1, 32, 3, header=108, masks=struct.pack("<III", 0xFF, 0xFF00, 0xFF0000)), pixels=b"\1\2\3\0")
bmp("pal8.bmp", info(3, 2, 8), table=grey, pixels=bytes([0, 128, 255, 0, 9, 8, 7, 0]))
bmp("pal4.bmp", info(5, 1, 4, clr_used=16), table=grey[:64], pixels=b"\x01\x23\x45\0")
bmp("pal1.bmp", info(9, 2, 1), table=b"\0\0\0\0\xff\xff\xff\0", pixels=b"\xaa\x80\0\0\x55\0\0\0")
bmp("rle8.bmp", info(4, 2, 8, 1, clr_used=4), table=grey[:16], pixels=b"\x03\x01\x00\x00\x00\x03\x01\x02\x03\x00\x00\x02\x01\x00\x00\x01")
bmp("rle4.bmp", info(4, 1, 4, 2, clr_used=2), table=grey[:8], pixels=b"\x04\x10\x00\x01")
core = struct.pack("<IHHHH", 12, 2, 1, 1, 8)
bmp("core8.bmp", core, table=b"".join(bytes((i, i, i)) for i in range(256)), pixels=b"\x05\x06\0\0")


def rgb24(width, height, colour_at):
    """A bottom-up 24-bit picture; colour_at(x, y) gives (r, g, b) with y counted from the top."""
    row_size = (24 * width + 31) // 32 * 4
    rows = []
    for y in reversed(range(height)):
        row = b"".join(bytes(reversed(colour_at(x, y))) for x in range(width))
        rows.append(row + b"\0" * (row_size - len(row)))
    return bmp_bytes(info(width, height, 24), pixels=b"".join(rows))


def choices(bx, by, angle, pen=(20, 10, 75), stroke=(128, 128, 2)):
    """The pipeline's prefix: background pick, angle, pen sliders, stroke position and count."""
    return bytes((bx, by)) + struct.pack("<i", angle) + bytes(pen) + bytes(stroke)


def seed(name, prefix, data):
    with open(os.path.join(pipeline_out, name), "wb") as f:
        f.write(prefix + data)


def fish(x, y):
    """An orange fish with a dark eye on blue water, 16 x 10."""
    if (x - 7) ** 2 / 36 + (y - 5) ** 2 / 9 <= 1 or (x >= 12 and abs(y - 5) <= x - 12):
        return (0, 0, 0) if (x, y) == (4, 4) else (255, 128, 0)
    return (0, 0, 255)


def sheet(x, y):
    """A 12 x 8 fish data sheet: image, mask, two grey shadows, quadrants of 6 x 4."""
    qx, qy, fx, fy = x // 6, y // 4, x % 6, y % 4
    inside = 1 <= fx <= 4 and 1 <= fy <= 2
    if (qx, qy) == (0, 0):
        return (200, 90, 10) if inside else (0, 0, 0)
    if (qx, qy) == (1, 0):
        return (0, 0, 0) if inside else (255, 255, 255)
    return (128, 128, 128) if inside and fx == 2 else (255, 255, 255)


seed("fish-30.bin", choices(0, 0, 30), rgb24(16, 10, fish))
seed("fish-wide-pen.bin", choices(255, 255, -45, pen=(50, 25, 255), stroke=(10, 240, 3)), rgb24(16, 10, fish))
seed("sheet-90.bin", choices(250, 250, 90), rgb24(12, 8, sheet))
seed("sheet-odd-angle.bin", choices(0, 0, 1000003), rgb24(12, 8, sheet))
seed("unzoomed-200.bin", choices(3, 3, 200, stroke=(0, 0, 1)), rgb24(151, 4, lambda x, y: (x % 7 * 30, y * 60, 9)))
seed("pal8.bin", choices(0, 0, 30), bmp_bytes(info(3, 2, 8), table=grey, pixels=bytes([0, 128, 255, 0, 9, 8, 7, 0])))
seed("rle8.bin", choices(128, 0, 359), bmp_bytes(info(4, 2, 8, 1, clr_used=4), table=grey[:16],
                                                  pixels=b"\x03\x01\x00\x00\x00\x03\x01\x02\x03\x00\x00\x02\x01\x00\x00\x01"))
