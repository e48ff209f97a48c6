#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus: one small BMP file of each variant the reader accepts."""
import os
import struct
import sys

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus")
os.makedirs(out, exist_ok=True)


def info(width, height, bits, compression=0, clr_used=0, size_image=0, header=40, masks=b""):
    body = struct.pack("<iiHHIIiiII", width, height, 1, bits, compression, size_image, 0, 0, clr_used, 0)
    body += masks
    body += b"\0" * (header - 4 - len(body))
    return struct.pack("<I", header) + body


def bmp(name, header, table=b"", pixels=b""):
    data = b"BM" + struct.pack("<IHHI", 0, 0, 0, 0) + header + table + pixels
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


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
