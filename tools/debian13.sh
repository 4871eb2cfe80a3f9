#!/usr/bin/env bash
# Runs `make test` and `make package` (or the make targets DEBIAN13_TARGETS
# names, such as windows) on Debian 13 ("trixie") the way a new user of that
# release would: in a minimal root made by debootstrap (variant
# minbase) with only make, git and sudo added; the project's own targets
# install everything else. Needs root (debootstrap, mount, chroot) and
# Debian's archive.
#
# The root is kept in build/debian13-root (or DEBIAN13_ROOT) and reused by
# the next run; --new-root makes it afresh. Each run tests a clean clone of
# the checkout's HEAD: uncommitted changes and build folders stay outside.
#
# Everything runs in a private mount and PID namespace: the mounts inside the
# root (/proc, a /dev of its own, /tmp) are unmounted on exit, and even a
# killed run cannot leave them behind, since they end with the namespace.
set -euo pipefail
cd "$(dirname "$0")/.."

root=$(realpath -m "${DEBIAN13_ROOT:-build/debian13-root}")
mirror=${DEBIAN13_MIRROR:-http://deb.debian.org/debian}
jobs=${JOBS:-$(nproc)}
ready=$root/.debian13-root-ready # written once the root is complete
source_dir=/src/kolmira          # the clone, inside the root
mounted=()                       # inside the root, in the order mounted

remove() {
    # A folder with anything mounted below it is never removed.
    tools/mounts_below.sh "$1" || {
        echo "Refusing to remove $1: something is still mounted below it." >&2
        exit 1
    }
    rm -rf --one-file-system "$1"
}

# The part that runs in the namespace: make or reuse the root, mount, test.
in_namespace() {
    local started=$SECONDS

    end() {
        local status=$?
        trap - EXIT INT TERM
        # As the namespace's first process, end every process left in it
        # (a bus, an X server) so that nothing holds the mounts. Only then:
        # anywhere else `kill -1` would reach the whole machine.
        if [[ $$ -eq 1 ]]; then
            kill -TERM -1 2>/dev/null || true
            sleep 1
            kill -KILL -1 2>/dev/null || true
        fi
        local i
        for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
            umount "${mounted[i]}" 2>/dev/null || umount --lazy "${mounted[i]}" ||
                echo "Could not unmount ${mounted[i]}" >&2
        done
        tools/mounts_below.sh "$root" || status=1
        exit "$status"
    }
    trap end EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM

    mount_in_root() { # type, target inside the root, options
        mkdir -p "$root$2"
        mount -t "$1" -o "$3" "kolmira-$1" "$root$2"
        mounted+=("$root$2")
    }

    local new_root=$1
    if [[ ! -e $ready ]] || [[ $new_root == yes ]]; then
        [[ -e $root ]] && echo "Removing the previous Debian 13 root in $root"
        remove "$root"
        echo "Making a minimal Debian 13 root in $root from $mirror"
        local debootstrap_log
        debootstrap_log=$(mktemp)
        if ! debootstrap --variant=minbase trixie "$root" "$mirror" >"$debootstrap_log" 2>&1; then
            tail -n 30 "$debootstrap_log" >&2
            echo "debootstrap failed; see above." >&2
            exit 1
        fi
        rm -f "$debootstrap_log"
        # Services that packages install stay stopped in the root.
        printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
        chmod +x "$root/usr/sbin/policy-rc.d"
    else
        echo "Reusing the Debian 13 root in $root (--new-root makes it afresh)"
    fi
    cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true

    remove "$root$source_dir"
    mkdir -p "$(dirname "$root$source_dir")"
    git clone --quiet --no-hardlinks . "$root$source_dir"
    git -C "$root$source_dir" checkout --quiet --detach "$(git rev-parse HEAD)"
    echo "Testing $(git log -1 --format='%h %s')"
    git diff --quiet HEAD || echo "(uncommitted changes here are not part of the run)"

    # A /dev of its own: a few device nodes on a tmpfs, never the machine's.
    mount_in_root proc /proc nosuid,nodev,noexec
    mount_in_root tmpfs /dev nosuid,noexec,mode=0755,size=1m
    local node
    for node in null:1:3 zero:1:5 full:1:7 random:1:8 urandom:1:9 tty:5:0; do
        IFS=: read -r name major minor <<<"$node"
        mknod -m 0666 "$root/dev/$name" c "$major" "$minor"
    done
    ln -s /proc/self/fd "$root/dev/fd"
    ln -s /proc/self/fd/0 "$root/dev/stdin"
    ln -s /proc/self/fd/1 "$root/dev/stdout"
    ln -s /proc/self/fd/2 "$root/dev/stderr"
    ln -s pts/ptmx "$root/dev/ptmx"
    mount_in_root devpts /dev/pts nosuid,noexec,newinstance,ptmxmode=0666,mode=0620
    mount_in_root tmpfs /dev/shm nosuid,nodev,mode=1777
    mount_in_root tmpfs /tmp nosuid,nodev,mode=1777

    # Nothing of the caller's session (display, buses, locale) comes along.
    in_root() {
        env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
            HOME=/root LANG=C.UTF-8 TERM="${TERM:-dumb}" \
            chroot "$root" /bin/bash -c "$1" </dev/null
    }

    if [[ ! -e $ready ]]; then
        echo "Installing make, git and sudo in the root"
        in_root 'export DEBIAN_FRONTEND=noninteractive
            apt-get update -qq && apt-get install -y -qq make git sudo >/dev/null'
        date -u >"$ready"
    fi
    echo "Debian $(cat "$root/etc/debian_version") root ready after $((SECONDS - started)) s"

    local status=0 target step result
    for target in ${DEBIAN13_TARGETS:-test package}; do
        step=$SECONDS
        echo "=== make $target (Debian 13)"
        result=passed
        in_root "cd $source_dir && make $target JOBS=$jobs" || result=failed status=1
        echo "=== make $target (Debian 13) $result after $((SECONDS - step)) s"
    done
    echo "Debian 13 run: $((SECONDS - started)) s in all"
    exit "$status"
}

if [[ ${1-} == --in-namespace ]]; then
    in_namespace "$2"
fi

new_root=no
case ${1-} in
--new-root) new_root=yes ;;
"") ;;
*)
    echo "usage: $0 [--new-root]" >&2
    exit 2
    ;;
esac
if [[ $(id -u) -ne 0 ]]; then
    echo "The Debian 13 check needs root (debootstrap, mount, chroot): sudo $0" >&2
    exit 1
fi
if ! command -v debootstrap >/dev/null || ! command -v unshare >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 install -y -qq \
        debootstrap util-linux >/dev/null
fi
tools/mounts_below.sh "$root" || {
    echo "Unmount those first (umount -R $root)." >&2
    exit 1
}

mkdir -p "$(dirname "$root")"
log=$root.log
status=0
# --kill-child: should this script be killed, the namespace ends with it.
unshare --mount --propagation private --pid --fork --kill-child -- \
    "$PWD/tools/debian13.sh" --in-namespace "$new_root" 2>&1 | tee -i "$log" || status=$?

echo "=== Debian 13 summary"
grep -E '^[0-9]+% tests passed|\((Failed|Skipped|Not Run|Timeout)\)|^lintian |^[EWIPXO]: |^=== make|^Debian 1|\bFAIL\b' \
    "$log" || true
tools/mounts_below.sh "$root" || status=1
exit "$status"
