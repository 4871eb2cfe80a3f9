# shellcheck shell=bash
# Sourced by tools/release.sh: the keys a release is signed with, which come
# from the person releasing:
#   KOLMIRA_OPENPGP_KEY        fingerprint of the OpenPGP key in GNUPGHOME
#                              (or ~/.gnupg) that signs SHA256SUMS, the
#                              tarball and the apt repository; its public half
#                              must be the one committed as
#                              data/kolmira-release-key.asc
# and, for Windows programs signed with Authenticode (without them they go
# out unsigned, and the release notes say so):
#   KOLMIRA_AUTHENTICODE_CERT  the code-signing certificate chain (PEM)
#   KOLMIRA_AUTHENTICODE_KEY   its private key, a pkcs11: URI in the token or
#                              HSM that holds it (a PEM file only for tests)
#   KOLMIRA_AUTHENTICODE_PKCS11_MODULE  the token's PKCS#11 module
#   KOLMIRA_AUTHENTICODE_TIMESTAMP_URL  the time-stamping authority (RFC 3161)
# Without KOLMIRA_OPENPGP_KEY every key is a throwaway one, made in $throwaway
# (which the caller sets and make release-test reads), fit for checking the
# path but for nothing else: an OpenPGP key (its secret half in
# $throwaway/secret-key.asc, its apt repository beside it, never beside the
# real key's: tools/release/apt.sh) and, unless a certificate is given, a
# certificate whose key lies in a SoftHSM2 token, time-stamped by an
# authority on the loopback (throwaway_token.sh, tsa.py). A throwaway
# certificate never signs what a real OpenPGP key signs. Sets public_key to
# the public key households check with and publisher to the name Windows
# shows for the programs' publisher ("Okänd utgivare" when unsigned).
committed_key=data/kolmira-release-key.asc

loudly() {
    local line && line=$(printf '*%.0s' {1..78})
    { printf '\n%s\n' "$line" && printf '*** %s\n' "$@" && printf '%s\n\n' "$line"; } >&2
}

throwaway=$(realpath -m "${throwaway:?}")
rm -rf "${throwaway:?}"
cleanup=:
trap 'eval "$cleanup"' EXIT
if [[ -z ${KOLMIRA_OPENPGP_KEY:-} ]]; then
    # A home of its own, at a short path: gpg-agent's sockets lie in it
    # where /run/user/<uid> is missing, and a socket's path is short.
    GNUPGHOME=$(mktemp -d) && export GNUPGHOME
    # shellcheck disable=SC2016 # run at exit
    cleanup+='; gpgconf --kill gpg-agent; rm -rf "${GNUPGHOME:?}"'
    gpg --batch --quiet --passphrase '' --quick-generate-key \
        "Kolmira throwaway key, not for publishing <nobody@invalid>" ed25519 sign 30d
    KOLMIRA_OPENPGP_KEY=$(gpg --with-colons --list-secret-keys 2>/dev/null | awk -F: '$1 == "fpr" {print $10; exit}')
    loudly "KOLMIRA_OPENPGP_KEY is not set: SHA256SUMS and the apt repository are signed" \
        "with a THROWAWAY key made for this run, $KOLMIRA_OPENPGP_KEY." \
        "The committed key $committed_key does not apply. Do not publish this release."
    mkdir -p "$throwaway" && public_key=$throwaway/kolmira.asc && export KOLMIRA_APT_STATE=$throwaway/apt-state
    gpg --armor --export "$KOLMIRA_OPENPGP_KEY" >"$public_key"
    gpg --armor --export-secret-keys "$KOLMIRA_OPENPGP_KEY" >"$throwaway/secret-key.asc"
    if [[ -z ${KOLMIRA_AUTHENTICODE_CERT:-} ]]; then
        tools/release/throwaway_token.sh "$throwaway"
        tools/release/tsa.py "$throwaway/tsa.cnf" >"$throwaway/tsa-port" &
        cleanup+="; kill $!"
        for _ in {1..50}; do [[ -s $throwaway/tsa-port ]] && break; sleep 0.1; done
        port=$(cat "$throwaway/tsa-port") && [[ -n $port ]] || { echo "The time-stamping authority did not start." >&2 && exit 1; }
        export SOFTHSM2_CONF=$throwaway/softhsm2.conf KOLMIRA_AUTHENTICODE_CERT=$throwaway/authenticode.pem \
            KOLMIRA_AUTHENTICODE_KEY="pkcs11:token=Kolmira%20throwaway;object=authenticode;type=private?pin-value=1234" \
            KOLMIRA_AUTHENTICODE_PKCS11_MODULE=/usr/lib/softhsm/libsofthsm2.so \
            KOLMIRA_AUTHENTICODE_TIMESTAMP_URL=http://127.0.0.1:$port
        loudly "KOLMIRA_AUTHENTICODE_CERT is not set: the Windows programs are signed with a THROWAWAY" \
            "self-signed certificate, its key in a SoftHSM2 token, which Windows does not trust."
    fi
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
    [[ -z ${KOLMIRA_AUTHENTICODE_CERT:-} || ${KOLMIRA_AUTHENTICODE_KEY:-} == pkcs11:* ]] ||
        { echo "KOLMIRA_AUTHENTICODE_KEY must name the certificate's key in its token (a pkcs11: URI)," \
            "not \"${KOLMIRA_AUTHENTICODE_KEY:-}\"." >&2 && exit 1; }
fi
export KOLMIRA_OPENPGP_KEY
if [[ -n ${KOLMIRA_AUTHENTICODE_CERT:-} ]]; then
    # Windows shows the certificate's common name as the publisher.
    publisher=$(openssl x509 -in "$KOLMIRA_AUTHENTICODE_CERT" -noout -subject -nameopt multiline |
        sed -n 's/^ *commonName *= //p')
    : "${KOLMIRA_AUTHENTICODE_KEY:?names no key for the certificate $KOLMIRA_AUTHENTICODE_CERT}"
    : "${KOLMIRA_AUTHENTICODE_TIMESTAMP_URL:?names no time-stamping authority: without a time stamp the signatures stop verifying when the certificate expires}"
else
    publisher="Okänd utgivare"
    loudly "KOLMIRA_AUTHENTICODE_CERT is not set: the Windows programs go out UNSIGNED, as the" \
        "release notes say; Windows names their publisher \"$publisher\"."
fi
