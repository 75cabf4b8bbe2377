#!/usr/bin/env bash
# The Windows stage of the tests, run by tools/run-tests.sh after the Linux stages:
#   1. the Windows installer is built from the one CMake tree (tools/windows/package.sh: the dependencies,
#      cached outside the repository; the cross-build; the MSI);
#   2. the unit and widget suites and the Win32 link's driver run under Wine (CTest in the Windows build);
#   3. in a fresh Wine prefix with the Japanese locale (ANSI code page 932) the MSI is installed silently,
#      as a user without administrator rights would; the installed Tiermark starts and lists the installed
#      stand-in's drawing; the typical road runs against the installed acadlt.exe, the installed sample
#      database and the installed DLLs, and registers the database in the registry (checked with reg query);
#      the texts the stand-in logged are compared with those of the same road on Linux;
#   4. the cases where things go wrong (tiermark-road --faults) run there too, and what the user saw in
#      each is compared with what the Linux build shows;
#   5. the package is removed again (msiexec /x), leaving no program folder and no Start menu entry.
#
#   bash tools/windows/stage.sh [--build DIR] [--linux-build DIR]
#       --build        the Windows build folder (default build-windows)
#       --linux-build  the Linux build whose road gives the reference runs (default $TIERMARK_BUILD_DIR or build)
#
# TIERMARK_WITH_WINE=0 switches the stage off (it says so and passes). Otherwise a stage that cannot run (a
# tool or the Japanese locale missing) says why and fails.
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build="$repo/build-windows"
linux_build="${TIERMARK_BUILD_DIR:-build}"
while [ $# -gt 0 ]; do
    case "$1" in
        --build) build=$2; shift 2 ;;
        --linux-build) linux_build=$2; shift 2 ;;
        *) echo "usage: tools/windows/stage.sh [--build DIR] [--linux-build DIR]" >&2; exit 2 ;;
    esac
done
case "$linux_build" in /*) ;; *) linux_build="$repo/$linux_build" ;; esac

if [ "${TIERMARK_WITH_WINE:-1}" = 0 ]; then
    echo "windows stage: switched off (TIERMARK_WITH_WINE=0)"
    exit 0
fi
for tool in wine wineboot wineserver x86_64-w64-mingw32-g++-posix cmake ninja wixl python3 apt-get; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "windows stage: $tool is not installed, so the stage cannot run (bash tools/install-deps.sh installs" \
             "it; TIERMARK_WITH_WINE=0 switches the stage off)" >&2
        exit 1
    fi
done
# Wine takes its ANSI code page from the Unix locale alone; a locale that is not generated silently gives
# code page 1252, and every Japanese title would read back as "?".
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
    echo "windows stage: the ja_JP.UTF-8 locale is not generated (locale-gen), so the stage cannot run" >&2
    exit 1
fi
linux_road="$linux_build/tools/road/tiermark-road"
linux_acadlt="$linux_build/cadsim/app/acadlt"
if [ ! -x "$linux_road" ] || [ ! -x "$linux_acadlt" ]; then
    echo "windows stage: the Linux build ($linux_build) has no tiermark-road or acadlt to compare with;" \
         "build it first (tools/run-tests.sh does)" >&2
    exit 1
fi

seconds() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(seconds)" 'BEGIN { printf "%.0f", b - a }'; }
stage_start=$(seconds)
failures=0
check() {
    local what=$1
    shift
    if "$@"; then
        echo "  ok   $what"
    else
        echo "  FAIL $what"
        failures=$((failures + 1))
    fi
}

# 1. The installer.
t=$(seconds)
bash "$repo/tools/windows/package.sh" --build "$build"
msi=$(ls "$build"/Tiermark-*-x64.msi)
echo "windows stage: build and package $(elapsed "$t") s"
# What Explorer and the installer show before anything runs: each program's icon and version information,
# the installer's Japanese texts, icon, size and install location.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
echo "The programs' resources and the installer's tables:"
resources=0
python3 "$repo/tools/windows/check-resources.py" --stage "$build/package/Tiermark" --msi "$msi" --version "$version" ||
    resources=$?
check "the programs carry icon and version, the installer its Japanese texts (check-resources.py)" test $resources = 0

# 2. The suites under Wine.
t=$(seconds)
suites=0
ctest --test-dir "$build" --output-on-failure -j "${CMAKE_BUILD_PARALLEL_LEVEL:-2}" || suites=$?
echo "windows stage: unit, widget and Win32 link suites under Wine $(elapsed "$t") s"
[ $suites = 0 ] || failures=$((failures + 1))

# 3. A fresh prefix, as a Japanese user's machine: install, start, the road.
t=$(seconds)
export WINEPREFIX="$build/wine-installed"
export WINEDEBUG=-all
# No Mono or Gecko; and no menu builder, which would copy the installed Start menu entries to this machine.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=ja_JP.UTF-8
unset DISPLAY WAYLAND_DISPLAY
wineserver -k >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
rm -rf "$WINEPREFIX"
wineboot -i >"$build/wine-installed.log" 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >>"$build/wine-installed.log" 2>&1
wineserver -w
winpath() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
echo "windows stage: fresh prefix $(elapsed "$t") s"

echo "Installing $(basename "$msi") silently:"
install_status=0
wine msiexec /i "$(winpath "$msi")" /qn /l*v "$(winpath "$build/msiexec-install.log")" || install_status=$?
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
program="$user_dir/AppData/Local/Programs/Tiermark"
menu="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Tiermark"
check "msiexec installed the package (exit $install_status)" test $install_status = 0
for f in tiermark.exe tiermark-check.exe acadlt.exe acadltctl.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libmdb.dll \
         libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll qt.conf platforms/qwindows.dll \
         platforms/qoffscreen.dll styles/qwindowsvistastyle.dll sample/Tiermark.MDB user-guide.html; do
    check "installed: $f" test -f "$program/$f"
done
check "installed: sample/README.txt, the user's note on the sample" test -f "$program/sample/README.txt"
ls "$menu" 2>/dev/null | sed 's/^/  | Start menu: /'
check "Start menu in Japanese: Tiermark and Tiermark ユーザーガイド" \
    test -f "$menu/Tiermark.lnk" -a -f "$menu/Tiermark ユーザーガイド.lnk"
# The installed programs' entry as Windows Installer writes it (Wine writes no DisplayIcon: Windows itself
# shows ARPPRODUCTICON, the product's icon, which the installer's tables hold; and Wine's EstimatedSize is
# its own computation, 0 here).
# reg writes to a pipe in the ANSI code page (932) or in UTF-8, as Wine's version has it.
to_utf8() { python3 -c '
import sys
data = sys.stdin.buffer.read()
try:
    sys.stdout.write(data.decode("utf-8"))
except UnicodeDecodeError:
    sys.stdout.write(data.decode("cp932", "replace"))
'; }
uninstall_entry=$(for root in HKCU HKLM; do
    wine reg query "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s 2>/dev/null
done | to_utf8 | tr -d '\r' | awk '/^HKEY_/ { key = $0; next } { block[key] = block[key] $0 "\n" }
    END { for (k in block) if (block[k] ~ /DisplayName +REG_SZ +Tiermark\n/) printf "%s\n%s", k, block[k] }')
echo "$uninstall_entry" | sed 's/^/  | /'
program_folder_win=$(winpath "$program")
check "Apps entry: InstallLocation is the program folder" \
    grep -qE "InstallLocation +REG_SZ +${program_folder_win//\\/\\\\}\\\\?\$" <<<"$uninstall_entry"
check "Apps entry: publisher Tiermark開発チーム" grep -qE 'Publisher +REG_SZ +Tiermark開発チーム$' <<<"$uninstall_entry"
check "Apps entry: a Japanese comment" grep -qE 'Comments +REG_SZ +国土交通省' <<<"$uninstall_entry"
check "Apps entry: an estimated size (EstimatedSize)" grep -qE 'EstimatedSize +REG_DWORD' <<<"$uninstall_entry"
# The installed programs as "Apps" (Add/Remove Programs) lists them: for a per-user package the entry is the
# product's InstallProperties under the user's Installer data, with MsiExec.exe /X as its removal.
installed_programs=$(wine uninstaller --list 2>/dev/null | tr -d '\r')
echo "$installed_programs" | sed 's/^/  | /'
check "the installed programs list Tiermark, to be removed from there" grep -q '|Tiermark$' <<<"$installed_programs"
# Installed for this user alone: the product is registered under HKCU (a per-machine package is registered
# under HKLM\Software\Classes\Installer\Products instead).
products() { wine reg query "$1" /s 2>/dev/null | tr -d '\r' | grep -E 'ProductName +REG_SZ +Tiermark$' || true; }
user_products=$(products 'HKCU\Software\Microsoft\Installer\Products')
machine_products=$(products 'HKLM\Software\Classes\Installer\Products')
echo "$user_products" | sed 's/^/  | HKCU /'
check "registered for this user alone (reg query: HKCU, not HKLM)" test -n "$user_products" -a -z "$machine_products"

# The installed program beside the installed stand-in: it starts headless and lists the stand-in's drawing.
(cd "$program" && wine acadlt.exe --headless --title 'インストール確認.dwg' >/dev/null 2>&1) &
standin=$!
sleep 3
started=$( (cd "$program" && timeout 120 wine tiermark.exe -platform offscreen 2>&1) | tr -d '\r' || true)
echo "$started" | sed 's/^/  | /'
check "the installed Tiermark lists the installed stand-in's drawing" grep -q '\[インストール確認.dwg\]' <<<"$started"
(cd "$program" && wine acadltctl.exe state >/dev/null 2>&1) && acadltctl_ok=1 || acadltctl_ok=0
check "the installed acadltctl reaches the stand-in" test $acadltctl_ok = 1
kill "$standin" 2>/dev/null || true
wineserver -k >/dev/null 2>&1 || true
wait "$standin" 2>/dev/null || true

# One Tiermark per user: the installed Tiermark started twice on the windows platform (Wine's null graphics
# driver). The second start asks the first to come forward and ends with exit 0; the first says it was asked.
(cd "$program" && exec wine tiermark.exe) >"$build/first-instance.out" 2>"$build/first-instance.err" &
first_instance=$!
sleep 10
second_status=0
(cd "$program" && timeout 60 wine tiermark.exe) >"$build/second-instance.out" 2>&1 || second_status=$?
sleep 2
tr -d '\r' <"$build/second-instance.out" | sed 's/^/  | second: /'
check "a second Tiermark gives way and ends (exit $second_status, 0 expected)" test $second_status = 0
check "the first Tiermark is asked to come to the front" \
    grep -q "brought to the front at another start's request" "$build/first-instance.err"
wineserver -k >/dev/null 2>&1 || true
wait "$first_instance" 2>/dev/null || true

# The installed tiermark-check, as a user runs it in a console: a drawing with findings checked against the
# installed sample database, its CSV, and a missing file; what it prints (in the console's code page, 932)
# must be what the Linux build prints for the same drawing.
check_dir="$WINEPREFIX/drive_c/check"
mkdir -p "$check_dir"
cp "$repo/tests/layercheck/fixtures/every-verdict.dxf" "$check_dir/図面.dxf"
check_args=(--kind 設計/道路/道路土工/一般図)
check_status=0
(cd "$program" && timeout 120 wine tiermark-check.exe "${check_args[@]}" --database "$(winpath "$program")\\sample\\Tiermark.MDB" \
    --csv 'C:\check\結果.csv' 'C:\check\図面.dxf') >"$build/check-windows.out" 2>"$build/check-windows.err" ||
    check_status=$?
iconv -f CP932 -t UTF-8 "$build/check-windows.out" | tr -d '\r' | sed 's/^C:\\check\\//' >"$build/check-windows.txt" || true
sed 's/^/  | /' "$build/check-windows.txt"
"$linux_build/layercheck/cli/tiermark-check" "${check_args[@]}" --database "$linux_build/data/Tiermark.MDB" \
    "$check_dir/図面.dxf" 2>/dev/null | sed "s#^$check_dir/##" >"$build/check-linux.txt" || true
check "tiermark-check finds the findings (exit $check_status, 1 expected)" test $check_status = 1
check "tiermark-check prints in code page 932 what the Linux build prints" diff -u "$build/check-linux.txt" "$build/check-windows.txt"
check "tiermark-check writes the CSV" test -s "$check_dir/結果.csv"
missing_status=0
(cd "$program" && timeout 120 wine tiermark-check.exe "${check_args[@]}" --database "$(winpath "$program")\\sample\\Tiermark.MDB" \
    'C:\check\ない図面.dxf') >/dev/null 2>"$build/check-missing.err" || missing_status=$?
check "tiermark-check names a missing file in Japanese (exit $missing_status, 2 expected)" \
    grep -q 'ない図面.dxf: ファイルかフォルダーが見つかりません' <(iconv -f CP932 -t UTF-8 "$build/check-missing.err")
check "tiermark-check exits 2 on a missing file" test $missing_status = 2

# The road runs from a folder of its own, with the installed DLLs and Qt plug-ins (WINEPATH, qt.conf).
road_dir="$WINEPREFIX/drive_c/road"
mkdir -p "$road_dir"
cp "$build/bin/tiermark-road.exe" "$road_dir/"
program_win=$(winpath "$program")
printf '[Paths]\nPrefix = %s\nPlugins = %s\n' "${program_win//\\//}" "${program_win//\\//}" >"$road_dir/qt.conf"
export WINEPATH="$program_win"
echo "The typical road with the installed program:"
road_status=0
(cd "$road_dir" && timeout 600 wine tiermark-road.exe --acadlt "$program_win\\acadlt.exe" \
    --database "$program_win\\sample\\Tiermark.MDB" --system-settings \
    --stand-in-log 'C:\road\acadlt.jsonl') 2>&1 | tr -d '\r' | tee "$build/road-windows.txt" | sed 's/^/  | /' ||
    road_status=$?
grep -q ' 0 failed$' "$build/road-windows.txt" || road_status=1
check "the road passes with the installed program" test $road_status = 0
registered=$(wine reg query 'HKCU\Software\VB and VBA Program Settings\Tiermark\DBSET' 2>/dev/null | tr -d '\r')
echo "$registered" | sed 's/^/  | /'
check "the registration is in HKCU\\Software\\VB and VBA Program Settings\\Tiermark\\DBSET" \
    grep -qF 'sample\Tiermark.MDB' <<<"$registered"

# The same road on Linux; the stand-ins must have been handed the same texts in the same forms.
log_texts() { python3 -c '
import json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    record = json.loads(line)
    if "text" in record:
        print(record["form"], record["outcome"], record["text"])
' "$1"; }
linux_work=$(mktemp -d)
QT_QPA_PLATFORM=offscreen "$linux_road" --acadlt "$linux_acadlt" --database "$linux_build/data/Tiermark.MDB" \
    --stand-in-log "$linux_work/acadlt.jsonl" >"$build/road-linux.txt" 2>&1 || true
log_texts "$linux_work/acadlt.jsonl" >"$build/road-linux-texts.txt"
log_texts "$road_dir/acadlt.jsonl" >"$build/road-windows-texts.txt" || true
echo "  the stand-in took $(wc -l <"$build/road-windows-texts.txt") texts on Windows, $(wc -l <"$build/road-linux-texts.txt") on Linux"
check "the stand-in's log holds the same texts as on Linux" \
    diff -u "$build/road-linux-texts.txt" "$build/road-windows-texts.txt"
echo "windows stage: install and road $(elapsed "$t") s"

# 4. When things go wrong.
t=$(seconds)
echo "When things go wrong, on Windows:"
faults_status=0
(cd "$road_dir" && timeout 900 wine tiermark-road.exe --faults --acadlt "$program_win\\acadlt.exe" \
    --database "$program_win\\sample\\Tiermark.MDB") 2>&1 | tr -d '\r' | tee "$build/faults-windows.txt" |
    sed 's/^/  | /' || faults_status=$?
grep -q ' 0 failed$' "$build/faults-windows.txt" || faults_status=1
check "every case ends as it should under Wine, and nothing hangs" test $faults_status = 0
QT_QPA_PLATFORM=offscreen timeout 900 "$linux_road" --faults --acadlt "$linux_acadlt" \
    --database "$linux_build/data/Tiermark.MDB" >"$build/faults-linux.txt" 2>&1 || true
# What the user saw, case by case. A lock keeps readers out only on Windows: there a locked database must
# show what the Linux build shows for a file that cannot be read. Where the Linux run met other CAD programs
# on this machine (which change the guidance and the drawing list), those lines are left out of both.
python3 - "$build/faults-linux.txt" "$build/faults-windows.txt" "$build/faults-linux-seen.txt" \
    "$build/faults-windows-seen.txt" <<'PYTHON'
import re
import sys

# A message that names the database file names it by its path, which differs between the platforms' temporary
# folders (and Linux stands in the unreadable file for the locked one): the comparison keeps the message only.
def shown(line):
    return re.sub(r"「[^」]*\.MDB」", "「(database file)」", line)

def blocks(path):
    found, name = {}, None
    for line in open(path, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith("scenario "):
            name = line[len("scenario "):]
            found[name] = []
        elif name and line.startswith("  ") and not line.startswith(("  ok", "  FAIL")):
            found[name].append(shown(line))
    return found

linux, windows = blocks(sys.argv[1]), blocks(sys.argv[2])
linux["database locked by another program"] = linux.get("database unreadable (not a database)", [])
for name, lines in linux.items():
    if any("other CAD programs" in line for line in lines):
        shared = lambda line: not line.startswith(("  guidance", "  drawings listed"))
        linux[name] = [line for line in lines if shared(line)]
        windows[name] = [line for line in windows.get(name, []) if shared(line)]
for result, path in ((linux, sys.argv[3]), (windows, sys.argv[4])):
    with open(path, "w", encoding="utf-8") as out:
        for name in sorted(result):
            out.write("scenario " + name + "\n" + "".join(line + "\n" for line in result[name]))
PYTHON
check "each case shows the user what the Linux build shows" \
    diff -u "$build/faults-linux-seen.txt" "$build/faults-windows-seen.txt"
echo "windows stage: faults $(elapsed "$t") s"

# 5. Removal.
uninstall_status=0
wine msiexec /x "$(winpath "$msi")" /qn || uninstall_status=$?
check "msiexec removed the package (exit $uninstall_status)" test $uninstall_status = 0
check "no program folder is left" test ! -e "$program/tiermark.exe"
check "no Start menu entry is left" test ! -e "$menu/Tiermark.lnk" -a ! -e "$menu/Tiermark ユーザーガイド.lnk"
check "no installer registration is left (reg query)" test -z "$(products 'HKCU\Software\Microsoft\Installer\Products')"

echo "windows stage: $(du -k "$msi" | cut -f1) KiB installer; whole stage $(elapsed "$stage_start") s; $failures failed"
[ $failures = 0 ]
