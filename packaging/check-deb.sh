#!/usr/bin/env bash
# Builds the Debian package from a configured build tree and checks that it holds the program, the stand-in,
# the sample database, the desktop entry and the icon in every size, and that it depends on the libraries it
# links and carries the program's version.
set -euo pipefail
build=$1
# $2: the program's version (the project version of the build).
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/tiermark_*.deb)
contents=$(dpkg-deb -c "$deb")
icons=(./usr/share/icons/hicolor/scalable/apps/tiermark.svg)
for size in 16 24 32 48 64 128 256; do
    icons+=("./usr/share/icons/hicolor/${size}x${size}/apps/tiermark.png")
done
for f in ./usr/bin/tiermark ./usr/bin/tiermark-check ./usr/bin/acadlt ./usr/bin/acadltctl ./usr/share/tiermark/sample/Tiermark.MDB \
         ./usr/share/applications/tiermark.desktop "${icons[@]}"; do
    grep -q " $f\$" <<<"$contents" || { echo "missing from the package: $f"; exit 1; }
done
# What the desktop finds: each PNG is a picture of the size its folder names, and the desktop entry names
# the icon by the name the icon theme holds it under and starts the installed program.
unpacked="$out/root"
dpkg-deb -x "$deb" "$unpacked"
for size in 16 24 32 48 64 128 256; do
    png="$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/tiermark.png"
    file -b "$png" | grep -q "^PNG image data, $size x $size," ||
        { echo "the ${size}x${size} icon is not a $size-pixel PNG: $(file -b "$png")"; exit 1; }
done
entry="$unpacked/usr/share/applications/tiermark.desktop"
grep -qx 'Icon=tiermark' "$entry" || { echo "the desktop entry does not name the icon tiermark"; exit 1; }
grep -qx 'Exec=tiermark' "$entry" || { echo "the desktop entry does not start tiermark"; exit 1; }
[ -x "$unpacked/usr/bin/tiermark" ] || { echo "the desktop entry's program is not installed"; exit 1; }
desktop-file-validate "$entry"
version=$(dpkg-deb -f "$deb" Version)
[ "$version" = "$2" ] || { echo "the package's version is $version, the program's $2"; exit 1; }
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libmdb3 libdxflib3; do
    grep -q "$lib" <<<"$depends" || { echo "the package does not depend on $lib"; exit 1; }
done
echo "package ok: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"
