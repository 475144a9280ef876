#!/bin/sh
# Locked members: the right key expands them, a wrong or missing key is refused
# with the archive's message and leaves no file; key 0 and bad keys are usage errors.
. "$(dirname "$0")/lib/common.sh"

text "$work/a.txt" 30000
for method in RLE LZH; do
  expect 0 pack -m $method -k -123456 "$work/$method.kvr" "$work/a.txt"
  expect 0 test -k -123456 "$work/$method.kvr"
  expect 0 expand -k -123456 -C "$work/ok-$method" "$work/$method.kvr"
  same "$work/a.txt" "$work/ok-$method/a.txt"
  for key in "" 123456 -123455 2147483647; do
    if [ -z "$key" ]; then set --; else set -- -k "$key"; fi
    expect 1 expand "$@" -C "$work/bad-$method" "$work/$method.kvr"
    expect_err "kalvora: File locked -- valid key required"
    [ -e "$work/bad-$method/a.txt" ] && fail "$method key '$key' left a file"
    expect 1 test "$@" "$work/$method.kvr"
    contains "$work/out" "FAILED  a.txt: File locked -- valid key required"
  done
done

# Stored members carry the lock too: with no key they are refused; expansion
# does not check the sum, so any other key expands them, but test checks it.
expect 0 pack -m NON -k 5 "$work/NON.kvr" "$work/a.txt"
expect 1 expand -C "$work/non-none" "$work/NON.kvr"
expect_err "kalvora: File locked -- valid key required"
expect 0 expand -k 6 -C "$work/non-wrong" "$work/NON.kvr"
same "$work/a.txt" "$work/non-wrong/a.txt"
expect 1 test -k 6 "$work/NON.kvr"
contains "$work/out" "FAILED  a.txt: File locked -- valid key required"
expect 0 test -k 5 "$work/NON.kvr"

# The extremes of the key range.
expect 0 pack -k -2147483648 "$work/min.kvr" "$work/a.txt"
expect 0 test -k -2147483648 "$work/min.kvr"

# Keys that are no keys.
for key in 0 -0 +0 2147483648 -2147483649 12x "" 0x10 " 5"; do
  expect 2 pack -k "$key" "$work/k.kvr" "$work/a.txt"
  expect 2 expand -k "$key" "$work/LZH.kvr"
  expect 2 test -k "$key" "$work/LZH.kvr"
done
[ -e "$work/k.kvr" ] && fail "a bad key left an archive"
echo "keys: ok"
