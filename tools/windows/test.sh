#!/usr/bin/env bash
# `make windows-test`: runs the cross-built QtTest tests under Wine with
# ctest, then tries the setup program as a Windows user would, in a fresh
# Wine prefix on a private X server: a silent install, the Start-menu
# shortcut, the installed program reading rows in a folder named with å, ä
# and ö, a missing row file, and the uninstaller. Saves a screenshot of the
# prize chart under Wine in the build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

build=${WINDOWS_BUILD_DIR:-build-windows}
if [[ ${1-} != --in-session ]]; then
    # fonts-wine: Wine's own Tahoma and the like, which Windows' dialogs ask for.
    tools/setup.sh wine wine64 fonts-wine xvfb xauth xdotool imagemagick >&2
    WINDOWS_BUILD_DIR=$build tools/windows/build.sh
    exec timeout -k 10 "${WINDOWS_TEST_TIMEOUT:-1500}" \
        xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" --in-session
fi

# A Wine prefix and a home of their own: Wine links the user's Documents
# folder into the home folder, and nothing here may touch the real one.
work=$(mktemp -d)
export HOME=$work/home WINEPREFIX=$work/wine WINEDEBUG=-all WINEARCH=win64
export WINEDLLOVERRIDES="mscoree,mshtml=" # no offer to install Mono or Gecko
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME"
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wine wineboot --init >/dev/null 2>&1
wineserver -w

passed=0 failed=0
result() { # step, then the command that checks it
    local step=$1
    shift
    if "$@"; then
        echo "PASS: $step"
        passed=$((passed + 1))
    else
        echo "FAIL: $step" >&2
        failed=$((failed + 1))
    fi
}

echo "=== QtTest under Wine"
# One at a time: the tests press keys and move the focus on one X server.
ctest_ok() { (cd "$build" && ctest --output-on-failure); }
result "every QtTest test that Windows has passes under Wine" ctest_ok

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/kolmira-$version-setup.exe
windows_path() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')"; }
programs=$(windows_path '%LOCALAPPDATA%')/Programs/Kolmira
start_menu=$(windows_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs
documents=$(windows_path '%USERPROFILE%')/Documents
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolmira'

echo "=== The setup program"
wine "$setup" /S
wineserver -w
installed() { [[ -f $programs/kolmira.exe && -f $programs/platforms/qwindows.dll && -f $programs/LICENSE.txt ]]; }
result "installs silently into $(winepath -w "$programs")" installed
result "adds the Start-menu shortcut Kolmira" test -f "$start_menu/Kolmira.lnk"
registered() { wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1; }
result "registers its uninstaller with Windows' installed apps" registered

# Runs the installed program in a folder and leaves its window id in $window
# (empty when no window with that title came up within the time).
start_program() { # folder, title
    (cd "$1" && exec wine "$programs/kolmira.exe" >"$work/out" 2>"$work/err") &
    program=$!
    window=$(timeout 60 xdotool search --sync --onlyvisible --name "$2" 2>/dev/null | head -n 1) || true
}
keys() {
    local key
    for key in "$@"; do
        xdotool key --window "$window" "$key" 2>/dev/null
        sleep 0.3
    done
}

echo "=== The Start-menu shortcut"
# It starts Kolmira in the Documents folder, so the rows are read from there.
cp examples/kolmira_fam.txt "$documents/"
wine start /unix "$start_menu/Kolmira.lnk" >/dev/null 2>&1
window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kolmira version' 2>/dev/null | head -n 1) || true
result "the shortcut starts Kolmira on the rows in $(winepath -w "$documents")" test -n "$window"
wine taskkill /f /im kolmira.exe >/dev/null 2>&1 || true
wineserver -w
rm "$documents/kolmira_fam.txt"

echo "=== Rows in a folder named with å, ä and ö"
rows="$documents/Lotto på gården"
mkdir -p "$rows"
printf '%s\r\n' 8 01020304353031 01020305343029 01020304052930 01020304050629 \
    01020304050633 01020304050607 01020304282930 20212223242526 >"$rows/kolmira_fam.txt"
start_program "$rows" '^Kolmira version'
result "the installed program opens its window on the rows in $(winepath -w "$rows")" test -n "$window"
if [[ -n $window ]]; then
    # A whole check by keyboard: main numbers 1 to 7, the prompt, then 35 to 32.
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" 2>/dev/null
    keys Tab space
    for _ in 2 3 4 5 6 7; do keys shift+Tab Right Tab space; done
    sleep 1
    keys Return
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window" 2>/dev/null
    keys shift+Tab End Tab space
    for _ in 34 33 32; do keys shift+Tab Left Tab space; done
    keys space space
    sleep 2
    mkdir -p "$build/screenshots"
    import -window "$window" "$build/screenshots/wine-chart.png"
fi
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
wineserver -w

echo "=== A folder without the row file"
empty="$documents/Tom mapp åäö"
mkdir -p "$empty"
start_program "$empty" '^Kolmira$'
[[ -n $window ]] && import -window "$window" "$build/screenshots/wine-missing.png" && keys Return
status=0
wait "$program" || status=$?
expected="kolmira: Radfilen kolmira_fam.txt finns inte i mappen $(winepath -w "$empty")."
said_missing() { grep -qF "$expected" "$work/err"; }
result "a missing row file is reported in Swedish, naming $(winepath -w "$empty")" said_missing
result "a missing row file ends the program with status 1 (it was $status)" test "$status" -eq 1

echo "=== The uninstaller"
[[ -e $programs/avinstallera.exe ]] && wine "$programs/avinstallera.exe" /S
wineserver -w
for _ in $(seq 30); do [[ -e $programs ]] || break; sleep 1; done
result "removes the program and its folder" test ! -e "$programs"
result "removes the Start-menu shortcut" test ! -e "$start_menu/Kolmira.lnk"
result "removes its entry from the installed apps" eval '! registered'
result "leaves the user's own files" test -f "$rows/kolmira_fam.txt"

echo "=== The Windows program"
echo "Not run here (Linux's own): the AT-SPI walk-through, the Orca screen reader and the named-pipe tests."
echo "windows-test: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
