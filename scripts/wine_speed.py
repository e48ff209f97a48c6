#!/usr/bin/env python3
# The time of one 4096 x 4096 convert by the Linux velmora-batch and by velmora-batch.exe under Wine.
"""Times `velmora-batch convert` of a 4096 x 4096 24-bit picture (made here, seeded) with the
Linux build and with the Windows build under Wine, the runs of each repetition in turn, and
prints the median seconds of each and their ratio. Wine's own start (with its server kept
running) is part of the Windows figure and is timed alone as `wine cmd /c exit` too.

    scripts/wine_speed.py LINUX_PROGRAM WINDOWS_PROGRAM [--repetitions 7]
(WINEPREFIX and the rest of Wine's environment come from the caller.)
"""
import argparse
import os
import random
import shutil
import statistics
import struct
import subprocess
import tempfile
import time


def picture(path, side):
    row = bytes(random.Random(side).randrange(256) for _ in range(side * 3))
    data = row * side
    header = struct.pack("<IiiHHIIiiII", 40, side, side, 1, 24, 0, len(data), 0, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + header + data)


def timed(command, folder):
    started = time.perf_counter()
    subprocess.run(command, cwd=folder, check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)
    return time.perf_counter() - started


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("linux")
    parser.add_argument("windows")
    parser.add_argument("--repetitions", type=int, default=7)
    arguments = parser.parse_args()
    arguments.linux = os.path.abspath(arguments.linux)
    arguments.windows = os.path.abspath(arguments.windows)
    wine = shutil.which("wine64") or shutil.which("wine")
    subprocess.run(["wineserver", "-p", "60"])  # fails harmlessly when one is running
    with tempfile.TemporaryDirectory(prefix="velmora-wine-speed-") as folder:
        picture(os.path.join(folder, "in.bmp"), 4096)
        linux_command = [arguments.linux, "convert", "in.bmp", "-o", "out.bmp"]
        windows_command = [wine, arguments.windows, "convert", "in.bmp", "-o", "out.bmp"]
        timed(windows_command, folder)  # Wine's first start in this prefix is not the tool's
        times = {"linux": [], "wine": [], "wine start": []}
        for _ in range(arguments.repetitions):
            times["linux"].append(timed(linux_command, folder))
            times["wine"].append(timed(windows_command, folder))
            times["wine start"].append(timed([wine, "cmd", "/c", "exit"], folder))
    for name, values in times.items():
        print(f"{name}: median {statistics.median(values):.3f} s "
              f"({min(values):.3f} - {max(values):.3f})")
    linux = statistics.median(times["linux"])
    wine_total = statistics.median(times["wine"])
    start = statistics.median(times["wine start"])
    print(f"ratio Wine / Linux: {wine_total / linux:.2f}x; "
          f"without Wine's start: {(wine_total - start) / linux:.2f}x")


if __name__ == "__main__":
    main()
