#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS
# (default 60), starting from the committed corpus in fuzz/corpus/<target>.
# New coverage goes to a scratch corpus in the build folder; an input that
# crashes or breaks a property is written into the committed corpus, so that
# the ordinary test suite replays it from then on, and the run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
# Started from make: keep its job server and directory messages out of the build.
unset MAKEFLAGS MFLAGS MAKELEVEL
tools/setup.sh clang
# libFuzzer comes with clang's runtime, packaged by clang's major version.
tools/setup.sh "libclang-rt-$(clang -dumpversion | cut -d. -f1)-dev"

seconds=${FUZZ_SECONDS:-60}
build_dir=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${JOBS:-$(nproc)}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKOLMIRA_FUZZ=ON -DKOLMIRA_HARDENING=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build_dir" -j "$jobs" --target fuzz_row_file fuzz_val

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"

status=0
summary=()
for target in row_file val; do
    seeds=fuzz/corpus/$target
    scratch=$build_dir/corpus/$target
    mkdir -p "$scratch"
    log=$build_dir/fuzz_$target.log
    echo "Fuzzing $target for $seconds s"
    # The reader's items are capped at 1024 characters and it reads 64 KiB at
    # a time; inputs of a few KiB cover both with the trickling device.
    if ! "$build_dir/fuzz_$target" "$scratch" "$seeds" -max_total_time="$seconds" \
        -max_len=8192 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$seeds/" >"$log" 2>&1; then
        status=1
        echo "fuzz_$target found a failing input; it is now in $seeds:" >&2
        grep -E '^(row file|Val):|ERROR|SUMMARY|Test unit written' "$log" >&2 || tail -n 30 "$log" >&2
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    # libFuzzer's last status line: "#<runs> DONE cov: <edges> ft: .. corp: <inputs>/<bytes> .."
    last=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1 || true)
    corpus=$(sed -nE 's/.*corp: ([0-9]+)\/([^ ]+).*/\1 inputs (\2)/p' <<<"$last")
    cov=$(sed -nE 's/.*cov: ([0-9]+).*/\1/p' <<<"$last")
    summary+=("fuzz_$target: ${runs:-?} executions, corpus ${corpus:-?}, coverage ${cov:-?} edges; $(ls "$seeds" | wc -l) inputs committed")
done

printf '%s\n' "${summary[@]}"
exit $status
