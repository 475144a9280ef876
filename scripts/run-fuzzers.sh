#!/bin/sh
# Runs each libFuzzer target of a build tree for a bounded time on its seed corpus.
set -e
tree=$1
seconds=${2:-20}
status=0
for fuzzer in "$tree"/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  corpus="$tree/fuzz/corpus-$name"
  mkdir -p "$corpus"
  seeds="$(dirname "$0")/../fuzz/seeds/${name#fuzz_}"
  echo "== $name for ${seconds}s"
  if [ -d "$seeds" ]; then
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$tree/fuzz/$name-" "$corpus" "$seeds" >"$tree/fuzz/$name.log" 2>&1 || status=1
  else
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$tree/fuzz/$name-" "$corpus" >"$tree/fuzz/$name.log" 2>&1 || status=1
  fi
  tail -n 3 "$tree/fuzz/$name.log"
done
if [ $status -ne 0 ]; then echo "a fuzzer found a fault: see $tree/fuzz/*.log"; exit 1; fi
echo "fuzzers: no fault found"
