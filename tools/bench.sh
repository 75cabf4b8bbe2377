#!/usr/bin/env bash
# Builds the benchmarks (RelWithDebInfo, as the program ships) and prints the figures against their targets: the main window's start,
# the builder's start-up on the ten-times database against mdb-export of the same tables, every cascade
# click, a creation run of 100 layers delivered into a stand-in and the numbered-layer form over 5,000
# entries, and the layer check window over 5,000 layers. Then the database layer alone against mdb-export
# (bench_db: open + start-up tables + first cascade, at most 0.2 of mdb-export of the same tables), the raw
# channel (bench_channel), and the layer check of a 5,000-layer drawing with the DXF
# layer table read against dxflib's whole read (bench_layercheck); --forms-only leaves those three out.
#   bash tools/bench.sh [--forms-only] [--build-dir DIR] [--jobs N]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TIERMARK_BENCH_DIR:-build-bench}
jobs=${TIERMARK_JOBS:-$(nproc)}
all=1
while [ $# -gt 0 ]; do
    case "$1" in
        --forms-only) all=0; shift ;;
        --build-dir) build=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        *) echo "bench.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

# The build type of the shipped program; only the benchmark targets are built.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIERMARK_BUILD_BENCH=ON >/dev/null
targets=(bench_forms)
if [ "$all" = 1 ]; then targets+=(bench_db bench_channel bench_layercheck); fi
cmake --build "$build" -j "$jobs" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
status=0
report="$build/bench-forms.txt"
"$build/bench/forms/bench_forms" --benchmark_counters_tabular=true | tee "$report" || status=$?
if [ "$all" = 1 ]; then
    echo
    "$build/bench/db/bench_db" || status=$?
    echo
    "$build/bench/channel/bench_channel" --texts 10000 || status=$?
    echo
    "$build/bench/layercheck/bench_layercheck" || status=$?
    # The figures against the targets once more, last.
    sed -n '/^figure (ms)/,$p' "$report"
fi
exit $status
