#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora: for the BMP reader one small BMP file of each variant it
accepts; for the pipeline a few pictures of fish and sheets, each behind the 12-byte prefix of
choices; for the PNG reader one small PNG file of each colour type, depth and interlacing."""
import os
import struct
import sys
import zlib

here = os.path.dirname(os.path.abspath(__file__))
out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "corpus")
pipeline_out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "corpus-pipeline")
png_out = sys.argv[3] if len(sys.argv) > 3 else os.path.join(here, "corpus-png")
os.makedirs(out, exist_ok=True)
os.makedirs(pipeline_out, exist_ok=True)
os.makedirs(png_out, exist_ok=True)


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


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


# Adam7: each pass's first column and row, and its steps.
ADAM7 = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))


def png(name, width, height, colour_type, depth, sample_at, plte=b"", trns=b"", interlaced=False):
    """sample_at(x, y) gives the pixel's samples in the file's channel order."""
    def rows(xs, ys):
        data = b""
        for y in ys:
            bits = "".join(format(v, "0%db" % depth) for x in xs for v in sample_at(x, y))
            bits += "0" * (-len(bits) % 8)
            data += b"\0" + int(bits or "0", 2).to_bytes(len(bits) // 8, "big") if bits else b""
        return data
    if interlaced:
        raw = b"".join(rows(range(x0, width, dx), range(y0, height, dy))
                       for x0, y0, dx, dy in ADAM7 if x0 < width and y0 < height)
    else:
        raw = rows(range(width), range(height))
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 1 if interlaced else 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if plte:
        data += chunk(b"PLTE", plte)
    if trns:
        data += chunk(b"tRNS", trns)
    data += chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b"")
    with open(os.path.join(png_out, name), "wb") as f:
        f.write(data)


png("grey1.png", 9, 3, 0, 1, lambda x, y: ((x + y) % 2,))
png("grey4-trns.png", 5, 4, 0, 4, lambda x, y: ((x * 3 + y) % 16,), trns=struct.pack(">H", 3))
png("grey16.png", 3, 2, 0, 16, lambda x, y: (x * 20000 + y * 77,))
png("rgb8-trns.png", 4, 3, 2, 8, lambda x, y: (x * 60, y * 90, 7), trns=struct.pack(">HHH", 60, 90, 7))
png("rgb16.png", 3, 2, 2, 16, lambda x, y: (x * 30000, 65535 - y, 12345))
png("pal2-trns.png", 7, 3, 3, 2, lambda x, y: ((x + y) % 4,),
    plte=bytes((0, 0, 0, 255, 0, 255, 0, 255, 0, 9, 9, 9)), trns=bytes((0, 127, 128)))
png("pal8.png", 4, 4, 3, 8, lambda x, y: (x + 4 * y,), plte=bytes(range(48)))
png("grey-alpha8.png", 4, 2, 4, 8, lambda x, y: (x * 50, 100 + x * 10 + y))
png("rgba8.png", 6, 5, 6, 8, lambda x, y: (255, 0, 255, x * 50) if y % 2 else (x * 40, y * 50, 9, 255))
png("rgba16-adam7.png", 9, 9, 6, 16, lambda x, y: (x * 7000, y * 7000, 300, 33000 + x), interlaced=True)
png("rgba8-adam7.png", 11, 10, 6, 8, lambda x, y: (x * 20, y * 20, 99, (x * y * 13) % 256), interlaced=True)
png("grey1-adam7.png", 13, 9, 0, 1, lambda x, y: ((x * y) % 2,), interlaced=True)
