#!/usr/bin/env python3
"""Checks what Windows shows of Tiermark's package before it is installed: the resources of every installed
program and the installer's tables.

    check-resources.py --stage PROGRAM_FOLDER --msi Tiermark-X.Y.Z-x64.msi --version X.Y.Z

Each program (tiermark, tiermark-check, acadlt, acadltctl) must carry in its resource section (objdump -p)
an icon group and a version resource (wrestool): the icon in the sizes Explorer asks for, and version
information with the build's version, the company and a Japanese description. The installer (msiinfo)
must be in code page 932 and hold the Japanese publisher, comment and Start-menu names, the product icon,
its size and the custom action that sets the install location once costing has resolved it. The sample's
note must be a Japanese text file as Notepad writes it (UTF-8 with a byte order mark, CR LF).
Prints one line per check and exits 1 if any fails.
"""
import argparse
import os
import struct
import subprocess
import sys
import tempfile

PROGRAMS = ["tiermark", "tiermark-check", "acadlt", "acadltctl"]
COMPANY = "Tiermark開発チーム"
ICON_SIZES = {16, 24, 32, 48, 256}
RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16

failures = 0


def check(what, ok, detail=""):
    global failures
    print("  %s %s%s" % ("ok  " if ok else "FAIL", what, "" if ok or not detail else ": " + detail))
    if not ok:
        failures += 1


def run(*command):
    # In a folder of its own: msiinfo export writes a table's binary streams (the Icon table's) beside it.
    with tempfile.TemporaryDirectory() as work:
        return subprocess.run(command, check=True, capture_output=True, cwd=work).stdout


def resource_types(exe):
    """The resource types of the top level of the .rsrc directory, as objdump -p prints them."""
    text = run("x86_64-w64-mingw32-objdump", "-p", exe).decode("utf-8", "replace")
    start = text.find("The .rsrc Resource Directory section")
    if start < 0:
        return set()
    types = set()
    for line in text[start:].splitlines()[2:]:
        # The type table's entries are the least indented ones: "010   Entry: ID: 0x000003, ..."
        parts = line.split()
        if len(parts) >= 4 and parts[1] == "Entry:" and line.index("Entry:") == 6:
            types.add(int(parts[3].rstrip(","), 16))
        elif line.strip() == "" and types:
            break
    return types


def version_strings(blob):
    """The StringFileInfo values of a VS_VERSIONINFO resource: {key: value}."""
    found = {}

    def node(offset):
        length, value_length, kind = struct.unpack_from("<HHH", blob, offset)
        end = offset + length
        key_start = offset + 6
        key_end = key_start
        while blob[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = blob[key_start:key_end].decode("utf-16-le")
        position = (key_end + 2 + 3) & ~3
        if kind == 1 and value_length:  # a text value: value_length counts its characters
            value = blob[position:position + 2 * value_length].decode("utf-16-le").rstrip("\0")
            found[key] = value
            position += 2 * value_length
        else:
            position += value_length
        position = (position + 3) & ~3
        while position < end:
            position = node(position)
        return (end + 3) & ~3

    node(0)
    return found


def check_program(stage, name, version):
    exe = os.path.join(stage, name + ".exe")
    types = resource_types(exe)
    check(name + ".exe: objdump shows icon, icon group and version in .rsrc",
          {RT_ICON, RT_GROUP_ICON, RT_VERSION} <= types, "types %s" % sorted(types))
    with tempfile.TemporaryDirectory() as work:
        ico = os.path.join(work, "icon.ico")
        with open(ico, "wb") as out:
            out.write(run("wrestool", "-x", "--type=%d" % RT_GROUP_ICON, exe))
        sizes = set()
        for line in run("icotool", "-l", ico).decode().splitlines():
            fields = dict(field.split("=", 1) for field in line.split() if "=" in field)
            sizes.add(int(fields.get("--width", "0")))
        check(name + ".exe: the icon has the sizes %s" % sorted(ICON_SIZES), ICON_SIZES <= sizes, str(sorted(sizes)))
    strings = version_strings(run("wrestool", "-x", "--raw", "--type=%d" % RT_VERSION, exe))
    check(name + ".exe: FileVersion and ProductVersion " + version,
          strings.get("FileVersion") == version and strings.get("ProductVersion") == version, str(strings))
    check(name + ".exe: CompanyName " + COMPANY, strings.get("CompanyName") == COMPANY, str(strings))
    description = strings.get("FileDescription", "")
    check(name + ".exe: a Japanese FileDescription (%s)" % description,
          any(ord(c) > 0x3000 for c in description), str(strings))
    check(name + ".exe: OriginalFilename " + name + ".exe", strings.get("OriginalFilename") == name + ".exe")


def table(msi, name):
    """The rows of an installer table as msiinfo exports them (UTF-8), after the three header lines."""
    text = run("msiinfo", "export", msi, name).decode("utf-8")
    lines = text.replace("\r\n", "\n").split("\n")
    return [line.split("\t") for line in lines[3:] if line]


def check_installer(msi):
    codepage = run("msiinfo", "export", msi, "_ForceCodepage").decode().split()
    check("the installer's code page is 932", codepage[:1] == ["932"], " ".join(codepage))
    properties = {row[0]: row[1] for row in table(msi, "Property")}
    check("publisher (Manufacturer) " + COMPANY, properties.get("Manufacturer") == COMPANY,
          properties.get("Manufacturer", ""))
    comments = properties.get("ARPCOMMENTS", "")
    check("a Japanese comment (%s)" % comments, any(ord(c) > 0x3000 for c in comments))
    check("the product icon", properties.get("ARPPRODUCTICON") == "tiermark.ico" and
          any(row[0] == "tiermark.ico" for row in table(msi, "Icon")))
    check("an estimated size (%s KiB)" % properties.get("ARPSIZE"), int(properties.get("ARPSIZE", "0")) > 1000)
    shortcuts = {row[0]: row[2].split("|")[-1] for row in table(msi, "Shortcut")}
    check("Start menu: \"Tiermark\" and \"Tiermark ユーザーガイド\"",
          sorted(shortcuts.values()) == ["Tiermark", "Tiermark ユーザーガイド"], str(shortcuts))
    actions = {row[0]: row for row in table(msi, "CustomAction")}
    sequence = {row[0]: int(row[2]) for row in table(msi, "InstallExecuteSequence")}
    location = actions.get("SetInstallLocation", [])
    check("ARPINSTALLLOCATION set to [INSTALLDIR] by a type-51 action after CostFinalize, before the product is"
          " registered",
          location[1:4] == ["51", "ARPINSTALLLOCATION", "[INSTALLDIR]"] and
          sequence["CostFinalize"] < sequence.get("SetInstallLocation", 0) < sequence["RegisterProduct"],
          str(location))


def check_sample_note(stage):
    with open(os.path.join(stage, "sample", "README.txt"), "rb") as f:
        data = f.read()
    body = data[3:]
    check("sample\\README.txt: UTF-8 with a byte order mark, CR LF, in Japanese",
          data.startswith(b"\xef\xbb\xbf") and b"\n" not in body.replace(b"\r\n", b"") and
          "正式なデータベースではありません" in body.decode("utf-8"))
    check("no developer README.md in sample\\", not os.path.exists(os.path.join(stage, "sample", "README.md")))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--stage", required=True)
    parser.add_argument("--msi", required=True)
    parser.add_argument("--version", required=True)
    args = parser.parse_args()
    args.stage, args.msi = os.path.abspath(args.stage), os.path.abspath(args.msi)
    for name in PROGRAMS:
        check_program(args.stage, name, args.version)
    check_installer(args.msi)
    check_sample_note(args.stage)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
