#!/usr/bin/env python3
"""Translated copies of drawings that ezdxf (python3-ezdxf), an independent program, writes itself,
read back by ezdxf.

    ezdxf_translate_test.py TIERMARK-DXF-TRANSLATE

For R12, R2000 and R2018 drawings, ASCII and binary: per layer, the objects of the copy are the sum of the
objects of the layers mapped to it; nothing else changed (every object's type, handle and attributes but
its layer, the layers left alone, the line types, the header but $CLAYER); a viewport freezes the layers
the frozen ones became; the audit finds no error and fixes nothing it would not fix in the source.
"""
import collections
import os
import re
import subprocess
import sys
import tempfile

import ezdxf
from ezdxf.entities import DXFGraphic
from ezdxf.entities.block import Block, EndBlk

WALL = "\u58c1"  # 壁, written as \U+58C1 where the code page lacks it

# What the copy does: WALL renamed to D-WAL (red, dashed), wall-old and 壁 merged into the D-STR the drawing
# has, NOTE renamed to D-NOTE with a line type the drawing does not define.
CHANGES = ["--rename", "wall", "D-WAL", "1", "DASHED",
           "--merge", "WALL-OLD", "D-STR",
           "--merge", WALL, "D-STR",
           "--rename", "NOTE", "D-NOTE", "3", "NO_SUCH_LINETYPE"]
MAPPED = {"WALL": "D-WAL", "WALL-OLD": "D-STR", WALL: "D-STR", "NOTE": "D-NOTE"}
REMOVED = {"WALL-OLD", WALL}


def make_drawing(version, path, binary):
    doc = ezdxf.new(version, setup=True)
    for name, colour, linetype in [("WALL", 2, "CONTINUOUS"), ("wall-old", 4, "DASHED"), (WALL, 5, "CONTINUOUS"),
                                   ("D-STR", 3, "CONTINUOUS"), ("KEEP", 6, "CENTER"), ("NOTE", 7, "CONTINUOUS")]:
        doc.layers.add(name, color=colour, linetype=linetype)
    doc.layers.get("KEEP").off()
    if version != "R12":
        # AutoCAD keeps notes of its own in a layer's extension dictionary; they go with a merged layer.
        notes = doc.layers.get("wall-old").new_extension_dict().add_xrecord("ADSK_XREC_LAYER_RECONCILED")
        notes.reset([(290, 1)])
        # A paper-space viewport that freezes a merged layer and one left alone.
        viewport = doc.layout("Layout1").add_viewport((5, 5), (8, 6), (0, 0), 10)
        viewport.frozen_layers = ["wall-old", "KEEP"]
    doc.header["$CLAYER"] = "WALL"
    block = doc.blocks.new("PART")
    block.add_line((0, 0), (1, 0), dxfattribs={"layer": "wall-old"})
    block.add_circle((0, 0), 2, dxfattribs={"layer": "0"})
    msp = doc.modelspace()
    for i, layer in enumerate(["WALL", "Wall", "wall-old", WALL, "D-STR", "KEEP", "NOTE", "0", WALL, "WALL"]):
        msp.add_line((i, 0), (i, 5), dxfattribs={"layer": layer, "color": i % 7 + 1})
        msp.add_text("T%d" % i, dxfattribs={"layer": layer, "height": 2.5, "insert": (i, 9)})
    msp.add_blockref("PART", (3, 3), dxfattribs={"layer": "KEEP"})
    doc.saveas(path, fmt="bin" if binary else "asc")


def name_of(text):
    """A name as AutoCAD reads it: ezdxf leaves the \\U+XXXX escapes of earlier versions as they are."""
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text).upper()


def graphical(doc):
    return [e for e in doc.entitydb.values() if isinstance(e, (DXFGraphic, Block, EndBlk))]


def layer_counts(entities):
    counts = collections.Counter()
    for entity in entities:
        counts[name_of(entity.dxf.layer)] += 1
    return counts


def compare(label, source_path, copy_path, failures):
    source = ezdxf.readfile(source_path)
    copy = ezdxf.readfile(copy_path)
    fail = lambda text: failures.append("%s: %s" % (label, text))
    before, after = graphical(source), graphical(copy)
    # Per layer, the sum of the layers mapped to it.
    want = collections.Counter()
    for layer, count in layer_counts(before).items():
        want[MAPPED.get(layer, MAPPED.get(layer.upper(), layer)).upper()] += count
    if layer_counts(after) != want:
        fail("objects per layer %r, want %r" % (dict(layer_counts(after)), dict(want)))
    # Nothing else changed: every object, in order, with every attribute but its layer.
    if [(e.dxftype(), e.dxf.handle) for e in before] != [(e.dxftype(), e.dxf.handle) for e in after]:
        fail("the objects differ")
    for old, new in zip(before, after):
        a, b = old.dxfattribs(), new.dxfattribs()
        a.pop("layer", None), b.pop("layer", None)
        if a != b:
            fail("%s %s: %r became %r" % (old.dxftype(), old.dxf.handle, a, b))
    # The layer table: renamed, merged away, or as it was.
    layers = {name_of(layer.dxf.name): layer for layer in copy.layers}
    for name in ["WALL", "WALL-OLD", WALL, "NOTE"]:
        if name in layers:
            fail("layer %s is still there" % name)
    wall = layers.get("D-WAL")
    if wall is None or (wall.dxf.color, wall.dxf.linetype.upper()) != (1, "DASHED"):
        fail("D-WAL is %r" % (None if wall is None else (wall.dxf.color, wall.dxf.linetype)))
    note = layers.get("D-NOTE")
    if note is None or (note.dxf.color, note.dxf.linetype.upper()) != (3, "CONTINUOUS"):
        fail("D-NOTE is %r" % (None if note is None else (note.dxf.color, note.dxf.linetype)))
    for layer in source.layers:
        name = name_of(layer.dxf.name)
        if name not in MAPPED and name not in REMOVED and name != "DEFPOINTS":
            kept = layers.get(name)
            if kept is None or kept.dxfattribs() != layer.dxfattribs():
                fail("layer %s changed" % layer.dxf.name)
    if not layers["KEEP"].is_off():
        fail("KEEP is no longer off")
    for old, new in zip(before, after):
        if old.dxftype() == "VIEWPORT" and old.frozen_layers:
            frozen = [name_of(MAPPED.get(name.upper(), name)) for name in old.frozen_layers]
            if [name_of(name) for name in new.frozen_layers] != frozen:
                fail("a viewport freezes %r, want %r" % (new.frozen_layers, frozen))
    if [lt.dxf.name for lt in source.linetypes] != [lt.dxf.name for lt in copy.linetypes]:
        fail("the line types differ")
    if copy.header["$CLAYER"] != "D-WAL":
        fail("$CLAYER is %s" % copy.header["$CLAYER"])
    # What ezdxf makes up as it loads a file (the GUIDs of an R12 file, which has none; the creation time of
    # a binary file) differs between two loads of the source itself.
    again = ezdxf.readfile(source_path)
    made_up = {name for name in source.header.varnames() if source.header[name] != again.header.get(name)}
    for variable in source.header.varnames():
        if variable != "$CLAYER" and variable not in made_up and source.header[variable] != copy.header.get(variable):
            fail("header %s changed" % variable)
    # The audit: no error, and no fix it would not make in the source.
    audit, source_audit = copy.audit(), source.audit()
    for problem in audit.errors:
        fail("audit error %s %s" % (problem.code, problem.message))
    source_fixes = {(fix.code, fix.message) for fix in source_audit.fixes}
    for fix in audit.fixes:
        if (fix.code, fix.message) not in source_fixes:
            fail("audit fix %s %s" % (fix.code, fix.message))


def main():
    translate = sys.argv[1]
    failures = []
    runs = 0
    with tempfile.TemporaryDirectory() as folder:
        for version in ["R12", "R2000", "R2018"]:
            for binary in [False, True]:
                label = "%s %s" % (version, "binary" if binary else "ASCII")
                source = os.path.join(folder, "%s-%d.dxf" % (version, binary))
                target = os.path.join(folder, "%s-%d-copy.dxf" % (version, binary))
                make_drawing(version, source, binary)
                run = subprocess.run([translate, source, target] + CHANGES, capture_output=True, text=True)
                if run.returncode != 0:
                    failures.append("%s: %s %s" % (label, run.stdout, run.stderr))
                    continue
                if "NO_SUCH_LINETYPE" not in run.stdout:
                    failures.append("%s: no note of the missing line type: %r" % (label, run.stdout))
                compare(label, source, target, failures)
                runs += 1
    for failure in failures[:50]:
        print("FAIL " + failure)
    print("%d drawings translated and read back by ezdxf %s, %d failures" % (runs, ezdxf.__version__, len(failures)))
    return 1 if failures or runs != 6 else 0


if __name__ == "__main__":
    sys.exit(main())
