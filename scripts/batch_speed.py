#!/usr/bin/env python3
# Files per second of velmora-batch fish and rotate with --jobs 1 and --jobs 2, on pictures made here.
"""Measures how many files per second velmora-batch makes with one job and with two.

Makes 400 fish pictures of 100 to 400 pixels a side (a seeded pattern, the same every run),
turns them into fish data sheets once for the rotate runs, then times `fish` and `rotate` over
all of them, --jobs 1 and --jobs 2 interleaved so that a change in the machine's load falls on
both alike. Prints the median files per second of each and the ratio of the medians with its
spread over the repetitions.

    scripts/batch_speed.py [--batch build/batch/velmora-batch] [--repetitions 5] [--pictures 400]
"""

import argparse
import os
import random
import resource
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time
from pathlib import Path


def bmp_bytes(width, height, rows):
    """A 24-bit BMP file; `rows` gives each row's pixels as bytes (blue, green, red), top first."""
    row_size = (width * 3 + 3) // 4 * 4
    padding = b"\0" * (row_size - width * 3)
    pixels = b"".join(row + padding for row in reversed(rows))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 0, 0, 0, 0)
    return header + info + pixels


def fish_picture(rng, width, height):
    """A fish of stripes and spots inside an ellipse, on a plain background that fills the border."""
    background = bytes((rng.randrange(256), rng.randrange(256), rng.randrange(256)))
    colours = [bytes((rng.randrange(256), rng.randrange(256), rng.randrange(256))) for _ in range(5)]
    cx, cy = width / 2, height / 2
    rx, ry = width * 0.42, height * 0.38
    rows = []
    for y in range(height):
        dy = (y - cy) / ry
        row = bytearray(background * width)
        if abs(dy) < 1:
            half = int(rx * (1 - dy * dy) ** 0.5)
            for x in range(int(cx) - half, int(cx) + half):
                colour = colours[(x // 7 + y // 5) % len(colours)]
                row[3 * x : 3 * x + 3] = colour
        rows.append(bytes(row))
    return bmp_bytes(width, height, rows)


def cpu_of_children():
    used = resource.getrusage(resource.RUSAGE_CHILDREN)
    return used.ru_utime + used.ru_stime


def run(batch, arguments):
    """The wall-clock and the CPU seconds (user and system) of one run."""
    cpu = cpu_of_children()
    started = time.perf_counter()
    done = subprocess.run([batch, *arguments], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    elapsed = time.perf_counter() - started
    if done.returncode != 0:
        sys.exit(f"velmora-batch {' '.join(arguments[:3])} ... failed:\n{done.stderr.decode()}")
    return elapsed, cpu_of_children() - cpu


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--batch", default="build/batch/velmora-batch")
    parser.add_argument("--repetitions", type=int, default=5)
    parser.add_argument("--pictures", type=int, default=400)
    options = parser.parse_args()
    batch = str(Path(options.batch).resolve())

    work = Path(tempfile.mkdtemp(prefix="velmora-batch-speed-"))
    try:
        rng = random.Random(17)
        pictures = []
        for i in range(options.pictures):
            path = work / "pictures" / f"fish{i:03}.bmp"
            path.parent.mkdir(exist_ok=True)
            path.write_bytes(fish_picture(rng, rng.randint(100, 400), rng.randint(100, 400)))
            pictures.append(str(path))
        run(batch, ["fish", "--background", "0,0", "--out-dir", str(work / "sheets"), *pictures])
        sheets = [str(work / "sheets" / Path(p).name) for p in pictures]

        commands = {
            "fish": lambda out: ["fish", "--background", "0,0", "--out-dir", out, *pictures],
            "rotate": lambda out: ["rotate", "--out-dir", out, *sheets],
        }
        seconds = {(name, jobs): [] for name in commands for jobs in (1, 2)}
        cpu = {(name, jobs): [] for name in commands for jobs in (1, 2)}
        for repetition in range(options.repetitions):
            order = [(name, jobs) for name in commands for jobs in (1, 2)]
            random.Random(repetition).shuffle(order)
            for name, jobs in order:
                out = work / f"out-{name}-{jobs}"
                shutil.rmtree(out, ignore_errors=True)
                wall, used = run(batch, commands[name](str(out)) + ["--jobs", str(jobs)])
                seconds[(name, jobs)].append(wall)
                cpu[(name, jobs)].append(used)

        files = len(pictures)
        print(f"{files} pictures of 100 to 400 px, {options.repetitions} interleaved repetitions, "
              f"load average {' '.join(f'{v:.1f}' for v in os.getloadavg())}")
        print(f"{'command':8} {'jobs':>4} {'median files/s':>15} {'min':>8} {'max':>8} "
              f"{'CPU ms/file':>12}")
        for name in commands:
            for jobs in (1, 2):
                rates = [files / s for s in seconds[(name, jobs)]]
                cpu_per_file = 1000 * statistics.median(cpu[(name, jobs)]) / files
                print(f"{name:8} {jobs:>4} {statistics.median(rates):>15.1f} "
                      f"{min(rates):>8.1f} {max(rates):>8.1f} {cpu_per_file:>12.2f}")
            # The ratio within each repetition, so a slow moment spoils one pair, not the median.
            ratios = [one / two for one, two in zip(seconds[(name, 1)], seconds[(name, 2)])]
            print(f"{name:8} --jobs 2 / --jobs 1: median {statistics.median(ratios):.2f}x "
                  f"(each repetition: {', '.join(f'{r:.2f}' for r in ratios)})")
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
