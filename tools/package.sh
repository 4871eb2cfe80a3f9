#!/usr/bin/env bash
# Builds the Debian package build/kolmira_<version>_<arch>.deb with CPack;
# dpkg-shlibdeps finds the libraries it depends on. Then lintian checks it,
# and any error or warning fails the build, and hardening-check checks the
# packaged program. Every time in the package is the last commit's, so that
# the same commit gives the same package (tools/reproducible.sh checks it).
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the build runs make of its own

build=${BUILD_DIR:-build} # built by `make package`
tools/setup.sh dpkg-dev file lintian devscripts
SOURCE_DATE_EPOCH=$(tools/source_date_epoch.sh)
export SOURCE_DATE_EPOCH
rm -f "$build"/kolmira_*.deb # so that only the package just built is checked
# CPack gives the package's ar members the modes they got on disk, which
# would follow the builder's umask.
umask 022
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/kolmira_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Maintainer Depends Recommends

# lintian and hardening-check read other programs' words (readelf's, say),
# which follow the user's language; LANGUAGE wins even over LC_ALL=C.UTF-8.
c_locale=(env -u LANGUAGE LC_ALL=C.UTF-8)

# Info tags are shown, but only errors and warnings fail.
echo "lintian $deb:"
if ! "${c_locale[@]}" lintian --display-info --fail-on error,warning "$deb"; then
    echo "lintian found errors or warnings in $deb; see above." >&2
    exit 1
fi
# Debian 12's start-up files carry no control-flow marks, so the program
# cannot have them either, and a program without a large stack frame has
# nothing to probe: those two lines are shown but not required.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb --extract "$deb" "$unpacked"
echo "hardening-check usr/bin/kolmira:"
report=$("${c_locale[@]}" hardening-check "$unpacked/usr/bin/kolmira" | tail -n +2 || true)
echo "$report"
for check in "Position Independent Executable" "Stack protected" "Fortify Source functions" \
    "Read-only relocations" "Immediate binding"; do
    if ! grep -q "^ $check: yes" <<<"$report"; then
        echo "hardening-check: \"$check\" is not yes for usr/bin/kolmira in $deb." >&2
        exit 1
    fi
done
echo "Install it with: sudo apt-get install ./$deb"
