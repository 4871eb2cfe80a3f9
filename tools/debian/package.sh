#!/usr/bin/env bash
# `make package`: the source package, made from the last commit, and the
# binary package built from it by sbuild in a clean chroot of each release:
#   build/debian/kolmira_<version>.dsc (with the orig and debian tarballs)
#   build/debian/<release>/kolmira_<version>_<arch>.deb and the build log
# for bookworm (Debian 12) and trixie (Debian 13), or the RELEASES given.
# Needs Debian's archive; uncommitted changes are not part of the packages.
set -euo pipefail
cd "$(dirname "$0")/../.."
releases=${RELEASES:-bookworm trixie}
out=${BUILD_DIR:-build}/debian
tools/setup.sh dpkg-dev git sbuild mmdebstrap uidmap

# sbuild's unshare mode maps the chroot's users onto the caller's
# subordinate ids, which root has none of by default.
for map in subuid subgid; do
    grep -q "^$(id -un):" /etc/$map || usermod --add-"${map}"s 100000-165535 "$(id -un)"
done

version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
# The orig tarball is git's archive of the commit, the same bytes every
# time, without debian/, which goes into the Debian tarball.
rm -rf "$out" && mkdir -p "$out/source"
git archive --format=tar.gz --prefix="kolmira-$upstream/" -o "$out/kolmira_$upstream.orig.tar.gz" \
    HEAD -- . ':(exclude)debian'
tar -xzf "$out/kolmira_$upstream.orig.tar.gz" -C "$out/source"
git archive --prefix="kolmira-$upstream/" HEAD debian | tar -x -C "$out/source"
(cd "$out" && dpkg-source --build "source/kolmira-$upstream")
rm -rf "$out/source"

for release in $releases; do
    tarball=$(tools/debian/chroot.sh "$release")
    mkdir -p "$out/$release"
    echo "Building kolmira $version for $release in a clean chroot"
    log=$out/$release/kolmira_${version}_$(dpkg --print-architecture).build
    sbuild --chroot-mode=unshare --chroot="$tarball" --dist="$release" --jobs="${JOBS:-$(nproc)}" \
        --no-run-lintian --no-run-piuparts --no-run-autopkgtest --no-source \
        --build-dir="$PWD/$out/$release" --nolog "$out/kolmira_$version.dsc" >"$log" 2>&1 ||
        { tail -n 40 "$log" >&2 && echo "The $release build failed; see above, or all of $log." >&2 && exit 1; }
done
