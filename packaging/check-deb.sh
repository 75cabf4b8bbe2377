#!/usr/bin/env bash
# Builds the Debian package from a configured build tree and checks that it holds the program, the stand-in,
# the sample database, the desktop entry and the icon, and that it depends on the libraries it links.
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/tiermark_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/tiermark ./usr/bin/tiermark-check ./usr/bin/acadlt ./usr/bin/acadltctl ./usr/share/tiermark/sample/Tiermark.MDB \
         ./usr/share/applications/tiermark.desktop ./usr/share/icons/hicolor/scalable/apps/tiermark.svg; do
    grep -q " $f\$" <<<"$contents" || { echo "missing from the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libmdb3 libdxflib3; do
    grep -q "$lib" <<<"$depends" || { echo "the package does not depend on $lib"; exit 1; }
done
echo "package ok: $(basename "$deb") ($(du -k "$deb" | cut -f1) KiB)"
