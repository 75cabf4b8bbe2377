#!/usr/bin/env python3
"""Sets the figures of one benchmark run on Linux and on the Windows build under Wine side by side.

    tools/bench-table.py --linux FILE... --wine FILE...

Each FILE is a figures file the benchmarks write with --figures=FILE: one line per figure,
"name<TAB>median<TAB>worst<TAB>runs" in milliseconds. Prints one table: the median and the worst run of each
figure on both platforms, Wine's median over Linux's, and the target with Linux's verdict (the targets are
the Linux build's; under Wine the figures say what Wine adds, see README). Exit status 1 when a Linux
figure misses its target or is missing, else 0.
"""
import argparse
import os
import sys

# (figure, target in ms or None, how the target reads)
ROWS = [
    ("process start to main window shown, first run", 300, "< 300"),
    ("process start to main window shown, later runs", 300, "< 300"),
    ("process start to its end (offscreen run), later runs", None, ""),
    ("main window up, first in the process", 300, "< 300"),
    ("main window up", 300, "< 300"),
    ("builder start-up, first (form made too)", None, "(the builder's first show)"),
    ("builder start-up (10x database)", "mdb-export of the start-up tables", "<= mdb-export"),
    ("mdb-export of the start-up tables", None, "(reference, Linux only)"),
] + [
    (f"ListBox{n}_Click, first after start-up", 5, "< 5") for n in (2, 3, 4, 9, 10, 11)
] + [
    (f"ListBox{n}_Click", 1, "< 1") for n in (2, 3, 4, 9, 10, 11)
] + [
    ("creation run, 100 layers delivered", 200, "< 200"),
    ("numbered form start-up, Combo1 of 5,000", 16, "< 16"),
    ("layer check window, 5,000 layers shown", 16, "< 16"),
    ("check of 5,000 layers (after reading)", 16, "< 16"),
    ("layer table of the DXF (Tiermark reader)", "whole DXF with dxflib", "<= dxflib"),
    ("whole DXF with dxflib", None, "(reference)"),
]


def read(paths):
    figures = {}
    for path in paths:
        if not os.path.exists(path):
            print(f"bench-table: no figures in {path}", file=sys.stderr)
            continue
        with open(path, encoding="utf-8") as source:
            for line in source:
                parts = line.rstrip("\r\n").split("\t")
                if len(parts) == 4:
                    figures[parts[0]] = (float(parts[1]), float(parts[2]))
    return figures


def cell(figure):
    if figure is None:
        return f"{'-':>9} {'-':>9}"
    median, worst = figure
    return f"{median:9.3f} {worst:9.3f}" if median < 100 else f"{median:9.1f} {worst:9.1f}"


def verdict(figures, name, target):
    if target is None:
        return ""
    if name not in figures:
        return "NOT RUN"
    limit = figures.get(target, (None,))[0] if isinstance(target, str) else target
    if limit is None:
        return ""
    return "met" if figures[name][0] <= limit else "MISSED"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--linux", nargs="+", required=True)
    parser.add_argument("--wine", nargs="+", required=True)
    args = parser.parse_args()
    linux, wine = read(args.linux), read(args.wine)

    width = max(len(name) for name, _, _ in ROWS)
    print(f"{'':{width}}  {'Linux (native)':^19}  {'Windows build under Wine':^24}")
    print(f"{'figure (ms)':{width}}  {'median':>9} {'worst':>9}  {'median':>9} {'worst':>9} {'×Linux':>6}"
          f"   {'target':<26} Linux")
    missed = False
    for name, target, text in ROWS:
        ratio = ""
        if name in linux and name in wine and linux[name][0] > 0:
            ratio = f"{wine[name][0] / linux[name][0]:6.1f}"
        said = verdict(linux, name, target)
        missed = missed or said in ("MISSED", "NOT RUN")
        print(f"{name:{width}}  {cell(linux.get(name))}  {cell(wine.get(name))} {ratio:>6}   {text:<26} {said}")
    print("every Linux target met" if not missed else "some Linux targets missed")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
