#!/bin/sh
# Two builds of the demo from two fresh copies, whose files have different
# times as two fresh clones would: with SOURCE_DATE_EPOCH set they give the
# same bytes, and that time is the one the medium records; without it the
# sources' times are recorded, as before.
. "$(dirname "$0")/lib/common.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
printf 'MZ setup stand-in' >"$work/setup.exe"
printf 'MZ uninstaller stand-in' >"$work/unkalvora.exe"
export KALVORA_SETUP_EXE="$work/setup.exe" KALVORA_UNINSTALLER_EXE="$work/unkalvora.exe"

for copy in a b; do
  cp -R "$root/examples/demo" "$work/$copy"
done
find "$work/a" -exec touch -d "2001-02-03 04:05:06" {} +
find "$work/b" -exec touch -d "2015-06-07 08:09:10" {} +

# 1700000000 is 2023-11-14 22:13:20 UTC; DOS times count in 2 seconds.
SOURCE_DATE_EPOCH=1700000000 expect 0 build -q -o "$work/ma" "$work/a/demo.kvp"
SOURCE_DATE_EPOCH=1700000000 expect 0 build -q -o "$work/mb" "$work/b/demo.kvp"
diff -r "$work/ma" "$work/mb" >/dev/null || fail "two builds with SOURCE_DATE_EPOCH differ"
files=0
for f in $(cd "$work/ma" && find . -type f); do
  same "$work/ma/$f" "$work/mb/$f"
  [ "$(date -u -r "$work/ma/$f" +%s)" = 1700000000 ] || fail "$f has the time $(date -u -r "$work/ma/$f")"
  files=$((files + 1))
done
[ "$files" -ge 9 ] || fail "only $files files on the demo medium"
expect 0 list "$work/ma/disk1/logo.bm_"
contains "$work/out" "2023-11-14 22:13:20"
expect 0 list "$work/ma/disk1/uninst.ex_"
contains "$work/out" "2023-11-14 22:13:20"

# Without it the sources' times differ, and so do the media.
expect 0 build -q -o "$work/na" "$work/a/demo.kvp"
expect 0 build -q -o "$work/nb" "$work/b/demo.kvp"
diff -r "$work/na" "$work/nb" >/dev/null && fail "the sources' times did not reach the medium"
expect 0 list "$work/na/disk1/logo.bm_"
contains "$work/out" "2001-02-03 04:05:06"

SOURCE_DATE_EPOCH=yesterday expect 1 build -q -o "$work/x" "$work/a/demo.kvp"
expect_err "kalvora: SOURCE_DATE_EPOCH is \"yesterday\", not a number of seconds since 1970-01-01 UTC"
[ -e "$work/x" ] && fail "a bad SOURCE_DATE_EPOCH left a medium"
echo "reproducible: ok"
