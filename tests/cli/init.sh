#!/bin/sh
# kalvora init writes a project that builds and checks as it is, without a
# single warning, and never writes into a directory that holds something.
. "$(dirname "$0")/lib/common.sh"
printf 'MZ setup stand-in' >"$work/setup.exe"
printf 'MZ uninstaller stand-in' >"$work/unkalvora.exe"
export KALVORA_SETUP_EXE="$work/setup.exe" KALVORA_UNINSTALLER_EXE="$work/unkalvora.exe"

expect 0 init "$work/new"
[ "$(cat "$work/out")" = "$work/new/product.kvp" ] || fail "init printed: $(cat "$work/out")"
expect 0 check --strict "$work/new/product.kvp"
[ -s "$work/err" ] && fail "the new project has warnings: $(cat "$work/err")"
expect 0 build --strict "$work/new/product.kvp"
[ -s "$work/err" ] && fail "its build has warnings: $(cat "$work/err")"
expect 0 check --strict "$work/new/medium"
contains "$work/out" 'option 1 "Program files": 1 file'
grep -q "^medium OK$" "$work/out" || fail "check of its medium: $(cat "$work/out")"

# A directory with anything in it, or a file: refused, nothing changed.
cp "$work/new/product.kvp" "$work/before"
expect 1 init "$work/new"
contains "$work/err" "is not an empty directory; nothing was written"
same "$work/before" "$work/new/product.kvp"
printf 'x' >"$work/afile"
expect 1 init "$work/afile"
[ "$(cat "$work/afile")" = x ] || fail "init changed a file"
mkdir "$work/empty"
expect 0 init "$work/empty"
echo "init: ok"
