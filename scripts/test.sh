#!/usr/bin/env bash
# Sets up, builds and runs every test through CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORLO_BUILD_DIR:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$@"
cd "$build"
# Under LeakSanitizer: fontconfig keeps its configuration for the life of the
# process (tests/lsan.supp); every test, script and demo run gets the list.
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp}
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
