#!/bin/sh
# Runs each libFuzzer target of a build tree for a bounded time on its seed
# corpus, as many side by side as there are processors (each one uses one).
# usage: run-fuzzers.sh TREE [SECONDS]
tree=$1
seconds=${2:-20}
seedroot="$(dirname "$0")/../fuzz/seeds"
jobs=$(nproc 2>/dev/null || echo 1)

fuzz() { # fuzz PROGRAM: one run; exit status non-zero when it found a fault
  name=$(basename "$1")
  corpus="$tree/fuzz/corpus-$name"
  seeds="$seedroot/${name#fuzz_}"
  mkdir -p "$corpus"
  set -- "$1" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$tree/fuzz/$name-" "$corpus"
  [ ! -d "$seeds" ] || set -- "$@" "$seeds"
  "$@" >"$tree/fuzz/$name.log" 2>&1
}

passed=0
failed=0
running=""
finish() { # finish NAME PID: waits for one run and reports it
  if wait "$2"; then
    passed=$((passed + 1))
    echo "== $1 for ${seconds}s"
  else
    failed=$((failed + 1))
    echo "== $1 for ${seconds}s: FOUND A FAULT (see $tree/fuzz/$1.log)"
  fi
  tail -n 3 "$tree/fuzz/$1.log"
}
for fuzzer in "$tree"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  fuzz "$fuzzer" &
  running="$running $(basename "$fuzzer"):$!"
  set -- $running
  if [ $# -ge "$jobs" ]; then
    finish "${1%%:*}" "${1##*:}"
    shift
    running="$*"
  fi
done
for run in $running; do finish "${run%%:*}" "${run##*:}"; done
echo "fuzzers: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
