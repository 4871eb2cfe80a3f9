#!/usr/bin/env bash
# Installs the built program with CMake's install rules under PREFIX
# (default /usr/local), staged below DESTDIR when that is set.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build} # built by `make install`
prefix=${PREFIX:-/usr/local}
DESTDIR=${DESTDIR:-} cmake --install "$build" --prefix "$prefix" --strip
echo "Installed Kolmira under ${DESTDIR:-}$prefix"
