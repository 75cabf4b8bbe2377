#!/usr/bin/env bash
# Cross-builds Tiermark for Windows with Debian's mingw-w64: first the dependencies (tools/windows/build-deps.sh,
# built once and cached outside the repository), then from the one CMake tree the program, the CAD stand-in,
# acadltctl, the road and the test suites. Every program lands in <build>/bin beside the DLLs and Qt plug-ins
# it needs, so that it runs from there under Wine.
#
#   tools/windows/build.sh [--build DIR] [--bench]      (default DIR: build-windows in the repository)
#
# --bench builds the benchmarks instead of the suites (Google Benchmark joins the dependencies): the program,
# the stand-in, bench_forms, bench_layercheck and bench_startup, and the ten-times database they read
# (tools/bench.sh --windows runs them; a build folder of its own, e.g. build-windows-bench).
#
# The sample database is written at build time by the Windows tiermark-mdbwrite.exe under Wine (CMake's
# cross-compiling emulator, tools/windows/wine-run.sh, in the prefix <build>/wineprefix). The compiler runs
# through ccache, whose cache is ${XDG_CACHE_HOME:-$HOME/.cache}/tiermark/ccache-windows.
# CI=true turns warnings into errors. CMAKE_BUILD_PARALLEL_LEVEL sets the jobs (default 2).
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build="$repo/build-windows"
bench=0
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --build=*) build=${1#*=}; shift ;;
        --bench) bench=1; shift ;;
        *) echo "usage: tools/windows/build.sh [--build DIR] [--bench]" >&2; exit 2 ;;
    esac
done
mkdir -p "$build"
build=$(cd "$build" && pwd)

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.0f", b - a }'; }

t=$(seconds)
if [ $bench = 1 ]; then
    bash "$repo/tools/windows/build-deps.sh" --env "$build/deps.env" qt mdb dxflib benchmark
else
    bash "$repo/tools/windows/build-deps.sh" --env "$build/deps.env"
fi
# shellcheck source=/dev/null
. "$build/deps.env"
if [ $bench = 1 ]; then
    deps="$TIERMARK_WIN_MDB;$TIERMARK_WIN_DXFLIB;$TIERMARK_WIN_BENCHMARK"
    parts=(-DTIERMARK_BUILD_BENCH=ON -DTIERMARK_BUILD_TESTS=OFF "-DTIERMARK_SKIP=fuzz")
else
    deps="$TIERMARK_WIN_MDB;$TIERMARK_WIN_DXFLIB;$TIERMARK_WIN_GTEST"
    parts=("-DTIERMARK_SKIP=bench;fuzz")
fi
echo "windows build: dependencies ready in $(elapsed "$t") s"

export CCACHE_DIR=${TIERMARK_WIN_CCACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tiermark/ccache-windows}
export CCACHE_MAXSIZE=${CCACHE_MAXSIZE:-2G}
# Sources are named relative to the tree, and the build folder is left out of the key (it only goes into the
# debug information), so that the cache serves every clone of the repository wherever it lies.
export CCACHE_BASEDIR=$repo
export CCACHE_NOHASHDIR=1
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi

t=$(seconds)
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$TIERMARK_WIN_QT/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DTIERMARK_WINDOWS_DEPS="$deps" \
    -DTIERMARK_MINGW_RUNTIME=shared \
    -DCMAKE_CROSSCOMPILING_EMULATOR="bash;$repo/tools/windows/wine-run.sh;$build/wineprefix" \
    -DTIERMARK_WERROR=$werror "${parts[@]}" >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log"; exit 1; }
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
if [ $bench = 1 ]; then
    # The DLLs first: the ten-times database is written by tiermark-mdbwrite.exe under Wine.
    cmake --build "$build" --parallel "$jobs" --target windows_runtime
    cmake --build "$build" --parallel "$jobs" --target tiermark acadlt bench_forms bench_layercheck bench_startup
    echo "windows build: program, stand-in and benchmarks built in $(elapsed "$t") s ($build/bin)"
    exit 0
fi
cmake --build "$build" --parallel "$jobs"
echo "windows build: program, stand-in and test suites built in $(elapsed "$t") s ($build/bin)"
