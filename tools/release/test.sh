#!/usr/bin/env bash
# `make release-test`: checks the release make release left in build/release/
# as a stranger would: the checksums and their OpenPGP signature, the
# Authenticode signatures of the Windows programs, and the apt repository in a
# fresh Debian 12 and 13 root each (tools/debian/in_root.sh): added with its
# key and .sources file, verified by apt update, found by appstreamcli,
# installed, then upgraded to a newer version published into a copy of it.
# The setup program's upgrade and uninstall are make windows-test's.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh gnupg osslsigncode unzip apt-utils appstream-generator
version=$(sed -n 's/^project(kolmira VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
release=$PWD/build/release/$version apt=$PWD/build/release/apt
throwaway=$PWD/build/release/throwaway-keys committed_key=data/kolmira-release-key.asc
[[ -f $release/SHA256SUMS ]] || { echo "No release in $release; run make release first." >&2; exit 1; }
work=$(mktemp -d)
# gpg starts an agent for each home it signs with.
trap 'gpgconf --homedir "$throwaway/gnupg" --kill gpg-agent 2>/dev/null; rm -rf --one-file-system "$work"' EXIT
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
    [[ -d $throwaway/gnupg ]] || { echo "The release is signed with $signer, not with $committed_key." >&2 && exit 1; }
    echo "Signed with a THROWAWAY key ($signer); the committed key $committed_key does not apply."
fi

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
# (binNMU) raises it, in a copy of the repository signed with the same key.
# Both from the temporary folder, whose name has no blanks to split BINDS at.
cp -a "$apt" "$work/apt" && cp -a "$apt" "$work/newer"
for deb in "$apt"/pool/*/kolmira_*.deb; do
    dpkg-deb --raw-extract "$deb" "$work/unpacked"
    sed -i 's/^Version: .*/&+b1/' "$work/unpacked/DEBIAN/control"
    dpkg-deb --root-owner-group --build "$work/unpacked" "$work/newer/pool/$(basename "$(dirname "$deb")")/" >/dev/null
    rm -rf "$work/unpacked"
done
[[ -d $throwaway/gnupg ]] && export GNUPGHOME=$throwaway/gnupg
KOLMIRA_OPENPGP_KEY=$signer tools/release/apt.sh "$work/newer" bookworm trixie >/dev/null

# shellcheck disable=SC2016 # the script is expanded in the root
for suite in bookworm trixie; do
    echo "== The apt repository in a fresh $suite root, then the upgrade"
    BINDS="$work/apt:/srv/kolmira $work/newer:/srv/newer" tools/debian/in_root.sh "$suite" sh -ec '
        apt-get update -qq
        apt-get install -y -qq appstream >/dev/null
        # What a household does, with the repository on disk here.
        mkdir -p /etc/apt/keyrings && cp /srv/kolmira/kolmira.asc /etc/apt/keyrings/
        sed "s|^URIs: .*|URIs: file:/srv/kolmira|" /srv/kolmira/kolmira-'"$suite"'.sources \
            >/etc/apt/sources.list.d/kolmira.sources
        apt-get update --error-on=any >/tmp/update.log 2>&1 || { cat /tmp/update.log; exit 1; }
        grep kolmira /tmp/update.log
        # Before kolmira is installed, so that the data can only come from the repository.
        echo "\$ appstreamcli get io.github.tumbrek.Kolmira" && appstreamcli get io.github.tumbrek.Kolmira
        echo "\$ LANGUAGE=sv appstreamcli get io.github.tumbrek.Kolmira"
        LANGUAGE=sv appstreamcli get io.github.tumbrek.Kolmira | tee /tmp/sv
        grep -q "Rätta familjens lottorader mot en dragning" /tmp/sv ||
            { echo "The AppStream data lacks the Swedish summary." >&2; exit 1; }
        apt-get install -y -qq kolmira >/dev/null && dpkg-query -W kolmira
        # The newer version published at the same address.
        mount --bind /srv/newer /srv/kolmira
        apt-get update --error-on=any -qq
        apt-get --simulate upgrade | grep "^Inst kolmira" || { echo "apt upgrade offers no newer kolmira." >&2; exit 1; }
        apt-get upgrade -y -qq >/dev/null
        echo "\$ apt policy kolmira" && apt policy kolmira 2>/dev/null
        dpkg-query -W -f="\${Version}\n" kolmira | grep -q "+b1$"'
done
echo "== make release-test: passed. The setup program's upgrade and uninstall are make windows-test's."
