#!/bin/sh
# pack never leaves a partial archive: a missing or clashing input is an error
# naming it, and an existing archive stays as it was.
. "$(dirname "$0")/lib/common.sh"

mkdir "$work/d1" "$work/d2"
printf 'one' >"$work/d1/A.txt"
printf 'two' >"$work/d2/a.TXT"
printf 'three' >"$work/b.txt"

expect 1 pack "$work/new.kvr" "$work/b.txt" "$work/missing.txt"
expect_err "kalvora: cannot read '$work/missing.txt': no such file"
[ -e "$work/new.kvr" ] && fail "a missing input left an archive"

expect 0 pack "$work/old.kvr" "$work/b.txt"
cp "$work/old.kvr" "$work/old.copy"
expect 1 pack "$work/old.kvr" "$work/d1/A.txt" "$work/missing.txt"
same "$work/old.copy" "$work/old.kvr"

expect 1 pack "$work/new.kvr" "$work/d1/A.txt" "$work/d2/a.TXT"
expect_err "kalvora: two files have the stored name 'a.TXT': '$work/d1/A.txt' and '$work/d2/a.TXT'"
expect 1 pack "$work/new.kvr" "$work/d1"
expect_err "kalvora: cannot read '$work/d1': it is a directory"
printf 'x' >"$work/CON.txt"
expect 1 pack "$work/new.kvr" "$work/CON.txt"
expect_err "kalvora: cannot store '$work/CON.txt': its name names the device 'CON.txt'"
[ -e "$work/new.kvr" ] && fail "a refused input left an archive"
ls "$work" | grep -q part && fail "a temporary file was left: $(ls "$work")"

: >"$work/empty1"
: >"$work/empty2"
expect 1 pack "$work/new.kvr" "$work/empty1" "$work/empty2"
expect_err "kalvora: every FILE is empty: such an archive would expand nothing"
[ -e "$work/new.kvr" ] && fail "an archive of empty files was written"

# Empty files go first, so that an expansion reaches them.
expect 0 pack "$work/e.kvr" "$work/b.txt" "$work/empty1" "$work/d1/A.txt" "$work/empty2"
expect 0 list "$work/e.kvr"
[ "$(awk 'NR > 1 && NF == 8 { printf "%s ", $8 }' "$work/out")" = "empty1 empty2 b.txt A.txt " ] ||
  fail "member order: $(cat "$work/out")"
expect 0 expand -C "$work/e" "$work/e.kvr"
[ -f "$work/e/empty2" ] || fail "the empty member was not expanded"

# The archive cannot be written: nothing is left behind either.
expect 1 pack "$work/no/such/dir/x.kvr" "$work/b.txt"
[ -e "$work/no" ] && fail "pack created directories"

# A replaced archive holds only the new members.
expect 0 pack -m RLE "$work/old.kvr" "$work/d1/A.txt"
expect 0 list "$work/old.kvr"
contains "$work/out" "1 member, 3 bytes expanded"
contains "$work/out" " A.txt"
echo "pack_errors: ok"
