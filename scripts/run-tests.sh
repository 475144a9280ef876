#!/bin/sh
# `make test`: every test of the four trees, with both processors kept busy.
# The win32 tree is built first; its Wine tests, which mostly wait for windows,
# then run in WINE_SLOTS prefixes on as many displays (scripts/with-wine.sh)
# while the native trees build and test at a lower priority beside them.
# Each tree builds only what its tests run. Every step's output goes to
# build/test-logs/STEP.log; a failed step's is shown. The run ends with the
# tests that passed only on a retry, by name, and a count of all tests.
# usage: run-tests.sh   (WERROR, FUZZ_SECONDS and WINE_SLOTS from the environment;
#        run-tests.sh native-trees runs the native trees' part alone)
set -u
cd "$(dirname "$0")/.."
flags="-DKALVORA_WERROR=${WERROR:-OFF}"
logs=build/test-logs
prefix="$PWD/build/win32/wineprefix"
started=${KALVORA_TEST_START:-$(date +%s)}
slots=${WINE_SLOTS:-4}

# step NAME COMMAND...: runs COMMAND into NAME.log, reports how it went and
# leaves NAME.failed behind when it failed.
step() {
  name=$1
  shift
  begin=$(date +%s)
  if "$@" >"$logs/$name.log" 2>&1; then
    echo "[$(($(date +%s) - started))s] $name: done in $(($(date +%s) - begin))s"
  else
    touch "$logs/$name.failed"
    echo "[$(($(date +%s) - started))s] $name: FAILED after $(($(date +%s) - begin))s (build/test-logs/$name.log):"
    # The log without the passing tests' lines: the failures and ctest's summary.
    grep -v -E '^ *Start +[0-9]+:|Test +#[0-9]+: .* Passed' "$logs/$name.log" | tail -n 150
    return 1
  fi
}

configure() { cmake --preset "$1" $flags >/dev/null; }
build() { cmake --build --preset "$1" --target "$2"; }

win32() {
  step configure-win32 configure win32 || return
  # The prefix boots, and is copied for the Wine slots, while the tree builds.
  step wineboot env WINEPREFIX="$prefix" WINE_SLOTS="$slots" sh scripts/with-wine.sh &
  boot=$!
  step build-win32 build win32 kalvora_test_programs
  wait $boot
  [ -e "$logs/build-win32.failed" ] && return
  step test-win32 env WINE_SLOTS="$slots" sh scripts/test-wine.sh
}

native() { # native TREE: build and test a native tree
  step "configure-$1" configure "$1" || return
  step "build-$1" build "$1" kalvora_test_programs
  [ -e "$logs/build-$1.failed" ] || step "test-$1" ctest --preset "$1" -j2
}

if [ "${1:-}" = native-trees ]; then
  native native
  native native-asan
  step configure-fuzz configure fuzz && step build-fuzz build fuzz kalvora_fuzzers
  exit 0
fi

rm -rf "$logs"
mkdir -p "$logs"
export KALVORA_TEST_START=$started
win32 &
wine=$!
# The native trees give way to the win32 tree's build and to the Wine tests,
# whose steps wait for windows within a timeout.
nice -n 10 sh scripts/run-tests.sh native-trees
# The fuzzers run for a time, not a count: they keep a full processor's priority.
[ -e "$logs/build-fuzz.log" ] && [ ! -e "$logs/build-fuzz.failed" ] &&
  step test-fuzz sh scripts/run-fuzzers.sh build/fuzz "${FUZZ_SECONDS:-20}"
wait $wine

sh scripts/test-summary.sh "$logs"
