#!/usr/bin/env bash
# `make debian-check`: what Debian checks of a build beyond lintian,
# autopkgtest and piuparts, which sbuild runs as `make package` builds
# (tools/debian/sbuild.conf): for each release in build/debian/,
#   blhc            the build log: every compiler and linker call got
#                   dpkg-buildflags' hardening flags (immediate binding too);
#   hardening-check the packaged program carries what those flags give,
#                   control-flow protection where the release's start-up
#                   files carry it too.
# The releases are those of tools/debian/suites, or the RELEASES given.
# Needs `make package` first.
set -euo pipefail
cd "$(dirname "$0")/../.."
releases=${RELEASES:-$(awk '$1 ~ /^[0-9]+$/ {print $2}' tools/debian/suites | xargs)}
out=${BUILD_DIR:-build}/debian
tools/setup.sh package check
arch=$(dpkg --print-architecture)
# The tools' own words follow the user's language; LANGUAGE wins even over LC_ALL.
c_locale=(env -u LANGUAGE LC_ALL=C.UTF-8)

for release in $releases; do
    deb=$(echo "$out/$release"/kolmira_*_"$arch".deb)
    [[ -f $deb ]] || { echo "No package for $release in $out/$release: run make package first." >&2 && exit 1; }
    # Immediate binding is asked for (hardening=+all); PIE is the compiler's
    # default. The line ignored compiles nothing: CMake's AUTOMOC (3.31 and
    # 4.3 word it apart) lists the compiler's predefined macros for moc.
    echo "=== blhc ($release build log)"
    "${c_locale[@]}" blhc --bindnow \
        --ignore-line '/usr/bin/\S+ -std=c\+\+20 (-w )?-dM -E (-c )?/usr/share/cmake-[0-9.]+/Modules/CMakeCXXCompilerABI\.cpp .*' \
        "${deb%.deb}.build"
    echo "=== hardening-check usr/bin/kolmira ($release)"
    # A program carries control-flow marks only when every object linked in
    # does. glibc's start-up files (Scrt1.o, crti.o) carry none on amd64 in
    # Debian 12 or 13, nor yet in 14 (readelf -n in their chroots), whatever
    # the compiler flags, so the mark is asked of a release only once they do.
    cf=() && [[ " bookworm trixie forky " != *" $release "* ]] || cf=(--nocfprotection)
    unpacked=$(mktemp -d)
    dpkg-deb --extract "$deb" "$unpacked"
    status=0
    "${c_locale[@]}" hardening-check "${cf[@]}" "$unpacked/usr/bin/kolmira" | tail -n +2 || status=$?
    rm -rf "$unpacked"
    ((status == 0)) || { echo "hardening-check finds a hardening feature missing in $deb." >&2 && exit 1; }
done
