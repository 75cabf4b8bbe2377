#!/usr/bin/env bash
# Builds the benchmarks (RelWithDebInfo, as the program ships) and prints the figures against their targets: the main window's start,
# the builder's start-up on the ten-times database against mdb-export of the same tables, every cascade
# click, a creation run of 100 layers delivered into a stand-in and the numbered-layer form over 5,000
# entries, and the layer check window over 5,000 layers. Then the database layer alone against mdb-export
# (bench_db: open + start-up tables + first cascade, at most 0.2 of mdb-export of the same tables), the raw
# channel (bench_channel), and the layer check of a 5,000-layer drawing with the DXF
# layer table read against dxflib's whole read (bench_layercheck), and a folder of 500 drawings of 200 layers
# checked and translated with one map (bench_translate); --forms-only leaves those out.
#
# --windows also cross-builds the program, the stand-in and the benchmarks for Windows
# (tools/windows/build.sh --bench, into --windows-build DIR, default build-windows-bench), runs process start
# to the main window shown (bench_startup), bench_forms and bench_layercheck on Linux and then under Wine, and
# ends with one table of both platforms' figures side by side (tools/bench-table.py). It is run on demand,
# not by the tests or CI.
#   bash tools/bench.sh [--forms-only | --windows] [--build-dir DIR] [--windows-build DIR] [--jobs N]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${TIERMARK_BENCH_DIR:-build-bench}
windows_build=build-windows-bench
jobs=${TIERMARK_JOBS:-$(nproc)}
all=1
windows=0
while [ $# -gt 0 ]; do
    case "$1" in
        --forms-only) all=0; shift ;;
        --windows) windows=1; shift ;;
        --build-dir) build=$2; shift 2 ;;
        --windows-build) windows_build=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        *) echo "bench.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
# The table of both platforms needs every figure.
if [ "$windows" = 1 ]; then
    all=1
    # Wine takes only an absolute prefix.
    case "$windows_build" in /*) ;; *) windows_build="$(pwd)/$windows_build" ;; esac
fi

# The build type of the shipped program; only the benchmark targets are built.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIERMARK_BUILD_BENCH=ON >/dev/null
targets=(bench_forms)
if [ "$all" = 1 ]; then targets+=(bench_db bench_channel bench_layercheck bench_translate bench_startup); fi
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
if [ "$windows" = 1 ]; then
    CMAKE_BUILD_PARALLEL_LEVEL=$jobs bash tools/windows/build.sh --build "$windows_build" --bench
fi

export QT_QPA_PLATFORM=offscreen
status=0
figures="$build/figures"
mkdir -p "$figures"
report="$build/bench-forms.txt"
"$build/bench/forms/bench_forms" --benchmark_counters_tabular=true "--figures=$figures/forms.tsv" | tee "$report" ||
    status=$?
if [ "$all" = 1 ]; then
    echo
    "$build/bench/startup/bench_startup" "--figures=$figures/startup.tsv" || status=$?
    echo
    "$build/bench/db/bench_db" || status=$?
    echo
    "$build/bench/channel/bench_channel" --texts 10000 || status=$?
    echo
    "$build/bench/layercheck/bench_layercheck" "--figures=$figures/layercheck.tsv" || status=$?
    echo
    "$build/bench/translate/bench_translate" "--figures=$figures/translate.tsv" || status=$?
    # The figures against the targets once more, last.
    sed -n '/^figure (ms)/,$p' "$report"
fi
if [ "$windows" = 1 ]; then
    # The same benchmarks under Wine, in the Windows build's own prefix (Japanese locale, null graphics
    # driver, the IPA fonts for the Windows fonts: tools/windows/wine-run.sh). Their verdicts are Wine's and
    # do not count; a benchmark that cannot run at all does.
    win_figures="$windows_build/figures"
    mkdir -p "$win_figures"
    wine_run=(timeout 1800 bash tools/windows/wine-run.sh "$windows_build/wineprefix")
    for b in startup forms layercheck; do
        echo
        echo "bench_$b under Wine:"
        wine_status=0
        "${wine_run[@]}" "$windows_build/bin/bench_$b.exe" "--figures=$win_figures/$b.tsv" 2>&1 | tr -d '\r' ||
            wine_status=$?
        if [ ! -s "$win_figures/$b.tsv" ]; then
            echo "bench.sh: bench_$b did not run under Wine (exit $wine_status)" >&2
            status=2
        fi
    done
    WINEPREFIX="$windows_build/wineprefix" wineserver -k >/dev/null 2>&1 || true
    echo
    python3 tools/bench-table.py --linux "$figures"/{startup,forms,layercheck}.tsv \
        --wine "$win_figures"/{startup,forms,layercheck}.tsv || status=$?
fi
exit $status
