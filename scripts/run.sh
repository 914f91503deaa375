#!/usr/bin/env bash
# Sets up, builds and runs the main job: the windowed multilingual demo.
# With a display ($DISPLAY or $WAYLAND_DISPLAY) it opens the main window.
# Without one it runs on Qt's offscreen platform, walks through every window
# in every language, writes a PNG of each to $ORLO_SCREENSHOTS (default
# <build>/screenshots) and prints the paths. Extra arguments go to the demo
# (a language name: "scripts/run.sh Deutsch").
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORLO_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/examples/windowed/windowed" "$@"
fi
shots=${ORLO_SCREENSHOTS:-$build/screenshots}
QT_QPA_PLATFORM=offscreen "$build/examples/windowed/windowed" --screenshots "$shots" "$@"
