#!/usr/bin/env bash
# Checks how formconv writes its output: "-" for standard input and output, a
# link to the process's standard output, and a link to a file, which must stay
# a link. Usage: formconv_stdio.sh FORMCONV DATADIR WORKDIR
set -euo pipefail
tool=$1
data=$2
dir=$3
rm -rf "$dir"
mkdir -p "$dir"

fail() {
    echo "formconv output: $*" >&2
    exit 1
}

"$tool" "$data/roundtrip.dfm" - | cmp - "$data/roundtrip.bin" || fail "'-' as OUT"
"$tool" - "$dir/from-stdin.dfm" <"$data/roundtrip.bin"
cmp "$dir/from-stdin.dfm" "$data/roundtrip.dfm" || fail "'-' as IN"

# What /dev/stdout is: a link to the process's open file.
ln -s /proc/self/fd/1 "$dir/stdout"
"$tool" "$data/roundtrip.bin" "$dir/stdout" | cat >"$dir/piped.dfm"
cmp "$dir/piped.dfm" "$data/roundtrip.dfm" || fail "nothing arrived through the pipe"
[ -L "$dir/stdout" ] || fail "the link to standard output was replaced by a file"
echo "earlier" >"$dir/appended.dfm"
"$tool" "$data/roundtrip.bin" "$dir/stdout" >>"$dir/appended.dfm"
{ echo "earlier"; cat "$data/roundtrip.dfm"; } | cmp - "$dir/appended.dfm" ||
    fail "appending to standard output lost the earlier text"

mkdir "$dir/real"
echo "old" >"$dir/real/form.dfm"
ln -s real/form.dfm "$dir/link.dfm"
"$tool" "$data/roundtrip.bin" "$dir/link.dfm"
[ -L "$dir/link.dfm" ] || fail "the link was replaced by a file"
cmp "$dir/real/form.dfm" "$data/roundtrip.dfm" || fail "the link's target was not written"
