#!/usr/bin/env bash
# Installs, from Debian 12's own archive, every package the build, the tests and the demo need.
# Runs as root (or through sudo); packages already present are left alone.
# TIERMARK_WITH_WINE=0 leaves out the Windows cross-build, Wine and the installer tool (the Windows stage of
# the tests is then switched off).
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache dpkg-dev file
    qt6-base-dev qt6-base-dev-tools libgl-dev
    mdbtools-dev mdbtools
    libdxflib-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang llvm libclang-rt-14-dev clang-format-14
    fonts-ipafont-gothic fonts-ipafont-mincho
    xvfb xauth python3
    python3-ezdxf libreoffice-calc-nogui
    librsvg2-bin icoutils desktop-file-utils
)
# The Windows build: mingw-w64 (its posix thread model; Qt, libmdb, dxflib and GoogleTest are built from
# Debian's sources by tools/windows/build-deps.sh), Wine with a Japanese locale so that its ANSI code page is
# 932, wixl for the installer and msitools (msibuild, msiinfo) for its Japanese texts and their check.
windows_packages=(g++-mingw-w64-x86-64 wine wine64 locales wixl msitools)

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi

missing_from() {
    local p
    for p in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            echo "$p"
        fi
    done
}

updated=0
install_packages() {
    local recommends=$1
    shift
    [ $# -gt 0 ] || return 0
    echo "Installing: $*"
    if [ $updated = 0 ]; then
        $SUDO apt-get update -qq
        updated=1
    fi
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $recommends "$@"
}

mapfile -t missing < <(missing_from "${packages[@]}")
install_packages --no-install-recommends "${missing[@]}"

if [ "${TIERMARK_WITH_WINE:-1}" = 1 ]; then
    mapfile -t missing < <(missing_from "${windows_packages[@]}")
    install_packages "" "${missing[@]}"
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
        $SUDO sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
        $SUDO locale-gen >/dev/null
    fi
fi
