#!/usr/bin/env bash
# Runs `make test` (or the make targets DEBIAN13_TARGETS names) on Debian 13
# ("trixie") as a new user of it would: in a fresh root (tools/debian/in_root.sh)
# with only make, git and sudo added, as a user who may use sudo, on a clone of
# the last commit. The project's own targets install everything else.
set -euo pipefail
cd "$(dirname "$0")/../.."
repository=$(mktemp -d)
trap 'rm -rf "$repository"' EXIT
git clone --quiet --bare --no-hardlinks . "$repository/kolmira.git"
echo "Testing $(git log -1 --format='%h %s') on Debian 13"
BINDS="$repository/kolmira.git:/srv/kolmira.git" tools/debian/in_root.sh trixie sh -euc "
    apt-get update -qq
    apt-get install -y -qq make git sudo >/dev/null
    useradd --create-home --shell /bin/bash --groups sudo user
    echo 'user ALL=(ALL) NOPASSWD: ALL' >/etc/sudoers.d/user
    chown -R user: /srv/kolmira.git
    su --login --whitelist-environment=LANG user -c 'git clone --quiet /srv/kolmira.git kolmira &&
        make -C kolmira ${DEBIAN13_TARGETS:-test} JOBS=${JOBS:-$(nproc)}'"
