#!/usr/bin/env bash
# Sets up, builds and runs the main job: the multilingual demo program, then
# the demo of a form saved with its language data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORLO_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"$build/examples/multilingual" "$@"
echo
"$build/examples/languagedemo" "${TMPDIR:-/tmp}/languagedemo.form"
