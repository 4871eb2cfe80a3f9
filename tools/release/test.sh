#!/usr/bin/env bash
# `make release-test`: checks the release make release left in build/release/
# as a stranger would: the checksums and their OpenPGP signature against the
# published key, the Authenticode signatures of the Windows programs, and the
# apt repository in a fresh Debian 12 and 13 root each (added with its key
# and .sources file, verified by apt update, found by appstreamcli, installed,
# then upgraded to a newer version published into a copy of it). The roots
# are unpacked from the chroots make package builds in (tools/debian/chroot.sh)
# and entered with unshare and chroot, as root. The Windows setup program's
# upgrade and uninstall are make windows-test's.
set -euo pipefail
cd "$(dirname "$0")/../.."
unset MAKEFLAGS MFLAGS MAKELEVEL

tools/setup.sh gnupg osslsigncode unzip apt-utils appstream-generator
version=$(sed -n 's/^project(kolmira VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
release=$PWD/build/release/$version
apt=$PWD/build/release/apt
throwaway=$PWD/build/release/throwaway-keys
committed_key=data/kolmira-release-key.asc
cache=${KOLMIRA_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kolmira}
[[ -f $release/SHA256SUMS ]] || { echo "No release in $release; run make release first." >&2; exit 1; }
work=$(mktemp -d)
# gpg starts an agent for each home it signs with.
trap 'gpgconf --homedir "$throwaway/gnupg" --kill gpg-agent 2>/dev/null; rm -rf --one-file-system "$work"' EXIT
started=$SECONDS
step() { echo; echo "== make release-test: $1 ($((SECONDS - started)) s)"; }

step "checksums and their signature"
(cd "$release" && sha256sum --check --strict SHA256SUMS)
mkdir -m 700 "$work/gnupg"
gpg=(gpg --homedir "$work/gnupg" --batch)
"${gpg[@]}" --quiet --import "$apt/kolmira.asc"
env -u LANGUAGE LC_ALL=C.UTF-8 "${gpg[@]}" --verify "$release/SHA256SUMS.asc" "$release/SHA256SUMS"
signer=$("${gpg[@]}" --with-colons --list-keys | awk -F: '$1 == "fpr" {print $10; exit}')
committed=$("${gpg[@]}" --with-colons --show-keys "$committed_key" 2>/dev/null | awk -F: '$1 == "fpr" {print $10; exit}' || true)
if [[ $signer == "$committed" ]]; then
    echo "Signed with the committed key $committed_key."
elif [[ -d $throwaway/gnupg ]]; then
    echo "Signed with a THROWAWAY key ($signer); the committed key $committed_key does not apply."
else
    echo "The release is signed with $signer, not with the committed key $committed_key (${committed:-none})." >&2
    exit 1
fi

step "Authenticode signatures"
# Against the certificate they were signed with, when it was a throwaway
# one; a real one chains to a certificate authority Debian trusts too.
ca=/etc/ssl/certs/ca-certificates.crt
[[ -f $throwaway/authenticode.pem ]] && ca=$throwaway/authenticode.pem
unzip -q -d "$work/zip" "$release/kolmira-$version-windows-x64.zip" Kolmira/kolmira.exe
for program in "$release/kolmira-$version-setup.exe" "$work/zip/Kolmira/kolmira.exe"; do
    echo "${program##*/}:"
    env -u LANGUAGE LC_ALL=C.UTF-8 osslsigncode verify -CAfile "$ca" -in "$program" |
        grep -E '^(Message digest algorithm|Signer.s certificate|[[:space:]]+Subject|Signature verification)' || {
        echo "osslsigncode does not accept the signature of $program." >&2
        exit 1
    }
done

# A fresh root of the given release, from the chroot make package builds in.
make_root() {
    local tarball
    tarball=$(tools/debian/chroot.sh "$1")
    mkdir -p "$work/$1"
    tar -x -C "$work/$1" -f "$tarball"
}

# Runs a command as root in the root, with the repository folder
# $work/published at /srv/kolmira and the downloaded packages kept in the cache.
in_root() {
    local root=$work/$1
    shift
    mkdir -p "$cache/apt-archives-${root##*/}" "$root/srv/kolmira"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    unshare --mount --pid --fork sh -c '
        root=$1 cache=$2 published=$3
        shift 3
        mount -t proc proc "$root/proc"
        mount --rbind /dev "$root/dev"
        mount -t tmpfs tmpfs "$root/tmp"
        mount --bind "$cache" "$root/var/cache/apt/archives"
        mount --bind -o ro "$published" "$root/srv/kolmira"
        exec chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive \
            LC_ALL=C.UTF-8 "$@"' \
        sh "$root" "$cache/apt-archives-${root##*/}" "$work/published" "$@"
}

# The same packages with their version raised, as a binary-only rebuild
# (binNMU) would raise it, published into a copy of the repository signed
# with the key the release was signed with.
newer_repository() {
    rm -rf "$work/published" "$work/newer"
    cp -a "$apt" "$work/published"
    local deb
    for deb in "$apt"/pool/*/kolmira_*.deb; do
        dpkg-deb --raw-extract "$deb" "$work/newer"
        sed -i 's/^Version: .*/&+b1/' "$work/newer/DEBIAN/control"
        dpkg-deb --root-owner-group --build "$work/newer" "$work/published/pool/$(basename "$(dirname "$deb")")/" >/dev/null
        rm -rf "$work/newer"
    done
    [[ -d $throwaway/gnupg ]] && export GNUPGHOME=$throwaway/gnupg
    KOLMIRA_OPENPGP_KEY=$signer tools/release/apt.sh "$work/published" bookworm trixie
}

for release in bookworm:12 trixie:13; do
    suite=${release%:*}
    step "the apt repository in a fresh Debian ${release#*:} ($suite) root"
    make_root "$suite"
    rm -rf "$work/published" && cp -a "$apt" "$work/published"
    in_root "$suite" sh -ec '
        apt-get update -qq && apt-get install -y -qq appstream >/dev/null
        # What a household does: the key and the .sources file (here with the
        # repository on disk) go into apt'\''s folders.
        mkdir -p /etc/apt/keyrings
        cp /srv/kolmira/kolmira.asc /etc/apt/keyrings/kolmira.asc
        sed "s|^URIs: .*|URIs: file:/srv/kolmira|" "/srv/kolmira/kolmira-'"$suite"'.sources" \
            >/etc/apt/sources.list.d/kolmira.sources
        apt-get update --error-on=any >/tmp/update.log 2>&1 || { cat /tmp/update.log; exit 1; }
        grep kolmira /tmp/update.log
        # Before kolmira is installed, so that the data can only come from the repository.
        echo "\$ appstreamcli get io.github.tumbrek.Kolmira"
        appstreamcli get io.github.tumbrek.Kolmira
        echo "\$ LANGUAGE=sv appstreamcli get io.github.tumbrek.Kolmira"
        LANGUAGE=sv appstreamcli get io.github.tumbrek.Kolmira | tee /tmp/sv
        grep -q "Rätta familjens lottorader mot en dragning" /tmp/sv ||
            { echo "The repository'\''s AppStream data lacks the Swedish summary." >&2; exit 1; }
        apt-get install -y -qq kolmira >/dev/null
        dpkg-query -W kolmira'
    step "the upgrade on Debian ${release#*:}"
    newer_repository >/dev/null
    in_root "$suite" sh -ec '
        apt-get update --error-on=any -qq
        apt-get --simulate upgrade | grep "^Inst kolmira" ||
            { echo "apt upgrade does not offer the newer kolmira." >&2; exit 1; }
        apt-get upgrade -y -qq >/dev/null
        echo "\$ apt policy kolmira"
        apt policy kolmira 2>/dev/null
        dpkg-query -W -f="\${Version}\n" kolmira | grep -q "+b1$"'
done

step "done"
echo "The Windows setup program's upgrade and uninstall are checked by make windows-test."
