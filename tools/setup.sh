#!/usr/bin/env bash
# Installs, with apt-get, whatever the build and the tests need and the
# machine lacks. Extra packages can be asked for as arguments.
set -euo pipefail

# cmark-gfm renders the Swedish guide into a web page.
packages=(cmake make g++ dpkg-dev qt6-base-dev libgl-dev fonts-liberation2 cmark-gfm "$@")

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
# The lock time-out waits for another apt or dpkg run (an update, a parallel make target).
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300)
[[ $(id -u) -eq 0 ]] || apt=(sudo "${apt[@]}")
"${apt[@]}" update -qq && "${apt[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
