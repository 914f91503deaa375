#!/usr/bin/env bash
# glossa check fails on a misspelt string name, with the message compilers
# give ("file:line:column: error: ..."), and passes the correctly spelt sources.
#   check_typo.sh GLOSSA DATA_DIR
set -u
glossa=$1
data=$2
out=$("$glossa" check "$data/NotesForm.dfm" "$data/Notes.cpp" "$data/Typo.cpp")
status=$?
expected="$data/Typo.cpp:3:30: error: string \"Saevd\" is not defined in $data/NotesForm.dfm"
if [ $status -ne 1 ]; then
    echo "exit status $status, expected 1"
    exit 1
fi
if ! grep -qxF "$expected" <<<"$out"; then
    printf 'missing line: %s\noutput:\n%s\n' "$expected" "$out"
    exit 1
fi
if ! "$glossa" check "$data/NotesForm.dfm" "$data/Notes.cpp" >/dev/null; then
    echo "the correctly spelt sources failed"
    exit 1
fi
