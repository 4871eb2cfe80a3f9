#!/usr/bin/env bash
# Builds the parts of Qt that Kolmira needs for 64-bit Windows (Core, Gui,
# Widgets, Test, the windows platform plugin and the windowsvista style) from
# Debian's own qt6-base source, with Debian's patches applied, at the same
# version as the host Qt whose moc, rcc and uic the cross build uses.
#
# The result is kept in a cache outside the clone (KOLMIRA_CACHE, by default
# ~/.cache/kolmira), so that `make clean` leaves it; it is built again when
# the Qt version, this script or the toolchain file changes. Prints the
# folder Qt is installed in as its last line.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh g++-mingw-w64-x86-64-posix ninja-build perl xz-utils >&2
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)
recipe=$(cat "$0" "$toolchain" | sha256sum | cut -c1-12)
cache=${KOLMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kolmira}
qt=$cache/qt-$version-mingw-w64-x86_64-$recipe

if [[ -e $qt/.complete ]]; then
    echo "$qt"
    exit 0
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
started=$SECONDS
echo "Building Qt $version for Windows into $qt (about 25 minutes on two cores, once)" >&2

# The machine's own Debian sources, as source entries, in apt folders of our
# own: the machine's apt configuration is left alone, and no root is needed.
mkdir -p "$work"/apt/{sources,lists/partial,cache/archives/partial}
shopt -s nullglob
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [[ -e $list ]] && sed -n 's/^deb[[:space:]]/deb-src /p' "$list"
done >"$work/apt/sources/source.list"
for sources in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types:.*/Types: deb-src/' "$sources" >"$work/apt/sources/$(basename "$sources")"
done
shopt -u nullglob
apt=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/apt/sources"
    -o Dir::State::Lists="$work/apt/lists" -o Dir::Cache="$work/apt/cache"
    -o APT::Sandbox::User="$(id -un)")
apt-get "${apt[@]}" update -qq >&2
(cd "$work" && apt-get "${apt[@]}" source -qq "qt6-base=$version" >/dev/null)
source=$(echo "$work"/qt6-base-*/)

# Only what Kolmira uses, to keep the build short and the download small.
# Tablet support needs wintab, which Debian's source leaves out.
off=(opengl dbus icu network sql xml printsupport concurrent tabletevent zstd
    jpeg gif freetype vulkan sessionmanager textodfwriter)
options=()
for feature in "${off[@]}"; do options+=("-DFEATURE_$feature=OFF"); done
for library in zlib pcre2 png harfbuzz doubleconversion libb2; do
    options+=("-DFEATURE_system_$library=OFF")
done

rm -rf "$qt" "$qt.partial"
cmake -S "$source" -B "$work/build" -G Ninja -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++ \
    -DCMAKE_INSTALL_PREFIX="$qt.partial" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DINPUT_opengl=no \
    "${options[@]}" >"$work/configure.log" 2>&1 || {
    tail -n 40 "$work/configure.log" >&2
    echo "Configuring Qt failed; see above." >&2
    exit 1
}
cmake --build "$work/build" -j "${JOBS:-$(nproc)}" >"$work/build.log" 2>&1 || {
    grep -B2 -A20 -m3 'FAILED:' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2
    echo "Building Qt failed; see above." >&2
    exit 1
}
cmake --install "$work/build" >/dev/null
# The licence texts travel with the build, for the packages.
# The licence texts and Debian's copyright file, which names the licence of
# every part of the source (the bundled zlib, PCRE2, HarfBuzz, libpng ...),
# travel with the build for the packages.
mkdir -p "$qt.partial/licenses"
find "$source/LICENSES" -name '*.txt' ! -name 'LicenseRef-*' -exec cp {} "$qt.partial/licenses/" \;
cp "$source/debian/copyright" "$qt.partial/licenses/debian-copyright"
echo "$version" >"$qt.partial/licenses/debian-version"
touch "$qt.partial/.complete"
mv "$qt.partial" "$qt"
# Builds for other versions or recipes are of no more use.
find "$cache" -maxdepth 1 -name 'qt-*-mingw-w64-x86_64-*' ! -path "$qt" -exec rm -rf {} + || true
echo "Qt built in $((SECONDS - started)) s" >&2
echo "$qt"
