#!/usr/bin/env bash
# Builds Tiermark's Windows installer: tools/windows/build.sh (dependencies, cached; the cross-build), the
# installed program folder, and from it a per-user MSI made with wixl; msibuild (msitools) then gives the
# package the Japanese code page (932) and writes its Japanese texts, which wixl cannot take.
#
#   bash tools/windows/package.sh [--build DIR] [--no-build]
#
# Writes <build>/Tiermark-<version>-x64.msi (default build folder: build-windows in the repository) and
# prints its path and size. --no-build packages what the build folder holds.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build="$repo/build-windows"
run_build=1
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --build=*) build=${1#*=}; shift ;;
        --no-build) run_build=0; shift ;;
        *) echo "usage: tools/windows/package.sh [--build DIR] [--no-build]" >&2; exit 2 ;;
    esac
done
mkdir -p "$build"
build=$(cd "$build" && pwd)

for tool in wixl msibuild python3; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "package: $tool is not installed (bash tools/install-deps.sh installs it)" >&2
        exit 1
    fi
done
if [ $run_build = 1 ]; then
    bash "$repo/tools/windows/build.sh" --build "$build"
fi

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
package="$build/package"
stage="$package/Tiermark"
rm -rf "$package"
mkdir -p "$package"
cmake --install "$build" --prefix "$stage" --strip >"$package/install.log"
msi="$build/Tiermark-$version-x64.msi"
python3 "$repo/tools/windows/make-wxs.py" --source "$stage" --version "$version" --icon "$build/icons/tiermark.ico" \
    --output "$package/tiermark.wxs" --queries "$package/japanese-texts.sql"
rm -f "$msi"
# wixl takes the files relative to the folder it runs in; -a x64 marks the package as one of 64-bit programs.
(cd "$stage" && wixl -a x64 -o "$msi" "$package/tiermark.wxs")
# The database's code page: an IDT file of the table _ForceCodepage (two empty lines, then the code page).
printf '\r\n\r\n932\t_ForceCodepage\r\n' >"$package/_ForceCodepage.idt"
msibuild "$msi" -i "$package/_ForceCodepage.idt"
queries=()
while IFS= read -r query; do
    queries+=(-q "$query")
done <"$package/japanese-texts.sql"
msibuild "$msi" "${queries[@]}"
echo "package: $msi ($(du -k "$msi" | cut -f1) KiB; program folder $(du -sk "$stage" | cut -f1) KiB)"
