#!/usr/bin/env bash
# tools/debian/chroot.sh RELEASE: prints the path of a minimal root of Debian
# RELEASE (a codename of tools/debian/suites) as a tarball, the clean room in
# which sbuild builds, autopkgtest and piuparts test and
# tests/debian/debian13.sh runs `make test`. Made by mmdebstrap (variant
# minbase: what a new machine has) and kept in
# ${KOLMIRA_CACHE:-~/.cache/kolmira}/chroots. It is made afresh when
# it is older than a week, so that it holds that week's security updates, or
# when the recipe below changes, since its hash names the file. The archive
# is the one this machine's apt sources name. A second run for the same
# release waits for the first. Installs mmdebstrap when it is missing.
set -euo pipefail
release=${1:?usage: $0 CODENAME (of tools/debian/suites)}
recipe=(mmdebstrap --quiet --variant=minbase "$release" - "$("$(dirname "$0")/mirror.sh")")

cache=${KOLMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kolmira}/chroots
key=$(printf '%s\n' "${recipe[@]}" | sha256sum | cut -c1-12)
tarball=$cache/$release-$(dpkg --print-architecture)-$key.tar.gz
mkdir -p "$cache"
exec 9>"$cache/$release.lock"
flock 9
if [[ -z $(find "$tarball" -mtime -7 2>/dev/null) ]]; then
    "$(dirname "$0")/../setup.sh" package >&2
    echo "Making the $release chroot $tarball" >&2
    # Under another name first: a half-made tarball is never used.
    "${recipe[@]}" | gzip -n >"$tarball.part"
    mv "$tarball.part" "$tarball"
    find "$cache" -name "$release-*.tar.gz" ! -path "$tarball" -delete
fi
echo "$tarball"
