#!/usr/bin/python3
"""Prints a Markdown table of Velmora's benchmarks against their peers, as ratios, from Google
Benchmark's JSON output (medians of the repetitions); several files are read as one run.

Usage: bench_table.py BENCH.json [MORE.json ...]
"""
import json
import sys

# (task, ours, [peers]) by benchmark name without its size argument
PAIRS = [
    ("decode 24-bit", "BM_DecodeVelmora",
     ["BM_DecodeOpenCv", "BM_MemcpyFileBytes", "BM_DecodeStbImage", "BM_DecodeQImage"]),
    ("encode 24-bit", "BM_EncodeVelmora",
     ["BM_EncodeOpenCv", "BM_EncodeStbImageWrite", "BM_EncodeQImage"]),
    ("decode 8-bit paletted", "BM_DecodePalettedVelmora",
     ["BM_DecodePalettedQImageToColours", "BM_DecodePalettedQImage"]),
    ("decode RLE8", "BM_DecodeRle8Velmora", ["BM_DecodeRle8QImage"]),
    ("decode PNG RGBA, transparency keyed", "BM_DecodePngVelmora", ["BM_DecodePngQImage"]),
    ("rotation, per output pixel (quadrant side)", "BM_RotateQuadrant",
     ["BM_OpenCvWarpAffineQuadrant", "BM_QtTransformedQuadrant"]),
    ("bounding-box scan (0 centred fish, 1 lone pixel)", "BM_FishBoxScan",
     ["BM_StraightforwardBoxScan"]),
    ("preview tick, per frame pixel (sheet side)", "BM_PreviewTick", ["BM_PreviewFrameCopy"]),
]


def medians(paths):
    runs = []
    for path in paths:
        with open(path) as f:
            runs += json.load(f)["benchmarks"]
    table = {}
    for run in runs:
        if run.get("aggregate_name", "median") != "median":
            continue
        parts = run["run_name"].split("/")
        size = parts[1] if len(parts) > 1 and parts[1].isdigit() else ""
        if "items_per_second" in run:
            table[(parts[0], size)] = run["items_per_second"] / 1e6
    return table


def main(paths):
    table = medians(paths)
    print("| task | size | Velmora (Mpixel/s) | peer | peer (Mpixel/s) | ratio |")
    print("|---|---|---|---|---|---|")
    for task, ours, peers in PAIRS:
        sizes = sorted({size for (name, size) in table if name == ours}, key=lambda s: int(s or 0))
        for size in sizes:
            mine = table[(ours, size)]
            for peer in peers:
                if (peer, size) not in table:
                    continue
                theirs = table[(peer, size)]
                print(f"| {task} | {size} | {mine:,.0f} | {peer[3:]} | {theirs:,.0f} | "
                      f"{mine / theirs:.2f}x |")
    for name, size in sorted(table):
        if not any(name == ours or name in peers for _, ours, peers in PAIRS):
            print(f"| {name[3:]} | {size} | {table[(name, size)]:,.0f} | | | |")


if __name__ == "__main__":
    main(sys.argv[1:])
