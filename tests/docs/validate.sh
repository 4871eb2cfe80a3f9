#!/usr/bin/env bash
# validate.sh manual-pages|desktop-entry|metainfo FILE...
# Checks the files a user gets beside the program as Debian does: any warning
# fails; information passes. Skips (tests/support/skip.sh) when the tool is
# missing.
set -euo pipefail
. "$(dirname "$0")/../support/skip.sh"
check=$1
shift
declare -A tools=([manual-pages]=groff [desktop-entry]=desktop-file-validate [metainfo]=appstreamcli)
tool=${tools[$check]}
command -v "$tool" >/dev/null || skip "$tool is missing (make test installs it: tools/setup.sh test)"

case $check in
manual-pages)
    # -k: the pages are UTF-8, as man reads them.
    for page in "$@"; do
        warnings=$(groff -k -ww -z -man "$page" 2>&1) || true
        if [[ -n $warnings ]]; then
            echo "$page: $warnings" >&2
            exit 1
        fi
    done
    ;;
desktop-entry)
    # Its hints are only information.
    warnings=$(desktop-file-validate --no-hints "$@" 2>&1) || true
    if [[ -n $warnings ]]; then
        echo "$warnings" >&2
        exit 1
    fi
    ;;
metainfo)
    # Fails (status 3) on an error or a warning.
    appstreamcli validate --no-net "$@"
    ;;
esac
echo "PASS: $check: $*"
