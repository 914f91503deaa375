#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/<name>.cpp -> fuzz_<name>) with clang and
# runs each one for the given number of seconds (default 60): all of them, or
# the names given after the seconds.
#   scripts/fuzz.sh [seconds [name...]]
# The build goes to build-fuzz/ (or $ORLO_FUZZ_DIR); each target keeps its
# corpus in <build>/corpus/<target>, so later runs start where earlier ones ended.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
build=${ORLO_FUZZ_DIR:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORLO_BUILD_FUZZ=ON -DORLO_BUILD_TESTS=OFF -DORLO_BUILD_BENCH=OFF >/dev/null

names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for source in "$root"/fuzz/*.cpp; do
        names+=("$(basename "$source" .cpp)")
    done
fi
targets=("${names[@]/#/fuzz_}")
cmake --build "$build" -j2 --target "${targets[@]}"

status=0
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    echo "== $target: $seconds s"
    if ! (cd "$build" && "$build/fuzz/$target" "$corpus" -max_total_time="$seconds" \
            -print_final_stats=1 2>"$build/$target.log"); then
        echo "!! $target failed, see $build/$target.log"
        status=1
    fi
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|Done)" "$build/$target.log" || true
done
exit $status
