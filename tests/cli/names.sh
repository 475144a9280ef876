#!/bin/sh
# expand NAME... expands only the named members, matching names without
# regard to case, and reports names that match nothing.
. "$(dirname "$0")/lib/common.sh"

printf 'alpha' >"$work/Alpha.TXT"
printf 'beta' >"$work/beta.bin"
printf 'gamma' >"$work/gamma.dat"
expect 0 pack "$work/a.kvr" "$work/Alpha.TXT" "$work/beta.bin" "$work/gamma.dat"

expect 0 expand -C "$work/o1" "$work/a.kvr" alpha.txt GAMMA.DAT
[ "$(ls "$work/o1" | tr '\n' ' ')" = "Alpha.TXT gamma.dat " ] || fail "expanded: $(ls "$work/o1")"
same "$work/Alpha.TXT" "$work/o1/Alpha.TXT"
contains "$work/out" "$work/o1/Alpha.TXT"
contains "$work/out" "$work/o1/gamma.dat"

expect 1 expand -C "$work/o2" "$work/a.kvr" nothing.txt BETA.BIN
expect_err "kalvora: no member named 'nothing.txt'"
[ "$(ls "$work/o2")" = "beta.bin" ] || fail "expanded: $(ls "$work/o2")"
echo "names: ok"
