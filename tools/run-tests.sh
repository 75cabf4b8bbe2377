#!/usr/bin/env bash
# Builds everything and runs every test: the unit and widget tests (headless), the end-to-end runs against
# the CAD stand-in, and the checks that need Wine or sanitizers where those stages are switched on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

build=${TIERMARK_BUILD_DIR:-build}
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIERMARK_WERROR=$werror
cmake --build "$build"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# --- hardening: the sanitizer suite and the bounded fuzz runs (tools/sanitize.sh, tools/fuzz.sh) ---
# A second, clang build runs every test under AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer;
# then each libFuzzer target runs a fixed number of inputs from a fixed seed (about 45 s each), or for
# TIERMARK_FUZZ_SECONDS when that is set. TIERMARK_HARDENING=0 skips both.
if [ "${TIERMARK_HARDENING:-1}" != 0 ]; then
    bash tools/sanitize.sh
    if [ -n "${TIERMARK_FUZZ_SECONDS:-}" ]; then
        bash tools/fuzz.sh --seconds "$TIERMARK_FUZZ_SECONDS"
    else
        bash tools/fuzz.sh --ci
    fi
fi
# --- end of hardening ---
