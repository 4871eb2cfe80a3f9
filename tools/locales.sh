#!/usr/bin/env bash
# Makes sure the locales given as arguments (such as sv_SE.UTF-8) can be used
# here: installs the locales package and generates those that are missing.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh locales
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
# `locale -a` lists sv_SE.UTF-8 as sv_SE.utf8.
listed() { locale -a | grep -qixF "${1%.*}.$(tr -d - <<<"${1#*.}")"; }
missing=()
for wanted in "$@"; do
    [[ $wanted == C.UTF-8 ]] || listed "$wanted" || missing+=("$wanted")
done
((${#missing[@]})) || exit 0
echo "Generating the locales ${missing[*]}"
for wanted in "${missing[@]}"; do
    # /etc/locale.gen lists every locale, most of them commented out.
    "${sudo[@]}" sed -i "s/^# *\($wanted ${wanted#*.}\)\$/\1/" /etc/locale.gen
    grep -qxF "$wanted ${wanted#*.}" /etc/locale.gen || echo "$wanted ${wanted#*.}" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
done
"${sudo[@]}" locale-gen --keep-existing >/dev/null # not every listed locale afresh
for wanted in "${missing[@]}"; do listed "$wanted" || { echo "The locale $wanted could not be generated." >&2 && exit 1; }; done
