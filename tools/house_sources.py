"""What the house length checks share (tools/check-file-length.py, tools/check-function-length.py): the
sources they read and their options."""

import os

SOURCE_SUFFIXES = (".cpp", ".h")


def sources(root, skipped):
    """Every .cpp and .h below root, relative to it with "/", but for the top folders skipped, build trees
    and anything hidden."""
    for directory, subdirs, files in os.walk(root):
        relative = os.path.relpath(directory, root)
        top = relative.split(os.sep)[0]
        if relative != "." and (top in skipped or top in ("build", "out") or top.startswith(("build-", "."))):
            subdirs[:] = []
            continue
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.normpath(os.path.join(relative, name)).replace(os.sep, "/")


def options(argv, limit, script):
    """(root, limit, longest) from [--longest N] [--limit LINES] [ROOT]; the root defaults to the tree the
    script is in."""
    longest = 0
    arguments = []
    i = 0
    while i < len(argv):
        if argv[i] in ("--longest", "--limit") and i + 1 < len(argv):
            if argv[i] == "--longest":
                longest = int(argv[i + 1])
            else:
                limit = int(argv[i + 1])
            i += 2
        else:
            arguments.append(argv[i])
            i += 1
    root = os.path.abspath(arguments[0] if arguments else os.path.join(os.path.dirname(script), ".."))
    return root, limit, longest
