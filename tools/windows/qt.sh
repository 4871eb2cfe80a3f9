#!/usr/bin/env bash
# Builds the parts of Qt that Kolmira needs for 64-bit Windows (Core, Gui,
# Widgets, Test, the windows platform plugin and the windowsvista style) from
# Debian's own qt6-base source, with Debian's patches, at the version of the
# host Qt whose moc, rcc and uic the cross build uses. Prints the folder Qt is
# installed in as its last line.
#
# The result and the source package it was built from are kept outside the
# clone (KOLMIRA_CACHE, by default ~/.cache/kolmira), named by a hash of what
# changes Qt: its version, the configure options below, the toolchain file's
# settings (not its comments) and the MinGW packages' versions. The build runs
# in TMPDIR (about 2 GB); a second run waits for the first rather than build.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh windows >&2
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev)

# Only what Kolmira uses, which halves the build. Tablet support needs wintab,
# which Debian's source leaves out. Kept: the main window and tool bar (Qt
# Widgets' compatibility code needs them), the input dialog and the table and
# tree views (the windowsvista style uses them), and Direct2D as a feature
# (the DirectWrite font engine is built under it).
off=(opengl dbus icu network sql xml printsupport concurrent tabletevent zstd
    jpeg gif ico freetype vulkan sessionmanager direct2d1_1
    textodfwriter textmarkdownreader textmarkdownwriter pdf movie systemtrayicon
    undocommand undostack undogroup undoview style-stylesheet style-fusion
    dockwidget statusbar mdiarea splashscreen textbrowser
    graphicsview graphicseffect syntaxhighlighter calendarwidget datetimeedit
    colordialog filedialog fontdialog errormessage wizard
    columnview tablewidget treewidget datawidgetmapper
    fontcombobox lcdnumber dial toolbox keysequenceedit commandlinkbutton
    completer fscompleter)
# Qt's Perl script gzips the MIME database without the time CMake's archiving puts in its header.
options=(-DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DINPUT_opengl=no -DQT_AVOID_CMAKE_ARCHIVING_API=ON)
for feature in "${off[@]}"; do options+=("-DFEATURE_$feature=OFF"); done
for library in zlib pcre2 png harfbuzz doubleconversion libb2; do
    options+=("-DFEATURE_system_$library=OFF")
done

compilers=$(dpkg-query -W -f='${Package} ${Version}\n' g++-mingw-w64-x86-64-posix \
    gcc-mingw-w64-x86-64-posix-runtime mingw-w64-x86-64-dev binutils-mingw-w64-x86-64)
recipe=$({
    echo "$version"
    printf '%s\n' "${options[@]}"
    grep -v '^[[:space:]]*\(#\|$\)' "$toolchain"
    echo "$compilers"
} | sha256sum | cut -c1-12)
cache=${KOLMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kolmira}
qt=$cache/qt-$version-mingw-w64-x86_64-$recipe

mkdir -p "$cache"
exec 9>"$qt.lock"
flock --nonblock 9 || { echo "Waiting for another run that builds $qt" >&2 && flock 9; }
[[ -e $qt/.complete ]] && echo "$qt" && exit 0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
started=$SECONDS
echo "Building Qt $version for Windows into $qt (about 21 minutes on two cores, once)" >&2

# Debian's source, checked against the archive's signature as packages are
# (tools/setup.sh adds deb-src to the machine's Debian entries for it).
mkdir -p "$work/source"
(cd "$work/source" && apt-get -o APT::Sandbox::User="$(id -un)" source -qq "qt6-base=$version" >/dev/null) || {
    echo "Debian's archive no longer has the source of qt6-base $version, this machine's qt6-base-dev." \
        "Bring the machine up to date (apt-get update && apt-get upgrade) and run this again, or" \
        "take the source from https://snapshot.debian.org/package/qt6-base/." | fmt >&2
    exit 1
}
source=$(echo "$work"/source/qt6-base-*/)

# The build folders never reach the binaries, so that Qt built anywhere
# gives the same files; the compiled-in prefix is a fixed one, and the
# files are installed into the cache below it.
prefix_maps="-ffile-prefix-map=$source=qt6-base -ffile-prefix-map=$work/build=build"
cmake -S "$source" -B "$work/build" -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/cmake" \
    -DCMAKE_INSTALL_PREFIX=/kolmira-qt -DCMAKE_C_FLAGS="$prefix_maps" -DCMAKE_CXX_FLAGS="$prefix_maps" \
    "${options[@]}" >"$work/configure.log" 2>&1 ||
    { tail -n 40 "$work/configure.log" >&2 && echo "Configuring Qt failed; see above." >&2 && exit 1; }
cmake --build "$work/build" -j "${JOBS:-$(nproc)}" >"$work/build.log" 2>&1 || {
    grep -E -m10 'FAILED:|error:|undefined reference' "$work/build.log" >&2 || tail -n 40 "$work/build.log" >&2
    echo "Building Qt failed; see above." >&2 && exit 1
}
rm -rf "$qt.partial"
cmake --install "$work/build" --prefix "$qt.partial" >/dev/null
# The licence texts and Debian's copyright file, which names the licence of
# every part of the source (the bundled zlib, PCRE2, HarfBuzz, libpng ...),
# travel with the build for the packages; the source package itself for the
# release, which offers it beside the binaries.
mkdir -p "$qt.partial/licenses" "$qt.partial/source"
find "$source/LICENSES" -name '*.txt' ! -name 'LicenseRef-*' -exec cp {} "$qt.partial/licenses/" \;
cp "$source/debian/copyright" "$qt.partial/licenses/debian-copyright"
echo "$version" >"$qt.partial/licenses/debian-version"
find "$work/source" -maxdepth 1 -type f -name 'qt6-base_*' -exec cp {} "$qt.partial/source/" \;
touch "$qt.partial/.complete"
mv -T "$qt.partial" "$qt"
echo "Qt built in $((SECONDS - started)) s" >&2
others=$(find "$cache" -maxdepth 1 -name 'qt-*-mingw-w64-x86_64-*[0-9a-f]' ! -path "$qt" | wc -l)
((others == 0)) || echo "$cache holds $others other Qt builds; remove those no longer used." >&2
echo "$qt"
