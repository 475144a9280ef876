#!/bin/sh
# Broken archives end list, test and expand with the archive's exact message
# and exit status 1; a member that fails leaves no file behind.
. "$(dirname "$0")/lib/common.sh"

all_fail_with() { # all_fail_with ARCHIVE MESSAGE
  for cmd in list test expand; do
    if [ $cmd = expand ]; then expect 1 expand -C "$work/x" "$1"; else expect 1 $cmd "$1"; fi
    expect_err "kalvora: $2"
  done
}

text "$work/a.txt" 20000
expect 0 pack -m LZH "$work/good.kvr" "$work/a.txt"

printf 'not an archive at all, but long enough' >"$work/text.kvr"
all_fail_with "$work/text.kvr" "Can't recognize compressed file header"
: >"$work/empty.kvr"
all_fail_with "$work/empty.kvr" "Can't recognize compressed file header"
head -c 20 "$work/good.kvr" >"$work/short.kvr"
all_fail_with "$work/short.kvr" "Can't recognize compressed file header"
cp "$work/good.kvr" "$work/magic.kvr" && poke "$work/magic.kvr" 4 033
all_fail_with "$work/magic.kvr" "Can't recognize compressed file header"
cp "$work/good.kvr" "$work/type.kvr" && poke "$work/type.kvr" 12 000
all_fail_with "$work/type.kvr" "Expand can't handle caSingle archive type in compressed header"
cp "$work/good.kvr" "$work/tag.kvr" && poke "$work/tag.kvr" 5 103 # "CZH"
all_fail_with "$work/tag.kvr" "Unrecognized compression method in header"
all_fail_with "$work/absent.kvr" "cannot open file $work/absent.kvr"

# A damaged LZH stream: the checksum catches it; no partial file stays.
cp "$work/good.kvr" "$work/data.kvr" && flip "$work/data.kvr" 300
expect 1 expand -C "$work/dest" "$work/data.kvr"
expect_err "kalvora: Bad checksum during expansion -- data may be invalid"
[ -e "$work/dest/a.txt" ] && fail "a damaged member left a file"
expect 1 test "$work/data.kvr"
contains "$work/out" "FAILED  a.txt: Bad checksum during expansion -- data may be invalid"
contains "$work/out" "1 member tested, 1 failed"

# Cut short inside the data of an LZH member, and of a stored one.
size=$(wc -c <"$work/good.kvr")
head -c $((size - 100)) "$work/good.kvr" >"$work/cut.kvr"
expect 1 expand -C "$work/dest" "$work/cut.kvr"
expect_err "kalvora: Bad checksum during expansion -- data may be invalid"
expect 0 pack -m NON "$work/stored.kvr" "$work/a.txt"
head -c 1000 "$work/stored.kvr" >"$work/cut-stored.kvr"
expect 1 expand -C "$work/dest" "$work/cut-stored.kvr"
expect_err "kalvora: read error: the data end too early"
expect 1 test "$work/cut-stored.kvr"
contains "$work/out" "FAILED  a.txt: read error: the data end too early"
[ -e "$work/dest/a.txt" ] && fail "a cut stored member left a file"

# A damaged stored member: expansion does not check it, test does.
cp "$work/stored.kvr" "$work/bad-stored.kvr" && flip "$work/bad-stored.kvr" 300
expect 0 expand -C "$work/dest" "$work/bad-stored.kvr"
expect 1 test "$work/bad-stored.kvr"
contains "$work/out" "FAILED  a.txt: Bad checksum during expansion -- data may be invalid"

# A member whose header claims more bytes than its stream gives (ExpandedSize at 51..54 less 4 = 29).
cp "$work/good.kvr" "$work/size.kvr" && poke "$work/size.kvr" 29 377
expect 1 test "$work/size.kvr"
contains "$work/out" "FAILED  a.txt:"
echo "corrupt: ok"
