#!/usr/bin/env bash
# `make windows-test`: runs the cross-built QtTest tests under Wine with ctest,
# then tries the setup program as a Windows user would, in a fresh Wine prefix
# on a private X server: an older version (the same files and one more), which
# puts the example row file into Documents, where Kolmira started from the
# Start menu reads it; a row changed there in Notepad from the Start menu and
# saved, then this version over the older one, with the changed row kept and
# read by a whole check by keyboard from the Start menu; the same check in a
# folder named with å, ä and ö; a missing row file; and the uninstaller, which
# leaves the changed row too.
# With a certificate (tools/windows/sign.sh) it checks the uninstaller's
# signature too. Every step passes or fails within its own time limit; the
# charts under Wine are saved in the build folder's screenshots/.
# shellcheck disable=SC2016 # NSIS's $INSTDIR and the steps' code are meant literally
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

build=${WINDOWS_BUILD_DIR:-build-windows}
if [[ ${1-} != --in-session ]]; then
    tools/setup.sh test screenshots windows windows-test >&2
    WINDOWS_BUILD_DIR=$build tools/windows/build.sh
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" "$0" --in-session
fi

# The steps run in shells of their own, so that a time limit ends them and all
# they started. Wine gets a prefix and a home of its own (it links Documents
# into the home), no offer of Mono or Gecko, and no menu entries.
work=$(mktemp -d)
export build work HOME=$work/home WINEPREFIX=$work/wine WINEDEBUG=-all WINEARCH=win64 \
    WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
set -a
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_RUNTIME_DIR
mkdir -p "$HOME" "$build/screenshots"
trap 'timeout 30 wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

passed=0 failed=0
step() { # seconds, what is checked, the command that checks it
    local seconds=$1 what=$2 status=0
    shift 2
    timeout -k 10 "$seconds" bash -euo pipefail -c '"$@"' step "$@" || status=$?
    if ((status == 0)); then
        echo "PASS: $what" && passed=$((passed + 1))
    else
        ((status != 124 && status != 137)) || what+=" (no answer within $seconds s)"
        echo "FAIL: $what" >&2 && failed=$((failed + 1))
    fi
}
fail() { echo "$@" >&2 && false; }
stop() { timeout 30 wine taskkill /f /im "$1" >/dev/null 2>&1 || true; timeout 60 wineserver -w || true; }
run_setup() { wine "$1" /S && wineserver -w; }

step 300 "Wine makes a fresh prefix" eval 'wine wineboot --init >/dev/null 2>&1 && wineserver -w'
# One test at a time: they press keys and move the focus on one X server.
step 1500 "every QtTest test that Windows has passes under Wine" \
    eval 'cd "$build" && ctest --output-on-failure --timeout 300'

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt") uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kolmira'
unix_path() { winepath -u "$(timeout 30 wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')"; }
programs=$(unix_path '%LOCALAPPDATA%')/Programs/Kolmira
start_menu=$(unix_path '%APPDATA%')/Microsoft/Windows/Start\ Menu/Programs
documents=$(unix_path '%USERPROFILE%')/Documents
rows="$documents/Lotto på gården" empty="$documents/Tom mapp åäö"
installed_version() {
    wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
}
listing() { (cd "$programs" && find . -type f -printf '%P\n' | LC_ALL=C sort); }
user_files() { (cd "$documents" && find . -type f -exec sha256sum {} + | LC_ALL=C sort -k2); }
# Waits for a visible window whose title matches and prints its id.
window_named() { { timeout 60 xdotool search --sync --onlyvisible --name "$1" || true; } | head -n 1; }
keys() { for key in "$@"; do xdotool key --window "$window" "$key" && sleep 0.3; done; }
focus() { xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"; }
in_folder() { (cd "$1" && exec wine "$programs/kolmira.exe" >/dev/null 2>&1) & }
from_start_menu() { wine start /unix "$start_menu/$1.lnk" >/dev/null 2>&1; }

echo "=== Version 0.99, with extra\\gammal.txt, then $version over it"
older() {
    cp -r "$build/nsis" "$work/older" && mkdir "$work/older/extra" && echo 0.99 >"$work/older/extra/gammal.txt"
    printf 'SetOutPath "$INSTDIR\\extra"\nFile "%s"\n' "$work/older/extra/gammal.txt" >>"$work/older/files.nsh"
    printf 'Delete "$INSTDIR\\extra\\gammal.txt"\nRMDir "$INSTDIR\\extra"\n' >>"$work/older/removed_files.nsh"
    makensis -V2 -INPUTCHARSET UTF8 -DVERSION=0.99 -DOUTFILE="$work/older-setup.exe" -DLISTS="$work/older" \
        "$PWD/data/windows/kolmira.nsi"
    run_setup "$work/older-setup.exe" && test -f "$programs/extra/gammal.txt"
    [[ $(installed_version) == 0.99 ]] || fail "Settings > Apps shows \"$(installed_version)\""
}
step 240 "version 0.99 installs silently and Settings > Apps shows it" older
household=$documents/kolmira_fam.txt changed_row=01020304050607
step 30 "it puts the example row file into $(winepath -w "$documents")" cmp "$programs/exempel/kolmira_fam.txt" "$household"
step 90 "the Start-menu shortcut Kolmira starts on the example there" \
    eval 'from_start_menu Kolmira; [[ -n $(window_named "^Kolmira version") ]]'
stop kolmira.exe
# The household puts a row that wins 7 (by_keyboard's draw) in place of the
# first, and saves it with Ctrl+S.
in_notepad() {
    from_start_menu "Kolmira – lottorader"
    window=$(window_named '^kolmira_fam')
    [[ -n $window ]] || fail "Notepad did not open kolmira_fam.txt."
    # shellcheck disable=SC2046 # a key for each digit
    focus && keys ctrl+Home Down shift+End $(fold -w 1 <<<"$changed_row") ctrl+s && sleep 1
    [[ $(sed -n '2s/\r$//p' "$household") == "$changed_row" ]] ||
        fail "Its first row is $(sed -n '2s/\r$//p' "$household")."
}
step 90 "Kolmira – lottorader opens it in Notepad, and a changed row is saved there" in_notepad
stop notepad.exe
mkdir -p "$rows"
printf '%s\r\n' 8 01020304353031 01020305343029 01020304052930 01020304050629 \
    01020304050633 01020304050607 01020304282930 20212223242526 >"$rows/kolmira_fam.txt"
user_files >"$work/user-files" && { listing >"$work/before" || true; }
step 180 "setup $version installs silently over it" run_setup "$build/kolmira-$version-setup.exe"
listing >"$work/after" || true
echo "Files in $(winepath -w "$programs"): $(wc -l <"$work/before") before, $(wc -l <"$work/after") after;" \
    "only before (-) and only after (+):"
diff -U0 "$work/before" "$work/after" | grep '^[-+][^-+]' || echo "(the same)"
# What pack.sh installed, and the uninstaller.
step 30 "the folder holds exactly this version's files" \
    eval 'diff <(echo avinstallera.exe | LC_ALL=C sort -m - "$build/nsis/files.txt") "$work/after" >&2'
step 30 "Settings > Apps shows $version" eval '[[ $(installed_version) == "$version" ]]'
step 30 "the user's row files, the changed one among them, are untouched" eval 'diff "$work/user-files" <(user_files) >&2'
if [[ -n ${KOLMIRA_AUTHENTICODE_CERT-} ]]; then
    step 60 "the uninstaller is signed with $KOLMIRA_AUTHENTICODE_CERT" \
        osslsigncode verify -CAfile "$KOLMIRA_AUTHENTICODE_CERT" -in "$programs/avinstallera.exe"
fi

pixels() { # of an image with the colour r,g,b
    convert "$1" -alpha off -format %c histogram:info:- | awk -v c="($2)" '$2 == c {n = $1 + 0} END {print n + 0}'
}

# Main numbers 1 to 7, the prompt, then 35 to 32: the rows win every prize
# class, or the changed row 7, so the chart shows all five bars, and the green
# line the result.
by_keyboard() { # the screenshot's name, then how Kolmira is started
    local picture=$build/screenshots/$1
    "${@:2}"
    window=$(window_named '^Kolmira version')
    [[ -n $window ]] || fail "No window came up."
    focus && keys Tab space
    for _ in 2 3 4 5 6 7; do keys shift+Tab Right Tab space; done
    sleep 1 && keys Return && focus
    keys shift+Tab End Tab space
    for _ in 34 33 32; do keys shift+Tab Left Tab space; done
    keys space space && sleep 2
    import -window "$window" "$picture"
    for colour in 128,0,128 192,0,192 255,0,255 255,128,255 255,192,255 0,255,0; do
        (($(pixels "$picture" "$colour") >= 5000)) || fail "The chart shows little or nothing in rgb($colour)."
    done
}
step 120 "Kolmira from the Start menu reads the changed row: a whole check by keyboard ends on the chart of 7" \
    by_keyboard wine-chart-7.png from_start_menu Kolmira
stop kolmira.exe
step 120 "a whole check by keyboard in $(winepath -w "$rows") ends on the chart of all five prize classes" \
    by_keyboard wine-chart.png in_folder "$rows"
stop kolmira.exe
missing_rows() {
    mkdir -p "$empty"
    (cd "$empty" && { wine "$programs/kolmira.exe" >/dev/null 2>"$work/err" && echo 0 || echo $?; } >"$work/status") &
    window=$(window_named '^Kolmira$')
    [[ -n $window ]] || fail "No box came up."
    import -window "$window" "$build/screenshots/wine-missing.png"
    keys Return && wait
    grep -qF "kolmira: Radfilen kolmira_fam.txt finns inte i mappen $(winepath -w "$empty")." "$work/err" ||
        fail "It said: $(cat "$work/err")"
    [[ $(cat "$work/status") == 1 ]] || fail "It ended with status $(cat "$work/status")."
}
step 90 "a missing row file is reported in a box and in Swedish, naming $(winepath -w "$empty"), with status 1" \
    missing_rows
stop kolmira.exe

# The uninstaller runs on from a copy of itself in the temporary folder. It
# removes an earlier version's entry for the example too.
cp "$start_menu/Kolmira.lnk" "$start_menu/Kolmira – exempelfil.lnk" || true
step 60 "avinstallera.exe runs silently and removes the program's folder" eval 'run_setup "$programs/avinstallera.exe"
    for _ in $(seq 30); do [[ -e $programs ]] || exit 0; sleep 1; done; false'
step 30 "removes the Start-menu shortcuts" eval '! compgen -G "$start_menu/Kolmira*"'
step 30 "removes its entry from the installed apps" eval '! wine reg query "$uninstall_key" >/dev/null 2>&1'
step 30 "leaves the user's files as they were, the changed row among them" eval 'diff "$work/user-files" <(user_files) >&2'

echo "windows-test: $passed passed, $failed failed (not here, as Linux's own: AT-SPI, Orca, named pipes)"
((failed == 0))
