#!/usr/bin/env bash
# tools/debian/check.sh [files|autopkgtest|piuparts]...: checks what
# `make package` left in build/debian/ for each release as Debian checks a
# package (all three when none is named):
#   files        lintian --pedantic on the source and binary packages (no
#                error or warning), blhc on the build logs, and hardening-check
#                on the packaged program
#   autopkgtest  debian/tests against the installed package, in a fresh
#                testbed (autopkgtest-virt-unshare) made from the chroot
#   piuparts     installs, removes and purges the package in that chroot
set -euo pipefail
cd "$(dirname "$0")/../.."
releases=${RELEASES:-bookworm trixie}
out=${BUILD_DIR:-build}/debian
tools/setup.sh package check
arch=$(dpkg --print-architecture)
# The tools' own words follow the user's language; LANGUAGE wins even over LC_ALL.
c_locale=(env -u LANGUAGE LC_ALL=C.UTF-8)

files() {
    local deb=$1 release=$2
    echo "=== lintian $deb"
    "${c_locale[@]}" lintian --pedantic --display-info --fail-on error,warning "$deb"
    # Immediate binding is asked for (hardening=+all); PIE is the compiler's
    # default. The line ignored compiles nothing: CMake 3.31's AUTOMOC lists
    # the compiler's predefined macros for moc.
    echo "=== blhc ($release build log)"
    "${c_locale[@]}" blhc --bindnow \
        --ignore-line '/usr/bin/c\+\+ -std=c\+\+20 -dM -E -c /usr/share/cmake-[0-9.]+/Modules/CMakeCXXCompilerABI\.cpp .*' \
        "${deb%.deb}.build"
    echo "=== hardening-check usr/bin/kolmira ($release)"
    # Control-flow marks are not asked for: bookworm's start-up files carry none.
    local unpacked && unpacked=$(mktemp -d)
    dpkg-deb --extract "$deb" "$unpacked"
    "${c_locale[@]}" hardening-check --nocfprotection "$unpacked/usr/bin/kolmira" | tail -n +2 ||
        { echo "hardening-check finds a hardening feature missing in $deb." >&2 && rm -rf "$unpacked" && return 1; }
    rm -rf "$unpacked"
}

autopkgtest() {
    echo "=== autopkgtest ($2)"
    rm -rf "$out/$2/autopkgtest"
    command autopkgtest --apt-upgrade --output-dir="$out/$2/autopkgtest" "$1" \
        "$out/kolmira_$(dpkg-deb --field "$1" Version).dsc" \
        -- unshare --release "$2" --tarball "$tarball" >"$out/$2/autopkgtest.log" 2>&1 ||
        { tail -n 40 "$out/$2/autopkgtest.log" >&2 && return 1; }
    grep -E '^(PASS|FAIL|  )' "$out/$2/autopkgtest/keyboard-stdout" || true
    cat "$out/$2/autopkgtest/summary"
}

piuparts() {
    echo "=== piuparts ($2)"
    # trixie's debconf leaves its folder tmp.ci, which piuparts 1.1.7 does not know yet.
    command piuparts --basetgz="$tarball" --distribution="$2" --ignore=/var/cache/debconf/tmp.ci/ \
        --mirror=http://deb.debian.org/debian "$1" >"$out/$2/piuparts.log" 2>&1 ||
        { tail -n 40 "$out/$2/piuparts.log" >&2 && return 1; }
    grep -v " DEBUG: " "$out/$2/piuparts.log" | tail -n 2
}

steps=("${@:-files}")
(($#)) || steps+=(autopkgtest piuparts)
for step in "${steps[@]}"; do
    [[ $step =~ ^(files|autopkgtest|piuparts)$ ]] || { echo "usage: $0 [files|autopkgtest|piuparts]..." >&2 && exit 2; }
    [[ $step != files ]] || for dsc in "$out"/kolmira_*.dsc; do
        echo "=== lintian $dsc" && "${c_locale[@]}" lintian --pedantic --display-info --fail-on error,warning "$dsc"
    done
    for release in $releases; do
        tarball=$(tools/debian/chroot.sh "$release")
        "$step" "$(echo "$out/$release"/kolmira_*_"$arch".deb)" "$release"
    done
done
