#!/usr/bin/env bash
# Prints the time every packaged file carries, so that the same commit gives
# the same package: SOURCE_DATE_EPOCH when set, else the last commit's time,
# or outside a git checkout the date of the latest changelog entry.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ -n ${SOURCE_DATE_EPOCH:-} ]]; then
    echo "$SOURCE_DATE_EPOCH"
else
    git log -1 --format=%ct 2>/dev/null || dpkg-parsechangelog -l data/debian/changelog -S Timestamp
fi
