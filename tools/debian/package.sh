#!/usr/bin/env bash
# `make package`: the source package, made from the last commit, and the
# binary package built from it by sbuild in a clean chroot of each release:
#   build/debian/kolmira_<version>.dsc (with the orig and debian tarballs)
#   build/debian/<release>/kolmira_<version>_<arch>.deb and the build log
# for bookworm (Debian 12) and trixie (Debian 13), or the RELEASES given.
# Debian 12 gets a source package of its own (debian/README.source says
# why), its changelog entry written by dch at the commit's time, so that the
# source package is the same bytes every time. The orig tarball is git
# deborig's. Each build is judged in its release's own tools: lintian,
# autopkgtest and piuparts (tools/debian/sbuild.conf), each of which must pass.
# Needs Debian's archive; uncommitted changes are not part of the packages.
# build/debian/commit names the commit and the releases built.
set -euo pipefail
cd "$(dirname "$0")/../.."
releases=${RELEASES:-bookworm trixie}
out=$(realpath -m "${BUILD_DIR:-build}")/debian
tools/setup.sh package check
mirror=$(tools/debian/mirror.sh)

# sbuild's unshare mode maps the chroot's users onto the caller's
# subordinate ids, which root has none of by default.
for map in subuid subgid; do
    grep -q "^$(id -un):" /etc/$map || usermod --add-"${map}"s 100000-165535 "$(id -un)"
done

version=$(git show HEAD:debian/changelog | dpkg-parsechangelog -l- -S Version)
changelog_dist=$(git show HEAD:debian/changelog | dpkg-parsechangelog -l- -S Distribution)
source=$out/kolmira-${version%-*}
rm -rf "$out" && mkdir -p "$out"
# git deborig writes the orig tarball beside the clone.
git clone --quiet . "$source"
(cd "$source" && git deborig HEAD)
(cd "$out" && dpkg-source --build "$source")
(cd "$source" && TZ=UTC faketime -f "$(date -u -d "@$(git log -1 --format=%ct)" '+%F %T')" \
    dch --newversion "$version~deb12u1" --distribution bookworm --force-distribution \
    --force-bad-version --maintmaint "Built for Debian 12.")
(cd "$out" && dpkg-source --build "$source")
rm -rf "$source"

for release in $releases; do
    tarball=$(tools/debian/chroot.sh "$release")
    [[ $release == bookworm ]] && built=$version~deb12u1 dist=bookworm || built=$version dist=$changelog_dist
    mkdir -p "$out/$release"
    echo "Building kolmira $built for $release in a clean chroot"
    log=$out/$release/kolmira_${built}_$(dpkg --print-architecture).build
    status=0
    # The .changes file names the changelog's distribution, as lintian expects.
    SBUILD_CONFIG=$PWD/tools/debian/sbuild.conf sbuild --chroot="$tarball" --dist="$dist" \
        --jobs="${JOBS:-$(nproc)}" --no-source --build-dir="$out/$release" --nolog \
        --autopkgtest-opt=-- --autopkgtest-opt=unshare --autopkgtest-opt=--release="$release" \
        --autopkgtest-opt=--tarball="$tarball" --piuparts-opt=--basetgz="$tarball" \
        --piuparts-opt=--distribution="$release" --piuparts-opt=--mirror="$mirror" \
        "$out/kolmira_$built.dsc" >"$log" 2>&1 || status=$?
    # sbuild's summary: the build and each judge's verdict.
    grep -E '^(Status|Lintian|Autopkgtest|Piuparts): ' "$log" | sed "s/^/$release: /"
    ((status == 0)) ||
        { tail -n 60 "$log" >&2 && echo "The $release build or a check of it failed; see above, or all of $log." >&2 && exit 1; }
done
echo "$(git rev-parse HEAD) $releases" >"$out/commit"
