#!/usr/bin/env bash
# Builds the whole project a second time with clang, AddressSanitizer (LeakSanitizer included) and
# UndefinedBehaviorSanitizer, and runs every test under them. Any report fails the run.
#   bash tools/sanitize.sh [--build-dir DIR] [--jobs N]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

build=${TIERMARK_ASAN_DIR:-build-asan}
jobs=${TIERMARK_JOBS:-$(nproc)}
while [ $# -gt 0 ]; do
    case "$1" in
        --build-dir) build=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        *) echo "sanitize.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done

# halt_on_error and abort_on_error turn every report into a failed test; the suppression files list only
# what lies in system libraries, each with its reason.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:print_stacktrace=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:suppressions=$root/tools/sanitizers/asan.supp"
export LSAN_OPTIONS="print_suppressions=0:suppressions=$root/tools/sanitizers/lsan.supp"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$root/tools/sanitizers/ubsan.supp"

start=$(date +%s)
# -O1 keeps the build and the tests quick while the stack traces stay readable. The warnings are
# GCC's gate (the normal build); here they are shown but do not stop the build.
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
    -DTIERMARK_SANITIZE=address,undefined -DTIERMARK_WERROR=OFF
cmake --build "$build" -j "$jobs"
built=$(date +%s)

export QT_QPA_PLATFORM=offscreen
# The Windows build under Wine is made by mingw, not by this build: running it again checks nothing more.
status=0
ctest --test-dir "$build" --output-on-failure -j "$jobs" -E '_under_wine$' || status=$?
echo "sanitize.sh: build $((built - start)) s, tests $(($(date +%s) - built)) s"
exit $status
