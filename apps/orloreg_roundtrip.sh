#!/usr/bin/env bash
# Checks orloreg from the outside: seeds a registry from REGEDIT4 text, exports
# it, imports the export into a fresh registry and exports again; both exports
# must be the same. Usage: orloreg_roundtrip.sh ORLOREG WORKDIR
set -euo pipefail
tool=$1
dir=$2
rm -rf "$dir"
mkdir -p "$dir"

fail() {
    echo "orloreg round trip: $*" >&2
    exit 1
}

printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Orlo GbR\Designers]' \
    '"Global\\Language"="Deutsch"' \
    '"Count"=dword:0000002a' \
    '@="default \"quoted\""' \
    '"Lines"=hex(1):61,0d,0a,\' \
    '  62,00' \
    '[HKEY_CURRENT_USER\Software\Orlo GbR\Designers\Glossa\Editor]' \
    '"Width"=dword:00000280' \
    '[HKEY_LOCAL_MACHINE\Software\Elsewhere]' \
    '"Other"="not exported"' >"$dir/seed.reg"

ORLO_REGISTRY=$dir/a.db "$tool" import "$dir/seed.reg"
ORLO_REGISTRY=$dir/a.db "$tool" export 'HKEY_CURRENT_USER\Software\Orlo GbR' "$dir/a.reg"
ORLO_REGISTRY=$dir/b.db "$tool" import - <"$dir/a.reg"
ORLO_REGISTRY=$dir/b.db "$tool" export 'HKCU\Software\Orlo GbR' >"$dir/b.reg"
cmp "$dir/a.reg" "$dir/b.reg" || fail "the second export differs from the first"

grep -q '^"Global\\\\Language"="Deutsch"' "$dir/a.reg" || fail "string value missing"
grep -q '^"Count"=dword:0000002a' "$dir/a.reg" || fail "integer value missing"
grep -q '^\[HKEY_CURRENT_USER\\Software\\Orlo GbR\\Designers\\Glossa\\Editor\]' "$dir/a.reg" ||
    fail "sub-key missing"
if grep -q 'Elsewhere' "$dir/a.reg"; then fail "exported a key outside the one asked for"; fi

listing=$(ORLO_REGISTRY=$dir/b.db "$tool" list 'HKCU\Software\Orlo GbR\Designers')
grep -q '^Glossa\\$' <<<"$listing" || fail "list shows no sub-key: $listing"
grep -q '^"Count"=dword:0000002a' <<<"$listing" || fail "list shows no value: $listing"

if printf 'REGEDIT4\n"a"="b"\n' | ORLO_REGISTRY=$dir/b.db "$tool" import - 2>"$dir/error"; then
    fail "bad input was accepted"
fi
grep -q 'orloreg: Line 2: value without a key' "$dir/error" || fail "no clear error: $(cat "$dir/error")"
if ORLO_REGISTRY=$dir/b.db "$tool" bogus 2>/dev/null; then fail "an unknown command succeeded"; fi
