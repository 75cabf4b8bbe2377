#!/usr/bin/env python3
"""No source file of the program's own past 400 lines, checked on every test run.

    tools/check-file-length.py [--longest N] [--limit LINES] [ROOT]

Reads every .cpp and .h below ROOT that is part of a program that is built and run: the program itself and
the stand-in, and the helper programs in tools/ (the Jet writer, the road), which are maintained like the
rest. The tests, the benchmarks and the fuzz targets (tests/, bench/, fuzz/) are left out, as are build
trees and anything hidden: a table of test cases reads best whole. A file that grows past the limit is
split by concern, never allowed.

Exits 0 when no file is longer than the limit (400 lines unless told) and 1 with one line per longer file
otherwise. --longest N prints the N longest files, whatever their length.
"""

import os
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import house_sources  # noqa: E402

LIMIT = 400
SKIPPED = ("tests", "bench", "fuzz")


def line_count(path):
    with open(path, "rb") as text:
        data = text.read()
    return data.count(b"\n") + (0 if data.endswith(b"\n") or not data else 1)


def main(argv):
    root, limit, longest = house_sources.options(argv, LIMIT, __file__)

    measured = sorted(((line_count(os.path.join(root, path)), path) for path in house_sources.sources(root, SKIPPED)),
                      key=lambda m: (-m[0], m[1]))
    if longest:
        for length, path in measured[:longest]:
            print(f"{length:5} {path}")
        return 0
    problems = [m for m in measured if m[0] > limit]
    for length, path in problems:
        print(f"{path}: {length} lines (at most {limit}); split it by concern")
    if problems:
        print(f"check-file-length: {len(problems)} file(s) longer than {limit} lines "
              "(see tools/check-file-length.py)")
        return 1
    print(f"check-file-length: {len(measured)} files, none longer than {limit} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
