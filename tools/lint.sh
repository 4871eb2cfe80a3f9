#!/usr/bin/env bash
# Static analysis of our own code in src/: clazy (levels 0 to 2) and
# clang-tidy (the checks in .clang-tidy), from the compile commands of a build
# folder of their own. Qt's headers and the generated files are left out.
# Fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL
tools/setup.sh clazy clang-tidy

build_dir=${LINT_BUILD_DIR:-build-lint}
jobs=${JOBS:-$(nproc)}

# Configuring is enough: it writes the compile commands and the one generated
# header the sources include; nothing needs to be compiled.
cmake -S . -B "$build_dir" -Wno-dev -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DBUILD_TESTING=OFF \
    >/dev/null

mapfile -t sources < <(git ls-files 'src/*.cpp')
headers="^$PWD/src/"
log=$build_dir/lint.log
: >"$log"

# A tool that stops on a file (it could not parse it, say) fails the run too.
status=0
printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -n 1 clazy-standalone -p "$build_dir" --checks=level0,level1,level2 \
        --header-filter="$headers" >>"$log" 2>&1 || status=1
printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -n 1 clang-tidy -p "$build_dir" --quiet --header-filter="$headers" \
        >>"$log" 2>&1 || status=1

# Each finding is a "file:line:column: warning: ..." (or error) line.
findings=$(grep -cE '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' "$log" || true)
if ((status != 0 || findings > 0)); then
    grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$' "$log" >&2 || true
    echo "lint: $findings finding(s); the full output is in $log" >&2
    exit 1
fi
echo "lint: no findings from clazy (level0..level2) or clang-tidy in ${#sources[@]} files"
