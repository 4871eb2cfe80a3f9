#!/usr/bin/env bash
# Signs a Windows program in place with an Authenticode signature (SHA-256,
# osslsigncode) when the person releasing gives a certificate:
#   KOLMIRA_AUTHENTICODE_CERT           the certificate chain (PEM)
#   KOLMIRA_AUTHENTICODE_KEY            its private key (PEM)
#   KOLMIRA_AUTHENTICODE_TIMESTAMP_URL  a time-stamping server (optional)
# Without them it leaves the file unsigned. The signing time is the last
# commit's (SOURCE_DATE_EPOCH), so that the same key signs the same bytes.
set -euo pipefail

file=$1
[[ -n ${KOLMIRA_AUTHENTICODE_CERT-} ]] || exit 0
: "${KOLMIRA_AUTHENTICODE_KEY:?names no key for the certificate in KOLMIRA_AUTHENTICODE_CERT}"
options=(-h sha256 -n Kolmira -i https://github.com/tumbrek/kolmira)
[[ -n ${SOURCE_DATE_EPOCH-} ]] && options+=(-time "$SOURCE_DATE_EPOCH")
[[ -n ${KOLMIRA_AUTHENTICODE_TIMESTAMP_URL-} ]] && options+=(-ts "$KOLMIRA_AUTHENTICODE_TIMESTAMP_URL")
osslsigncode sign -certs "$KOLMIRA_AUTHENTICODE_CERT" -key "$KOLMIRA_AUTHENTICODE_KEY" \
    "${options[@]}" -in "$file" -out "$file.signed" >/dev/null
mv "$file.signed" "$file"
