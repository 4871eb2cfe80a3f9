#!/usr/bin/env bash
# Builds the Debian package build/kolmira_<version>_<arch>.deb with CPack;
# dpkg-shlibdeps finds the libraries it depends on. Then lintian checks it,
# and any error or warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the build runs make of its own

build=${BUILD_DIR:-build} # built by `make package`
tools/setup.sh dpkg-dev file lintian
rm -f "$build"/kolmira_*.deb # so that only the package just built is checked
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/kolmira_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Maintainer Depends Recommends

# Info tags are shown, but only errors and warnings fail.
echo "lintian $deb:"
if ! lintian --display-info --fail-on error,warning "$deb"; then
    echo "lintian found errors or warnings in $deb; see above." >&2
    exit 1
fi
echo "Install it with: sudo apt-get install ./$deb"
