#!/usr/bin/env bash
# Checks with reprotest that a build is reproducible: the source package
# that make package made, or for Windows a fresh clone of HEAD, is built
# twice, the second time with everything varied that reprotest can vary
# here (build path, umask, locale, time zone, time, environment, home folder,
# number of CPUs, kernel, ASLR, file order, host and domain names),
# and what it makes must be byte-identical. When it differs, diffoscope's
# report says what differs. The full log and both results are kept in
# build/reprotest*.
#
#   tools/reproducible.sh           the Debian package for this machine's release,
#                                   from build/debian/kolmira_<version>.dsc
#   tools/reproducible.sh windows   the Windows zip and setup program (make windows)
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the builds run make of their own

build=${BUILD_DIR:-build}
tools/setup.sh reprotest diffoscope-minimal faketime disorderfs debhelper
# The second build's locale; it must exist, or the build quietly runs in C.
locale=sv_SE.UTF-8
tools/locales.sh "$locale"

commit=$(git rev-parse HEAD)
if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    echo "Note: this folder has changes that are not committed; the check builds $commit only." >&2
fi
work=$(mktemp -d)
trap 'rm -rf --one-file-system "$work"' EXIT
git clone --quiet --no-checkout "$PWD" "$work/kolmira"
git -C "$work/kolmira" checkout --quiet --detach "$commit"

# The file order is varied through disorderfs, which needs a FUSE device.
fuse_works() {
    mkdir "$work/fuse-in" "$work/fuse-out"
    disorderfs --quiet "$work/fuse-in" "$work/fuse-out" 2>/dev/null &&
        fusermount -u "$work/fuse-out"
}

# A second user and group would need an account made for it, and sudo.
variations=(-user_group)
if ! fuse_works; then
    echo "Not varying the file order: disorderfs cannot mount here (no usable /dev/fuse)." >&2
    variations+=(-fileordering)
fi
# Host and domain names are varied in a user and UTS namespace of their own.
if ! unshare --user --map-root-user --uts true 2>/dev/null; then
    echo "Not varying the host and domain names: no user namespace can be made here." >&2
    variations+=(-domain_host)
fi
variations+=("locales.locale+=$locale")

# The tests are left out of both builds: they are not in the package, and
# building them would take twice as long as the package itself.
case ${1-package} in
package)
    # Built on this machine, for its release, from the source package alone.
    version=$(dpkg-parsechangelog -S Version)
    rm -rf "$work/kolmira"
    mkdir "$work/kolmira"
    cp "$build/debian/kolmira_${version%-*}.orig.tar.gz" "$build/debian/kolmira_$version".{dsc,debian.tar.xz} \
        "$work/kolmira/"
    command="dpkg-source --extract kolmira_$version.dsc source && cd source &&
        DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage --no-sign --build=binary --build-profiles=nocheck"
    results='*.deb'
    ;;
windows)
    # Both builds use the Qt for Windows already built here, whatever HOME is.
    cache=${KOLMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kolmira}
    tools/windows/qt.sh >/dev/null
    command="KOLMIRA_CACHE=$cache tools/windows/build.sh -DBUILD_TESTING=OFF"
    results='build-windows/kolmira-*'
    build=$build/windows
    ;;
*)
    echo "usage: $0 [windows]" >&2
    exit 2
    ;;
esac
store=$PWD/$build/reprotest
log=$store.log
rm -rf --one-file-system "$store"
mkdir -p "$build"
echo "Building $commit twice with reprotest (log: $log)"
status=0
# The first build gets one CPU and the second all of them, so that the
# number of CPUs is varied too.
(cd "$work" && reprotest --verbosity=1 --min-cpus=1 --vary="$(IFS=,; echo "${variations[*]}")" \
    --store-dir="$store" -c "$command" kolmira "$results") >"$log" 2>&1 || status=$?

# What the second build varied, then reprotest's verdict and, when the builds
# differ, diffoscope's report.
sed -n '/^INFO:reprotest:build "experiment/,$p' "$log" |
    grep -E '^INFO:reprotest(\.build)?:([A-Z_]+ variation|build ")' |
    sed 's/^INFO:reprotest[.a-z]*://' || true
if ! grep -q '^INFO:reprotest:Running diffoscope' "$log"; then
    tail -n 40 "$log" >&2
    echo "A build failed; see above, or the whole log in $log." >&2
    exit 1
fi
sed -n '/^INFO:reprotest:Running diffoscope/,$p' "$log" | grep -v '^INFO:reprotest:'
if ((status != 0)); then
    echo "The two builds differ; diffoscope's report is above and in $store/." >&2
fi
exit "$status"
