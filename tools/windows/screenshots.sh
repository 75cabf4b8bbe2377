#!/usr/bin/env bash
# Pictures of the Windows build's windows: the typical road (tiermark-road.exe) with Qt's windows platform
# under Wine's X11 driver, on an Xvfb display, in a Wine prefix with the Japanese locale. The IPA fonts stand
# in for the Japanese Windows fonts the forms ask for ("ＭＳ Ｐゴシック", "MS UI Gothic"), through Wine's font
# replacements, as the fonts of a Japanese Windows would.
#
#   bash tools/windows/screenshots.sh [--build DIR] [--output DIR]
#       (defaults: build-windows, docs/screenshots/windows; the build must exist: tools/windows/build.sh)
#
# The road runs once per display scale of Windows: 100 % into DIR, 125 % and 150 % (Qt's QT_SCALE_FACTOR,
# given to the road as --scale) into DIR/scale-125 and DIR/scale-150, every window of the road at each.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build="$repo/build-windows"
output="$repo/docs/screenshots/windows"
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --output) output=$2; shift 2 ;;
        *) echo "usage: tools/windows/screenshots.sh [--build DIR] [--output DIR]" >&2; exit 2 ;;
    esac
done
for tool in wine wineboot wineserver xvfb-run; do
    command -v "$tool" >/dev/null 2>&1 || { echo "screenshots: $tool is not installed" >&2; exit 1; }
done
[ -f "$build/bin/tiermark-road.exe" ] || { echo "screenshots: no Windows build in $build" >&2; exit 1; }
mkdir -p "$output"
output=$(cd "$output" && pwd)

export WINEPREFIX="$build/wine-screenshots"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=ja_JP.UTF-8
export BUILD="$build" OUTPUT="$output"

xvfb-run -a -s "-screen 0 1600x1200x24" bash -s <<'SCRIPT'
set -euo pipefail
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
wineboot -i >/dev/null 2>&1
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf "$fonts/"
for name in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "Meiryo UI" "Yu Gothic UI" "MS Shell Dlg" "MS Shell Dlg 2" \
            "Tahoma" "Segoe UI"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d "IPAPGothic" /f >/dev/null 2>&1
done
for name in "ＭＳ ゴシック" "MS Gothic"; do
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d "IPAGothic" /f >/dev/null 2>&1
done
wineserver -w
cd "$BUILD/bin"
status=0
for percent in 100 125 150; do
    folder="$OUTPUT"
    if [ "$percent" != 100 ]; then folder="$OUTPUT/scale-$percent"; fi
    mkdir -p "$folder"
    scale=$(awk -v p="$percent" 'BEGIN { printf "%.2f", p / 100 }')
    echo "screenshots: $percent %"
    timeout 600 wine tiermark-road.exe -platform windows --scale="$scale" \
        --screenshots "$(wine winepath -w "$folder" | tr -d '\r')" || status=$?
done
wineserver -k >/dev/null 2>&1 || true
exit $status
SCRIPT
echo "screenshots: $(ls "$output"/*.png "$output"/scale-*/*.png | wc -l) pictures in $output"
