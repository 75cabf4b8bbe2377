#!/usr/bin/env bash
# Installs, from Debian 12's own archive, every package the build, the tests and the demo need.
# Runs as root (or through sudo); packages already present are left alone.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache dpkg-dev file
    qt6-base-dev qt6-base-dev-tools libgl-dev
    mdbtools-dev mdbtools
    libdxflib-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang llvm libclang-rt-14-dev
    fonts-ipafont-gothic fonts-ipafont-mincho
    xvfb xauth python3
)
if [ "${TIERMARK_WITH_WINE:-0}" = 1 ]; then
    packages+=(g++-mingw-w64-x86-64 wine wine64 locales)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
