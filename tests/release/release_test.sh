#!/usr/bin/env bash
# `make release-test`: checks the release make release left in build/release/
# as a stranger would: the checksums and their OpenPGP signature, the
# Authenticode signatures of the Windows programs, and the apt repository in a
# fresh Debian 12 and 13 root each (tests/system/apt-repository, through
# tests/debian/testbed.sh): added with its key and .sources file, verified by
# apt update, found by appstreamcli, installed, then upgraded to a newer
# version, published as two releases after make clean would publish it (the
# second carrying what the first did). uscan fetches the source tarball as
# debian/watch says, from a server on the loopback, and checks its signature.
# The setup program's upgrade and uninstall are make windows-test's.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh windows release release-test # the testbeds install their own
version=$(sed -n 's/^project(kolmira VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
[[ $version =~ ^[0-9]+(\.[0-9]+)+$ ]] || { echo "No version in CMakeLists.txt (found \"$version\")." >&2 && exit 1; }
release=$PWD/build/release/$version apt=$PWD/build/release/apt
throwaway=$PWD/build/release/throwaway-keys committed_key=data/kolmira-release-key.asc
[[ -f $release/SHA256SUMS ]] || { echo "No release in $release; run make release first." >&2; exit 1; }
work=$(mktemp -d)
# gpg starts an agent for each home it signs with; $work is short enough for its sockets.
trap '[[ -z ${server:-} ]] || kill "$server"; gpgconf --homedir "$work/signing" --kill gpg-agent 2>/dev/null
    rm -rf --one-file-system "${work:?}"' EXIT
c_locale=(env -u LANGUAGE LC_ALL=C.UTF-8) # the tools' words are not Kolmira's

echo "== Checksums and their signature"
(cd "$release" && sha256sum --check --strict SHA256SUMS)
gpg=(gpg --homedir "$work/gnupg" --batch)
# With the key beside the files, which must be the repository's.
cmp "$release/kolmira.asc" "$apt/kolmira.asc"
mkdir -m 700 "$work/gnupg" && "${gpg[@]}" --quiet --import "$release/kolmira.asc"
"${c_locale[@]}" "${gpg[@]}" --verify "$release/SHA256SUMS.asc" "$release/SHA256SUMS"
fingerprint() { gpg --batch --with-colons --show-keys "$1" 2>/dev/null | awk -F: '$1 == "fpr" {print $10; exit}'; }
signer=$(fingerprint "$apt/kolmira.asc")
if [[ $signer != "$(fingerprint "$committed_key")" ]]; then
    [[ -f $throwaway/secret-key.asc ]] || { echo "The release is signed with $signer, not with $committed_key." >&2 && exit 1; }
    echo "Signed with a THROWAWAY key ($signer); the committed key $committed_key does not apply."
fi

echo "== uscan finds the source tarball and checks its signature"
# debian/watch with GitHub's hosts turned to a server on the loopback, which
# offers the API's list of releases and the release's files.
port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
site=http://127.0.0.1:$port tarball=kolmira-$version.tar.xz
download=tumbrek/kolmira/releases/download/v$version
mkdir -p "$work/site/repos/tumbrek/kolmira" "$work/site/$download" "$work/uscan/out"
cp "$release/$tarball" "$release/$tarball.asc" "$work/site/$download/"
printf '[{"tag_name": "v%s", "assets": [{"browser_download_url": "%s"}, {"browser_download_url": "%s.asc"}]}]\n' \
    "$version" "$site/$download/$tarball" "$site/$download/$tarball" >"$work/site/repos/tumbrek/kolmira/releases"
python3 -m http.server --bind 127.0.0.1 "$port" -d "$work/site" >/dev/null 2>&1 &
server=$!
# uscan's key must be the committed one, which a throwaway key stands in for.
upstream_key=debian/upstream/signing-key.asc
[[ ! -f $upstream_key || $(fingerprint "$upstream_key") == "$(fingerprint "$committed_key")" ]] ||
    { echo "$upstream_key is not the key committed as $committed_key." >&2 && exit 1; }
cp -r debian "$work/uscan/"
[[ $signer == "$(fingerprint "$committed_key")" ]] || cp "$release/kolmira.asc" "$work/uscan/$upstream_key"
sed -i -e "s%https://api\.github\.com%$site%" -e 's%https://github\\\.com%'"$site"'%' "$work/uscan/debian/watch"
! grep -q 'https://[a-z.]*github' "$work/uscan/debian/watch" ||
    { echo "debian/watch names GitHub where this test does not turn it to $site." >&2 && exit 1; }
for _ in {1..50}; do python3 -c "import urllib.request as r; r.urlopen('$site/')" 2>/dev/null && break; sleep 0.2; done
status=0
uscan=$(cd "$work/uscan" && "${c_locale[@]}" uscan --no-conf --verbose --download-version "$version" \
    --destdir "$work/uscan/out" 2>&1) || status=$?
# The verifier's word: gpgv's, or (Debian 13) a sopv's line naming the key.
verified="^gpgv: Good signature|^[-0-9T:.Z]+ [0-9A-F]+ $signer( |\$)"
grep -E "^Newest version|Successfully downloaded|Verifying OpenPGP signature|$verified" <<<"$uscan" || true
{ ((status == 0)) && grep -q "Verifying OpenPGP signature .*/$tarball.asc for " <<<"$uscan" &&
    grep -Eq "$verified" <<<"$uscan" && cmp "$release/$tarball" "$work/uscan/out/$tarball"; } ||
    { echo "$uscan" >&2 && echo "uscan did not fetch $tarball and check its signature (status $status)." >&2 && exit 1; }
kill "$server" && server=

echo "== Authenticode signatures"
# Against the throwaway certificate they were signed with, or else the
# certificate authorities Debian trusts.
ca=/etc/ssl/certs/ca-certificates.crt
[[ -f $throwaway/authenticode.pem ]] && ca=$throwaway/authenticode.pem
unzip -q -d "$work/zip" "$release/kolmira-$version-windows-x64.zip" Kolmira/kolmira.exe
for program in "$release/kolmira-$version-setup.exe" "$work/zip/Kolmira/kolmira.exe"; do
    echo "${program##*/}:"
    "${c_locale[@]}" osslsigncode verify -CAfile "$ca" -in "$program" |
        grep -E '^(Message digest algorithm|Signer.s certificate|[[:space:]]+Subject|Signature verification)' ||
        { echo "osslsigncode does not accept the signature of $program." >&2 && exit 1; }
done

# The same packages with their version raised, as a binary-only rebuild
# (binNMU) raises it, published with the same key as two releases would
# publish them, with make clean between (the published copy and its build
# folder gone): both suites first (Debian 13 the release's), then Debian 13
# alone. Their state lies in a data home of the test's own, never the releaser's.
newer=()
for suite in bookworm trixie; do
    filename=$(awk '$1 == "Filename:" {print $2; exit}' "$apt/dists/$suite/main"/binary-*/Packages)
    cp "$apt/$filename" "$work/$suite-released.deb"
    dpkg-deb --raw-extract "$apt/$filename" "$work/unpacked"
    sed -i 's/^Version: .*/&+b1/' "$work/unpacked/DEBIAN/control"
    dpkg-deb --root-owner-group --build "$work/unpacked" "$work/$suite.deb" >/dev/null
    rm -rf "${work:?}/unpacked" && newer+=("$suite=$work/$suite.deb")
done
if [[ -f $throwaway/secret-key.asc ]]; then
    export GNUPGHOME=$work/signing
    mkdir -m 700 "$GNUPGHOME" && gpg --batch --quiet --import "$throwaway/secret-key.asc"
fi
publish() { env -u KOLMIRA_APT_STATE XDG_DATA_HOME="$work/share" KOLMIRA_OPENPGP_KEY="$signer" \
    PUBLIC_KEY="$apt/kolmira.asc" tools/release/apt.sh "$work/build/apt" "$@" >/dev/null; }
publish "${newer[0]}" "trixie=$work/trixie-released.deb"
rm -rf "${work:?}/build"
publish "${newer[1]}"
for suite in bookworm trixie; do
    grep -qx "Version: $(dpkg-deb --field "$work/$suite.deb" Version)" "$work/build/apt/dists/$suite/main"/binary-*/Packages ||
        { echo "After make clean, the apt repository's $suite lacks $work/$suite.deb." >&2 && exit 1; }
done
cp -a "$apt" "$work/apt" && mv "$work/build/apt" "$work/newer"

for suite in bookworm trixie; do
    echo "== The apt repository in a fresh $suite root, then the upgrade"
    tests/debian/testbed.sh "$suite" apt-repository --copy="$work/apt:/srv/kolmira" --copy="$work/newer:/srv/newer"
done
echo "== make release-test: passed. The setup program's upgrade and uninstall are make windows-test's."
