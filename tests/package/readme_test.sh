#!/usr/bin/env bash
# The README's example is the program that package.installed builds: one of its
# C++ blocks must be examples/package-consumer/main.cpp as it is, and every
# line of one of its CMake blocks must be a line of that example's
# CMakeLists.txt (indentation aside).
#   readme_test.sh SOURCE WORK
set -euo pipefail
source=$1
work=$2
consumer=$source/examples/package-consumer
rm -rf "$work"
mkdir -p "$work"

# Every fenced block to WORK/<n>.<language>.
awk -v dir="$work" '
    /^```/ && !inside { inside = 1; n++; file = dir "/" n "." substr($0, 4); printf "" > file; next }
    /^```/ && inside { inside = 0; close(file); next }
    inside { print > file }
' "$source/README.md"

found_cpp=0
for block in "$work"/*.cpp; do
    [ -e "$block" ] && cmp -s "$block" "$consumer/main.cpp" && found_cpp=1
done
[ $found_cpp -eq 1 ] || {
    echo "README.md shows no C++ block equal to examples/package-consumer/main.cpp" >&2
    exit 1
}

found_cmake=0
sed 's/^ *//' "$consumer/CMakeLists.txt" >"$work/consumer-lines"
for block in "$work"/*.cmake; do
    [ -e "$block" ] || continue
    sed 's/^ *//' "$block" | grep -v '^$' >"$work/block-lines" || true
    if grep -qvxF -f "$work/consumer-lines" "$work/block-lines"; then
        continue
    fi
    grep -q "find_package(OrloGlossa40" "$block" && found_cmake=1
done
[ $found_cmake -eq 1 ] || {
    echo "README.md shows no CMake block taken from examples/package-consumer/CMakeLists.txt" >&2
    exit 1
}
echo "README example: same as examples/package-consumer"
