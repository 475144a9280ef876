#!/bin/sh
# Command lines the tool cannot accept exit 2 and point to --help; --help
# describes every command, option and error.
. "$(dirname "$0")/lib/common.sh"

printf 'x' >"$work/f"
expect 0 pack "$work/a.kvr" "$work/f"

expect 2
expect 2 frobnicate
contains "$work/err" "unknown command 'frobnicate'"
expect 0 --help
for cmd in pack list expand test; do
  contains "$work/out" "  $cmd "
done

expect 2 pack
expect 2 pack "$work/b.kvr"
expect 2 pack -m ZIP "$work/b.kvr" "$work/f"
contains "$work/err" "unknown method 'ZIP'"
expect 2 pack -q "$work/b.kvr" "$work/f"
contains "$work/err" "unknown option '-q'"
contains "$work/err" '`kalvora pack --help` shows the usage'
expect 2 pack -m LZH -m RLE "$work/b.kvr" "$work/f"
expect 2 pack "$work/b.kvr" "$work/f" -m
contains "$work/err" "option -m needs a value"
[ -e "$work/b.kvr" ] && fail "a usage error left an archive"
expect 2 list
expect 2 list "$work/a.kvr" "$work/a.kvr"
expect 2 list -k 5 "$work/a.kvr"
expect 2 expand
expect 2 expand -C "" "$work/a.kvr"
expect 2 expand --verbose "$work/a.kvr"
expect 2 test
expect 2 test "$work/a.kvr" extra
expect 2 test "$work/a.kvr" -k

# "--" ends the options: a file may begin with "-".
printf 'y' >"$work/-m"
(cd "$work" && "$tool" pack dash.kvr -- -m >/dev/null) || fail "pack -- -m"
expect 0 list "$work/dash.kvr"
contains "$work/out" " -m"

# Each command's help names its options and the errors it can report.
check_help() { # check_help COMMAND TEXT...
  cmd=$1
  shift
  expect 0 "$cmd" --help
  contains "$work/out" "usage: kalvora $cmd"
  for t in "$@"; do contains "$work/out" "$t"; done
}
check_help pack "-m METHOD" "-k KEY" "NON" "RLE" "LZH" "no such file" "two files have the stored name" "exit status 2"
check_help list "Can't recognize compressed file header" "caSingle" "Unrecognized compression method in header" \
  "exit status 2"
check_help expand "-C DIR" "-k KEY" "refusing member" "no member named" "File locked -- valid key required" \
  "Bad checksum during expansion -- data may be invalid" "Not enough disk space to expand" "read error: the data end too early" \
  "Can't recognize compressed file header" "caSingle" "Unrecognized compression method in header" "exit status 2"
check_help test "-k KEY" "File locked -- valid key required" "Bad checksum during expansion -- data may be invalid" \
  "Can't recognize compressed file header" "caSingle" "Unrecognized compression method in header" "exit status 2"
echo "usage: ok"
