#!/usr/bin/env python3
"""The include rules between the folders of the tree, checked on every test run.

    tools/check-includes.py [--graph] [ROOT]

Every C++ source belongs to a folder: a logic folder (common, cadlink, stddb, dxf, builder, numbered,
layercheck, translate, settings, and the stand-in's cadsim/core, cadsim/endpoint, cadsim/client), the
widget kit ui, the program-wide state core, a forms folder (builder/forms, ...), app, or a program (tests,
bench, fuzz, tools, cadsim/app, cadsim/win32, and a command's cli folder: layercheck/cli, tiermark-check).
The rules:

  1. Only core, forms folders, app and programs include headers of ui/; only forms folders, app and
     programs include core/; only app and programs include a forms folder or app/. ui includes nothing of
     core/, app/ or a forms folder; core includes logic and ui, never a form or app/. So logic folders never
     include forms, windows or the main window, and a form reaches another window only through core/.
  2. No cycle between folders at all: the form registry in app/ creates the forms, and the forms reach the
     program-wide state and each other only through core/ (core::Program, core::Navigation).

Exits 0 when both hold and 1 with one line per breach otherwise. --graph prints the folder graph.
"""

import os
import re
import sys
from collections import defaultdict

LOGIC = {"common", "cadlink", "stddb", "dxf", "builder", "numbered", "layercheck", "translate", "settings", "cadsim/core",
         "cadsim/endpoint", "cadsim/client"}
KIT = "ui"
CORE = "core"
APP = "app"
PROGRAMS = {"tests", "bench", "fuzz", "tools", "cadsim/app", "cadsim/win32"}
SOURCE_SUFFIXES = (".cpp", ".h")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def folder_of(path):
    """The folder a path (relative to the root, with /) belongs to, or None outside the tree's code."""
    parts = path.split("/")
    if len(parts) < 2:
        return None
    if parts[0] in PROGRAMS:
        return parts[0]
    if len(parts) >= 3 and parts[1] == "forms":
        return parts[0] + "/forms"
    if len(parts) >= 3 and parts[1] == "cli":
        return parts[0] + "/cli"
    if parts[0] == "cadsim" and len(parts) >= 3:
        return "cadsim/" + parts[1]
    return parts[0]


def is_forms(folder):
    return folder.endswith("/forms")


def kind_of(folder):
    if folder in LOGIC:
        return "logic"
    if folder == KIT:
        return "kit"
    if folder == CORE:
        return "core"
    if folder == APP:
        return "app"
    if is_forms(folder):
        return "forms"
    if folder in PROGRAMS or folder.split("/")[0] in PROGRAMS or folder.endswith("/cli"):
        return "program"
    return "unknown"


def sources(root):
    for directory, subdirs, files in os.walk(root):
        relative = os.path.relpath(directory, root)
        top = relative.split(os.sep)[0]
        # Build trees, version control and anything hidden are not sources.
        if relative != "." and (top in ("build", "out") or top.startswith(("build-", "."))):
            subdirs[:] = []
            continue
        for name in files:
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.normpath(os.path.join(relative, name)).replace(os.sep, "/")


def resolve(root, including, included):
    """The included header's path relative to the root: from the root first, then beside the includer."""
    if os.path.isfile(os.path.join(root, included)):
        return os.path.normpath(included).replace(os.sep, "/")
    beside = os.path.normpath(os.path.join(os.path.dirname(including), included))
    if os.path.isfile(os.path.join(root, beside)):
        return beside.replace(os.sep, "/")
    return None  # a system or generated header


def include_graph(root):
    edges = defaultdict(lambda: defaultdict(list))  # from folder -> to folder -> [(file, header)]
    for path in sources(root):
        source_folder = folder_of(path)
        if source_folder is None:
            continue
        with open(os.path.join(root, path), encoding="utf-8") as text:
            for line in text:
                match = INCLUDE.match(line)
                if not match:
                    continue
                header = resolve(root, path, match.group(1))
                if header is None:
                    continue
                header_folder = folder_of(header)
                if header_folder is None or header_folder == source_folder:
                    continue
                edges[source_folder][header_folder].append((path, header))
    return edges


def layer_breaches(edges):
    breaches = []
    for source, targets in sorted(edges.items()):
        kind = kind_of(source)
        for target, uses in sorted(targets.items()):
            target_kind = kind_of(target)
            forbidden = False
            if kind == "logic" and target_kind in ("kit", "core", "forms", "app"):
                forbidden = True
            elif kind in ("kit", "core") and target_kind in ("core", "forms", "app"):
                forbidden = True
            elif kind == "forms" and target_kind in ("forms", "app"):
                forbidden = True
            if forbidden:
                for path, header in uses:
                    breaches.append(f"{path}: a {kind} folder includes {header} ({target_kind})")
            if kind == "unknown":
                breaches.append(f"{source}: a folder the include rules do not know (add it to {__file__})")
    return breaches


def cycles(edges):
    """Strongly connected components of more than one folder; the programs, which nothing includes, are left
    out."""
    nodes = {n for n in set(edges) | {t for ts in edges.values() for t in ts}
             if kind_of(n) != "program"}
    graph = {n: [t for t in edges.get(n, {}) if t in nodes] for n in nodes}
    index, low, stack, on_stack, components = {}, {}, [], set(), []
    counter = [0]

    def visit(node):
        index[node] = low[node] = counter[0]
        counter[0] += 1
        stack.append(node)
        on_stack.add(node)
        for target in graph[node]:
            if target not in index:
                visit(target)
                low[node] = min(low[node], low[target])
            elif target in on_stack:
                low[node] = min(low[node], index[target])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                components.append(sorted(component))

    for node in sorted(nodes):
        if node not in index:
            visit(node)
    return components


def main(argv):
    show_graph = "--graph" in argv
    arguments = [a for a in argv if not a.startswith("--")]
    root = os.path.abspath(arguments[0] if arguments else os.path.join(os.path.dirname(__file__), ".."))
    edges = include_graph(root)

    if show_graph:
        for source, targets in sorted(edges.items()):
            if kind_of(source) == "program":
                continue
            print(f"{source:18} -> " + ", ".join(f"{t} ({len(u)})" for t, u in sorted(targets.items())))

    problems = layer_breaches(edges)
    for component in cycles(edges):
        problems.append("folders include each other in a cycle: " + " <-> ".join(component))
    for problem in problems:
        print(problem)
    if problems:
        print(f"check-includes: {len(problems)} breach(es) of the include rules (see tools/check-includes.py)")
        return 1
    print("check-includes: the include rules hold")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
