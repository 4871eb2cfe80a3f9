#!/usr/bin/env bash
# tools/release/throwaway_token.sh DIR: what a release signed with throwaway
# keys signs the Windows programs with, made in DIR as a real release's is
# held: a SoftHSM2 token (DIR/softhsm2.conf, PIN 1234) whose RSA key is
# generated inside it and never leaves it, a self-signed code-signing
# certificate for that key (DIR/authenticode.pem), and a self-signed
# time-stamping certificate and key with the `openssl ts` configuration
# (DIR/tsa.cnf) that tools/release/tsa.py answers with. Needs softhsm2,
# opensc (pkcs11-tool), libengine-pkcs11-openssl and openssl.
set -euo pipefail
dir=$(realpath "${1:?usage: $0 DIR}")
module=/usr/lib/softhsm/libsofthsm2.so
mkdir -p "$dir/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$dir/tokens" >"$dir/softhsm2.conf"
export SOFTHSM2_CONF=$dir/softhsm2.conf
softhsm2-util --init-token --free --label "Kolmira throwaway" --pin 1234 --so-pin 12345678 >/dev/null
pkcs11-tool --module "$module" --token-label "Kolmira throwaway" --login --pin 1234 \
    --keypairgen --key-type rsa:3072 --id 01 --label authenticode >/dev/null
# The certificate is signed by the key in the token, through OpenSSL's engine.
PKCS11_MODULE_PATH=$module openssl req -new -x509 -engine pkcs11 -keyform engine -sha256 -days 30 \
    -key "pkcs11:token=Kolmira%20throwaway;object=authenticode;type=private?pin-value=1234" \
    -subj "/CN=Kolmira throwaway code signing, not for publishing" \
    -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=codeSigning \
    -out "$dir/authenticode.pem" 2>/dev/null

openssl req -x509 -newkey rsa:3072 -sha256 -nodes -days 30 -batch \
    -subj "/CN=Kolmira throwaway time stamps, not for publishing" \
    -addext keyUsage=critical,digitalSignature -addext extendedKeyUsage=critical,timeStamping \
    -keyout "$dir/tsa-key.pem" -out "$dir/tsa.pem" 2>/dev/null
echo 01 >"$dir/tsa-serial"
cat >"$dir/tsa.cnf" <<CONF
[tsa]
default_tsa = throwaway
[throwaway]
serial = $dir/tsa-serial
signer_cert = $dir/tsa.pem
signer_key = $dir/tsa-key.pem
signer_digest = sha256
default_policy = 1.2.3.4.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
CONF
