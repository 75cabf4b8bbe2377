#!/usr/bin/env python3
"""Writes the WiX source of Tiermark's per-user installer from an installed program folder.

    make-wxs.py --source STAGE --version X.Y.Z --icon tiermark.ico --output tiermark.wxs --queries texts.sql

wixl takes the file sources relative to the folder it runs in: run it in STAGE. Every file of STAGE becomes one component of the program folder %LOCALAPPDATA%\\Programs\\Tiermark; the
Start menu gets a Tiermark folder with the program and the user guide. The package installs for the
current user only and needs no administrator rights; Windows lists it among the installed programs, from
where it is removed. Component and product codes are derived from names (and the product code from the
version), so that a newer version replaces an older one. InstallScope="perUser" marks the package as one
that needs no elevation (word count 10 in its summary information: compressed, no elevated rights).

The installed programs' entry ("Apps") gets the program's icon (ARPPRODUCTICON), its size in KiB (ARPSIZE,
the program folder's), the program folder (ARPINSTALLLOCATION, set once costing has resolved INSTALLDIR)
and a comment and publisher in Japanese.

wixl takes only ASCII in the names and texts of a package, so the Japanese ones are written afterwards:
--queries receives the SQL that package.sh hands to msibuild after it has set the database's code page to
932 (the Japanese ANSI code page, in which Windows Installer then reads every string of the package). The
same queries set the custom action's type to 51 (set a property, immediately), as wixl marks every custom
action deferred.
"""
import argparse
import os
import uuid
from xml.sax.saxutils import quoteattr

# The texts in Japanese, written by msibuild after wixl.
PUBLISHER = "Tiermark開発チーム"
COMMENTS = "国土交通省CAD製図基準（案）のレイヤーを AutoCAD LT の図面に作成します"
GUIDE_SHORTCUT = "Tiermark ユーザーガイド"
# Its 8.3 name (the Filename column: short|long); the long one is what the Start menu shows.
GUIDE_SHORT_NAME = "GUIDE"
# A custom action that sets a property, run at once where it is sequenced.
SET_PROPERTY_IMMEDIATE = 51
# Right after CostFinalize (1000), where INSTALLDIR is resolved, before the product is registered.
AFTER_COST_FINALIZE = 1001

NAMESPACE = uuid.UUID("6f1d2a9e-3c47-4b58-9a0e-7d2c1b4e5f60")
UPGRADE_CODE = "{8E2C6B1A-5D3F-4A7E-9C21-3B6F0D4E8A57}"


def guid(*parts):
    return "{" + str(uuid.uuid5(NAMESPACE, "/".join(parts))).upper() + "}"


def ident(prefix, path):
    safe = "".join(c if c.isalnum() else "_" for c in path)
    return (prefix + "_" + safe)[:60] + "_" + uuid.uuid5(NAMESPACE, path).hex[:8]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--source", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--icon", required=True)
    parser.add_argument("--output", required=True)
    parser.add_argument("--queries", required=True)
    args = parser.parse_args()

    source = os.path.abspath(args.source)
    files_by_dir = {}
    for root, dirs, files in os.walk(source):
        dirs.sort()
        rel = os.path.relpath(root, source)
        rel = "" if rel == "." else rel.replace(os.sep, "/")
        files_by_dir[rel] = sorted(files)
    if "tiermark.exe" not in files_by_dir.get("", []):
        raise SystemExit("make-wxs: %s holds no tiermark.exe" % source)
    size_kib = 0
    for rel, names in files_by_dir.items():
        for name in names:
            size_kib += os.path.getsize(os.path.join(source, rel, name))
    size_kib = (size_kib + 1023) // 1024

    components = []
    out = []
    w = out.append

    def directory(rel, indent):
        pad = " " * indent
        for name in files_by_dir.get(rel, []):
            path = (rel + "/" + name) if rel else name
            cid = ident("c", path)
            components.append(cid)
            w('%s<Component Id="%s" Guid="%s">' % (pad, cid, guid("component", path)))
            w('%s  <File Id="%s" Source=%s KeyPath="yes"/>'
              % (pad, ident("f", path), quoteattr(path)))
            w("%s</Component>" % pad)
        children = sorted(d for d in files_by_dir if d and os.path.dirname(d) == rel)
        for child in children:
            did = ident("d", child)
            w('%s<Directory Id="%s" Name=%s>' % (pad, did, quoteattr(os.path.basename(child))))
            directory(child, indent + 2)
            w("%s</Directory>" % pad)

    w('<?xml version="1.0" encoding="utf-8"?>')
    w('<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">')
    w('  <Product Id="%s" Name="Tiermark" Language="1041" Version="%s"'
      % (guid("product", args.version), args.version))
    w('           Manufacturer="Tiermark" UpgradeCode="%s">' % UPGRADE_CODE)
    w('    <Package Description="Tiermark %s" Manufacturer="Tiermark" InstallerVersion="500"'
      ' Languages="1041" Compressed="yes" InstallScope="perUser"'
      '/>' % args.version)
    w('    <MajorUpgrade DowngradeErrorMessage="A newer version of Tiermark is already installed."/>')
    w('    <Media Id="1" Cabinet="tiermark.cab" EmbedCab="yes"/>')
    w('    <Property Id="ARPNOMODIFY" Value="1"/>')
    w('    <Property Id="ARPCOMMENTS" Value="Layers of the public-works CAD drawing standard for AutoCAD LT"/>')
    # wixl finds no file by an absolute path: the icon is named relative to STAGE too.
    w('    <Icon Id="tiermark.ico" SourceFile=%s/>' % quoteattr(os.path.relpath(args.icon, source)))
    w('    <Property Id="ARPPRODUCTICON" Value="tiermark.ico"/>')
    w('    <Property Id="ARPSIZE" Value="%d"/>' % size_kib)
    w('    <CustomAction Id="SetInstallLocation" Property="ARPINSTALLLOCATION" Value="[INSTALLDIR]"/>')
    w('    <InstallExecuteSequence>')
    w('      <Custom Action="SetInstallLocation" Sequence="%d"/>' % AFTER_COST_FINALIZE)
    w('    </InstallExecuteSequence>')
    w('    <Directory Id="TARGETDIR" Name="SourceDir">')
    w('      <Directory Id="LocalAppDataFolder">')
    w('        <Directory Id="UserProgramsFolder" Name="Programs">')
    w('          <Directory Id="INSTALLDIR" Name="Tiermark">')
    directory("", 12)
    # The program folder in the user's profile is removed on uninstall (its subfolders go with their last
    # file); the component's key is a value under the user's own registry key, as per-user components have.
    w('            <Component Id="ProgramFolder" Guid="%s">' % guid("component", "program-folder"))
    w('              <RemoveFolder Id="RemoveInstallDir" On="uninstall"/>')
    w('              <RegistryValue Root="HKCU" Key="Software\\Tiermark\\Installer" Name="ProgramFolder"'
      ' Type="string" Value="[INSTALLDIR]" KeyPath="yes"/>')
    w('            </Component>')
    components.append("ProgramFolder")
    w('          </Directory>')
    w('        </Directory>')
    w('      </Directory>')
    w('      <Directory Id="ProgramMenuFolder">')
    w('        <Directory Id="TiermarkMenu" Name="Tiermark">')
    w('          <Component Id="StartMenu" Guid="%s">' % guid("component", "start-menu"))
    w('            <Shortcut Id="TiermarkShortcut" Name="Tiermark" Description="Tiermark"'
      ' Target="[INSTALLDIR]tiermark.exe" WorkingDirectory="INSTALLDIR"/>')
    # wixl fails on names outside ASCII: the guide's shortcut is named in Japanese by the queries.
    w('            <Shortcut Id="GuideShortcut" Name="Tiermark User Guide"'
      ' Target="[INSTALLDIR]user-guide.html" WorkingDirectory="INSTALLDIR"/>')
    w('            <RemoveFolder Id="RemoveTiermarkMenu" On="uninstall"/>')
    w('            <RegistryValue Root="HKCU" Key="Software\\Tiermark\\Installer" Name="StartMenu"'
      ' Type="integer" Value="1" KeyPath="yes"/>')
    w('          </Component>')
    components.append("StartMenu")
    w('        </Directory>')
    w('      </Directory>')
    w('    </Directory>')
    w('    <Feature Id="Tiermark" Title="Tiermark" Level="1">')
    for cid in components:
        w('      <ComponentRef Id="%s"/>' % cid)
    w('    </Feature>')
    w('  </Product>')
    w('</Wix>')
    with open(args.output, "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")

    def quoted(text):
        return "'" + text.replace("'", "''") + "'"

    queries = [
        "UPDATE Property SET Value = %s WHERE Property = 'Manufacturer'" % quoted(PUBLISHER),
        "UPDATE Property SET Value = %s WHERE Property = 'ARPCOMMENTS'" % quoted(COMMENTS),
        "UPDATE Shortcut SET Name = %s WHERE Shortcut = 'GuideShortcut'"
        % quoted(GUIDE_SHORT_NAME + "|" + GUIDE_SHORTCUT),
        "UPDATE CustomAction SET Type = %d WHERE Action = 'SetInstallLocation'" % SET_PROPERTY_IMMEDIATE,
    ]
    with open(args.queries, "w", encoding="utf-8") as f:
        f.write("\n".join(queries) + "\n")


if __name__ == "__main__":
    main()
