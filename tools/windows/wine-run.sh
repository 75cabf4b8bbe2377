#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix, headless (Wine's null graphics driver) and with the
# Japanese locale, so that the ANSI code page is 932 as on the users' machines. The Windows build uses it as
# CMake's cross-compiling emulator: the sample database is written at build time and the test suites run
# under CTest through it. A missing prefix is made first.
#
#   tools/windows/wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=ja_JP.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.tiermark-ready" ]; then
        rm -rf "$prefix"
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        wineserver -w
        touch "$prefix/.tiermark-ready"
    fi
) 9>"$prefix.lock"
exec wine "$@"
