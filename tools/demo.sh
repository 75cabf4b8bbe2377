#!/usr/bin/env bash
# The program's main job, from a fresh checkout: installs what is missing, builds, and starts Tiermark.
# Without a display it runs offscreen, says so, and exits after its window has been shown.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
build=${TIERMARK_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target tiermark
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: Tiermark runs offscreen and exits once its main window has been shown."
    QT_QPA_PLATFORM=offscreen TIERMARK_EXIT_AFTER_SHOW=1 "$build/app/tiermark"
else
    "$build/app/tiermark"
fi
