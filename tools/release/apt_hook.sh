#!/bin/sh
# reprepro's index hook (tools/release/apt.sh): called with a suite's folder
# for each of its package indices, it names to reprepro, on descriptor 3, the
# AppStream files beside them, which the signed Release file then lists.
case $3 in */binary-*/Packages) ;; *) exit 0 ;; esac
cd "$1" && find main/dep11 -type f 2>/dev/null | LC_ALL=C sort >&3
