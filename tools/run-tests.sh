#!/usr/bin/env bash
# Builds everything and runs every test: the unit and widget tests (headless), the end-to-end runs against
# the CAD stand-in, and the checks that need Wine or sanitizers where those stages are switched on.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh

# The Windows stage at the end needs its dependencies (Qt for Windows takes the better part of an hour when
# nothing is cached): they are built from here on at the lowest priority, in the time the Linux stages
# leave the processors idle, and the Windows stage waits for them. Their log: build-windows/deps.log.
deps_pid=""
if [ "${TIERMARK_WITH_WINE:-1}" != 0 ] && command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1; then
    mkdir -p build-windows
    # A session of its own, so that the whole build (compilers included) ends with this script.
    setsid nice -n 19 bash tools/windows/build-deps.sh >build-windows/deps.log 2>&1 &
    deps_pid=$!
    trap '[ -z "$deps_pid" ] || kill -- "-$deps_pid" 2>/dev/null || true' EXIT
fi

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

# --- Windows: the cross-build, the installer, and the suites, the road and the faults under Wine ---
# (tools/windows/stage.sh; its dependencies are built once and cached outside the repository).
# TIERMARK_WITH_WINE=0 switches it off.
if [ -n "$deps_pid" ]; then
    wait "$deps_pid" || echo "run-tests: the Windows dependencies did not build in the background (build-windows/deps.log); the Windows stage builds them again"
    deps_pid=""
fi
TIERMARK_BUILD_DIR="$build" bash tools/windows/stage.sh
