#!/usr/bin/env bash
# Sets up, builds and runs the main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
"${ORLO_BUILD_DIR:-$root/build}/examples/propertylist"
