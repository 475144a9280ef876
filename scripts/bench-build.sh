#!/bin/sh
# Times `kalvora build` on a generated product of about 52 MB (text, program-
# like binary data and incompressible data in 60 files) for each compression,
# and prints MB/s of input. Usage: scripts/bench-build.sh [KALVORA] [MEDIUM]
set -eu
KALVORA=${1:-build/native/kalvora}
MEDIUM=${2:-unlimited}
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
python3 - "$T" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(2024)
words = ("the setup program expands every chunk of its archive volumes into the target "
         "directory and records each file in the uninstall log ").split()
def text(n):
    out, size = [], 0
    while size < n:
        w = rnd.choice(words); out.append(w); size += len(w) + 1
    return (" ".join(out))[:n].encode()
def program(n):
    # Code-like data: short repeated instruction patterns with varying operands.
    ops = [bytes(rnd.randrange(256) for _ in range(rnd.randrange(2, 7))) for _ in range(300)]
    out = bytearray()
    while len(out) < n:
        out += rnd.choice(ops); out.append(rnd.randrange(16))
    return bytes(out[:n])
os.makedirs(os.path.join(root, "src"), exist_ok=True)
for i in range(20):
    open(os.path.join(root, "src", "doc%02d.txt" % i), "wb").write(text(1024 * 1024))
for i in range(30):
    open(os.path.join(root, "src", "prog%02d.bin" % i), "wb").write(program(800 * 1024))
for i in range(10):
    open(os.path.join(root, "src", "pack%02d.zip" % i), "wb").write(os.urandom(700 * 1024))
PY
bytes=$(cat "$T"/src/* | wc -c)
for compression in lzh rle none; do
  printf '[build]\ncompression = %s\nmedium = %s\n[software]\nname = Bench\nuniyes = 0\no_standard = 1\nOpt1_standard = 1\n[files_1]\n0 = src/*\n' \
    "$compression" "$MEDIUM" >"$T/bench.kvp"
  start=$(date +%s.%N)
  "$KALVORA" build -q -o "$T/out-$compression" "$T/bench.kvp" >/dev/null 2>&1
  end=$(date +%s.%N)
  stored=$(cat "$T/out-$compression"/zdata_* "$T/out-$compression"/disk*/zdata_* 2>/dev/null | wc -c)
  volumes=$(ls "$T/out-$compression"/zdata_* "$T/out-$compression"/disk*/zdata_* 2>/dev/null | wc -l)
  "$KALVORA" check "$T/out-$compression"$( [ -d "$T/out-$compression/disk1" ] && echo /disk1) >/dev/null
  awk -v b="$bytes" -v s="$stored" -v t0="$start" -v t1="$end" -v c="$compression" -v m="$MEDIUM" -v v="$volumes" 'BEGIN {
    t = t1 - t0; printf "%-4s %-11s %6.1f MB in %6.2f s = %6.2f MB/s, stored %5.1f%% in %d volumes\n", c, m, b / 1048576, t, b / 1048576 / t, 100 * s / b, v }'
  rm -rf "$T/out-$compression"
done
