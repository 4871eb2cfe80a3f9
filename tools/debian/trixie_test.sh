#!/usr/bin/env bash
# Runs `make test` (or the make targets DEBIAN13_TARGETS names) on Debian 13
# ("trixie") as a new user of that release would: in a fresh root unpacked
# from the chroot that sbuild builds in (tools/debian/chroot.sh), with only
# make, git and sudo added, as a user who may use sudo, on a clone of the
# last commit. The project's own targets install everything else. Needs
# root (chroot) and Debian's archive.
# The root lives in a mount namespace of its own: /proc, /dev/pts and the
# tmpfs end with it, whatever happens, and the root is removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/../.."
tarball=$(tools/debian/chroot.sh trixie)
root=$(mktemp -d)
trap 'rm -rf --one-file-system "$root"' EXIT
tar -xzf "$tarball" -C "$root"
git clone --quiet --bare --no-hardlinks . "$root/srv/kolmira.git"
echo "Testing $(git log -1 --format='%h %s') on Debian $(cat "$root/etc/debian_version")"

# Nothing of the caller's session (display, buses, locale) comes along. The
# script is expanded inside the namespace, with the root as $1.
# shellcheck disable=SC2016
unshare --mount --propagation private --pid --fork --kill-child -- env -i \
    PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM="${TERM:-dumb}" \
    JOBS="${JOBS:-$(nproc)}" TARGETS="${DEBIAN13_TARGETS:-test}" bash -euo pipefail -c '
    mount -t proc proc "$1/proc"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$1/dev/pts"
    mount --bind "$1/dev/pts/ptmx" "$1/dev/ptmx"
    for tmpfs in dev/shm tmp; do mount -t tmpfs -o mode=1777 tmpfs "$1/$tmpfs"; done
    cp /etc/resolv.conf "$1/etc/resolv.conf"
    chroot "$1" sh -euc "
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq && apt-get install -y -qq make git sudo >/dev/null
        useradd --create-home --shell /bin/bash --groups sudo user
        echo \"user ALL=(ALL) NOPASSWD: ALL\" >/etc/sudoers.d/user
        chown -R user: /srv/kolmira.git
        su --login --whitelist-environment=LANG user -c \"git clone --quiet /srv/kolmira.git kolmira && make -C kolmira $TARGETS JOBS=$JOBS\""
' - "$root"
