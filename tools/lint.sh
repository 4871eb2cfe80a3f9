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

cmake -S . -B "$build_dir" -Wno-dev -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DBUILD_TESTING=OFF \
    >/dev/null
# The moc output the sources may include has to exist before they are parsed.
cmake --build "$build_dir" -j "$jobs" --target kolmira_core_autogen kolmira_form_autogen \
    kolmira_autogen >/dev/null

mapfile -t sources < <(git ls-files 'src/*.cpp')
headers="^$PWD/src/"
log=$build_dir/lint.log
: >"$log"

printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -n 1 clazy-standalone -p "$build_dir" --checks=level0,level1,level2 \
        --header-filter="$headers" 2>>"$log" || true
printf '%s\n' "${sources[@]}" |
    xargs -P "$jobs" -n 1 clang-tidy -p "$build_dir" --quiet --header-filter="$headers" \
        >>"$log" 2>/dev/null || true

# Each finding is one "file:line:column: warning|error: ..." line, followed by
# the source line it points at.
if grep -qE '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' "$log"; then
    cat "$log" >&2
    echo "lint: $(grep -cE '^[^ ]+:[0-9]+:[0-9]+: (warning|error):' "$log") finding(s)" >&2
    exit 1
fi
echo "lint: no findings from clazy (level0..level2) or clang-tidy in ${#sources[@]} files"
