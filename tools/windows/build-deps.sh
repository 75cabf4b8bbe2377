#!/usr/bin/env bash
# Builds Tiermark's Windows dependencies from Debian's own source packages, for x86_64-w64-mingw32 with
# Debian's mingw-w64 (posix thread model), into a cache outside the repository:
#
#   qt      Qt 6.4.2 base (Core, Gui, Widgets; the windows and offscreen platform plug-ins, the styles)
#   mdb     libmdb from mdbtools, without GLib, with Win32 UTF-16 -> UTF-8 conversion (patches/)
#   dxflib  dxflib, so the stand-in reads and writes DXF on Windows too
#   gtest   GoogleTest and GoogleMock, so the test suites cross-build
#   benchmark  Google Benchmark, so the benchmarks cross-build (tools/bench.sh --windows asks for it; it is
#              not among the default components, which the Windows stage of the tests builds)
#
#   tools/windows/build-deps.sh [--env FILE] [--dry-run] [component...]     (default: the first four)
#
# Each component is installed into <cache>/<name>-<version>-<key>, where the key hashes the version, the
# source files' checksums, the patches, the toolchain and the configure options; a prefix that holds a
# .complete stamp is reused as it is. Downloads are kept in <cache>/downloads, build trees are removed once
# their prefix is installed.
#
# The cache folder is ${TIERMARK_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tiermark/windows}.
# --env FILE writes the prefixes as shell assignments (TIERMARK_WIN_QT=... and so on) for the build scripts.
# --dry-run only says which prefix each component has and whether it is cached.
# Jobs: CMAKE_BUILD_PARALLEL_LEVEL (default 2).
#
# Sources come from deb.debian.org through an apt configuration of the script's own (a temporary source
# list and state folder); the machine's apt sources are not touched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cache=${TIERMARK_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/tiermark/windows}
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-2}
env_out=""
dry_run=0
components=()
while [ $# -gt 0 ]; do
    case "$1" in
        --env) env_out=$2; shift 2 ;;
        --env=*) env_out=${1#*=}; shift ;;
        --dry-run) dry_run=1; shift ;;
        qt | mdb | dxflib | gtest | benchmark) components+=("$1"); shift ;;
        -h | --help) awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"; exit 0 ;;
        *) echo "usage: tools/windows/build-deps.sh [--env FILE] [--dry-run] [qt|mdb|dxflib|gtest|benchmark ...]" >&2; exit 2 ;;
    esac
done
[ ${#components[@]} -gt 0 ] || components=(qt mdb dxflib gtest)

triplet=x86_64-w64-mingw32
mirror=${TIERMARK_DEBIAN_MIRROR:-http://deb.debian.org/debian}
mkdir -p "$cache/downloads" "$cache/build"

for tool in $triplet-gcc-posix $triplet-g++-posix $triplet-windres cmake ninja apt-get dpkg-source flock; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "build-deps: $tool is not installed (bash tools/install-deps.sh installs it)" >&2
        exit 1
    fi
done

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.0f", b - a }'; }
log() { echo "build-deps: $*"; }
hash_of() { sha256sum | cut -c1-16; }

# The CMake toolchain the dependencies are built with. Qt records its path in its installed
# qt.toolchain.cmake, so it lives in the cache beside the prefixes and its text is part of every key.
toolchain_text() {
    cat <<'CMAKE'
# Debian's mingw-w64 with the posix thread model (the full <thread>/<mutex> of the standard library).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
CMAKE
}
toolchain_key=$(toolchain_text | hash_of)
toolchain="$cache/toolchain-$toolchain_key.cmake"
[ -f "$toolchain" ] || toolchain_text >"$toolchain"
compiler_version=$($triplet-g++-posix -dumpfullversion)

# Downloads one source package (its .dsc and tarballs) from the given suite into <cache>/downloads/<pkg>_<ver>.
# apt checks every file it keeps against the suite's signed Sources index. Some files of the archive's pool
# may be missing (mdbtools' .dsc in trixie): what must be there is the upstream tarball.
fetch_source() {
    local pkg=$1 version=$2 suite=$3
    local dest="$cache/downloads/${pkg}_$version"
    if [ -f "$dest/.complete" ]; then
        echo "$dest"
        return
    fi
    local tmp
    tmp=$(mktemp -d)
    mkdir -p "$tmp/lists/partial" "$tmp/archives/partial" "$dest"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" >"$tmp/sources.list"
    local opts=(-o "Dir::Etc::SourceList=$tmp/sources.list" -o Dir::Etc::SourceParts=/dev/null
        -o "Dir::State::Lists=$tmp/lists" -o "Dir::Cache=$tmp" -o "Dir::Cache::archives=$tmp/archives"
        -o APT::Sandbox::User=root -o Debug::NoLocking=1)
    log "fetching $pkg $version from $suite" >&2
    apt-get "${opts[@]}" -qq update >&2
    (cd "$dest" && apt-get "${opts[@]}" -qq source --download-only "$pkg=$version" >&2) ||
        log "$pkg: not every file of the source package could be fetched" >&2
    rm -rf "$tmp"
    if ! ls "$dest"/*.orig.tar.* >/dev/null 2>&1; then
        echo "build-deps: the source of $pkg $version could not be fetched from $mirror ($suite)" >&2
        exit 1
    fi
    touch "$dest/.complete"
    echo "$dest"
}

# Unpacks a fetched source package into a fresh folder, with Debian's patches applied (by dpkg-source when
# the .dsc is there, else by hand from debian/patches/series).
unpack_source() {
    local downloads=$1 into=$2
    rm -rf "$into"
    if ls "$downloads"/*.dsc >/dev/null 2>&1; then
        dpkg-source --no-check -x "$downloads"/*.dsc "$into" >/dev/null 2>&1
        # dpkg-source leaves links to the tarballs beside the unpacked folder.
        local f
        for f in "$downloads"/*.tar.*; do rm -f "$(dirname "$into")/$(basename "$f")"; done
        return
    fi
    mkdir -p "$into"
    tar -xf "$downloads"/*.orig.tar.* -C "$into" --strip-components=1
    if ls "$downloads"/*.debian.tar.* >/dev/null 2>&1; then
        tar -xf "$downloads"/*.debian.tar.* -C "$into"
        if [ -f "$into/debian/patches/series" ]; then
            local p
            grep -v '^#' "$into/debian/patches/series" | while read -r p _; do
                [ -z "$p" ] || patch -d "$into" -p1 -s <"$into/debian/patches/$p"
            done
        fi
    fi
}

# The checksums of a fetched package's files: part of the component's key.
source_sums() { (cd "$1" && shopt -s nullglob && sha256sum -- *.dsc *.tar.* | sort); }

# The checksums of the repository's own files for a component (patches, build files): part of its key.
own_sums() {
    local dir
    for dir in "$@"; do
        if [ -d "$here/$dir" ]; then (cd "$here/$dir" && find . -type f -print0 | sort -z | xargs -0 sha256sum); fi
    done
}

# Builds and installs a small CMake project over unpacked sources.
cmake_component() {
    local name=$1 project=$2 src=$3 build=$4 prefix=$5
    shift 5
    cmake -S "$project" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DSOURCE_DIR="$src" "$@" >"$build.configure.log" 2>&1 ||
        { tail -40 "$build.configure.log"; exit 1; }
    cmake --build "$build" --parallel "$jobs" >"$build.build.log" 2>&1 || { tail -40 "$build.build.log"; exit 1; }
    cmake --install "$build" >"$build.install.log" 2>&1 || { tail -40 "$build.install.log"; exit 1; }
    rm -f "$build".*.log
}

# Applies the repository's patches of a component (tools/windows/patches/<name>/*.patch, in name order).
apply_patches() {
    local p
    for p in "$here/patches/$1"/*.patch; do
        [ -f "$p" ] && patch -d "$2" -p1 -s <"$p"
    done
    return 0
}

# Starts a component: computes its key and prefix; returns 1 (and says so) when the prefix is cached.
begin_component() {
    local name=$1 label=$2 key=$3
    prefix="$cache/$label-$key"
    if [ -f "$prefix/.complete" ]; then
        log "$name: cached in $prefix ($(du -sh "$prefix" | cut -f1))"
        return 1
    fi
    if [ $dry_run = 1 ]; then
        log "$name: not cached; would be built into $prefix"
        return 1
    fi
    rm -rf "$prefix"
    component_start=$(seconds)
    return 0
}

finish_component() {
    local name=$1 what=$2
    echo "$what" >"$prefix/.complete"
    log "$name: built in $(elapsed "$component_start") s, $(du -sh "$prefix" | cut -f1) in $prefix"
}

# ---------------------------------------------------------------------------------------------------------
# Qt 6.4.2 base
qt_version=6.4.2+dfsg-10
# What the program does not use is left out: OpenGL, D-Bus, ICU (Windows' own collation serves), SQL,
# network, XML, printing, Direct2D (patches/qt) and Vulkan, tests and examples. The tablet event feature
# needs the wintab headers that Debian's +dfsg tarball removed. Host tools (moc, rcc, uic) come from Debian's
# own Qt 6.4.2.
qt_options=(
    -release -shared -nomake tests -nomake examples
    -no-opengl -no-dbus -no-icu -no-pkg-config
    -no-feature-network -no-feature-sql -no-feature-xml -no-feature-testlib -no-feature-printsupport
    -no-feature-concurrent -no-feature-tabletevent -no-feature-direct2d -no-feature-vulkan
    -no-libjpeg -no-gif -qt-zlib -qt-libpng -qt-pcre -qt-freetype -qt-harfbuzz
)

build_qt() {
    local downloads key src build
    downloads=$(fetch_source qt6-base "$qt_version" bookworm)
    key=$( {
        echo "$qt_version" "${qt_options[*]}" "$compiler_version" "$toolchain_key"
        source_sums "$downloads"
        own_sums patches/qt
    } | hash_of)
    begin_component qt qt-6.4.2 "$key" || { TIERMARK_WIN_QT=$prefix; return; }
    TIERMARK_WIN_QT=$prefix
    src="$cache/build/qt-$key-src"
    build="$cache/build/qt-$key"
    unpack_source "$downloads" "$src"
    apply_patches qt "$src"
    rm -rf "$build"
    mkdir -p "$build"
    log "qt: configuring"
    (cd "$build" && "$src/configure" -prefix "$prefix" -qt-host-path /usr -xplatform win32-g++ \
        -device-option CROSS_COMPILE=$triplet- "${qt_options[@]}" -- -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake) >"$build/configure.log" 2>&1 ||
        { tail -50 "$build/configure.log"; exit 1; }
    log "qt: building ($(ninja -C "$build" -t commands 2>/dev/null | wc -l) steps, $jobs jobs)"
    cmake --build "$build" --parallel "$jobs" >"$build/build.log" 2>&1 ||
        { tail -50 "$build/build.log"; exit 1; }
    cmake --install "$build" >"$build/install.log" 2>&1 || { tail -50 "$build/install.log"; exit 1; }
    rm -rf "$build" "$src"
    finish_component qt "qt6-base $qt_version ${qt_options[*]}"
}

# ---------------------------------------------------------------------------------------------------------
# libmdb from mdbtools 1.0.1 (trixie's source: bookworm's 1.0.0 tarballs are no longer in the pool; 1.0.1
# keeps the libmdb 1.0 API). Built without GLib (its own small stand-in for it) and without iconv, which
# mingw-w64 does not have; patches/mdb makes its text conversion use the Win32 conversion functions.
mdb_version=1.0.1-0.1

build_mdb() {
    local downloads key src build
    downloads=$(fetch_source mdbtools "$mdb_version" trixie)
    key=$( {
        echo "$mdb_version" "$compiler_version" "$toolchain_key"
        source_sums "$downloads"
        own_sums patches/mdb deps/libmdb
    } | hash_of)
    begin_component mdb libmdb-1.0.1 "$key" || { TIERMARK_WIN_MDB=$prefix; return; }
    TIERMARK_WIN_MDB=$prefix
    src="$cache/build/mdb-$key-src"
    build="$cache/build/mdb-$key"
    unpack_source "$downloads" "$src"
    apply_patches mdb "$src"
    rm -rf "$build"
    cmake_component mdb "$here/deps/libmdb" "$src" "$build" "$prefix" -DMDB_VERSION=1.0.1
    rm -rf "$build" "$src"
    finish_component mdb "mdbtools $mdb_version"
}

# ---------------------------------------------------------------------------------------------------------
# dxflib 3.26.4, the version of Debian 12's libdxflib-dev, as a static library.
dxflib_version=3.26.4-1

build_dxflib() {
    local downloads key src build
    downloads=$(fetch_source dxflib "$dxflib_version" bookworm)
    key=$( {
        echo "$dxflib_version" "$compiler_version" "$toolchain_key"
        source_sums "$downloads"
        own_sums deps/dxflib
    } | hash_of)
    begin_component dxflib dxflib-3.26.4 "$key" || { TIERMARK_WIN_DXFLIB=$prefix; return; }
    TIERMARK_WIN_DXFLIB=$prefix
    src="$cache/build/dxflib-$key-src"
    build="$cache/build/dxflib-$key"
    unpack_source "$downloads" "$src"
    rm -rf "$build"
    cmake_component dxflib "$here/deps/dxflib" "$src" "$build" "$prefix"
    rm -rf "$build" "$src"
    finish_component dxflib "dxflib $dxflib_version"
}

# ---------------------------------------------------------------------------------------------------------
# GoogleTest and GoogleMock 1.12.1, the version of Debian 12's googletest, as static libraries.
gtest_version=1.12.1-0.2
gtest_options=(-DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON -DBUILD_SHARED_LIBS=OFF)

# A CMake package from Debian's source, built into the cache and installed there:
#   build_cmake_package <component> <source package> <version> <prefix name> <label> [cmake options...]
# The key hashes the version, the options, the compiler, the toolchain and the source's checksums; on return
# $prefix is the package's prefix, cached or just built.
build_cmake_package() {
    local name=$1 package=$2 version=$3 dirname=$4 label=$5
    shift 5
    local downloads key src build
    downloads=$(fetch_source "$package" "$version" bookworm)
    key=$( {
        echo "$version" "$*" "$compiler_version" "$toolchain_key"
        source_sums "$downloads"
    } | hash_of)
    begin_component "$name" "$dirname" "$key" || return 0
    src="$cache/build/$name-$key-src"
    build="$cache/build/$name-$key"
    unpack_source "$downloads" "$src"
    rm -rf "$build"
    cmake_component "$name" "$src" "$src" "$build" "$prefix" "$@"
    rm -rf "$build" "$src"
    finish_component "$name" "$label $version $*"
}

build_gtest() {
    build_cmake_package gtest googletest "$gtest_version" googletest-1.12.1 googletest "${gtest_options[@]}"
    TIERMARK_WIN_GTEST=$prefix
}

# ---------------------------------------------------------------------------------------------------------
# Google Benchmark 1.7.1, the version of Debian 12's libbenchmark-dev, as a static library (its CMake package
# gives users BENCHMARK_STATIC_DEFINE). Its own tests and -Werror are left out. Debian's patches take the
# version out of git, so it is given here (as Debian's own build does).
benchmark_version=1.7.1-1
benchmark_options=(-DGIT_VERSION=1.7.1 -DBENCHMARK_ENABLE_TESTING=OFF -DBENCHMARK_ENABLE_GTEST_TESTS=OFF -DBENCHMARK_ENABLE_WERROR=OFF
    -DBENCHMARK_ENABLE_INSTALL=ON -DBENCHMARK_INSTALL_DOCS=OFF -DBENCHMARK_ENABLE_LIBPFM=OFF -DBUILD_SHARED_LIBS=OFF)

build_benchmark() {
    build_cmake_package benchmark benchmark "$benchmark_version" benchmark-1.7.1 benchmark "${benchmark_options[@]}"
    TIERMARK_WIN_BENCHMARK=$prefix
}

# ---------------------------------------------------------------------------------------------------------
total_start=$(seconds)
for c in "${components[@]}"; do
    exec 9>"$cache/.lock-$c"
    flock 9
    "build_$c"
    exec 9>&-
done

if [ -n "$env_out" ]; then
    {
        [ -z "${TIERMARK_WIN_QT:-}" ] || echo "TIERMARK_WIN_QT='$TIERMARK_WIN_QT'"
        [ -z "${TIERMARK_WIN_MDB:-}" ] || echo "TIERMARK_WIN_MDB='$TIERMARK_WIN_MDB'"
        [ -z "${TIERMARK_WIN_DXFLIB:-}" ] || echo "TIERMARK_WIN_DXFLIB='$TIERMARK_WIN_DXFLIB'"
        [ -z "${TIERMARK_WIN_GTEST:-}" ] || echo "TIERMARK_WIN_GTEST='$TIERMARK_WIN_GTEST'"
        [ -z "${TIERMARK_WIN_BENCHMARK:-}" ] || echo "TIERMARK_WIN_BENCHMARK='$TIERMARK_WIN_BENCHMARK'"
        echo "TIERMARK_WIN_TOOLCHAIN='$toolchain'"
    } >"$env_out"
fi
log "done in $(elapsed "$total_start") s; cache $(du -sh "$cache" | cut -f1) in $cache"
