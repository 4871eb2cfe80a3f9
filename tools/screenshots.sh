#!/usr/bin/env bash
# Runs Kolmira on a private X server, drives it over the accessibility bus
# through a whole check, and saves a PNG at each stage in build/screenshots/:
# start, refusal, prompt, full-draw, result and chart. Then the same again on
# a dark desktop palette (qt6ct's "darker" scheme), into build/screenshots/dark/.
# The window after the check and both charts are also copied to docs/, for
# the README and the metainfo.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build} # built by `make screenshots`
tools/setup.sh test screenshots

out=$build/screenshots
rm -rf "$out" && mkdir -p "$out/dark"
walk_through() { tests/accessibility/desktop_session.sh tests/accessibility/walk_through.py "$build/kolmira" --screenshots "$1"; }
walk_through "$out"
# A Qt desktop with a dark palette: qt6ct as the platform theme, configured
# in a folder of its own so that the user's settings play no part.
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir "$config/qt6ct"
printf '[Appearance]\ncolor_scheme_path=/usr/share/qt6ct/colors/darker.conf\ncustom_palette=true\nstyle=Fusion\n' \
    >"$config/qt6ct/qt6ct.conf"
XDG_CONFIG_HOME=$config QT_QPA_PLATFORMTHEME=qt6ct walk_through "$out/dark"

# The files only change when the window's look does.
cp "$out/result.png" docs/window.png
cp "$out/chart.png" docs/chart.png
cp "$out/dark/chart.png" docs/chart-dark.png
ls "$out"/*.png "$out"/dark/*.png docs/*.png
