#!/usr/bin/env bash
# The Win32 link under Wine: cross-builds the Windows pieces (the Win32 window system, the acadlt.exe
# stand-in and the test driver) with mingw-w64 in a build tree of their own, then runs the driver headless
# under Wine in a fresh prefix.
#
#   tools/wine-tests.sh [--build DIR]     (default DIR: build-mingw in the repository)
#
# Exit status: 0 passed, 1 failed, 77 skipped (Wine or mingw-w64 not installed; CTest reports a skip).
# CMAKE_BUILD_PARALLEL_LEVEL sets the build's jobs (default 2).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build-mingw"
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --build=*) build=${1#*=}; shift ;;
        *) echo "usage: tools/wine-tests.sh [--build DIR]" >&2; exit 2 ;;
    esac
done
mkdir -p "$build"
build=$(cd "$build" && pwd)

for tool in wine wineboot wineserver x86_64-w64-mingw32-g++ cmake ninja; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "wine-tests: $tool is not installed; skipped (TIERMARK_WITH_WINE=1 tools/install-deps.sh installs it)"
        exit 77
    fi
done
# Wine takes its ANSI code page from the Unix locale alone; a locale that is not generated silently gives
# code page 1252, and every Japanese title would read back as "?".
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    echo "wine-tests: the ja_JP.UTF-8 locale is not generated (locale-gen); the Win32 tests need code page 932" >&2
    exit 1
fi

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.1f", b - a }'; }
stage_start=$(seconds)

# The cross-build: no Qt, no GoogleTest, and none of the folders that need host libraries.
t=$(seconds)
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DTIERMARK_WITH_QT=OFF -DTIERMARK_BUILD_TESTS=OFF -DTIERMARK_WERROR=ON \
    "-DTIERMARK_SKIP=stddb;settings;tools;data;bench;fuzz;packaging" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
cmake --build "$build" --target acadlt tiermark_win32_tests -j "${CMAKE_BUILD_PARALLEL_LEVEL:-2}"
echo "wine-tests: cross-build $(elapsed "$t") s"

# Headless Wine in a prefix of its own: the null graphics driver needs no X server; every process of the
# run shares this prefix's wineserver, so Toolhelp sees the stand-ins the driver starts.
unset DISPLAY WAYLAND_DISPLAY
export LC_ALL=ja_JP.UTF-8
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

t=$(seconds)
rm -rf "$WINEPREFIX"
wineboot -i >"$build/wineboot.log" 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$build/wineboot.log" 2>&1
wineserver -w
echo "wine-tests: fresh prefix $(elapsed "$t") s"

t=$(seconds)
run="$build/wine-run"
rm -rf "$run"
mkdir -p "$run"
status=0
(cd "$run" && timeout 600 wine "$build/win32-bin/tiermark_win32_tests.exe") || status=$?
echo "wine-tests: driver $(elapsed "$t") s (exit $status); logs and states in $run"
echo "wine-tests: whole stage $(elapsed "$stage_start") s"
[ "$status" -eq 0 ] || exit 1
