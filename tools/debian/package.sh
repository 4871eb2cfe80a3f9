#!/usr/bin/env bash
# `make package`: the source package, made from the last commit, and the
# binary package built from it by sbuild in a clean chroot of each release:
#   build/debian/kolmira_<version>.dsc (with the orig and debian tarballs)
#   build/debian/<release>/kolmira_<version>_<arch>.deb and the build log
# for each release of tools/debian/suites, or the RELEASES given of them.
# Every release but the newest gets a source package of its own,
# <version>~deb<number>u1 (debian/README.source says why), its changelog
# entry written by dch at the commit's time, so that the source package is
# the same bytes every time; the newest builds the changelog's own. The orig
# tarball is git deborig's. Each build is judged in its release's own tools:
# lintian, autopkgtest and piuparts (tools/debian/sbuild.conf), each of which
# must pass.
# Needs Debian's archive; uncommitted changes are not part of the packages.
# build/debian/commit names the commit and the releases built.
set -euo pipefail
cd "$(dirname "$0")/../.."
# Its lines "<number> <codename>", oldest first.
declare -A number
codenames=()
while read -r n codename; do number[$codename]=$n codenames+=("$codename"); done < <(awk '$1 ~ /^[0-9]+$/' tools/debian/suites)
newest=${codenames[-1]}
releases=${RELEASES:-${codenames[*]}}
for release in $releases; do
    [[ -n ${number[$release]-} ]] || { echo "$release is not a release of tools/debian/suites." >&2 && exit 1; }
done
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
for codename in "${codenames[@]:0:${#codenames[@]}-1}"; do
    (cd "$source" && git checkout --quiet debian/changelog &&
        TZ=UTC faketime -f "$(date -u -d "@$(git log -1 --format=%ct)" '+%F %T')" \
            dch --newversion "$version~deb${number[$codename]}u1" --distribution "$codename" \
            --force-distribution --force-bad-version --maintmaint "Built for Debian ${number[$codename]}.")
    (cd "$out" && dpkg-source --build "$source")
done
rm -rf "$source"

for release in $releases; do
    tarball=$(tools/debian/chroot.sh "$release")
    built=$version~deb${number[$release]}u1 dist=$release
    [[ $release != "$newest" ]] || built=$version dist=$changelog_dist
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
