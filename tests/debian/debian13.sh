#!/usr/bin/env bash
# `make debian13`: runs `make test` (or the make targets DEBIAN13_TARGETS
# names) on Debian 13 ("trixie") as a new user of it would, in a fresh root
# with only make, git and sudo added, on a clone of the last commit
# (tests/system/make-test, through tests/debian/testbed.sh). Needs root.
set -euo pipefail
cd "$(dirname "$0")/../.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
git clone --quiet --bare --no-hardlinks . "$work/kolmira.git"
echo "Testing $(git log -1 --format='%h %s') on Debian 13"
tests/debian/testbed.sh trixie make-test --copy="$work/kolmira.git:/srv/kolmira.git" \
    --env=TARGETS="${DEBIAN13_TARGETS:-test}"
