#!/usr/bin/env bash
# Checks glossa's PO files from the outside: every exported PO file and
# template passes "msgfmt --check", and a form whose other languages were
# removed gets every value back by importing its PO files.
# Usage: po_roundtrip.sh GLOSSA SOURCE_DIR WORKDIR
set -euo pipefail
glossa=$1
source=$2
dir=$3
rm -rf "$dir"
mkdir -p "$dir"

fail() {
    echo "PO round trip: $*" >&2
    exit 1
}

for form in "$source"/tests/data/glossa/MainForm.dfm "$source"/tests/data/glossa/UnitStrings.lng; do
    name=$(basename "$form")
    cp "$form" "$dir/$name"
    "$glossa" export "$dir/$name" -o "$dir/$name.txt"
    "$glossa" export "$dir/$name" -o "$dir/$name.pot"
    msgfmt --check -o /dev/null "$dir/$name.pot" 2>"$dir/msgfmt.log" || fail "$name.pot: $(cat "$dir/msgfmt.log")"
    cp "$dir/$name" "$dir/stripped-$name"
    for language in Deutsch Français; do
        "$glossa" export "$dir/$name" -l "$language" -o "$dir/$name.$language.po"
        msgfmt --check -o /dev/null "$dir/$name.$language.po" ||
            fail "$name.$language.po does not pass msgfmt --check"
        "$glossa" remove-language "$dir/stripped-$name" "$language"
    done
    "$glossa" import "$dir/stripped-$name" "$dir/$name.Deutsch.po" "$dir/$name.Français.po" --strict
    "$glossa" export "$dir/stripped-$name" -o "$dir/stripped-$name.txt"
    cmp -s "$dir/$name.txt" "$dir/stripped-$name.txt" ||
        fail "$name: values differ after the round trip: $(diff "$dir/$name.txt" "$dir/stripped-$name.txt")"
done
for po in "$source"/examples/forms/*.po; do
    msgfmt --check -o /dev/null "$po" || fail "$po does not pass msgfmt --check"
done
