#!/usr/bin/env bash
# version.sh VERSION CHANGELOG METAINFO
# The version is set once, in CMakeLists.txt's project(); the Debian
# changelog's upstream version and the metainfo's latest release must be it.
set -euo pipefail
version=$1 changelog=$2 metainfo=$3
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
[[ $status -ne 0 ]] || echo "PASS: version $version in $changelog and $metainfo"
exit "$status"
