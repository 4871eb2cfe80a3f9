#!/usr/bin/env bash
# tests/debian/testbed.sh RELEASE TEST [OPTION]...: runs the test TEST of
# tests/system/control with autopkgtest in a fresh testbed of Debian RELEASE
# (autopkgtest-virt-unshare, from the chroot tarball sbuild builds in), with
# nothing of the caller's session. The options go to autopkgtest, such as
# --copy=FOLDER:PATH and --env=NAME=VALUE. Prints what the test printed; its
# whole log is build/system/RELEASE-TEST.log. Needs root.
set -euo pipefail
cd "$(dirname "$0")/../.."
release=$1 test=$2
shift 2
tools/setup.sh package
out=$(realpath -m "${BUILD_DIR:-build}")/system/$release-$test
tarball=$(tools/debian/chroot.sh "$release")
rm -rf "$out" && mkdir -p "${out%/*}"
# autopkgtest takes tests from a source tree's debian/tests/.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/debian" && cp -r tests/system "$tree/debian/tests"
status=0
autopkgtest --apt-upgrade --test-name="$test" --output-dir="$out" "$@" "$tree/" \
    -- unshare --release "$release" --tarball "$tarball" >"$out.log" 2>&1 || status=$?
cat "$out/$test-stdout" "$out/$test-stderr" "$out/summary" 2>/dev/null || true
((status == 0)) || { tail -n 30 "$out.log" >&2 && echo "$test failed on $release; see $out.log." >&2; }
exit "$status"
