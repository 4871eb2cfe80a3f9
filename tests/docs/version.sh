#!/usr/bin/env bash
# version.sh VERSION CHANGELOG METAINFO GUIDE...
# The version is set once, in CMakeLists.txt's project(); the Debian
# changelog's upstream version, the metainfo's latest release and every
# version a guide names (as "version 1.00" or in a Windows file's name) must
# be it. The window's title names a version of its own, 1.3.
set -euo pipefail
version=$1 changelog=$2 metainfo=$3
shift 3
status=0
debian=$(dpkg-parsechangelog -l "$changelog" -S Version)
upstream=${debian%-*}
if [[ $upstream != "$version" ]]; then
    echo "FAIL: $changelog is at $upstream (${debian}), the program at $version" >&2
    status=1
fi
# The releases are listed newest first.
release=$(grep -o -m 1 '<release [^>]*version="[^"]*"' "$metainfo" | sed 's/.*version="//; s/"$//')
if [[ $release != "$version" ]]; then
    echo "FAIL: the latest release in $metainfo is ${release:-missing}, the program is at $version" >&2
    status=1
fi
for guide in "$@"; do
    named=$(grep -oE 'version [0-9]+\.[0-9]+|kolmira-[0-9][0-9.]*[0-9]-(setup|windows)' "$guide" |
        grep -oE '[0-9]+\.[0-9]+' | grep -vxF 1.3 | sort -u | grep -vxF "$version" || true)
    [[ -z $named ]] || { echo "FAIL: $guide names version $(xargs <<<"$named"), the program is at $version" >&2 && status=1; }
done
[[ $status -ne 0 ]] || echo "PASS: version $version in $changelog, $metainfo and $*"
exit "$status"
