#!/bin/sh
# pack then expand gives back every byte, for every method and for sizes around
# the 8192-byte buffers, up to several megabytes.
. "$(dirname "$0")/lib/common.sh"

mkdir "$work/in"
for size in 0 1 8191 8192 8193; do
  noise "$work/in/noise$size" $size $size
  text "$work/in/text$size.txt" $size $size
done
noise "$work/in/big.bin" 3000000 7
text "$work/in/big.txt" 3000000 7
# Runs longer than an RLE count and bytes equal to RLE's escape.
LC_ALL=C awk 'BEGIN { for (i = 0; i < 5000; i++) printf "%c", (i < 600 ? 65 : (i < 900 ? 148 : i % 3)) }' \
  >"$work/in/runs.bin"

for method in NON RLE LZH; do
  archive="$work/$method.kvr"
  expect 0 pack -m $method "$archive" "$work"/in/*
  expect 0 test "$archive"
  contains "$work/out" "13 members tested, 0 failed"
  expect 0 expand -C "$work/out-$method" "$archive"
  for f in "$work"/in/*; do
    same "$f" "$work/out-$method/$(basename "$f")"
  done
  [ "$(ls "$work/out-$method" | wc -l)" -eq 13 ] || fail "$method: unexpected files in $(ls "$work/out-$method")"
done

# The default method is LZH, and lower-case method names are taken.
expect 0 pack "$work/default.kvr" "$work/in/big.txt"
expect 0 pack -m lzh "$work/lower.kvr" "$work/in/big.txt"
same "$work/default.kvr" "$work/lower.kvr"

# Expansion into the current directory, over existing files.
mkdir "$work/here"
cp "$work/in/noise1" "$work/here/text8192.txt"
(cd "$work/here" && "$tool" expand "$work/LZH.kvr" >/dev/null) || fail "expand into the current directory"
same "$work/in/text8192.txt" "$work/here/text8192.txt"
echo "roundtrip: ok"
