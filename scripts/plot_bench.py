#!/usr/bin/python3
"""Plots Mpixel/s against picture size for Velmora and its peers from Google Benchmark's JSON;
several files are read as one run.

Usage: plot_bench.py BENCH.json [MORE.json ...] OUT.png
"""
import json
import sys
from collections import defaultdict

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

# benchmark name (without its size argument) -> (task, implementation)
SERIES = {
    "BM_DecodeVelmora": ("decode 24-bit", "Velmora"),
    "BM_DecodeOpenCv": ("decode 24-bit", "OpenCV imdecode"),
    "BM_MemcpyFileBytes": ("decode 24-bit", "memcpy of the file"),
    "BM_DecodeQImage": ("decode 24-bit", "QImage"),
    "BM_DecodeStbImage": ("decode 24-bit", "stb_image"),
    "BM_EncodeVelmora": ("encode 24-bit", "Velmora"),
    "BM_EncodeOpenCv": ("encode 24-bit", "OpenCV imencode"),
    "BM_EncodeQImage": ("encode 24-bit", "QImage"),
    "BM_EncodeStbImageWrite": ("encode 24-bit", "stb_image_write"),
    "BM_DecodePalettedVelmora": ("decode 8-bit paletted", "Velmora"),
    "BM_DecodePalettedQImageToColours": ("decode 8-bit paletted", "QImage + to colours"),
    "BM_DecodeRle8Velmora": ("decode RLE8", "Velmora"),
    "BM_DecodeRle8QImage": ("decode RLE8", "QImage"),
    "BM_RotateQuadrant": ("rotation (quadrant side)", "Velmora"),
    "BM_QtTransformedQuadrant": ("rotation (quadrant side)", "QImage::transformed"),
    "BM_OpenCvWarpAffineQuadrant": ("rotation (quadrant side)", "OpenCV warpAffine"),
    "BM_PreviewTick": ("preview tick (sheet side)", "Velmora"),
    "BM_PreviewFrameCopy": ("preview tick (sheet side)", "memcpy of the frame"),
}


# Each library keeps one colour in every panel; Velmora is drawn first and heavier.
COLOURS = {"Velmora": "tab:red", "QImage": "tab:blue", "stb_image": "tab:green",
           "OpenCV": "tab:purple", "memcpy": "black"}


def colour_of(implementation):
    for library, colour in COLOURS.items():
        if implementation.startswith(library):
            return colour
    return "tab:gray"


def main(sources, target):
    runs = []
    for source in sources:
        with open(source) as f:
            runs += json.load(f)["benchmarks"]
    # task -> implementation -> [(size, Mpixel/s)]
    tasks = defaultdict(lambda: defaultdict(list))
    for run in runs:
        if run.get("aggregate_name", "median") != "median":
            continue
        parts = run["run_name"].split("/")
        if parts[0] not in SERIES or len(parts) < 2:
            continue
        task, implementation = SERIES[parts[0]]
        if "items_per_second" in run:
            tasks[task][implementation].append((int(parts[1]), run["items_per_second"] / 1e6))
    # Three panels a row, so that the picture stays readable as tasks are added.
    columns = min(3, len(tasks))
    rows = (len(tasks) + columns - 1) // columns
    figure, axes = plt.subplots(rows, columns, figsize=(4.2 * columns, 3.8 * rows), squeeze=False)
    for axis in axes.flat[len(tasks):]:
        axis.set_visible(False)
    for axis, (task, series) in zip(axes.flat, sorted(tasks.items())):
        peers = sorted(name for name in series if name != "Velmora")
        for implementation in ["Velmora"] + peers:
            points = sorted(series.get(implementation, []))
            if not points:
                continue
            # The memory copies are the floor the codecs are measured against, drawn dashed.
            axis.plot([p[0] for p in points], [p[1] for p in points], marker="o",
                      color=colour_of(implementation), linewidth=2.5 if implementation == "Velmora" else 1.5,
                      linestyle="--" if implementation.startswith("memcpy") else "-",
                      label=implementation)
        axis.set_title(task)
        axis.set_xlabel("side (pixels)")
        axis.set_ylabel("Mpixel/s")
        axis.set_xscale("log", base=2)
        axis.set_yscale("log")
        axis.legend(fontsize="small")
        axis.grid(True, which="both", alpha=0.3)
    figure.tight_layout()
    figure.savefig(target, dpi=90)


if __name__ == "__main__":
    main(sys.argv[1:-1], sys.argv[-1])
