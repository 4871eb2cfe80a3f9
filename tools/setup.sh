#!/usr/bin/env bash
# tools/setup.sh [STEP|LOCALE]...: installs, with apt-get (through sudo when
# not root), what the build and the named steps need and the machine lacks,
# and generates the named locales (such as sv_SE.UTF-8). The build's packages
# are debian/control's Build-Depends, the tests' are debian/tests/control's
# Depends; every other step's tools are listed below, once. Installs wait for
# each other, so that steps may install side by side. Needs Debian 12 or 13.
set -euo pipefail
cd "$(dirname "$0")/.."

# What each step needs beyond the build; a step that runs another's tools names both.
declare -A needs=(
    [test]="orca, groff-base, desktop-file-utils, appstream" # screen reader, file checks
    [lint]="clazy, clang-tidy"
    [format]="clang-format"
    [fuzz]="clang, libclang-rt-dev" # libFuzzer and the sanitizers' runtime
    # sbuild; dch and git deborig, with the Perl modules they take from
    # devscripts' Recommends; the judges sbuild runs from the host
    [package]="sbuild, mmdebstrap, uidmap, devscripts, faketime, libdistro-info-perl, libgit-wrapper-perl,
        liblist-compare-perl, libstring-shellquote-perl, autopkgtest, piuparts"
    [check]="blhc"
    [reproducible]="reprotest, diffoscope-minimal, disorderfs"
    [windows]="g++-mingw-w64-x86-64-posix, ninja-build, nsis, zip, osslsigncode, xmlstarlet"
    [windows-test]="wine, wine64, fonts-wine" # Wine's own fonts, which Windows' dialogs ask for
    [screenshots]="imagemagick, qt6ct"
    [bench]="pkg-config, libxcb1-dev"
    # the throwaway code-signing token and time-stamping authority: softhsm2 on
    # through python3; a real token needs its own module (often opensc-pkcs11)
    [release]="gnupg, openssl, xsltproc, reprepro, appstream-generator, softhsm2, opensc, libengine-pkcs11-openssl,
        python3"
    [release-test]="unzip, devscripts, python3" # uscan, and a server for it
)

# A deb822 field's value, its lines joined.
field() { awk -v name="$1:" '/^[^ \t]/ {on = $1 == name; sub(/^[^:]*:/, "")} on' "$2" | tr '\n' ' '; }
# Debian builds with build-essential (the compiler, make, dpkg-dev) beside Build-Depends.
depends="build-essential, $(field Build-Depends debian/control)" locales=()
for step in "$@"; do
    case $step in
    *.UTF-8) locales+=("$step") && depends+=", locales" ;;
    *) [[ -v needs[$step] ]] || { echo "tools/setup.sh: no step $step" >&2 && exit 2; }
        depends+=", ${needs[$step]}" ;;&
    test) depends+=", $(field Depends debian/tests/control | sed 's/\(^\| \)kolmira,//')" ;;
    esac
done
depends=$(xargs <<<"$depends" | sed -E 's/( *,)+ */, /g; s/^[ ,]+|[ ,]+$//g') # apt wants no empty entries

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
update=
# Qt for Windows is built from Debian's own source, which apt-get source
# fetches, checked as packages are, from the source index that a machine set
# up for binaries lacks: Debian's entries get deb-src beside deb.
# shellcheck disable=SC2016 # apt's format
if [[ " $* " == *" windows "* ]] && ! apt-get indextargets --format '$(IDENTIFIER)' | grep -qx Sources; then
    echo "Adding deb-src to Debian's entries in /etc/apt/sources.list*" && update=yes
fi
# dpkg-checkbuilddeps says whether anything is missing (dpkg-dev, in build-essential).
if [[ -n $update ]] || ! command -v dpkg-checkbuilddeps >/dev/null ||
    ! dpkg-checkbuilddeps -d "$depends" /dev/null 2>/dev/null; then
    echo "Installing what ${*:-the build} needs"
    # apt takes its lists' lock without waiting: one install at a time, update included.
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive flock /var/lib/apt/lists sh -ec '
        if [ -n "$2" ]; then
            sed -i "/^Types: deb\$/s/\$/ deb-src/" /etc/apt/sources.list.d/debian.sources 2>/dev/null || true
            grep -qs "^deb-src" /etc/apt/sources.list ||
                sed -i "/^deb [^#]*debian\.org/{p;s/^deb /deb-src /}" /etc/apt/sources.list 2>/dev/null || true
        fi
        apt-get update -qq
        apt-get satisfy -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 "$1" >/dev/null' - "$depends" "$update"
fi
# Listed in /etc/locale.gen, so that the locales package keeps it when it is upgraded.
for locale in "${locales[@]}"; do
    locale -a | grep -qixF "${locale%.*}.utf8" && grep -qsx "$locale UTF-8" /etc/locale.gen ||
        "${sudo[@]}" sh -ec 'grep -qsx "$1 UTF-8" /etc/locale.gen || echo "$1 UTF-8" >>/etc/locale.gen
            locale-gen >/dev/null' - "$locale"
done
