#!/usr/bin/env python3
"""No function of the program's own code runs past a length a reader can hold, checked on every test run.

    tools/check-function-length.py [--longest N] [--limit LINES] [ROOT]

Reads every .cpp and .h below ROOT except the tests, benchmarks, fuzz targets and helper programs (tests/,
bench/, fuzz/, tools/) and build trees. The sources are as clang-format keeps them (tools/check-format.sh),
which is what makes braces a reliable guide: a definition's body opens with "{" at the end of its last
header line, everything inside is indented deeper, and it closes with a line that starts with "}" at the
header's own indentation. A function's length counts its lines from the first line of its header to that
closing brace, blank lines and comments included, as a reader sees it.

Exits 0 when no function is longer than the limit (80 lines unless told) and 1 with one line per longer
function otherwise. --longest N prints the N longest functions, whatever their length.
"""

import os
import re
import sys

sys.dont_write_bytecode = True  # nothing written into the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import house_sources  # noqa: E402

LIMIT = 80
SKIPPED = ("tests", "bench", "fuzz", "tools")

CONTAINER = re.compile(r"^(template\s*<.*>\s*)?(namespace|class|struct|union|enum)\b|^extern\s+\"C")
ACCESS = re.compile(r"^(public|protected|private)\s*:$")


def indentation(line):
    return len(line) - len(line.lstrip(" "))


def code_of(line):
    """The line without a trailing // comment (not inside a string: good enough for header lines)."""
    stripped = line.strip()
    if stripped.startswith("//"):
        return ""
    comment = stripped.find(" //")
    return stripped[:comment].rstrip() if comment >= 0 and stripped.count('"', 0, comment) % 2 == 0 else stripped


def ends_statement(code):
    return code == "" or code.startswith("#") or code.endswith((";", "{", "}")) or ACCESS.match(code) is not None


def header_start(lines, opening):
    """The first line of the declaration whose body opens at lines[opening]."""
    start = opening
    while start > 0:
        previous = code_of(lines[start - 1])
        if ends_statement(previous) or previous.endswith(":") and not previous.endswith("::"):
            break
        start -= 1
    return start


def closing_line(lines, start, opening):
    """The line that closes the block whose header runs from lines[start] to lines[opening], where it opens,
    or None when there is none."""
    depth = indentation(lines[start])
    for i in range(opening + 1, len(lines)):
        line = lines[i]
        if line.strip() and indentation(line) == depth and line.lstrip().startswith("}"):
            return i
        if line.strip() and indentation(line) < depth:
            return None
    return None


def is_function(header):
    """Whether a block's header (its lines joined) defines a function or a lambda rather than a type, a
    namespace or an initialised variable."""
    if CONTAINER.match(header):
        return False
    if "(" not in header:
        return False
    before_paren = header[: header.index("(")]
    if "=" in before_paren and "[" not in header and "operator" not in before_paren:
        return False  # a variable initialised by a call: "const Table kTable = make({"
    return True


def functions(lines):
    """(first line, last line, name) of every function defined in the lines, 0-based."""
    found = []
    i = 0
    while i < len(lines):
        code = code_of(lines[i])
        if not code.endswith("{") or code.startswith("#"):
            i += 1
            continue
        start = header_start(lines, i)
        header = " ".join(code_of(line) for line in lines[start : i + 1])
        end = closing_line(lines, start, i)
        if end is None:
            i += 1
            continue
        if is_function(header):
            name = re.sub(r"\s+", " ", header[: header.index("(")]).split(" ")[-1] or header[:40]
            found.append((start, end, name))
            i = end + 1
        elif CONTAINER.match(header) and not header.startswith("enum"):
            i += 1  # look inside a namespace, class or struct
        else:
            i = end + 1
    return found


def main(argv):
    root, limit, longest = house_sources.options(argv, LIMIT, __file__)

    measured = []
    for path in house_sources.sources(root, SKIPPED):
        with open(os.path.join(root, path), encoding="utf-8") as text:
            lines = text.read().split("\n")
        for start, end, name in functions(lines):
            measured.append((end - start + 1, path, start + 1, name))
    measured.sort(key=lambda m: (-m[0], m[1], m[2]))

    if longest:
        for length, path, line, name in measured[:longest]:
            print(f"{length:5} {path}:{line} {name}")
        return 0
    problems = [m for m in measured if m[0] > limit]
    for length, path, line, name in problems:
        print(f"{path}:{line}: {name} runs {length} lines (at most {limit})")
    if problems:
        print(f"check-function-length: {len(problems)} function(s) longer than {limit} lines; split them where "
              "a reader gains (see tools/check-function-length.py)")
        return 1
    print(f"check-function-length: {len(measured)} functions, none longer than {limit} lines")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
