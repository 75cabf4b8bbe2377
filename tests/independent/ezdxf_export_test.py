#!/usr/bin/env python3
"""Every layer set the sample database can export, read by ezdxf (python3-ezdxf), an independent reader.

    ezdxf_export_test.py TIERMARK-EXPORT-ALL DATABASE

Each file must pass ezdxf's audit with no error and no fix, be an AutoCAD 2000 file in code page 932, and
hold exactly the layers the database gives (manifest.json of tiermark-export-all), each with its colour
and line type, every line type defined in the file's LTYPE table.
"""
import json
import os
import subprocess
import sys
import tempfile

import ezdxf


def main():
    export_all, database = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        written = subprocess.run([export_all, database, folder], capture_output=True, text=True)
        print(written.stdout.strip())
        if written.returncode != 0:
            print(written.stderr)
            return 1
        with open(os.path.join(folder, "manifest.json"), encoding="utf-8") as f:
            manifest = json.load(f)
        for name, expected in sorted(manifest.items()):
            path = os.path.join(folder, name)
            doc = ezdxf.readfile(path)
            auditor = doc.audit()
            for problem in auditor.errors:
                failures.append("%s: audit error %s %s" % (name, problem.code, problem.message))
            for fix in auditor.fixes:
                failures.append("%s: audit fix %s %s" % (name, fix.code, fix.message))
            if doc.dxfversion != "AC1015" or doc.header.get("$DWGCODEPAGE") != "ANSI_932":
                failures.append("%s: %s %s" % (name, doc.dxfversion, doc.header.get("$DWGCODEPAGE")))
            # ezdxf adds "Defpoints" to every document it loads; the file holds layer "0" and the set.
            layers = [(layer.dxf.name, layer.dxf.color, layer.dxf.linetype)
                      for layer in doc.layers if layer.dxf.name != "Defpoints"]
            want = [("0", 7, "Continuous")] + [tuple(layer) for layer in expected]
            if layers != want:
                failures.append("%s: layers %r, the database gives %r" % (name, layers, want))
            defined = {linetype.dxf.name.upper() for linetype in doc.linetypes}
            for layer_name, _, linetype in layers:
                if linetype.upper() not in defined:
                    failures.append("%s: line type %s of %s is not defined" % (name, linetype, layer_name))
        print("%d exported layer sets audited by ezdxf %s" % (len(manifest), ezdxf.__version__))
    for failure in failures[:50]:
        print("FAIL " + failure)
    print("%d passed, %d failed" % (len(manifest) - len({f.split(":")[0] for f in failures}),
                                     len({f.split(":")[0] for f in failures})))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
