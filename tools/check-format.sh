#!/usr/bin/env bash
# Checks that every tracked C++ source is formatted as .clang-format says, with clang-format 14 (Debian 12's):
# another major version formats some constructs differently, so the check is pinned to it.
#
#   tools/check-format.sh          checks, and lists the files that differ (exit 1 when any does)
#   tools/check-format.sh --fix    formats them in place
#
# Exit status 77 (a skip for CTest) when clang-format 14 is not installed (tools/install-deps.sh installs it).
set -euo pipefail
cd "$(dirname "$0")/.."

formatter=""
for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null 2>&1 &&
        "$candidate" --version | grep -qE 'clang-format version 14\.'; then
        formatter=$candidate
        break
    fi
done
if [ -z "$formatter" ]; then
    echo "check-format: clang-format 14 is not installed; skipped"
    exit 77
fi

# The tracked sources where this is a checkout; every source outside the build trees otherwise.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files -- '*.cpp' '*.h')
else
    mapfile -t files < <(find . \( -path './build' -o -path './build-*' -o -path './.*' \) -prune -o \
        -type f \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||' | sort)
fi

if [ "${1:-}" = --fix ]; then
    "$formatter" -i "${files[@]}"
    exit 0
fi

# One run over every file; each line that starts an error names the file that differs.
report=$("$formatter" --dry-run --Werror "${files[@]}" 2>&1) && status=0 || status=$?
mapfile -t differing < <(printf '%s\n' "$report" | grep -oE '^[^:[:space:]]+:[0-9]+:[0-9]+: error:' | cut -d: -f1 |
    sort -u)
if [ "$status" -ne 0 ] || [ ${#differing[@]} -gt 0 ]; then
    if [ ${#differing[@]} -eq 0 ]; then
        printf '%s\n' "$report"
    else
        printf '%s\n' "${differing[@]}"
    fi
    echo "check-format: ${#differing[@]} of ${#files[@]} files differ from .clang-format" \
        "(tools/check-format.sh --fix formats them)"
    exit 1
fi
echo "check-format: all ${#files[@]} files follow .clang-format"
