#!/usr/bin/env bash
# `make release-test`: checks the release make release left in build/release/
# as a stranger would: the checksums and their OpenPGP signature, the
# Authenticode signatures of the Windows programs and their time stamps (or
# that they are unsigned, as the release notes say), and the apt repository in a
# fresh root of each Debian of tools/debian/suites (tests/system/apt-repository,
# through tests/debian/testbed.sh): added with its key and .sources file, verified by
# apt update, found by appstreamcli, installed, then upgraded to a newer
# version, published as two releases after make clean would publish it (the
# second carrying what the first did); and, in another fresh root of each,
# kolmira.exe signed through a SoftHSM2 token and time-stamped by that
# Debian's own osslsigncode (tests/system/authenticode). uscan fetches the source tarball as debian/watch
# says, from a server on the loopback, and checks its signature.
# The setup program's upgrade and uninstall are make windows-test's.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh windows release release-test # the testbeds install their own
version=$(sed -n 's/^project(kolmira VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
[[ $version =~ ^[0-9]+(\.[0-9]+)+$ ]] || { echo "No version in CMakeLists.txt (found \"$version\")." >&2 && exit 1; }
release=$PWD/build/release/$version apt=$PWD/build/release/apt
# The suites, oldest first.
mapfile -t suites < <(awk '$1 ~ /^[0-9]+$/ {print $2}' tools/debian/suites)
newest=${suites[-1]}
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

echo "== What the files say of each other"
# Each Debian package's .buildinfo, naming that very package.
for deb in "$release"/*.deb; do
    grep -q " $(sha256sum "$deb" | cut -d' ' -f1) .* ${deb##*/}\$" "${deb%.deb}.buildinfo" 2>/dev/null ||
        { echo "No .buildinfo in the release names ${deb##*/} as it is." >&2 && exit 1; }
done
# The Qt and MinGW-w64 the notes name are those the Windows programs carry.
unzip -q -d "$work/zip" "$release/kolmira-$version-windows-x64.zip" Kolmira/kolmira.exe Kolmira/THIRD-PARTY.txt
for shipped in "Qt $(sed -n 's/^Qt \([0-9.]*\)\r\?$/\1/p' "$work/zip/Kolmira/THIRD-PARTY.txt")" \
    "MinGW-w64 $(grep -oE '(^| )mingw-w64 \([0-9.]+' "$work/zip/Kolmira/THIRD-PARTY.txt" | grep -o '[0-9.]*$')"; do
    grep -q "$shipped " "$release/release-notes.md" && grep -q "$shipped " "$release/release-notes.sv.md" ||
        { echo "The release notes do not name the $shipped that the Windows programs carry." >&2 && exit 1; }
done
echo "Each package's .buildinfo, and in the notes the Windows programs' ${shipped% *} and Qt"

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
# As the release notes say: none, or a signature and its time stamp,
# checked against the throwaway certificates they were made with, or else
# the certificate authorities in KOLMIRA_AUTHENTICODE_CA (those Debian trusts).
ca=${KOLMIRA_AUTHENTICODE_CA:-/etc/ssl/certs/ca-certificates.crt} && tsa=$ca
if [[ -f $throwaway/authenticode.pem ]]; then
    [[ -f $throwaway/secret-key.asc ]] ||
        { echo "A throwaway certificate signed the Windows programs of a release the real key signs." >&2 && exit 1; }
    ca=$throwaway/authenticode.pem tsa=$throwaway/tsa.pem
fi
signed=yes signed_sv=yes
grep -q 'They are not signed' "$release/release-notes.md" && signed=
grep -q 'De är inte signerade' "$release/release-notes.sv.md" && signed_sv=
[[ $signed == "$signed_sv" ]] ||
    { echo "The English and Swedish release notes disagree on the Windows signatures." >&2 && exit 1; }
for program in "$release/kolmira-$version-setup.exe" "$work/zip/Kolmira/kolmira.exe"; do
    echo "${program##*/}:"
    said=$("${c_locale[@]}" osslsigncode verify -CAfile "$ca" -TSA-CAfile "$tsa" -in "$program" 2>&1 || true)
    if [[ -z $signed ]]; then
        grep -q '^No signature found' <<<"$said" ||
            { echo "$said" && echo "The release notes say unsigned, but $program is signed." >&2 && exit 1; }
        echo "    not signed, as the release notes say" && continue
    fi
    grep -E '^(Message digest algorithm|Signer.s certificate|[[:space:]]+Subject|.*verification: )' <<<"$said"
    for line in 'Signature verification: ok' 'Timestamp Server Signature verification: ok'; do
        grep -qx "$line" <<<"$said" ||
            { echo "$said" && echo "osslsigncode does not say \"$line\" of $program." >&2 && exit 1; }
    done
done

# The same packages with their version raised, as a binary-only rebuild
# (binNMU) raises it, published as two releases would publish them, with
# make clean between (the published copy and its build folder gone): all
# suites first (the newest the release's), then the newest
# alone. Their state lies in a data home of the test's own, never the releaser's.
newer=()
for suite in "${suites[@]}"; do
    filename=$(awk '$1 == "Filename:" {print $2; exit}' "$apt/dists/$suite/main"/binary-*/Packages)
    cp "$apt/$filename" "$work/$suite-released.deb"
    dpkg-deb --raw-extract "$apt/$filename" "$work/unpacked"
    sed -i 's/^Version: .*/&+b1/' "$work/unpacked/DEBIAN/control"
    dpkg-deb --root-owner-group --build "$work/unpacked" "$work/$suite.deb" >/dev/null
    rm -rf "${work:?}/unpacked" && newer+=("$suite=$work/$suite.deb")
done
# Signed with a key of the test's own, never the releaser's, which the
# testbed trusts for the newer repository.
export GNUPGHOME=$work/signing
mkdir -m 700 "$GNUPGHOME"
gpg --batch --quiet --passphrase '' --quick-generate-key "Kolmira upgrade test, not for publishing" ed25519 sign 1d
upgrade_key=$(gpg --with-colons --list-secret-keys 2>/dev/null | awk -F: '$1 == "fpr" {print $10; exit}')
gpg --armor --export "$upgrade_key" >"$work/upgrade-key.asc"
publish() { env -u KOLMIRA_APT_STATE XDG_DATA_HOME="$work/share" KOLMIRA_OPENPGP_KEY="$upgrade_key" \
    PUBLIC_KEY="$work/upgrade-key.asc" tools/release/apt.sh "$work/build/apt" "$@" >/dev/null; }
publish "${newer[@]:0:${#newer[@]}-1}" "$newest=$work/$newest-released.deb"
rm -rf "${work:?}/build"
publish "${newer[-1]}"
for suite in "${suites[@]}"; do
    grep -qx "Version: $(dpkg-deb --field "$work/$suite.deb" Version)" "$work/build/apt/dists/$suite/main"/binary-*/Packages ||
        { echo "After make clean, the apt repository's $suite lacks $work/$suite.deb." >&2 && exit 1; }
done
cp -a "$apt" "$work/apt" && mv "$work/build/apt" "$work/newer"

# kolmira.exe unsigned, with what signs it, for each Debian's own osslsigncode.
mkdir -p "$work/sign/tools/release" "$work/sign/tools/windows"
cp tools/release/{throwaway_token.sh,tsa.py} "$work/sign/tools/release/" && cp tools/windows/sign.sh "$work/sign/tools/windows/"
if [[ -n $signed ]]; then
    osslsigncode remove-signature -in "$work/zip/Kolmira/kolmira.exe" -out "$work/sign/kolmira.exe" >/dev/null
else cp "$work/zip/Kolmira/kolmira.exe" "$work/sign/"; fi

for suite in "${suites[@]}"; do
    echo "== The apt repository in a fresh $suite root, then the upgrade"
    tests/debian/testbed.sh "$suite" apt-repository --copy="$work/apt:/srv/kolmira" --copy="$work/newer:/srv/newer"
    echo "== Authenticode in a fresh $suite root: a key in a SoftHSM2 token, a time stamp"
    tests/debian/testbed.sh "$suite" authenticode --copy="$work/sign:/srv/sign"
done
echo "== make release-test: passed. The setup program's upgrade and uninstall are make windows-test's."
