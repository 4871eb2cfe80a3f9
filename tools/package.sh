#!/usr/bin/env bash
# Builds the Debian package build/kolmira_<version>_<arch>.deb with CPack;
# dpkg-shlibdeps finds the libraries it depends on.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the build runs make of its own

build=${BUILD_DIR:-build} # built by `make package`
tools/setup.sh dpkg-dev file
(cd "$build" && cpack -G DEB)
deb=$(ls "$build"/kolmira_*.deb)
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends
echo "Install it with: sudo apt-get install ./$deb"
