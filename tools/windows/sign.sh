#!/usr/bin/env bash
# Signs a Windows program in place with a time-stamped Authenticode signature
# (SHA-256, osslsigncode 2.5 or newer) when the person releasing gives a
# certificate (tools/release/keys.sh):
#   KOLMIRA_AUTHENTICODE_CERT           the certificate chain (PEM)
#   KOLMIRA_AUTHENTICODE_KEY            its private key: a pkcs11: URI, or a
#                                       PEM file (tests only)
#   KOLMIRA_AUTHENTICODE_PKCS11_MODULE  the PKCS#11 module of the key's token
#   KOLMIRA_AUTHENTICODE_TIMESTAMP_URL  the time-stamping authority (RFC 3161)
# Without them it leaves the file unsigned. The signing time is the last
# commit's (SOURCE_DATE_EPOCH), so that the same key signs the same bytes.
# A key in a token is reached through OpenSSL's pkcs11 engine
# (libengine-pkcs11-openssl), which osslsigncode loads by its name: given the
# engine's path instead, osslsigncode 2.5 fails to load it.
set -euo pipefail

file=$1
[[ -n ${KOLMIRA_AUTHENTICODE_CERT-} ]] || exit 0
key=${KOLMIRA_AUTHENTICODE_KEY:?names no key for the certificate in KOLMIRA_AUTHENTICODE_CERT}
options=(-h sha256 -n Kolmira -i https://github.com/tumbrek/kolmira
    -ts "${KOLMIRA_AUTHENTICODE_TIMESTAMP_URL:?names no time-stamping authority for the signature}")
[[ $key != pkcs11:* ]] ||
    options+=(-pkcs11module "${KOLMIRA_AUTHENTICODE_PKCS11_MODULE:?names no PKCS#11 module for the key $key}")
[[ -n ${SOURCE_DATE_EPOCH-} ]] && options+=(-time "$SOURCE_DATE_EPOCH")
osslsigncode sign -certs "$KOLMIRA_AUTHENTICODE_CERT" -key "$key" "${options[@]}" \
    -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
