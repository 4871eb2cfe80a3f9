#!/usr/bin/env bash
# Makes the static apt repository APT_DIR (the first argument) from the
# packages in its pool/<suite>/, for each suite named after it: the package
# index (apt-ftparchive), the AppStream data software centres read, with the
# icons, in the same way Debian's archive makes it (appstream-generator), and
# the Release file, signed as InRelease and Release.gpg with the OpenPGP key
# KOLMIRA_OPENPGP_KEY. Writes beside them, for each suite, the deb822 file
# kolmira-<suite>.sources that adds the repository at KOLMIRA_APT_URI and
# trusts only the key /etc/apt/keyrings/kolmira.asc for it.
# Needs apt-utils, appstream-generator and gpg.
set -euo pipefail
apt_dir=$(realpath "$1")
shift
uri=${KOLMIRA_APT_URI:-https://tumbrek.github.io/kolmira/apt}
sign=(gpg --batch --yes --quiet --local-user "$KOLMIRA_OPENPGP_KEY" --digest-algo SHA512)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$apt_dir"
for suite in "$@"; do
    mkdir -p "dists/$suite/main/binary-amd64"
    apt-ftparchive packages "pool/$suite" >"dists/$suite/main/binary-amd64/Packages"
    xz -9 --keep --force "dists/$suite/main/binary-amd64/Packages"
done

# Screenshots stay where the metainfo says they are, since nothing is fetched.
suites=$(printf '"%s": {"sections": ["main"], "architectures": ["amd64"]},' "$@")
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
for suite in "$@"; do
    appstream-generator run "$suite" --workspace "$work" >"$work/asgen.log" 2>&1 || { cat "$work/asgen.log" >&2; exit 1; }
    rm -rf "dists/$suite/main/dep11" && mkdir -p "dists/$suite/main/dep11"
    cp "$work/export/data/$suite/main/Components-amd64.yml.gz" \
        "$work"/export/data/"$suite"/main/icons-{48x48,64x64,128x128}.tar.gz "dists/$suite/main/dep11/"
    zgrep -q '^ID: ' "dists/$suite/main/dep11/Components-amd64.yml.gz" ||
        { echo "appstream-generator found no component in $suite:" >&2; cat "$work/asgen.log" >&2; exit 1; }
    # apt fetches an optional index only when Release names it uncompressed.
    gunzip --keep "dists/$suite/main/dep11/"*.gz

    apt-ftparchive -o APT::FTPArchive::Release::Origin=Kolmira -o APT::FTPArchive::Release::Label=Kolmira \
        -o APT::FTPArchive::Release::Suite="$suite" -o APT::FTPArchive::Release::Codename="$suite" \
        -o APT::FTPArchive::Release::Architectures=amd64 -o APT::FTPArchive::Release::Components=main \
        -o APT::FTPArchive::Release::Description="Kolmira for Debian $suite" \
        release "dists/$suite" >"$work/Release"
    mv "$work/Release" "dists/$suite/Release"
    "${sign[@]}" --clearsign --output "dists/$suite/InRelease" "dists/$suite/Release"
    "${sign[@]}" --armor --detach-sign --output "dists/$suite/Release.gpg" "dists/$suite/Release"

    cat >"kolmira-$suite.sources" <<SOURCES
Types: deb
URIs: $uri
Suites: $suite
Components: main
Signed-By: /etc/apt/keyrings/kolmira.asc
SOURCES
done
