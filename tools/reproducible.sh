#!/usr/bin/env bash
# Checks that the Debian package is reproducible: builds it here with
# `make package`, then again from a fresh clone of the same commit in a
# temporary folder elsewhere, and fails unless the two .deb files are
# byte-identical. When they differ, it says which parts of the package and
# which files in them differ.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL # the builds run make of their own

build=${BUILD_DIR:-build}
commit=$(git rev-parse HEAD)
if [[ -n $(git status --porcelain --untracked-files=no) ]]; then
    echo "Note: this folder has changes that are not committed; the clone builds $commit only." >&2
fi

make --no-print-directory package BUILD_DIR="$build"
here=$(ls "$PWD/$build"/kolmira_*.deb)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A longer path than here, so that a build path left in the package shows.
clone=$work/another/folder/kolmira
git clone --quiet --no-checkout "$PWD" "$clone"
git -C "$clone" checkout --quiet --detach "$commit"
echo "Building $commit again in $clone"
if ! make -C "$clone" --no-print-directory package BUILD_DIR=build >"$work/build.log" 2>&1; then
    tail -n 40 "$work/build.log" >&2
    echo "The second build failed; see above." >&2
    exit 1
fi
there=$(ls "$clone"/build/kolmira_*.deb)

sha256sum "$here" "$there"
if cmp -s "$here" "$there"; then
    echo "Reproducible: both builds give the same $(basename "$here")."
    exit 0
fi

# Unpacks both packages member by member and names what differs.
echo "The two packages differ:" >&2
for side in here there; do
    mkdir -p "$work/$side"
    (cd "$work/$side" && ar x "${!side}")
done
for member in $(ar t "$here"); do
    cmp -s "$work/here/$member" "$work/there/$member" && continue
    echo "  $member differs" >&2
    [[ $member == *.tar* ]] || continue
    for side in here there; do
        tar --list --verbose --full-time --numeric-owner -f "$work/$side/$member" >"$work/$side/$member.list"
        mkdir "$work/$side/$member.d"
        tar -xf "$work/$side/$member" -C "$work/$side/$member.d"
        (cd "$work/$side/$member.d" && find . -type f | sort | xargs -r sha256sum) >"$work/$side/$member.sums"
    done
    # Times, modes, owners, sizes or order (< here, > there), then contents.
    diff "$work/here/$member.list" "$work/there/$member.list" | sed -n 's/^[<>]/    entry &/p' >&2 || true
    diff "$work/here/$member.sums" "$work/there/$member.sums" | sed -n 's/^[<>] [0-9a-f]* *//p' |
        sort -u | sed 's/^/    content differs: /' >&2 || true
done
exit 1
