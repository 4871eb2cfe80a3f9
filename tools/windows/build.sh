#!/usr/bin/env bash
# `make windows`: builds Kolmira for 64-bit Windows from the same CMake
# project and sources, cross-compiled with MinGW-w64 against Qt built from
# Debian's source (tools/windows/qt.sh, once, into a cache), then packs the
# zip and the setup program (tools/windows/pack.sh). Arguments go to
# CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

build=${WINDOWS_BUILD_DIR:-build-windows}
started=$SECONDS
qt=$(tools/windows/qt.sh | tail -n 1)

# Qt's toolchain file finds Qt and the host tools; it chain-loads this
# clone's own toolchain file rather than the one Qt was built with. The
# plugins' targets, which the package ships, are loaded with Qt (since Qt 6.8
# only when asked).
# Qt is reached through the link <build>/qt, which CMake writes relative to
# the build folder: the linker orders the import table by the libraries'
# paths, so where Qt's cache lies must not reach the link. CMake keeps the Qt
# it found first: a build folder made with another Qt starts afresh.
fresh=()
[[ $(readlink "$build/qt" 2>/dev/null) == "$qt" ]] || fresh=(--fresh)
mkdir -p "$build" && ln -sfn "$qt" "$build/qt"
cmake "${fresh[@]}" -S . -B "$build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$(realpath "$build")/qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DQT_SKIP_AUTO_PLUGIN_INCLUSION=OFF \
    -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$build" -j "${JOBS:-$(nproc)}"
BUILD_DIR=$build tools/windows/pack.sh
echo "make windows: $((SECONDS - started)) s"
