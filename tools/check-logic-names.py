#!/usr/bin/env python3
"""Logic speaks the program's terms: no widget name in a logic folder, checked on every test run.

    tools/check-logic-names.py [ROOT]

The forms keep their control names (ListBox6, TextBox4, Combo1), which are the program's names for its
controls. The logic that the forms call names what it carries instead (the chosen drawing kind's rows, the
redraw origin), in code and comments alike, so that a reader of the logic need not know the windows. A
control name is a control kind followed by its number (ListBox12, combo1, label26Visible, CheckBox2,
optionButton1, Command2), or the main window's drawing list cmbfilename.

Exits 0 when no logic source holds one and 1 with one line per name found otherwise.
"""

import os
import re
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from house_sources import sources  # noqa: E402

LOGIC = ("common", "cadlink", "stddb", "dxf", "builder", "numbered", "layercheck", "translate", "settings", "core")
WIDGET_NAME = re.compile(
    r"\b(?:[Ll]istBox|[Cc]ombo|[Tt]extBox|[Ll]abel|[Cc]ommandButton|[Cc]ommand|[Cc]heck[Bb]ox|[Oo]ption|"
    r"[Oo]ptionButton|[Ff]rame|[Ii]mage|[Mm]ultiPage)[0-9]+|\bcmbfilename\b")


def is_logic(path):
    parts = path.split("/")
    return len(parts) >= 2 and parts[0] in LOGIC and "forms" not in parts[1:-1]


def breaches(root):
    """(path, line number, name) for every widget name in a logic source below root."""
    found = []
    for path in sources(root, ()):
        if not is_logic(path):
            continue
        with open(os.path.join(root, path), encoding="utf-8") as source:
            for number, line in enumerate(source, 1):
                for match in WIDGET_NAME.finditer(line):
                    found.append((path, number, match.group(0)))
    return found


def main(arguments):
    root = os.path.abspath(arguments[0] if arguments else os.path.join(os.path.dirname(__file__), ".."))
    found = breaches(root)
    for path, number, name in found:
        print(f"{path}:{number}: the widget name {name} in logic; name it by what it carries")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
