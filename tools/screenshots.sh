#!/usr/bin/env bash
# Runs Kolmira on a private X server, drives it over the accessibility bus
# through a whole check, and saves a PNG at each stage in build/screenshots/:
# start, refusal, prompt, full-draw, result and chart. The chart is also
# copied to docs/chart.png for the README.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BUILD_DIR:-build} # built by `make screenshots`
tools/setup.sh xvfb xauth dbus at-spi2-core python3-pyatspi imagemagick

out=$build/screenshots
rm -rf "$out"
mkdir -p "$out"
tests/accessibility/desktop_session.sh tests/accessibility/walk_through.py \
    "$build/kolmira" --screenshots "$out"
# The README shows the chart; the file only changes when the window's look does.
cp "$out/chart.png" docs/chart.png
ls "$out"/*.png docs/chart.png
