#!/usr/bin/env bash
# `make bench`: start-up time until the window is mapped, and peak resident
# memory then (bench/map_timer.cpp), for Kolmira on 41 rows against a bare
# Qt window of the same size, paired run by run on a private X server and
# session bus; medians and ratios (goal: at most 1.10 on both). Then the time
# until the window is mapped on a row file whose one row is 1 GiB long,
# against `wc -l` on it (goal: at most 2 times). RUNS and LONG_RUNS pairs.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL

build=$(realpath -m "${BUILD_DIR:-build}")
if [[ ${1-} != --in-session ]]; then
    tools/setup.sh test bench
    cmake -S bench -B "$build-bench" -Wno-dev >/dev/null
    cmake --build "$build-bench" -j "$(nproc)"
    # No window manager: the timer watches the root window's children.
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" dbus-run-session -- "$0" --in-session
fi
kolmira=$build/kolmira bench=$build-bench work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/long" && {
    echo 41
    for ((row = 0; row < 41; row++)); do
        for ((field = 0; field < 7; field++)); do printf '%02d' $(((row + 5 * field) % 35 + 1)); done
        echo
    done
} >"$work/kolmira_fam.txt"
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
up_kolmira() { (cd "$work" && timeout 30 "$bench/map_timer" "$kolmira"); }
up_bare() { (cd "$work" && timeout 30 "$bench/map_timer" "$bench/bare_window"); }
up_long() { (cd "$work/long" && timeout 60 "$bench/map_timer" "$kolmira"); }
wc_ms() { local start=$EPOCHREALTIME; wc -l "$work/long/kolmira_fam.txt" >/dev/null; echo "$(((${EPOCHREALTIME/./} - ${start/./}) / 1000)) 0"; }

median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Runs the two functions in pairs, each first in every other pair, after one
# unmeasured run each; prints the medians of the first and the second column.
paired() {
    local runs=$1 a=$2 b=$3
    "$a" >/dev/null
    "$b" >/dev/null
    for ((run = 0; run < runs; run++)); do
        if ((run % 2)); then
            "$a" >>"$work/a"
            "$b" >>"$work/b"
        else
            "$b" >>"$work/b"
            "$a" >>"$work/a"
        fi
    done
    for file in a b; do for column in 1 2; do cut -d' ' -f$column "$work/$file" | median; done; done | paste -s -d ' '
    rm -f "$work/a" "$work/b"
}
paired "${RUNS:-20}" up_kolmira up_bare >"$work/medians"
read -r k_ms k_kib b_ms b_kib <"$work/medians"
echo "Start-up until the window is mapped: medians of ${RUNS:-20} paired runs"
awk -v km="$k_ms" -v bm="$b_ms" -v kk="$k_kib" -v bk="$b_kib" 'BEGIN {
    printf "%-22s %12s %16s\n%-22s %12.1f %16.0f\n%-22s %12.1f %16.0f\n", "", "time (ms)", "peak RSS (KiB)",
        "kolmira, 41 rows", km, kk, "bare Qt window", bm, bk
    printf "%-22s %12.3f %16.3f   (goal: at most 1.10)\n", "ratio", km / bm, kk / bk }'

# One row of 1 GiB, in the temporary folder, which must hold it.
if (($(df --output=avail -B1 "$work" | tail -n 1) < (5 << 28))); then
    echo "Reading past a 1 GiB row: skipped, less than 1.25 GiB free in $work" && exit 0
fi
{ echo 1 && head -c $((1 << 30)) /dev/zero | tr '\0' 5 && echo; } >"$work/long/kolmira_fam.txt"
paired "${LONG_RUNS:-5}" up_long wc_ms >"$work/medians"
read -r l_ms _ w_ms _ <"$work/medians"
echo
echo "Reading past a row of 1 GiB: medians of ${LONG_RUNS:-5} paired runs"
awk -v l="$l_ms" -v w="$w_ms" 'BEGIN { printf "%-22s %12s\n%-22s %12.1f\n%-22s %12.1f\n%-22s %12.3f   (goal: at most 2)\n",
    "", "time (ms)", "kolmira, until mapped", l, "wc -l", w, "ratio", l / w }'
