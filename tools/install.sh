#!/usr/bin/env bash
# Builds Kolmira and installs it with CMake's install rules under PREFIX
# (default /usr/local), staged below DESTDIR when that is set.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the build runs make of its own

build=${BUILD_DIR:-build}
prefix=${PREFIX:-/usr/local}
tools/setup.sh
cmake -S . -B "$build" -Wno-dev >/dev/null
cmake --build "$build" -j "$(nproc)" --target kolmira
DESTDIR=${DESTDIR:-} cmake --install "$build" --prefix "$prefix" --strip
echo "Installed Kolmira under ${DESTDIR:-}$prefix"
