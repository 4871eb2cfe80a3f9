#!/usr/bin/env bash
# `make windows-test`: runs the cross-built QtTest tests under Wine with
# ctest, then tries the setup program as a Windows user would, in a fresh
# Wine prefix on a private X server: an older version (built here from the
# same files, with one file more) installed and replaced by this one, the
# Start-menu shortcut, the installed program checking rows by keyboard in a
# folder named with å, ä and ö, a missing row file, and the uninstaller.
# When a certificate is given (tools/windows/sign.sh), checks the signatures.
# Every step passes or fails within a time of its own; the chart under Wine
# is saved in the build folder's screenshots/.
# shellcheck disable=SC2016 # NSIS's $INSTDIR and the steps' code are meant literally
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

build=${WINDOWS_BUILD_DIR:-build-windows}
if [[ ${1-} != --in-session ]]; then
    # fonts-wine: Wine's own Tahoma and the like, which Windows' dialogs ask for.
    tools/setup.sh wine wine64 fonts-wine xvfb xauth xdotool imagemagick osslsigncode >&2
    WINDOWS_BUILD_DIR=$build tools/windows/build.sh
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" --in-session
fi

# Every variable and function below reaches the steps, which run in shells
# of their own so that a time limit can end them and all they started.
set -a
build=$build
# A Wine prefix and a home of their own: Wine links the user's Documents
# folder into the home folder, and nothing here may touch the real one.
work=$(mktemp -d)
export HOME=$work/home WINEPREFIX=$work/wine WINEDEBUG=-all WINEARCH=win64
# No offer to install Mono or Gecko, and no menu entries in the home folder,
# which Wine shares with Documents.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME"
cleanup() {
    timeout 30 wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

passed=0 failed=0
step() { # seconds, what is checked, then the command that checks it
    local seconds=$1 what=$2 status=0
    shift 2
    timeout -k 10 "$seconds" bash -euo pipefail -c '"$@"' step "$@" || status=$?
    if ((status == 0)); then
        echo "PASS: $what"
        passed=$((passed + 1))
    else
        ((status != 124 && status != 137)) || what="$what (no answer within $seconds s)"
        echo "FAIL: $what" >&2
        failed=$((failed + 1))
    fi
}
# Ends what Wine still runs of Kolmira, and waits for Wine to settle.
stop_kolmira() {
    timeout 30 wine taskkill /f /im kolmira.exe >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$build/kolmira-$version-setup.exe
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolmira'

echo "=== A fresh Wine prefix"
new_prefix() { wine wineboot --init >/dev/null 2>&1 && wineserver -w; }
step 300 "Wine makes a prefix of its own" new_prefix

echo "=== QtTest under Wine"
# One at a time: the tests press keys and move the focus on one X server.
ctest_ok() { cd "$build" && ctest --output-on-failure --timeout 300; }
step 1500 "every QtTest test that Windows has passes under Wine" ctest_ok

windows_path() { winepath -u "$(timeout 30 wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" || true; }
programs=$(windows_path '%LOCALAPPDATA%')/Programs/Kolmira
start_menu=$(windows_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs
documents=$(windows_path '%USERPROFILE%')/Documents
rows="$documents/Lotto på gården"
empty="$documents/Tom mapp åäö"
mkdir -p "$build/screenshots"

if [[ -n ${KOLMIRA_AUTHENTICODE_CERT-} ]]; then
    echo "=== Signatures"
    signed() { osslsigncode verify -CAfile "$KOLMIRA_AUTHENTICODE_CERT" -in "$1" >"$work/verify" 2>&1 ||
        { cat "$work/verify" >&2 && false; }; }
    step 60 "kolmira.exe is signed with $KOLMIRA_AUTHENTICODE_CERT" signed "$build/stage/Kolmira/kolmira.exe"
    step 60 "the setup program is signed with it" signed "$setup"
fi

echo "=== An older version, then this one over it"
# The older one: version 0.99, built from the same files with one more,
# in a folder of its own, which this version no longer ships.
older=$work/older
older_setup=$work/kolmira-0.99-setup.exe
build_older() {
    cp -r "$build/nsis" "$older"
    mkdir -p "$older/extra" && echo "Kolmira 0.99" >"$older/extra/gammal.txt"
    printf 'SetOutPath "$INSTDIR\\extra"\nFile "%s"\n' "$older/extra/gammal.txt" >>"$older/files.nsh"
    printf 'Delete "$INSTDIR\\extra\\gammal.txt"\nRMDir "$INSTDIR\\extra"\n' >>"$older/removed_files.nsh"
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION=0.99 -DOUTFILE="$older_setup" -DLISTS="$older" \
        "$PWD/data/windows/kolmira.nsi"
}
run_setup() { wine "$1" /S && wineserver -w; }
installed_version() {
    wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r' |
        sed -n 's/.*DisplayVersion[[:space:]]*REG_SZ[[:space:]]*//p'
}
listing() { (cd "$programs" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }
expected_listing() {
    # CMake's manifest does not end its last line.
    { sed 's|^.*/stage/Kolmira/\(\./\)*||' "$build/install_manifest.txt" && printf '\navinstallera.exe\n'; } |
        sed '/^$/d' | LC_ALL=C sort
}
user_files() { (cd "$documents" && find . -type f -exec sha256sum {} + | LC_ALL=C sort -k2); }
step 120 "an older setup program (0.99, with extra\\gammal.txt) is built from the same files" build_older
older_installed() { run_setup "$older_setup" && test -f "$programs/extra/gammal.txt"; }
step 120 "the older one installs silently, extra\\gammal.txt and all" older_installed
step 30 "Settings > Apps shows 0.99" eval '[[ $(installed_version) == 0.99 ]]'
# The user's rows, in Documents and in a folder of their own.
mkdir -p "$rows"
cp examples/kolmira_fam.txt "$documents/"
printf '%s\r\n' 8 01020304353031 01020305343029 01020304052930 01020304050629 \
    01020304050633 01020304050607 01020304282930 20212223242526 >"$rows/kolmira_fam.txt"
user_files >"$work/user-files"
listing >"$work/before" || true
step 180 "this setup program ($version) installs silently over it" run_setup "$setup"
listing >"$work/after" || true
echo "Files in $(winepath -w "$programs"): $(wc -l <"$work/before") before, $(wc -l <"$work/after") after;" \
    "only before (-) and only after (+):"
diff -U0 "$work/before" "$work/after" | grep '^[-+][^-+]' || echo "(the same)"
step 30 "the folder holds exactly this version's files" eval 'diff <(expected_listing) <(listing) >&2'
step 30 "Settings > Apps shows $version" eval '[[ $(installed_version) == "$version" ]]'
step 30 "the user's row files are untouched" eval 'diff "$work/user-files" <(user_files) >&2'
step 30 "the Start-menu shortcut Kolmira is there" test -f "$start_menu/Kolmira.lnk"
if [[ -n ${KOLMIRA_AUTHENTICODE_CERT-} ]]; then
    step 60 "the uninstaller is signed with $KOLMIRA_AUTHENTICODE_CERT" signed "$programs/avinstallera.exe"
fi

# Waits for a window whose title matches and prints its id.
window_named() { { timeout 60 xdotool search --sync --onlyvisible --name "$1" || true; } | head -n 1; }
keys() {
    local key
    for key in "$@"; do
        xdotool key --window "$window" "$key"
        sleep 0.3
    done
}
focus() { xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"; }
# How many pixels of an image have a colour (r,g,b).
pixels() { convert "$1" -alpha off -format %c histogram:info:- | awk -v c="($2)" '$2 == c {n = $1 + 0} END {print n + 0}'; }

echo "=== The Start-menu shortcut"
# It starts Kolmira in the Documents folder, so the rows are read from there.
shortcut_starts() {
    wine start /unix "$start_menu/Kolmira.lnk" >/dev/null 2>&1
    [[ -n $(window_named '^Kolmira version') ]]
}
step 90 "the shortcut starts Kolmira on the rows in $(winepath -w "$documents")" shortcut_starts
stop_kolmira

echo "=== Rows in a folder named with å, ä and ö, checked by keyboard"
# Main numbers 1 to 7, the prompt, then 35 to 32: the rows win every prize
# class, so the chart shows all five bars, and the green line the result.
check_by_keyboard() {
    (cd "$rows" && exec wine "$programs/kolmira.exe" >/dev/null 2>&1) &
    window=$(window_named '^Kolmira version')
    [[ -n $window ]] || { echo "No window came up." >&2 && false; }
    focus
    keys Tab space
    for _ in 2 3 4 5 6 7; do keys shift+Tab Right Tab space; done
    sleep 1
    keys Return
    focus
    keys shift+Tab End Tab space
    for _ in 34 33 32; do keys shift+Tab Left Tab space; done
    keys space space
    sleep 2
    import -window "$window" "$build/screenshots/wine-chart.png"
    local colour fault=0
    for colour in 128,0,128 192,0,192 255,0,255 255,128,255 255,192,255 0,255,0; do
        if (($(pixels "$build/screenshots/wine-chart.png" "$colour") < 5000)); then
            echo "The chart shows little or nothing in rgb($colour)." >&2
            fault=1
        fi
    done
    ((fault == 0))
}
step 120 "a whole check by keyboard in $(winepath -w "$rows") ends on the chart of all five prize classes" \
    check_by_keyboard
stop_kolmira

echo "=== A folder without the row file"
missing_rows() {
    mkdir -p "$empty"
    (
        cd "$empty"
        status=0
        wine "$programs/kolmira.exe" >/dev/null 2>"$work/err" || status=$?
        echo "$status" >"$work/status"
    ) &
    window=$(window_named '^Kolmira$')
    [[ -n $window ]] || { echo "No box came up." >&2 && false; }
    import -window "$window" "$build/screenshots/wine-missing.png"
    keys Return
    wait
    grep -qF "kolmira: Radfilen kolmira_fam.txt finns inte i mappen $(winepath -w "$empty")." "$work/err" ||
        { echo "It said: $(cat "$work/err")" >&2 && false; }
    [[ $(cat "$work/status") == 1 ]] || { echo "It ended with status $(cat "$work/status")." >&2 && false; }
}
step 90 "a missing row file is reported in a box and in Swedish, naming $(winepath -w "$empty"), with status 1" \
    missing_rows
stop_kolmira

echo "=== The uninstaller"
uninstall() {
    wine "$programs/avinstallera.exe" /S && wineserver -w
    # It runs on from a copy of itself in the temporary folder.
    for _ in $(seq 30); do [[ -e $programs ]] || break; sleep 1; done
}
step 60 "avinstallera.exe runs silently" uninstall
step 30 "removes the program and its folder" test ! -e "$programs"
step 30 "removes the Start-menu shortcuts" eval '! compgen -G "$start_menu/Kolmira*"'
step 30 "removes its entry from the installed apps" eval '! wine reg query "$uninstall_key" >/dev/null 2>&1'
step 30 "leaves the user's files as they were" eval 'diff "$work/user-files" <(user_files) >&2'

echo "=== The Windows program"
echo "Not run here (Linux's own): the AT-SPI walk-through, the Orca screen reader and the named-pipe tests."
echo "windows-test: $passed passed, $failed failed"
((failed == 0))
