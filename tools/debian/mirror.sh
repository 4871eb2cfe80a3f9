#!/bin/sh
# Prints the address of the Debian archive that this machine's apt sources
# name for its own release, so that the chroots and piuparts use the same.
set -eu
# shellcheck disable=SC2016 # apt's format
apt-get indextargets --format '$(REPO_URI)' "Codename: $(. /etc/os-release && echo "$VERSION_CODENAME")" \
    'Label: Debian' | sed -n '1{s|/$||;p;}' | grep . || { echo "$0: apt's sources name no Debian archive" >&2 && exit 1; }
