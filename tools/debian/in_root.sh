#!/usr/bin/env bash
# tools/debian/in_root.sh RELEASE COMMAND...: runs COMMAND as root in a fresh
# root of Debian RELEASE, unpacked from the chroot sbuild builds in
# (tools/debian/chroot.sh), with nothing of the caller's session (environment,
# display, buses). The root lives in a mount and PID namespace of its own, so
# that /proc, /dev/pts and the in-memory /tmp end with it, and is removed
# afterwards. BINDS="FOLDER:PATH ..." mounts folders of this machine into it
# at PATH (neither with blanks); downloaded packages are kept in the cache.
# Needs root.
set -euo pipefail
cd "$(dirname "$0")/../.."
release=$1
shift
tarball=$(tools/debian/chroot.sh "$release")
archives=${tarball%/chroots/*}/apt-archives-$release # in the same cache
root=$(mktemp -d)
trap 'rm -rf --one-file-system "$root"' EXIT
mkdir -p "$archives" && tar -xzf "$tarball" -C "$root"
cp /etc/resolv.conf "$root/etc/resolv.conf"
# shellcheck disable=SC2016 # expanded inside the namespace, with the root as $1
BINDS="$archives:/var/cache/apt/archives ${BINDS-}" unshare --mount --propagation private --pid --fork \
    --kill-child -- bash -euo pipefail -c '
    root=$1 && shift
    mount -t proc proc "$root/proc"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 devpts "$root/dev/pts"
    mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
    for tmpfs in dev/shm tmp; do mount -t tmpfs -o mode=1777 tmpfs "$root/$tmpfs"; done
    for bind in $BINDS; do mkdir -p "$root${bind#*:}" && mount --bind "${bind%%:*}" "$root${bind#*:}"; done
    exec chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 TERM=dumb \
        DEBIAN_FRONTEND=noninteractive "$@"' - "$root" "$@"
