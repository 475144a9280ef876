#!/bin/sh
# The end of `make test` (scripts/run-tests.sh): each step's test count, the
# tests that passed only on a retry, by name, and one closing line that counts
# every test. Exits non-zero when a test or a step failed.
# usage: test-summary.sh LOGDIR
logs=$1
passed=0
failed=0
status=0
broken="" # the steps that failed before their tests could count
echo
echo "== summary"
for log in "$logs"/test-*.log; do
  [ -e "$log" ] || continue
  name=$(basename "$log" .log)
  # ctest: "97% tests passed, 1 tests failed out of 30"; run-fuzzers.sh: "fuzzers: 6 passed, 0 failed".
  counts=$(sed -n -e 's/^[0-9]*% tests passed, \([0-9]*\) tests failed out of \([0-9]*\)$/\1 \2/p' \
    -e 's/^fuzzers: \([0-9]*\) passed, \([0-9]*\) failed$/\2 \1 +/p' "$log" | tail -n 1)
  if [ -z "$counts" ]; then
    echo "$name: FAILED before it counted its tests (see $log)"
    broken="$broken $name"
    status=1
    continue
  fi
  set -- $counts
  if [ "${3:-}" = + ]; then total=$(($1 + $2)); else total=$2; fi
  bad=$1
  skipped=$(grep -c -E '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log")
  note=""
  [ "$skipped" -eq 0 ] || note=" ($skipped of them skipped)"
  echo "$name: $((total - bad)) passed, $bad failed$note"
  passed=$((passed + total - bad))
  failed=$((failed + bad))
done
for mark in "$logs"/*.failed; do
  [ -e "$mark" ] || continue
  name=$(basename "$mark" .failed)
  case $name in
  test-*) ;;
  configure-* | build-*)
    echo "$name FAILED: the tests of its tree did not run (see $logs/$name.log)"
    broken="$broken $name"
    status=1
    ;;
  *)
    echo "$name FAILED (see $logs/$name.log)"
    status=1
    ;;
  esac
done
# ctest --repeat until-pass prints a line for each run of a test: a test with a
# failed run and a passed one passed only on its retry.
retried=$(cat "$logs"/test-*.log | awk '
  match($0, /Test +#[0-9]+: [^ ]+ /) {
    name = substr($0, RSTART, RLENGTH); sub(/^Test +#[0-9]+: /, "", name); sub(/ $/, "", name)
    if ($0 ~ / Passed /) pass[name] = 1; else fail[name] = 1
  }
  END { for (n in pass) if (n in fail) print n }' | sort)
if [ -n "$retried" ]; then
  echo "passed only on a retry:"
  echo "$retried" | sed 's/^/  /'
else
  echo "passed only on a retry: none"
fi
[ "$failed" -eq 0 ] || status=1
echo "$passed passed, $failed failed${broken:+, and FAILED:$broken}"
exit $status
