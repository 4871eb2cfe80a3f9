#!/usr/bin/env bash
# Start-up benchmark: time from process start until the window is mapped,
# and peak resident memory then, for Kolmira with a 41-row file and for a
# bare Qt window of the same size, paired run by run on a private X server.
# Prints both medians and their ratios (goal: at most 1.10 on both). Then,
# on a row file whose one row is 1 GiB long, the time until Kolmira's window
# is mapped against `wc -l` on the same file (goal: at most 2 times).
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the build runs make of its own

runs=${RUNS:-20}
long_runs=${LONG_RUNS:-5}
build=${BUILD_DIR:-build} # built by `make bench`
tools/setup.sh xvfb dbus pkg-config libxcb1-dev
cmake -S tools/bench -B "$build-bench" -Wno-dev >/dev/null
cmake --build "$build-bench" -j "$(nproc)"

kolmira=$PWD/$build/kolmira
bare=$PWD/$build-bench/bare_window
timer=$PWD/$build-bench/map_timer

work=$(mktemp -d)
pids=()
cleanup() {
    [[ ${#pids[@]} -eq 0 ]] || kill "${pids[@]}" 2>/dev/null || true
    wait
    rm -rf "$work"
}
trap cleanup EXIT

# A full row file: 41 rows of seven numbers.
{
    echo 41
    for ((row = 0; row < 41; row++)); do
        for ((field = 0; field < 7; field++)); do
            printf '%02d' $(((row + 5 * field) % 35 + 1))
        done
        echo
    done
} >"$work/kolmira_fam.txt"

# A private X server without a window manager, and a private session bus,
# as a desktop has one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for ((i = 0; i < 100; i++)); do
    [[ -s $work/display ]] && break
    sleep 0.1
done
DISPLAY=:$(<"$work/display")
export DISPLAY
read -r DBUS_SESSION_BUS_ADDRESS bus_pid < <(dbus-daemon --session --fork --print-address=1 \
    --print-pid=1 2>/dev/null | paste -s -d ' ')
pids+=("$bus_pid")
export DBUS_SESSION_BUS_ADDRESS QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON

measure() { (cd "$work" && timeout 30 "$timer" "$1"); }

measure "$kolmira" >/dev/null # warm the file cache
measure "$bare" >/dev/null
: >"$work/kolmira.txt"
: >"$work/bare.txt"
for ((run = 1; run <= runs; run++)); do
    # Alternate which one goes first, so that neither always follows the other.
    if ((run % 2)); then order=(kolmira bare); else order=(bare kolmira); fi
    for which in "${order[@]}"; do
        program=$kolmira
        [[ $which == bare ]] && program=$bare
        measure "$program" >>"$work/$which.txt"
    done
done

median() { sort -n | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
k_ms=$(cut -d' ' -f1 "$work/kolmira.txt" | median)
k_kib=$(cut -d' ' -f2 "$work/kolmira.txt" | median)
b_ms=$(cut -d' ' -f1 "$work/bare.txt" | median)
b_kib=$(cut -d' ' -f2 "$work/bare.txt" | median)

echo "Start-up until the window is mapped: medians of $runs paired runs"
printf '%-22s %12s %16s\n' "" "time (ms)" "peak RSS (KiB)"
printf '%-22s %12.1f %16.0f\n' "kolmira, 41 rows" "$k_ms" "$k_kib"
printf '%-22s %12.1f %16.0f\n' "bare Qt window" "$b_ms" "$b_kib"
awk -v km="$k_ms" -v bm="$b_ms" -v kk="$k_kib" -v bk="$b_kib" 'BEGIN {
    printf "%-22s %12.3f %16.3f   (goal: at most 1.10)\n", "ratio", km / bm, kk / bk }'

# Reading past a hostile row: one row of 1 GiB, in a folder of its own that
# goes with the rest of the temporary folder.
long_size=$((1 << 30))
mkdir "$work/long"
if (($(df --output=avail -B1 "$work/long" | tail -n 1) < long_size + (256 << 20))); then
    echo "Reading past a 1 GiB row: skipped, less than 1.25 GiB free in $work"
    exit 0
fi
long=$work/long/kolmira_fam.txt
{
    echo 1
    head -c "$long_size" /dev/zero | tr '\0' 5
    echo
} >"$long"

measure_long() { (cd "$work/long" && timeout 60 "$timer" "$kolmira") | cut -d' ' -f1; }
wc_ms() {
    local start=$EPOCHREALTIME
    wc -l "$long" >/dev/null
    awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.1f\n", (e - s) * 1000 }'
}

wc_ms >/dev/null # the file in the cache for both
measure_long >/dev/null
: >"$work/long_kolmira.txt"
: >"$work/long_wc.txt"
for ((run = 1; run <= long_runs; run++)); do
    if ((run % 2)); then
        measure_long >>"$work/long_kolmira.txt"
        wc_ms >>"$work/long_wc.txt"
    else
        wc_ms >>"$work/long_wc.txt"
        measure_long >>"$work/long_kolmira.txt"
    fi
done
rm -f "$long"
l_ms=$(median <"$work/long_kolmira.txt")
w_ms=$(median <"$work/long_wc.txt")

echo
echo "Reading past a row of 1 GiB: medians of $long_runs paired runs"
printf '%-22s %12s\n' "" "time (ms)"
printf '%-22s %12.1f\n' "kolmira, until mapped" "$l_ms"
printf '%-22s %12.1f\n' "wc -l" "$w_ms"
awk -v l="$l_ms" -v w="$w_ms" 'BEGIN {
    printf "%-22s %12.3f   (goal: at most 2)\n", "ratio", l / w }'
