#!/bin/sh
# Compares the size of the LZH encoder's output with the -lh1- output of an
# independent encoder, the LHA library for Java (Debian's jlha-utils and
# libjlha-java), on the benchmark data sets and on a few files of this
# machine. The two streams have the same form (LZSS over a 4096-byte window,
# matches of 3 to 60 bytes, adaptive Huffman codes), so their sizes compare
# directly. Every archive written is tested: ours by `kalvora test`, the
# peer's by `lhasa t` (when it kept the -lh1- stream; it stores a file
# whose stream would be no smaller).
set -e
tree=${1:-build/native}
here=$(cd "$(dirname "$0")/.." && pwd)
bench=$tree/bench/kalvora_bench
tool=$tree/kalvora
jar=/usr/share/java/jlha.jar
[ -x "$bench" ] && [ -x "$tool" ] || { echo "no $bench or $tool: build the native preset first" >&2; exit 1; }
for need in javac java lhasa; do
  command -v $need >/dev/null 2>&1 || { echo "$need is missing (sh scripts/install-deps.sh bench)" >&2; exit 1; }
done
[ -f "$jar" ] || { echo "$jar is missing (sh scripts/install-deps.sh bench)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/kalvora-ratio.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
mkdir "$work/sets" "$work/in" "$work/ours" "$work/peer" "$work/classes"

# The benchmark data sets, expanded from the archives kalvora_bench writes.
"$bench" --write-comparison "$work/sets" >"$work/sets.txt"
while read -r name rest; do
  "$tool" expand -C "$work/in" "$work/sets/$name.kvr" >/dev/null
  mv "$work/in/$name.bin" "$work/in/$name"
done <"$work/sets.txt"
# Files of this machine: texts and 32-bit Windows code.
ls /usr/share/common-licenses/* | LC_ALL=C sort | xargs cat >"$work/in/licenses"
ls /usr/share/man/man1/*.gz 2>/dev/null | LC_ALL=C sort | xargs zcat 2>/dev/null | head -c 4194304 >"$work/in/man1" || true
pe=/usr/lib/i386-linux-gnu/wine/i386-windows
for dll in user32 comctl32; do
  [ -f "$pe/$dll.dll" ] && head -c 4194304 "$pe/$dll.dll" >"$work/in/$dll.dll"
done
for f in "$work"/in/*; do [ -s "$f" ] || rm -f "$f"; done

javac -d "$work/classes" -cp "$jar" "$here/bench/jlha/Lh1Pack.java"
java -cp "$jar:$work/classes" Lh1Pack "$work/peer" "$work"/in/* >"$work/peer.txt"

echo "== LZH output size against the -lh1- encoder of jlha (bytes)"
printf '%-13s %9s %10s %10s %9s\n' data bytes jlha kalvora kalvora/jlha
while read -r file bytes peer; do
  name=$(basename "$file")
  if lhasa v "$work/peer/$name.lzh" | grep -q -- '-lh1-'; then
    lhasa t "$work/peer/$name.lzh" >/dev/null 2>&1 || { echo "lhasa rejects the peer's archive of $name" >&2; exit 1; }
  fi
  "$tool" pack -m LZH "$work/ours/$name.kvr" "$file" >/dev/null
  "$tool" test "$work/ours/$name.kvr" >/dev/null
  ours=$("$tool" list "$work/ours/$name.kvr" | awk '$1 == "LZH" { print $3; exit }')
  printf '%-13s %9s %10s %10s %8.2f%%\n' "$name" "$bytes" "$peer" "$ours" "$(awk -v a="$ours" -v b="$peer" 'BEGIN { print 100 * a / b }')"
done <"$work/peer.txt"
