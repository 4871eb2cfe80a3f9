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
tools/setup.sh lintian blhc devscripts autopkgtest piuparts uidmap
version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
dsc=$out/kolmira_$version.dsc
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
        "$out/$release/kolmira_${version}_$arch.build"
    echo "=== hardening-check usr/bin/kolmira ($release)"
    local unpacked report check
    unpacked=$(mktemp -d)
    dpkg-deb --extract "$deb" "$unpacked"
    report=$("${c_locale[@]}" hardening-check "$unpacked/usr/bin/kolmira" | tail -n +2 || true)
    rm -rf "$unpacked"
    echo "$report"
    # Control-flow marks and stack-clash probes are not asked for: bookworm's
    # start-up files carry none, and a program without a large stack frame
    # has nothing to probe.
    for check in "Position Independent Executable" "Stack protected" \
        "Fortify Source functions" "Read-only relocations" "Immediate binding"; do
        grep -q "^ $check: yes" <<<"$report" || {
            echo "hardening-check: \"$check\" is not yes in $deb." >&2
            return 1
        }
    done
}

steps=("$@")
[[ $# -gt 0 ]] || steps=(files autopkgtest piuparts)
for step in "${steps[@]}"; do
    if [[ $step == files ]]; then
        echo "=== lintian $dsc"
        "${c_locale[@]}" lintian --pedantic --display-info --fail-on error,warning "$dsc"
    fi
    for release in $releases; do
        deb=$out/$release/kolmira_${version}_$arch.deb
        tarball=$(tools/debian/chroot.sh "$release")
        case $step in
        files) files "$deb" "$release" ;;
        autopkgtest)
            echo "=== autopkgtest ($release)"
            rm -rf "$out/$release/autopkgtest"
            autopkgtest --apt-upgrade --output-dir="$out/$release/autopkgtest" "$deb" "$dsc" \
                -- unshare --release "$release" --tarball "$tarball" >"$out/$release/autopkgtest.log" 2>&1 ||
                { tail -n 40 "$out/$release/autopkgtest.log" >&2; exit 1; }
            grep -E '^(PASS|FAIL|  )' "$out/$release/autopkgtest/keyboard-stdout" || true
            cat "$out/$release/autopkgtest/summary"
            ;;
        piuparts)
            echo "=== piuparts ($release)"
            # trixie's debconf leaves its folder tmp.ci, which piuparts 1.1.7
            # does not know yet.
            piuparts --basetgz="$tarball" --distribution="$release" \
                --ignore=/var/cache/debconf/tmp.ci/ --mirror=http://deb.debian.org/debian "$deb" >"$out/$release/piuparts.log" 2>&1 ||
                { tail -n 40 "$out/$release/piuparts.log" >&2; exit 1; }
            grep -v " DEBUG: " "$out/$release/piuparts.log" | tail -n 2
            ;;
        *)
            echo "usage: $0 [files|autopkgtest|piuparts]..." >&2
            exit 2
            ;;
        esac
    done
done
