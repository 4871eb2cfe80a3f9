#!/usr/bin/env bash
# Builds the program and every test with AddressSanitizer and
# UndefinedBehaviorSanitizer in a build folder of its own and runs the whole
# test suite there. The first finding stops the test that made it.
set -euo pipefail
cd "$(dirname "$0")/.."
# Started from make: keep its job server and directory messages out of the build.
unset MAKEFLAGS MFLAGS MAKELEVEL
tools/setup.sh

build_dir=${SANITIZE_BUILD_DIR:-build-sanitize}
jobs=${JOBS:-$(nproc)}
flags="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

cmake -S . -B "$build_dir" -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLMIRA_HARDENING=OFF \
    -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >/dev/null
cmake --build "$build_dir" -j "$jobs"

# Qt and the system libraries below it are not instrumented; the few
# allocations they keep for the life of the process are listed in
# tools/lsan.supp so that leaks in our own code still fail the run.
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
cd "$build_dir"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs"
