#!/usr/bin/env bash
# tools/release/apt.sh APT_DIR SUITE=DEB...: publishes each DEB in SUITE of
# the signed apt repository, in place of the version there (a suite not
# named keeps its own), and makes APT_DIR a copy of it, the one to publish.
# The repository and reprepro's database are its state, kept where no
# clean-up of a clone reaches: KOLMIRA_APT_STATE, by default
# ${XDG_DATA_HOME:-~/.local/share}/kolmira/apt-<fingerprint>, one for each
# key that signs (KOLMIRA_OPENPGP_KEY, a fingerprint), so that no other
# key's run mixes into it; throwaway keys keep theirs with them (keys.sh).
# reprepro signs the Release files with that key; the architectures are the
# packages'. The AppStream data software centres read, with the icons, is
# made as Debian's archive makes it (appstream-generator), since reprepro
# makes none; reprepro's index hook (apt_hook.sh) has the signed Release list
# it. Writes beside them the public key kolmira.asc (PUBLIC_KEY) and, for
# each suite, the deb822 file kolmira-<suite>.sources that adds the
# repository at KOLMIRA_APT_URI and trusts only that key for it.
set -euo pipefail
usage() { echo "$1 (usage: tools/release/apt.sh APT_DIR SUITE=DEB...)." >&2 && exit 1; }
[[ ${KOLMIRA_OPENPGP_KEY:-} =~ ^[0-9A-F]{40,64}$ ]] ||
    usage "KOLMIRA_OPENPGP_KEY must name the signing key by its fingerprint, not \"${KOLMIRA_OPENPGP_KEY:-}\""
[[ $# -gt 1 && -n $1 ]] || usage "No APT_DIR or no package"
for pair in "${@:2}"; do [[ ${pair%%=*} =~ ^[a-z]+$ && -f ${pair#*=} ]] || usage "Not a suite's package: \"$pair\""; done
state=$(realpath -m "${KOLMIRA_APT_STATE:-${XDG_DATA_HOME:-$HOME/.local/share}/kolmira/apt-$KOLMIRA_OPENPGP_KEY}")
published=$(realpath -m "$1") apt_dir=$state/apt db=$state/db hook=$(realpath "$(dirname "$0")")/apt_hook.sh
# The copy replaces APT_DIR: never where it would take the state with it.
[[ $state/ != "${published%/}"/* && $published/ != "$state"/* ]] || usage "APT_DIR $published and the state $state overlap"
shift
uri=${KOLMIRA_APT_URI:-https://tumbrek.github.io/kolmira/apt}
mkdir -p "$apt_dir" "$db/conf/distributions"
cp "$PUBLIC_KEY" "$apt_dir/kolmira.asc"

declare -A arch
for pair in "$@"; do arch[${pair%%=*}]+=" $(dpkg-deb --field "${pair#*=}" Architecture)"; done
# shellcheck disable=SC2086 # split into words on purpose
for suite in "${!arch[@]}"; do arch[$suite]=$(printf '%s\n' ${arch[$suite]} | sort -u | xargs); done
# A file for each suite, so that the suites not named keep theirs.
for suite in "${!arch[@]}"; do
    cat >"$db/conf/distributions/$suite.conf" <<CONF
Codename: $suite
Origin: Kolmira
Label: Kolmira
Description: Kolmira for Debian $suite
Architectures: ${arch[$suite]}
Components: main
SignWith: $KOLMIRA_OPENPGP_KEY
DebIndices: Packages Release . .gz .xz $hook
CONF
    printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
        "$uri" "$suite" /etc/apt/keyrings/kolmira.asc >"$apt_dir/kolmira-$suite.sources"
done
reprepro=(reprepro --silent --basedir "$db" --outdir "$apt_dir")
for pair in "$@"; do
    "${reprepro[@]}" --export=silent-never remove "${pair%%=*}" kolmira
    "${reprepro[@]}" --export=silent-never includedeb "${pair%%=*}" "${pair#*=}"
done
"${reprepro[@]}" export

# Screenshots stay where the metainfo says they are, since nothing is fetched.
work=$(mktemp -d)
trap 'rm -rf "${work:?}"' EXIT
suites=$(for suite in "${!arch[@]}"; do
    printf '"%s": {"sections": ["main"], "architectures": ["%s"]},' "$suite" "${arch[$suite]// /\", \"}"
done)
cat >"$work/asgen-config.json" <<JSON
{
  "ProjectName": "Kolmira",
  "ArchiveRoot": "$apt_dir",
  "MediaBaseUrl": "$uri/media",
  "Backend": "debian",
  "Features": {"noDownloads": true, "createScreenshotsStore": false, "metadataTimestamps": false,
               "optimizePNGSize": false, "processFonts": false, "processGStreamer": false,
               "processLocale": false, "screenshotVideos": false},
  "Suites": {${suites%,}},
  "Icons": {"48x48": {"cached": true, "remote": false}, "64x64": {"cached": true, "remote": false},
            "128x128": {"cached": true, "remote": false}}
}
JSON
for suite in "${!arch[@]}"; do
    appstream-generator run "$suite" --workspace "$work" >"$work/asgen.log" 2>&1 || { cat "$work/asgen.log" >&2; exit 1; }
    dep11=$apt_dir/dists/$suite/main/dep11
    rm -rf "${apt_dir:?}/dists/$suite/main/dep11" && cp -r "$work/export/data/$suite/main" "$dep11"
    zcat "$dep11"/Components-*.yml.gz | grep -q '^ID: ' ||
        { echo "appstream-generator found no component in $suite:" >&2; cat "$work/asgen.log" >&2; exit 1; }
    # apt fetches an optional index only when Release names it uncompressed.
    gunzip --keep "$dep11"/*.gz
done
"${reprepro[@]}" export
rm -rf "${published:?}" && mkdir -p "${published%/*}" && cp -a "$apt_dir" "$published"
echo "Published $published from the apt repository kept in $state."
