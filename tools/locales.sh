#!/usr/bin/env bash
# Makes sure the locales given as arguments (such as sv_SE.UTF-8) can be used
# on this machine: installs the locales package and generates the missing
# ones, leaving those already there as they are.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup.sh locales

# `locale -a` lists sv_SE.UTF-8 as sv_SE.utf8.
listed() {
    local charset=${1#*.}
    charset=${charset//-/}
    locale -a | grep -qxF "${1%%.*}.${charset,,}"
}

missing=()
for wanted in "$@"; do
    [[ $wanted == C.UTF-8 ]] || listed "$wanted" || missing+=("$wanted")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Generating the locales ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
for wanted in "${missing[@]}"; do
    # /etc/locale.gen lists every locale, most of them commented out.
    entry="$wanted ${wanted#*.}"
    if grep -qxF "# $entry" /etc/locale.gen; then
        "${sudo[@]}" sed -i "s/^# $entry\$/$entry/" /etc/locale.gen
    elif ! grep -qxF "$entry" /etc/locale.gen; then
        echo "$entry" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
done
# Without --keep-existing, locale-gen would make every listed locale afresh.
"${sudo[@]}" locale-gen --keep-existing >/dev/null
for wanted in "${missing[@]}"; do
    listed "$wanted" || {
        echo "The locale $wanted could not be generated." >&2
        exit 1
    }
done
