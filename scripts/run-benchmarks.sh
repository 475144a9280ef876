#!/bin/sh
# Runs the codec benchmarks, then times the expansion of the same LZH streams by
# `kalvora test` (our archive) and by `lhasa t` (an LHA -lh1- member): the best
# wall time and the best CPU time of several runs, in MB/s, and the ratios.
# RUNS sets the number of runs (5), BENCH_ARGS passes options to kalvora_bench.
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
# CPU time (user + system) of the finished children of this shell, in
# microseconds, from the output of `times` in FILE. `times` itself must run in
# the measuring shell, not in a $(...) subshell, which has children of its own.
cpu_us_of() {
  awk 'NR == 2 {
    split($1, u, "m"); split($2, s, "m")
    printf "%d", ((u[1] * 60 + substr(u[2], 1, length(u[2]) - 1)) + (s[1] * 60 + substr(s[2], 1, length(s[2]) - 1))) * 1e6
  }' "$1"
}
# cpu_us COMMAND...: the CPU time of one run by perf's task clock, in microseconds.
cpu_us() {
  perf stat -x, -e task-clock -o "$work/perf" -- "$@" >/dev/null 2>&1 || return 1
  awk -F, '$3 ~ /^task-clock/ { printf "%d", $1 * 1000 }' "$work/perf"
}
use_perf=no
if command -v perf >/dev/null 2>&1 && [ -n "$(cpu_us true 2>/dev/null)" ]; then use_perf=yes; fi

# measure COMMAND...: "WALL_NS CPU_US": the shortest wall time of $runs runs,
# and the shortest CPU time (perf's task clock) or, without perf, the mean CPU
# time that `times` gives (its clock is coarse; the mean is steadier).
measure() {
  best_wall= best_cpu= i=0
  times >"$work/times0"
  while [ $i -lt "$runs" ]; do
    start=$(now_ns)
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    wall=$(($(now_ns) - start))
    if [ -z "$best_wall" ] || [ "$wall" -lt "$best_wall" ]; then best_wall=$wall; fi
    i=$((i + 1))
  done
  times >"$work/times1"
  best_cpu=$((($(cpu_us_of "$work/times1") - $(cpu_us_of "$work/times0")) / runs))
  if [ $use_perf = yes ]; then
    best_cpu= i=0
    while [ $i -lt "$runs" ]; do
      cpu=$(cpu_us "$@") || { echo "failed: perf stat $*" >&2; exit 1; }
      if [ -z "$best_cpu" ] || [ "$cpu" -lt "$best_cpu" ]; then best_cpu=$cpu; fi
      i=$((i + 1))
    done
  fi
  echo "$best_wall $best_cpu"
}
# mbps BYTES SECONDS
mbps() { awk -v b="$1" -v t="$2" 'BEGIN { if (t <= 0) print "-"; else printf "%.1f", b / 1048576 / t }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) print "-"; else printf "%.2fx", a / b }'; }

echo
if ! command -v lhasa >/dev/null 2>&1; then
  echo "lhasa is not installed: no side-by-side comparison"
  exit 0
fi
echo "== LZH expansion of the same streams: $runs runs of each whole process"
if [ $use_perf = yes ]; then cpu_kind="best CPU time (perf task-clock)"; else cpu_kind="mean CPU time (user + system)"; fi
echo "   (MB/s of expanded data; best wall time, and $cpu_kind)"
printf '%-7s %9s %9s | %13s %11s %7s | %13s %11s %7s\n' data bytes packed "kalvora wall" "lhasa wall" ratio \
  "kalvora CPU" "lhasa CPU" ratio
while read -r name bytes packed origin; do
  set -- $(measure "$tool" test "$work/$name.kvr")
  ours_wall=$1 ours_cpu=$2
  set -- $(measure lhasa tq "$work/$name.lzh")
  theirs_wall=$1 theirs_cpu=$2
  printf '%-7s %9s %9s | %13s %11s %7s | %13s %11s %7s\n' "$name" "$bytes" "$packed" \
    "$(mbps "$bytes" "$(awk -v n="$ours_wall" 'BEGIN { print n / 1e9 }')")" \
    "$(mbps "$bytes" "$(awk -v n="$theirs_wall" 'BEGIN { print n / 1e9 }')")" "$(ratio "$theirs_wall" "$ours_wall")" \
    "$(mbps "$bytes" "$(awk -v n="$ours_cpu" 'BEGIN { print n / 1e6 }')")" \
    "$(mbps "$bytes" "$(awk -v n="$theirs_cpu" 'BEGIN { print n / 1e6 }')")" "$(ratio "$theirs_cpu" "$ours_cpu")"
done <"$work/sets"
