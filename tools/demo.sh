#!/usr/bin/env bash
# The program's main job, from a fresh checkout: installs what is missing, builds, starts a CAD stand-in
# with its sample drawing and Tiermark with the bundled sample database registered in a private settings
# location (your own registration is left alone).
#  - On a desktop both windows open and you carry on by hand.
#  - Without a display the typical road runs by itself, offscreen: it prints the layers the drawing now holds
#    and the objects it moved, saves a picture of every window, and exits 0 only if the drawing is right.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${TIERMARK_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tiermark acadlt acadltctl tiermark-road sample_mdb
database="$(pwd)/$build/data/Tiermark.MDB"

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    shots="$(pwd)/screenshots"
    echo "No display: the typical road runs by itself, offscreen. Pictures go to $shots"
    exec env QT_QPA_PLATFORM=offscreen "$build/tools/road/tiermark-road" \
        --acadlt "$build/cadsim/app/acadlt" --database "$database" --screenshots "$shots"
fi

private=$(mktemp -d)
trap 'kill "${standin:-0}" 2>/dev/null || true; rm -rf "$private"' EXIT
mkdir -p "$private/VB and VBA Program Settings"
printf '[DBSET]\nDBFOLDER=%s\n\n[Life]\nDefAction=設計\n' "$database" \
    > "$private/VB and VBA Program Settings/Tiermark.conf"
"$build/cadsim/app/acadlt" --title Drawing1.dwg &
standin=$!
sleep 1
XDG_CONFIG_HOME="$private" "$build/app/tiermark"
