#!/usr/bin/env bash
# `make release`: from a clean checkout, builds build/release/<version>/ with
# everything a release offers: the source tarball (the Debian source
# package's orig tarball, under its upstream name), the Debian source package
# and the binary packages with their .buildinfo files for each Debian of
# tools/debian/suites (make package), the Windows setup program and zip (make
# windows; signed when a certificate is given), the Qt source they were
# built from, the release notes in English and Swedish (written in the
# metainfo's <releases>, then what the Windows programs carry), the source
# tarball's OpenPGP signature (.asc, which uscan checks), SHA256SUMS, its
# signature SHA256SUMS.asc and the public key kolmira.asc, all in that one folder; and
# adds the packages to the signed apt repository, published as
# build/release/apt/, whose state (tools/release/apt.sh says where) no
# clean-up reaches and every release adds to. The keys are the releaser's
# (tools/release/keys.sh says which variables name them), or throwaway ones.
set -euo pipefail
cd "$(dirname "$0")/.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh package windows release
[[ -z $(git status --porcelain) ]] ||
    { git status --short >&2 && echo "make release builds one commit: commit or stash these first." >&2 && exit 1; }
version=$(sed -n 's/^project(kolmira VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
[[ $version =~ ^[0-9]+(\.[0-9]+)+$ ]] ||
    { echo "CMakeLists.txt has no line \"project(kolmira VERSION <version>\" (found \"$version\")." >&2 && exit 1; }
metainfo=data/io.github.tumbrek.Kolmira.metainfo.xml
out=build/release/$version apt=build/release/apt started=$SECONDS
step() { echo "make release: $1 ($((SECONDS - started)) s)"; }

rm -rf "${out:?}" && mkdir -p "$out"
for lang in en sv; do
    notes=$out/release-notes$([[ $lang == en ]] || echo ".$lang").md
    xsltproc --stringparam version "$version" --stringparam lang "$lang" \
        tools/release/notes.xsl "$metainfo" >"$notes"
    [[ -s $notes ]] || { echo "$metainfo has no release notes in \"$lang\" for $version: write them in its" \
        "<release version=\"$version\"> first." >&2 && exit 1; }
done

throwaway=build/release/throwaway-keys
source tools/release/keys.sh
# What the tag ships must be what households read once it is out.
[[ $public_key != "$committed_key" ]] || tools/release/guides.sh "$KOLMIRA_OPENPGP_KEY" "$publisher"

step "the Debian packages"
suites=$(awk '$1 ~ /^[0-9]+$/ {print $2}' tools/debian/suites | xargs)
# Unless make package has built them all from this commit already, as .ci/run does.
[[ $(cat build/debian/commit 2>/dev/null) == "$(git rev-parse HEAD) $suites" ]] ||
    RELEASES=$suites make --no-print-directory package
step "the Windows programs"
make --no-print-directory windows
step "collecting"

# All in one folder, as a releases page lists them, so that SHA256SUMS
# checks the files in a download folder by their names.
for suite in $suites; do cp build/debian/"$suite"/kolmira_*.{deb,buildinfo} "$out/"; done
# The source package: the .dsc and the files it lists, the orig tarball among them.
dcmd build/debian/kolmira_*.dsc | xargs -n 1 | sort -u | xargs cp -t "$out/"
orig=$(ls "$out"/kolmira_*.orig.tar.*)
cp "$orig" "$out/kolmira-$version.tar.${orig##*.tar.}"

windows=${WINDOWS_BUILD_DIR:-build-windows}
cp "$windows/kolmira-$version-setup.exe" "$windows/kolmira-$version-windows-x64.zip" "$out/"
# The LGPL asks for the source of the Qt shipped in them beside them.
qt=$(tools/windows/qt.sh | tail -n 1)
cp "$qt"/source/* "$out/"
# What the Windows programs carry, and who Windows says signed them, in the notes.
qt_debian=$(cat "$qt/licenses/debian-version") debian=$(cat /etc/debian_version)
gcc=$(dpkg-query -W -f='${Version}' gcc-mingw-w64-x86-64-posix-runtime) mingw=$(dpkg-query -W -f='${Version}' mingw-w64-common)
qt_version=${qt_debian%%+*} gcc=${gcc%%-*} mingw=${mingw%%-*}
if [[ $publisher == "Okänd utgivare" ]]; then
    signed_en="They are not signed: Windows names their publisher \"Okänd utgivare\" (Unknown publisher). SHA256SUMS, signed with the OpenPGP key, checks them."
    signed_sv="De är inte signerade: Windows kallar utgivaren \"Okänd utgivare\". SHA256SUMS, som är signerad med OpenPGP-nyckeln, kontrollerar dem."
else
    signed_en="They are signed by \"$publisher\", with a time stamp." signed_sv="De är signerade av \"$publisher\", med tidsstämpel."
fi
cat >>"$out/release-notes.md" <<NOTES

## Windows

The Windows programs carry Qt $qt_version (Debian's qt6-base $qt_debian) and the runtime of MinGW-w64 $mingw with GCC $gcc, as Debian $debian packages them. $signed_en
NOTES
cat >>"$out/release-notes.sv.md" <<NOTES

## Windows

Windows-programmen innehåller Qt $qt_version (Debians qt6-base $qt_debian) och körmiljön från MinGW-w64 $mingw med GCC $gcc, som Debian $debian har dem. $signed_sv
NOTES

# The tarball's own signature, for debian/watch, before SHA256SUMS lists it.
gpg --batch --yes --quiet --local-user "$KOLMIRA_OPENPGP_KEY" --armor --detach-sign "$out/kolmira-$version.tar.xz"
(cd "$out" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' sha256sum >../SHA256SUMS &&
    mv ../SHA256SUMS .)
gpg --batch --yes --quiet --local-user "$KOLMIRA_OPENPGP_KEY" --digest-algo SHA512 \
    --armor --detach-sign --output "$out/SHA256SUMS.asc" "$out/SHA256SUMS"
# The key that checks SHA256SUMS.asc, beside it as in the repository.
cp "$public_key" "$out/kolmira.asc"

step "the apt repository"
pairs=()
for suite in $suites; do pairs+=("$suite=$(echo build/debian/"$suite"/kolmira_*.deb)"); done
PUBLIC_KEY=$public_key tools/release/apt.sh "$apt" "${pairs[@]}"

step "done"
echo "Release $version of commit $(git rev-parse HEAD), signed by $KOLMIRA_OPENPGP_KEY:"
(cd build/release && find "$version" apt -path apt/dists -prune -o -path apt/pool -prune -o \
    -type f -printf '%s\t%p\n' | LC_ALL=C sort -k2)
echo "Windows programs: $signed_en"
[[ ! -d $throwaway ]] || loudly "Signed with THROWAWAY keys (in $throwaway): for checking only, not for publishing."
