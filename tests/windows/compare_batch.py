#!/usr/bin/env python3
"""The same bytes on both systems: runs the Linux velmora-batch and velmora-batch.exe under Wine
on the same generated pictures, every command and every option that changes output, each in a
folder of its own, and compares exit codes, messages and every file the runs leave byte for byte.
Line endings and path separators in the messages are the only differences allowed.

Usage: compare_batch.py LINUX_PROGRAM WINDOWS_PROGRAM (Wine's environment comes from the caller).
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile


def bmp(width, height, pixel, bits=24, top_down=False, rle8=False):
    """A BMP file of `pixel(x, y)` colours (r, g, b); 8 bits keep a palette of the colours used."""
    rows = []
    palette = []
    if bits == 8:
        for y in range(height):
            for x in range(width):
                if pixel(x, y) not in palette:
                    palette.append(pixel(x, y))
        assert len(palette) <= 256
    for y in range(height):
        if bits == 24:
            row = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(width)))
            row += b"\0" * (-len(row) % 4)
        elif rle8:
            row = b""
            for x in range(width):
                row += bytes((1, palette.index(pixel(x, y))))
            row += b"\0\0"  # end of line
        else:
            row = bytes(palette.index(pixel(x, y)) for x in range(width))
            row += b"\0" * (-len(row) % 4)
        rows.append(row)
    if not top_down:
        rows.reverse()
    data = b"".join(rows) + (b"\0\1" if rle8 else b"")
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                         1 if rle8 else 0, len(data), 0, 0, len(palette), 0)
    off = 14 + 40 + len(table)
    return b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off) + header + table + data


def fish(x, y, w=60, h=40, background=(255, 255, 255)):
    if w // 5 <= x < w * 4 // 5 and h // 4 <= y < h * 3 // 4:
        return (0, 0, 0) if (x + y) % 3 == 0 else ((x * 7) % 256, (y * 5) % 256, 200)
    return background


def shadow(x, y):
    return (0, 0, 0) if (x * y) % 7 == 0 else (255, 255, 255)


PICTURES = {
    "fish.bmp": lambda: bmp(60, 40, fish),
    "fish-black.bmp": lambda: bmp(60, 40, lambda x, y: fish(x, y, background=(0, 0, 0))),
    "魚.bmp": lambda: bmp(48, 30, lambda x, y: fish(x, y, 48, 30)),
    "fisch-ä.bmp": lambda: bmp(50, 36, lambda x, y: fish(x, y, 50, 36, (10, 200, 30))),
    "big.bmp": lambda: bmp(160, 120, lambda x, y: fish(x, y, 160, 120)),
    "shadow1.bmp": lambda: bmp(60, 40, shadow),
    "shadow2.bmp": lambda: bmp(60, 40, lambda x, y: shadow(y, x + 1)),
    "palette.bmp": lambda: bmp(33, 17, lambda x, y: fish(x, y, 33, 17), bits=8),
    "rle.bmp": lambda: bmp(21, 13, lambda x, y: fish(x, y, 21, 13), bits=8, rle8=True),
    "topdown.bmp": lambda: bmp(19, 11, lambda x, y: fish(x, y, 19, 11), top_down=True),
    "deco.bmp": lambda: bmp(45, 31, lambda x, y: (x * 5 % 256, 90, y * 8 % 256)
                            if 5 <= x < 37 and 3 <= y < 29 else (0, 0, 0)),
    "notbmp.bmp": lambda: b"not a picture at all\n",
    "truncated.bmp": lambda: bmp(10, 10, fish)[:20],
}

# What the later cases read, made once on Linux under names no case writes: two fish data sheets
# and an accessory picture with its mask.
SETUP = [
    ["fish", "fish.bmp", "-o", "base-sheet.bmp", "--background", "0,0"],
    ["fish", "big.bmp", "-o", "base-big.bmp", "--background", "0,0"],
    ["accessory", "deco.bmp", "-o", "base-acc.bmp"],
]

# Every command with every option that changes what it writes or says, each run starting from
# the same folder.
CASES = [
    ["fish", "fish.bmp", "-o", "sheet.bmp", "--background", "0,0"],
    ["fish", "fish-black.bmp", "-o", "sheet.bmp"],
    ["fish", "fish.bmp", "-o", "sheet.bmp", "--background", "#FFFFFF"],
    ["fish", "fish.bmp", "-o", "sheet.bmp", "--background", "0,0", "--shadow1", "shadow1.bmp",
     "--shadow2", "shadow2.bmp"],
    ["fish", "fish.bmp", "魚.bmp", "fisch-ä.bmp", "--out-dir", "out", "--background", "0,0",
     "-j", "1"],
    ["fish", "big.bmp", "-o", "big-sheet.bmp", "--background", "0,0"],
    ["fish", "fish.bmp", "-o", "sheet.bmp", "--shadow1", "big.bmp"],
    ["rotate", "base-sheet.bmp"],
    ["rotate", "base-sheet.bmp", "--angle", "45"],
    ["rotate", "base-sheet.bmp", "base-big.bmp", "--angle", "359", "--out-dir", "turned", "-j",
     "1"],
    ["accessory", "deco.bmp", "-o", "acc.bmp"],
    ["accessory", "fish.bmp", "-o", "acc.bmp", "--background", "0,0"],
    ["accessory", "deco.bmp", "fish.bmp", "--out-dir", "acc", "--background", "#000000",
     "-j", "1"],
    ["preview", "base-sheet.bmp", "-o", "frames.bmp"],
    ["pen", "-o", "stamp.bmp"],
    ["pen", "-o", "stamp.bmp", "--width", "0", "--centre", "25", "--density", "255"],
    ["pen", "-o", "stamp.bmp", "--width", "50", "--centre", "1", "--density", "10"],
    ["convert", "palette.bmp", "-o", "c.bmp"],
    ["convert", "rle.bmp", "topdown.bmp", "palette.bmp", "--out-dir", "conv", "-j", "1"],
    ["check", "base-sheet.bmp", "base-big.bmp"],
    ["check", "fish.bmp"],
    ["check", "--accessory", "base-acc.bmp"],
    # Failures: exit codes and messages.
    ["convert", "missing.bmp", "-o", "c.bmp"],
    ["convert", "notbmp.bmp", "truncated.bmp", "--out-dir", "conv", "-j", "1"],
    ["convert", "fish.bmp", "-o", "fish.bmp"],
    ["fish", "fish.bmp"],
    ["pen", "-o", "stamp.bmp", "--width", "51"],
    ["rotate", "base-sheet.bmp", "--angle", "x"],
    ["frobnicate"],
    ["--version"],
    ["fish", "--help"],
]


WRITERS = ("fish", "rotate", "accessory", "preview", "pen", "convert")


def setup(folder, linux):
    """The pictures, then what the cases read, made on Linux."""
    for name, make in PICTURES.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(make())
    for arguments in SETUP:
        subprocess.run([linux] + arguments, cwd=folder, check=True, capture_output=True)


def snapshot(folder):
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def said(text):
    return text.replace(b"\r\n", b"\n").replace(b"\\", b"/")


def run(command, folder):
    # Into files, not pipes: Wine's services started by the first run keep a pipe open long after
    # the program has ended.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        status = subprocess.run(command, cwd=folder, stdout=out, stderr=err, timeout=300).returncode
        out.seek(0)
        err.seek(0)
        return status, said(out.read()), said(err.read()), snapshot(folder)


def main():
    linux, windows = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    wine = shutil.which("wine64") or shutil.which("wine")
    failures = []
    differing = 0
    with tempfile.TemporaryDirectory(prefix="velmora-compare-") as scratch:
        template = os.path.join(scratch, "template")
        os.mkdir(template)
        setup(template, linux)
        template_files = snapshot(template)
        for number, arguments in enumerate(CASES):
            results = []
            for side, command in (("linux", [linux]), ("windows", [wine, windows])):
                folder = os.path.join(scratch, f"{number}-{side}")
                shutil.copytree(template, folder)
                results.append(run(command + arguments, folder))
            (code_l, out_l, err_l, files_l), (code_w, out_w, err_w, files_w) = results
            shown = " ".join(arguments)
            if code_l != code_w:
                failures.append(f"{shown}: exit {code_l} on Linux, {code_w} under Wine")
            if out_l != out_w or err_l != err_w:
                failures.append(f"{shown}: messages differ\n  Linux: {out_l + err_l!r}\n"
                                f"  Wine:  {out_w + err_w!r}")
            if files_l.keys() != files_w.keys():
                failures.append(f"{shown}: files {sorted(files_l)} on Linux, {sorted(files_w)}"
                                " under Wine")
            for name in sorted(files_l.keys() & files_w.keys()):
                if files_l[name] != files_w[name]:
                    failures.append(f"{shown}: {name} differs")
            # A command that succeeds in writing must have written: else nothing was compared.
            if (code_l == 0 and arguments[0] in WRITERS and "--help" not in arguments
                    and files_l == template_files):
                failures.append(f"{shown}: wrote nothing to compare")
            differing += any(f.startswith(shown + ":") for f in failures)
    for failure in failures:
        print("DIFFERENT:", failure)
    print(f"velmora-batch on Linux and under Wine over {len(CASES)} command lines: "
          f"{len(CASES) - differing} the same, {differing} different")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
