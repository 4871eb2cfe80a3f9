#!/usr/bin/env bash
# Checks with reprotest that a build is reproducible: built twice, the second
# time with everything varied that reprotest can vary here (build path, umask,
# locale, time zone, time, environment, home, CPUs, kernel, ASLR, and the file
# order and host names where FUSE and user namespaces allow), the results must
# be byte-identical; otherwise diffoscope says what differs. Log and results
# are kept in build/reprotest* (build/windows/reprotest* for Windows).
#   make reproducible           the Debian package for this machine's release,
#                               from the source package make package made;
#                               sbuild's build of it is the first build
#   make reproducible-windows   the zip and setup program, from a clone of HEAD
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL

build=$(realpath -m "${BUILD_DIR:-build}")
locale=sv_SE.UTF-8 # it must exist, or the varied build quietly runs in C
tools/setup.sh package reproducible "$locale"
work=$(mktemp -d) first_build=()
trap 'rm -rf --one-file-system "$work"' EXIT

variations="-user_group,locales.locale+=$locale" # another user would need an account
mkdir "$work/in" "$work/out" "$work/kolmira"
if ! { disorderfs --quiet "$work/in" "$work/out" 2>/dev/null && fusermount -u "$work/out"; }; then
    variations+=,-fileordering && echo "Not varying the file order: disorderfs cannot mount here." >&2
fi
if ! unshare --user --map-root-user --uts true 2>/dev/null; then
    variations+=,-domain_host && echo "Not varying host names: no user namespace here." >&2
fi

# The tests stay out of both builds: they are not shipped, and would double the time.
if [[ ${1-} == windows ]]; then
    git clone --quiet "$PWD" "$work/kolmira"
    # Both builds use the Qt for Windows built here, whatever HOME is.
    qt=$(tools/windows/qt.sh | tail -n 1)
    command="KOLMIRA_CACHE=${qt%/*} tools/windows/build.sh -DBUILD_TESTING=OFF"
    results='build-windows/kolmira-*'
    build=$build/windows
else
    sbuilt=$build/debian/$(. /etc/os-release && echo "$VERSION_CODENAME")
    version=$(dpkg-deb --field "$(echo "$sbuilt"/kolmira_*.deb)" Version)
    cp "$build/debian/kolmira_${version%-*}".orig.tar.* "$build/debian/kolmira_$version".{dsc,debian.tar.xz} \
        "$work/kolmira/"
    mkdir -p "$work/control/source-root" && cp "$sbuilt"/*.deb "$work/control/source-root/"
    first_build=(--control-build "$work/control")
    command="dpkg-source --extract kolmira_$version.dsc source && cd source &&
        DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage --no-sign --build=binary --build-profiles=nocheck"
    results='*.deb'
fi
store=$build/reprotest
rm -rf --one-file-system "$store" && mkdir -p "$build"
echo "Building $(git rev-parse --short HEAD) with reprotest (log: $store.log)"
# One CPU for the first build and all for the second.
status=0
(cd "$work" && reprotest --verbosity=1 --min-cpus=1 --vary="$variations" --store-dir="$store" "${first_build[@]}" \
    -c "$command" kolmira "$results") >"$store.log" 2>&1 || status=$?
# What the second build varied, then the verdict or diffoscope's report.
sed -n '/build "experiment/,$ s/^INFO:reprotest[.a-z]*:\(build "experiment.*\|[A-Z_]* variation.*\)/\1/p' "$store.log"
grep -q '^INFO:reprotest:Running diffoscope' "$store.log" ||
    { tail -n 40 "$store.log" >&2 && echo "A build failed; the whole log is $store.log." >&2 && exit 1; }
sed -n '/^INFO:reprotest:Running diffoscope/,$p' "$store.log" | grep -v '^INFO:reprotest:'
((status == 0)) || echo "The two builds differ; diffoscope's report is above and in $store/." >&2
exit "$status"
