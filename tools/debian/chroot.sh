#!/usr/bin/env bash
# tools/debian/chroot.sh RELEASE: prints the path of a minimal root of Debian
# RELEASE (bookworm, trixie) as a tarball, the clean room in which sbuild
# builds, autopkgtest and piuparts test and tools/debian/trixie_test.sh runs
# `make test`. Made by mmdebstrap (variant minbase: what a new machine has) and
# kept in ${KOLMIRA_CACHE:-~/.cache/kolmira}/chroots. It is made afresh when
# it is older than a week, so that it holds that week's security updates, or
# when the recipe below changes, since its hash names the file. Installs
# mmdebstrap when it is missing.
set -euo pipefail
release=${1:?usage: $0 bookworm|trixie}
mirror=http://deb.debian.org/debian
recipe=(mmdebstrap --quiet --variant=minbase "$release" - "$mirror")

cache=${KOLMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kolmira}/chroots
key=$(printf '%s\n' "${recipe[@]}" | sha256sum | cut -c1-12)
tarball=$cache/$release-$(dpkg --print-architecture)-$key.tar.gz
if [[ -z $(find "$tarball" -mtime -7 2>/dev/null) ]]; then
    "$(dirname "$0")/../setup.sh" package >&2
    echo "Making the $release chroot $tarball" >&2
    mkdir -p "$cache"
    # Under another name first: a half-made tarball is never used.
    "${recipe[@]}" | gzip -n >"$tarball.part"
    mv "$tarball.part" "$tarball"
    find "$cache" -name "$release-*.tar.gz" ! -path "$tarball" -delete
fi
echo "$tarball"
