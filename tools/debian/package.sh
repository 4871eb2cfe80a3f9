#!/usr/bin/env bash
# `make package`: the source package, made from the last commit, and the
# binary package built from it by sbuild in a clean chroot of each release:
#   build/debian/kolmira_<version>.dsc (with the orig and debian tarballs)
#   build/debian/<release>/kolmira_<version>_<arch>.deb and the build log
# for bookworm (Debian 12) and trixie (Debian 13), or the RELEASES given.
# Debian 12 gets a source package of its own, <version>~deb12u1, as Debian's
# stable updates are named: a lower version, so that a household moving to
# Debian 13 gets the Debian 13 build. Needs Debian's archive; uncommitted
# changes are not part of the packages. build/debian/commit names the commit
# and the releases they were built for.
set -euo pipefail
cd "$(dirname "$0")/../.."
releases=${RELEASES:-bookworm trixie}
out=$(realpath -m "${BUILD_DIR:-build}")/debian
tools/setup.sh dpkg-dev git sbuild uidmap

# sbuild's unshare mode maps the chroot's users onto the caller's
# subordinate ids, which root has none of by default.
for map in subuid subgid; do
    grep -q "^$(id -un):" /etc/$map || usermod --add-"${map}"s 100000-165535 "$(id -un)"
done

field() { git show HEAD:debian/changelog | dpkg-parsechangelog -l- -S "$1"; }
version=$(field Version)
upstream=${version%-*} bookworm_version=$version~deb12u1
# The orig tarball is git's archive of the commit, the same bytes every
# time, without debian/, which goes into the Debian tarball.
rm -rf "$out" && mkdir -p "$out/source"
git archive --format=tar.gz --prefix="kolmira-$upstream/" -o "$out/kolmira_$upstream.orig.tar.gz" \
    HEAD -- . ':(exclude)debian'
tar -xzf "$out/kolmira_$upstream.orig.tar.gz" -C "$out/source"
git archive --prefix="kolmira-$upstream/" HEAD debian | tar -x -C "$out/source"
(cd "$out" && dpkg-source --build "source/kolmira-$upstream")
# Dated a second after the entry it follows, so that the source package is the same bytes every time.
{ cat <<EOF && git show HEAD:debian/changelog; } >"$out/source/kolmira-$upstream/debian/changelog"
kolmira ($bookworm_version) bookworm; urgency=medium

  * Built for Debian 12.

 -- $(field Maintainer)  $(date -R -u -d @$(($(field Timestamp) + 1)))

EOF
(cd "$out" && dpkg-source --build "source/kolmira-$upstream")
rm -rf "$out/source"

for release in $releases; do
    tarball=$(tools/debian/chroot.sh "$release")
    [[ $release == bookworm ]] && built=$bookworm_version || built=$version
    mkdir -p "$out/$release"
    echo "Building kolmira $built for $release in a clean chroot"
    log=$out/$release/kolmira_${built}_$(dpkg --print-architecture).build
    sbuild --chroot-mode=unshare --chroot="$tarball" --dist="$release" --jobs="${JOBS:-$(nproc)}" \
        --no-run-lintian --no-run-piuparts --no-run-autopkgtest --no-source \
        --build-dir="$out/$release" --nolog "$out/kolmira_$built.dsc" >"$log" 2>&1 ||
        { tail -n 40 "$log" >&2 && echo "The $release build failed; see above, or all of $log." >&2 && exit 1; }
done
echo "$(git rev-parse HEAD) $releases" >"$out/commit"
