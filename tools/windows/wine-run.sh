#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix, headless (Wine's null graphics driver) and with the
# Japanese locale, so that the ANSI code page is 932 as on the users' machines. The Windows build uses it as
# CMake's cross-compiling emulator: the sample database is written at build time and the test suites run
# under CTest through it. A missing prefix is made first, with the IPA fonts standing in for the Japanese
# Windows fonts the forms ask for (as in tools/windows/screenshots.sh), so that the suites measure texts in
# fonts of the size and shape a Japanese Windows has.
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
    if [ ! -f "$prefix/.tiermark-ready-fonts" ]; then
        rm -rf "$prefix"
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        fonts="$prefix/drive_c/windows/Fonts"
        mkdir -p "$fonts"
        cp /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
            "$fonts/"
        for name in "ＭＳ Ｐゴシック" "MS PGothic" "MS UI Gothic" "Meiryo UI" "Yu Gothic UI" "MS Shell Dlg" \
                    "MS Shell Dlg 2" "Tahoma" "Segoe UI"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d "IPAPGothic" /f >/dev/null 2>&1
        done
        for name in "ＭＳ ゴシック" "MS Gothic"; do
            wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$name" /d "IPAGothic" /f >/dev/null 2>&1
        done
        wineserver -w
        touch "$prefix/.tiermark-ready-fonts"
    fi
) 9>"$prefix.lock"
# Now and then a program loses its connection to the Wine server as it starts ("wine client error: recvmsg"),
# which says nothing of the program: it runs once more then.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for attempt in 1 2; do
    status=0
    wine "$@" 2> >(tee "$errors" >&2) || status=$?
    wait
    if [ "$status" -ne 0 ] && [ "$attempt" = 1 ] && grep -q "wine client error" "$errors"; then
        echo "wine-run: Wine's server dropped the program's connection; running it once more" >&2
        continue
    fi
    exit "$status"
done
