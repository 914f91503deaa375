#!/usr/bin/env bash
# Builds and runs examples/package-consumer the way an application outside this
# source tree does: against the library installed into a fresh prefix, or with
# the checkout taken in by add_subdirectory().
#   consumer_test.sh installed|subdirectory SOURCE BUILD WORK [cmake args...]
# SOURCE is the checkout, BUILD this project's build (installed from), WORK a
# folder of the test's own; the arguments after it go to the consumer's
# configure (build type, compiler launcher); the compiler and its flags come
# from CXX, CXXFLAGS and LDFLAGS, as for any CMake project.
set -euo pipefail
mode=$1
source=$2
build=$3
work=$4
shift 4
consumer=$source/examples/package-consumer
# Only what the consumer's own build records may find the libraries.
unset LD_LIBRARY_PATH

fail() {
    echo "package consumer ($mode): $*" >&2
    exit 1
}

# Runs a step with its output in WORK/<name>.log, shown when the step fails.
step() {
    local name=$1
    shift
    if ! "$@" >"$work/$name.log" 2>&1; then
        cat "$work/$name.log" >&2
        fail "$name failed: $*"
    fi
}

# The program prints its form in both languages; without its form it must
# fail with a message, not crash.
check_program() {
    local dir=$1
    local expected
    expected=$(printf '%s\n' \
        'English: Orders | Welcome back! | The order was saved.' \
        'Deutsch: Bestellungen | Willkommen zurück! | Die Bestellung wurde gespeichert.')
    local output
    output=$("$dir/app") || fail "app exited with $?"
    [ "$output" = "$expected" ] || fail "app printed:"$'\n'"$output"
    local status=0
    output=$("$dir/app-without-form" 2>&1) || status=$?
    [ "$status" -eq 1 ] || fail "app-without-form exited with $status: $output"
    [ "$output" = "app: Resource TMainForm not found" ] || fail "app-without-form printed: $output"
}

configure_and_build() {
    step configure cmake -S "$consumer" -B "$work/build" -G Ninja "$@"
    step build cmake --build "$work/build"
}

# Without CMake: flags and libraries from orloglossa40.pc, the form converted
# by the installed formconv that it names. CXX, CXXFLAGS and LDFLAGS are the
# ones the consumer's CMake configure takes too.
check_pkg_config() {
    local prefix=$1
    local dir=$work/pkg-config
    mkdir -p "$dir"
    export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
    [ "$(pkg-config --modversion orloglossa40)" = 4.0 ] || fail "pkg-config: wrong version"
    local cflags libs
    read -ra cflags <<<"$(pkg-config --cflags orloglossa40) ${CXXFLAGS:-}"
    read -ra libs <<<"$(pkg-config --libs orloglossa40) ${LDFLAGS:-} -Wl,-rpath,$prefix/lib"
    local cxx=${CXX:-c++}
    step formconv "$(pkg-config --variable=formconv orloglossa40)" -c \
        "$consumer/MainForm.dfm" "$dir/MainForm.cpp"
    step compile-main "$cxx" -std=c++20 "${cflags[@]}" -c "$consumer/main.cpp" -o "$dir/main.o"
    step compile-form "$cxx" -std=c++20 "${cflags[@]}" -c "$dir/MainForm.cpp" -o "$dir/MainForm.o"
    step link "$cxx" "$dir/main.o" "$dir/MainForm.o" -o "$dir/app" "${libs[@]}"
    step link "$cxx" "$dir/main.o" -o "$dir/app-without-form" "${libs[@]}"
    check_program "$dir"

    # Everything the installed headers include is installed too.
    (cd "$prefix/include/orlo" && find . -name '*.h' | sort | sed 's|^\./\(.*\)|#include "\1"|') \
        >"$dir/all-headers.cpp"
    [ -s "$dir/all-headers.cpp" ] || fail "no headers installed"
    step all-headers "$cxx" -std=c++20 "${cflags[@]}" -fsyntax-only "$dir/all-headers.cpp"
}

# The consumer is compiled against the installed headers, not the checkout.
check_include_path() {
    local prefix=$1
    local includes
    includes=$(grep -oE -- '(-I|-isystem )[^ "]+' "$work/build/compile_commands.json" | sort -u)
    grep -qxE -- "(-I|-isystem )$prefix/include/orlo" <<<"$includes" ||
        fail "the consumer is not compiled against $prefix/include/orlo: $includes"
    ! grep -qxE -- "(-I|-isystem )$source/?" <<<"$includes" ||
        fail "the consumer is compiled against the checkout"
}

# The package is version 4.0 and accepts requests for 4.x only.
check_version() {
    local prefix=$1
    local dir=$work/version
    mkdir -p "$dir"
    local version
    for version in 4 4.0 3.0 5.0; do
        printf '%s\n' 'cmake_minimum_required(VERSION 3.25)' 'project(VersionCheck LANGUAGES CXX)' \
            "find_package(OrloGlossa40 $version REQUIRED)" >"$dir/CMakeLists.txt"
        rm -rf "$dir/build"
        local status=0
        cmake -S "$dir" -B "$dir/build" -DCMAKE_PREFIX_PATH="$prefix" >"$dir/$version.log" 2>&1 ||
            status=$?
        case $version in
        4*) [ $status -eq 0 ] || fail "find_package(OrloGlossa40 $version) failed" ;;
        *) [ $status -ne 0 ] || fail "find_package(OrloGlossa40 $version) found version 4.0" ;;
        esac
    done
}

# Installed programs find their libraries relative to themselves.
check_relocated() {
    local prefix=$1
    mv "$prefix" "$work/moved"
    step relocated "$work/moved/bin/formconv" "$consumer/MainForm.dfm" "$work/MainForm.bin"
    mv "$work/moved" "$prefix"
    [ "$(head -c 4 "$work/MainForm.bin")" = TPF0 ] || fail "the moved formconv wrote no binary form"
}

case $mode in
installed)
    rm -rf "$work"
    mkdir -p "$work"
    prefix=$work/prefix
    step install cmake --install "$build" --prefix "$prefix"
    configure_and_build -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON "$@"
    check_program "$work/build"
    check_include_path "$prefix"
    # Not "ldd | grep -q": grep leaving early kills ldd with SIGPIPE, which
    # pipefail reports as a failure.
    linked=$(ldd "$work/build/app")
    grep -qF "$prefix/lib/libOrloGlossa40.so" <<<"$linked" ||
        fail "app is not linked against the installed library: $linked"
    grep -q "$prefix/bin/formconv" "$work/build/build.ninja" ||
        fail "the form was not converted by the installed formconv"
    grep -q "$prefix/bin/glossa check" "$work/build/build.ninja" ||
        fail "the strings were not checked by the installed glossa"
    check_pkg_config "$prefix"
    check_version "$prefix"
    check_relocated "$prefix"
    ;;
subdirectory)
    # The build is kept between runs, so only the first one builds the library.
    mkdir -p "$work"
    configure_and_build -DORLO_SOURCE_DIR="$source" "$@"
    check_program "$work/build"
    # A subproject brings only the library: no tests, benchmarks or examples.
    for folder in tests bench examples fuzz; do
        [ ! -e "$work/build/orlo/$folder" ] || fail "the subproject has its $folder"
    done
    ;;
*)
    fail "unknown mode"
    ;;
esac
echo "package consumer ($mode): passed"
