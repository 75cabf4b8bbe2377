#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, with AddressSanitizer and UndefinedBehaviorSanitizer) and runs each
# for a bounded time, starting from its seed corpus in fuzz/<target>/corpus and the kept regression inputs.
# Fails when any target finds a crash, a leak, undefined behaviour, a broken property or a hang; the input
# that found it is left in build-fuzz/artifacts/<target>/.
#   bash tools/fuzz.sh                    each target for 60 s
#   bash tools/fuzz.sh --seconds 45       each target for 45 s (CI)
#   bash tools/fuzz.sh --minutes 10       the longer run on demand
#   bash tools/fuzz.sh --only filter,dxf  some targets only
#   bash tools/fuzz.sh --ci               CI: a fixed seed and a fixed number of runs per target (about 45 s
#                                         each here), so that a run gives the same verdict every time
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=60
ci=0
only=""
build=${TIERMARK_FUZZ_DIR:-build-fuzz}
jobs=${TIERMARK_JOBS:-$(nproc)}
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds=$2; shift 2 ;;
        --minutes) seconds=$(($2 * 60)); shift 2 ;;
        --only) only=$2; shift 2 ;;
        --ci) ci=1; shift ;;
        --build-dir) build=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        *) echo "fuzz.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

case "$build" in /*) ;; *) build="$root/$build" ;; esac

# folder under fuzz/ : executable
targets=(filter:fuzz_filter interpreter:fuzz_interpreter payload:fuzz_payload codepage:fuzz_codepage
         dxf:fuzz_dxf db:fuzz_db_open commands:fuzz_commands layertable:fuzz_layer_table
         translatedcopy:fuzz_translated_copy)
# Runs per target in CI: about 45 s each at the rates measured on a loaded two-core machine.
declare -A ci_runs=([filter]=600000 [interpreter]=120000 [payload]=2500000 [codepage]=500000 [dxf]=100000
                    [db]=70000 [commands]=40000 [layertable]=200000 [translatedcopy]=100000)

start=$(date +%s)
# Every library is built with the fuzzer's coverage (fuzzer-no-link); only the targets link libFuzzer.
# Qt, the forms and the tests are left out: no target needs them.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link" \
    -DTIERMARK_SANITIZE=address,undefined -DTIERMARK_BUILD_FUZZ=ON -DTIERMARK_BUILD_TESTS=OFF \
    -DTIERMARK_WITH_QT=OFF -DTIERMARK_SKIP="tests;app;settings;tools;data;bench;packaging" \
    >/dev/null
names=()
for t in "${targets[@]}"; do
    folder=${t%%:*}
    if [ -z "$only" ] || [[ ",$only," == *",$folder,"* ]]; then names+=("${t#*:}"); fi
done
cmake --build "$build" -j "$jobs" --target "${names[@]}"
echo "fuzz.sh: build $(($(date +%s) - start)) s"

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
summary=()
for t in "${targets[@]}"; do
    folder=${t%%:*}
    exe=${t#*:}
    if [ -n "$only" ] && [[ ",$only," != *",$folder,"* ]]; then continue; fi
    work="$build/corpus/$folder"
    artifacts="$build/artifacts/$folder"
    log="$build/logs/$folder.log"
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    # New inputs go to the work corpus (the first folder); the seeds and kept regressions are read only.
    seeds=("$root/fuzz/$folder/corpus")
    for extra in "$root/fuzz/$folder/regressions" "$root/tests/regressions/$folder"; do
        if [ -d "$extra" ]; then seeds+=("$extra"); fi
    done
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="$artifacts/")
    if [ $ci = 1 ]; then
        # The same inputs in the same order every time; the time bound only guards against a slow machine.
        rm -rf "$work" && mkdir -p "$work"
        options=(-runs="${ci_runs[$folder]}" -seed=1 -max_total_time=150 -timeout=10 -rss_limit_mb=2048
                 -print_final_stats=1 -artifact_prefix="$artifacts/")
    fi
    if [ -f "$root/fuzz/$folder/$folder.dict" ]; then options+=(-dict="$root/fuzz/$folder/$folder.dict"); fi
    if [ $ci = 1 ]; then echo "fuzz.sh: $exe for ${ci_runs[$folder]} runs"; else echo "fuzz.sh: $exe for $seconds s"; fi
    status=0
    "$build/fuzz/$folder/$exe" "${options[@]}" "$work" "${seeds[@]}" >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    if [ "$status" -ne 0 ]; then
        failed+=("$folder")
        summary+=("$(printf '%-12s FOUND A FAULT after %s runs (see %s)' "$folder" "${runs:-?}" "$log")")
        tail -60 "$log"
    else
        summary+=("$(printf '%-12s %12s runs, no finding' "$folder" "${runs:-?}")")
    fi
done
printf '%s\n' "${summary[@]}"
echo "fuzz.sh: $(($(date +%s) - start)) s in all"
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz.sh: findings in ${failed[*]}" >&2
    exit 1
fi
