#!/usr/bin/env bash
# tools/release/guides.sh FINGERPRINT PUBLISHER [GUIDE...]: whether the guides
# (README.md and README.sv.md) are ready to ship with a release signed by the
# OpenPGP key FINGERPRINT whose Windows programs show PUBLISHER ("Okänd
# utgivare" when unsigned): neither may still say that Kolmira has not been
# released or promise what the first release will bring, and each must give the key's fingerprint (spaces aside) and the
# publisher. Prints what is missing and fails; tools/release.sh refuses a
# release with a real key until they are.
set -euo pipefail
fingerprint=${1:?usage: $0 FINGERPRINT PUBLISHER [GUIDE...]} publisher=${2:?}
shift 2
(($# > 0)) || set -- README.md README.sv.md
failed=0
for guide in "$@"; do
    missing=()
    grep -qiE 'has not been released|after the first release|will give|will say|har inte släppts|när den första versionen' \
        "$guide" && missing+=("still speaks of the release to come")
    tr -d ' \n' <"$guide" | grep -qi "$fingerprint" || missing+=("lacks the key's fingerprint $fingerprint")
    grep -qF "$publisher" "$guide" || missing+=("lacks the Windows programs' publisher \"$publisher\"")
    for what in "${missing[@]}"; do echo "$guide $what." >&2 && failed=1; done
done
((failed == 0)) || { echo "Write the release into the guides first (RELEASING.md, the first release)." >&2 && exit 1; }
