#!/bin/sh
# list shows each member's fields and a total line, and stops where expansion stops.
. "$(dirname "$0")/lib/common.sh"

printf 'hello' >"$work/a.txt"
printf 'abcdefg' >"$work/Read Me.TXT"
touch -t 202402292359.58 "$work/a.txt"
touch -t 199912310000.00 "$work/Read Me.TXT"
chmod a-w "$work/Read Me.TXT"
expect 0 pack -m NON "$work/s.kvr" "$work/a.txt" "$work/Read Me.TXT"
expect 0 list "$work/s.kvr"
cat >"$work/want" <<'END'
Method   Expanded Compressed Date       Time     Attr  Locked Name
NON             5          5 2024-02-29 23:59:58 A     no     a.txt
NON             7          7 1999-12-31 00:00:00 RA    no     Read Me.TXT
2 members, 12 bytes expanded, 12 bytes compressed, method tag NON
END
cmp -s "$work/want" "$work/out" || fail "list printed: $(cat "$work/out")"
[ -s "$work/err" ] && fail "list wrote to stderr: $(cat "$work/err")"

# LZH and locked: the compressed size is the stream's, the lock shows.
text "$work/t.txt" 20000
expect 0 pack -m LZH -k 77 "$work/l.kvr" "$work/t.txt"
expect 0 list "$work/l.kvr"
line=$(sed -n 2p "$work/out")
set -- $line
[ "$1" = LZH ] && [ "$2" = 20000 ] && [ "$3" -lt 20000 ] && [ "$3" -gt 0 ] && [ "$7" = yes ] && [ "$8" = t.txt ] ||
  fail "unexpected LZH line: $line"
contains "$work/out" "1 member, 20000 bytes expanded, $3 bytes compressed, method tag LZH"

# Bytes after the last member are noted, not listed.
cp "$work/s.kvr" "$work/junk.kvr"
printf 'JUNK' >>"$work/junk.kvr"
expect 0 list "$work/junk.kvr"
contains "$work/out" "2 members, 12 bytes expanded"
expect_err "kalvora: note: 4 bytes after the last member are not part of any member"

# An empty archive: the header alone, counting nothing.
head -c 21 "$work/s.kvr" >"$work/empty.kvr"
for at in 8 9 10 11; do poke "$work/empty.kvr" $at 000; done
expect 0 list "$work/empty.kvr"
contains "$work/out" "0 members, 0 bytes expanded, 0 bytes compressed"

# Cut short: list, test and expand name what is missing, after what they found.
head -c 21 "$work/s.kvr" >"$work/cut.kvr"
for cmd in list test; do
  expect 1 $cmd "$work/cut.kvr"
  expect_err "kalvora: the archive is cut short: its members expand to 0 bytes, its header counts 12"
done
head -c 56 "$work/s.kvr" >"$work/cut.kvr" # after a.txt
for cmd in list test; do
  expect 1 $cmd "$work/cut.kvr"
  expect_err "kalvora: the archive is cut short: its members expand to 5 bytes, its header counts 12"
done
contains "$work/out" "ok      a.txt"
expect 1 expand -C "$work/part" "$work/cut.kvr"
expect_err "kalvora: the archive is cut short: its members expand to 5 bytes, its header counts 12"
[ -f "$work/part/a.txt" ] || fail "expand of a cut archive left out the member it has"
cp "$work/s.kvr" "$work/negative.kvr" # a.txt's expanded size made -1: not a cut
for at in 29 30 31 32; do poke "$work/negative.kvr" $at 377; done
expect 0 list "$work/negative.kvr"
[ -s "$work/err" ] && fail "list of a negative size wrote: $(cat "$work/err")"
head -c 96 "$work/s.kvr" >"$work/cut.kvr" # inside the data of Read Me.TXT
expect 1 list "$work/cut.kvr"
expect_err "kalvora: the archive is cut short: the data of its last member lack 3 bytes"
contains "$work/out" "2 members, 12 bytes expanded"
echo "list: ok"
