#!/bin/sh
# Runs the codec benchmarks, then times the expansion of the same LZH streams by
# `kalvora test` (our archive) and by `lhasa t` (an LHA -lh1- member): best wall
# time of several runs, in MB/s, and the ratio.
set -e
tree=${1:-build/native}
runs=${RUNS:-5}
bench=$tree/bench/kalvora_bench
tool=$tree/kalvora
[ -x "$bench" ] || { echo "no $bench: build the native preset first" >&2; exit 1; }
[ -x "$tool" ] || { echo "no $tool: build the native preset first" >&2; exit 1; }

echo "== codec benchmarks (kalvora_bench)"
"$bench" ${BENCH_ARGS:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/kalvora-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT INT TERM
"$bench" --write-comparison "$work" >"$work/sets"

now_ns() { date +%s%N; }
# best_ns COMMAND...: the shortest wall time of $runs runs, in nanoseconds.
best_ns() {
  best=
  i=0
  while [ $i -lt "$runs" ]; do
    start=$(now_ns)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    took=$(($(now_ns) - start))
    if [ -z "$best" ] || [ "$took" -lt "$best" ]; then best=$took; fi
    i=$((i + 1))
  done
  echo "$best"
}
mbps() { awk -v b="$1" -v ns="$2" 'BEGIN { printf "%.1f", b / 1048576 / (ns / 1e9) }'; }

echo
if ! command -v lhasa >/dev/null 2>&1; then
  echo "lhasa is not installed: no side-by-side comparison"
  exit 0
fi
echo "== LZH expansion, best of $runs runs (wall time, whole process)"
printf '%-8s %10s %10s %14s %14s %7s\n' data bytes packed "kalvora MB/s" "lhasa MB/s" ratio
while read -r name bytes packed origin; do
  ours=$(best_ns "$tool" test "$work/$name.kvr")
  theirs=$(best_ns lhasa tq "$work/$name.lzh")
  printf '%-8s %10s %10s %14s %14s %6sx\n' "$name" "$bytes" "$packed" "$(mbps "$bytes" "$ours")" \
    "$(mbps "$bytes" "$theirs")" "$(awk -v a="$theirs" -v b="$ours" 'BEGIN { printf "%.2f", a / b }')"
done <"$work/sets"
