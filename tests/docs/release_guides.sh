#!/usr/bin/env bash
# tests/docs/release_guides.sh CHECK GUIDE...: make release's check of the
# guides (CHECK, tools/release/guides.sh) refuses each guide as it stands for
# a key it does not name, a guide that gives key and publisher but still
# promises the release, and one that names the wrong publisher; and passes
# one written for the release.
set -euo pipefail
check=$1 && shift
fingerprint=0123456789ABCDEF0123456789ABCDEF01234567 spaced="0123 4567 89AB CDEF 0123  4567 89AB CDEF 0123 4567"
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
failed=0
expect() { # expect pass|refuse PUBLISHER TEXT
    printf '%s\n' "$3" >"$work/guide.md"
    local status=0 && "$check" "$fingerprint" "$2" "$work/guide.md" 2>"$work/said" || status=$?
    [[ ($1 == pass && $status == 0) || ($1 == refuse && $status != 0) ]] ||
        { echo "FAIL: expected $1 ($2) for: $3" && cat "$work/said" && failed=1; }
}
for guide in "$@"; do expect refuse "Okänd utgivare" "$(cat "$guide")"; done
released="Kolmira 1.00 is out. Its key: $spaced. Windows names the publisher \"Okänd utgivare\"."
expect pass "Okänd utgivare" "$released"
expect pass "Okänd utgivare" "Nyckelns fingeravtryck är ${fingerprint,,}. Utgivare: Okänd utgivare."
expect refuse "Kolmira developers" "$released"
expect refuse "Okänd utgivare" "**Kolmira has not been released yet.** $released"
expect refuse "Okänd utgivare" "Kolmira har inte släppts än. $released"
expect refuse "Okänd utgivare" "${released/$spaced/0123 4567}"
exit $failed
