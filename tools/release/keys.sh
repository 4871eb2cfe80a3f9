# shellcheck shell=bash
# Sourced by tools/release.sh: the keys a release is signed with, which come
# from the person releasing:
#   KOLMIRA_OPENPGP_KEY        fingerprint of the OpenPGP key in GNUPGHOME
#                              (or ~/.gnupg) that signs SHA256SUMS and the
#                              apt repository; its public half must be the
#                              one committed as data/kolmira-release-key.asc
#   KOLMIRA_AUTHENTICODE_CERT  the code-signing certificate (PEM) and
#   KOLMIRA_AUTHENTICODE_KEY   its private key (PEM) for the Windows programs
# Any that is unset is replaced by a throwaway key, made in $throwaway (which
# the caller sets and make release-test reads), fit for checking the path but
# for nothing else (its secret half in $throwaway/secret-key.asc); a
# throwaway OpenPGP key's apt repository is kept there too, never beside the
# real key's (tools/release/apt.sh). Sets public_key to the public key
# households check with.
committed_key=data/kolmira-release-key.asc

loudly() {
    local line && line=$(printf '*%.0s' {1..78})
    { printf '\n%s\n' "$line" && printf '*** %s\n' "$@" && printf '%s\n\n' "$line"; } >&2
}

throwaway=$(realpath -m "${throwaway:?}")
rm -rf "${throwaway:?}"
if [[ -z ${KOLMIRA_OPENPGP_KEY:-} ]]; then
    # A home of its own, at a short path: gpg-agent's sockets lie in it
    # where /run/user/<uid> is missing, and a socket's path is short.
    GNUPGHOME=$(mktemp -d) && export GNUPGHOME
    trap 'gpgconf --kill gpg-agent; rm -rf "${GNUPGHOME:?}"' EXIT
    gpg --batch --quiet --passphrase '' --quick-generate-key \
        "Kolmira throwaway key, not for publishing <nobody@invalid>" ed25519 sign 30d
    KOLMIRA_OPENPGP_KEY=$(gpg --with-colons --list-secret-keys 2>/dev/null | awk -F: '$1 == "fpr" {print $10; exit}')
    loudly "KOLMIRA_OPENPGP_KEY is not set: SHA256SUMS and the apt repository are signed" \
        "with a THROWAWAY key made for this run, $KOLMIRA_OPENPGP_KEY." \
        "The committed key $committed_key does not apply. Do not publish this release."
    mkdir -p "$throwaway" && public_key=$throwaway/kolmira.asc && export KOLMIRA_APT_STATE=$throwaway/apt-state
    gpg --armor --export "$KOLMIRA_OPENPGP_KEY" >"$public_key"
    gpg --armor --export-secret-keys "$KOLMIRA_OPENPGP_KEY" >"$throwaway/secret-key.asc"
else
    # The fingerprint, however the key was named, and its public half as households have it.
    KOLMIRA_OPENPGP_KEY=$(gpg --with-colons --list-secret-keys "$KOLMIRA_OPENPGP_KEY" |
        awk -F: '$1 == "fpr" {print $10; exit}')
    committed=$(gpg --with-colons --show-keys "$committed_key" 2>/dev/null | awk -F: '$1 == "fpr" {print $10; exit}' || true)
    if [[ $committed != "$KOLMIRA_OPENPGP_KEY" ]]; then
        echo "The key $KOLMIRA_OPENPGP_KEY is not the one committed as $committed_key" \
            "(${committed:-none}), which households check the release with. Commit its public" \
            "half first: gpg --export --armor $KOLMIRA_OPENPGP_KEY >$committed_key" >&2
        exit 1
    fi
    public_key=$committed_key
fi
export KOLMIRA_OPENPGP_KEY

if [[ -z ${KOLMIRA_AUTHENTICODE_CERT:-} || -z ${KOLMIRA_AUTHENTICODE_KEY:-} ]]; then
    mkdir -p "$throwaway"
    openssl req -x509 -newkey rsa:3072 -sha256 -nodes -days 30 -batch \
        -subj "/CN=Kolmira throwaway code signing, not for publishing" \
        -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
        -keyout "$throwaway/authenticode-key.pem" -out "$throwaway/authenticode.pem" 2>/dev/null
    export KOLMIRA_AUTHENTICODE_CERT=$throwaway/authenticode.pem
    export KOLMIRA_AUTHENTICODE_KEY=$throwaway/authenticode-key.pem
    loudly "KOLMIRA_AUTHENTICODE_CERT/KEY are not set: the Windows programs are signed with a" \
        "THROWAWAY self-signed certificate, which Windows does not trust. Do not publish them."
fi
