#!/usr/bin/env bash
# Lists every mount point at or below the given folders and fails if there is
# one. Run it before removing such a folder: `rm -rf` goes through a mount
# and would delete what is mounted there, a bind mount of /dev included.
set -euo pipefail

found=0
for dir in "$@"; do
    [[ -e $dir ]] || continue
    dir=$(realpath "$dir")
    # Mount points in /proc/self/mountinfo (fifth field) escape space, tab,
    # newline and backslash in octal; the folder is escaped the same way.
    escaped=$(sed -e 's/\\/\\134/g' -e 's/ /\\040/g' -e 's/\t/\\011/g' <<<"$dir")
    while read -r point; do
        echo "Mounted below $dir: $point" >&2
        found=1
    done < <(DIR=$escaped awk '{ dir = ENVIRON["DIR"] }
        $5 == dir || index($5, dir "/") == 1 || dir == "/" { print $5 }' /proc/self/mountinfo)
done
exit $found
