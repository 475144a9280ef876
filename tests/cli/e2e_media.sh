#!/bin/sh
# The end-to-end scenarios' media, checked natively before Wine runs them: every
# project builds and reads back without a warning, and every project and
# picture that a scenario names exists.
. "$(dirname "$0")/lib/common.sh"
E2E=$(cd "$(dirname "$0")/../e2e" && pwd)

# A stand-in: the builder copies setup.exe without looking into it.
printf 'MZ' >"$work/setup.exe"
export KALVORA_SETUP_EXE="$work/setup.exe"
printf 'MZ' >"$work/unkalvora.exe"
export KALVORA_UNINSTALLER_EXE="$work/unkalvora.exe"

# The scenarios stop on the wizard's first page: they offer no configuration.
unexpected_warnings() {
  grep "warning:" "$1" | grep -v "offers no configuration" || true
}

for project in "$E2E"/media/*.kvp; do
  name=$(basename "$project" .kvp)
  # A signed project's command is cmd's, run under Wine (signed-medium.sh): here only checked.
  if grep -q '^sign *=' "$project"; then
    "$tool" check "$project" >"$work/$name.check" 2>&1 || fail "$name: check says $(cat "$work/$name.check")"
    [ -z "$(unexpected_warnings "$work/$name.check")" ] ||
      fail "$name checks with: $(unexpected_warnings "$work/$name.check")"
    continue
  fi
  # A source on a Windows drive (C:\...) is made by its scenario under Wine: here
  # the project is checked, and its only errors are those sources missing.
  if awk '/^\[/ { files = /^\[files_/ } files && /^[^;]*= *[A-Za-z]:\\/ { found = 1 } END { exit !found }' "$project"; then
    "$tool" check "$project" >"$work/$name.check" 2>&1
    others=$(grep "error" "$work/$name.check" | grep -v "missing source .*/[A-Za-z]:/" | grep -v "^[0-9]* errors*$" || true)
    [ -z "$others" ] || fail "$name: check says $others"
    grep -q "missing source" "$work/$name.check" || fail "$name: no missing drive source in $(cat "$work/$name.check")"
    continue
  fi
  "$tool" build -q -o "$work/$name" "$project" >"$work/out" 2>"$work/err" || fail "$name: $(cat "$work/err")"
  [ -z "$(unexpected_warnings "$work/err")" ] || fail "$name builds with: $(unexpected_warnings "$work/err")"
  "$tool" check "$work/$name" >"$work/$name.check" 2>&1 || fail "$name: check says $(cat "$work/$name.check")"
  grep -q "^medium OK" "$work/$name.check" || fail "$name: check says $(cat "$work/$name.check")"
  [ -z "$(unexpected_warnings "$work/$name.check")" ] ||
    fail "$name checks with: $(unexpected_warnings "$work/$name.check")"
done

# The compressed scenario follows the loading screen's bar through four packed pictures.
grep -q "^pictures: wizard.bm_, info.bm_, logo.bm_, large.bm_$" "$work/compressed.check" ||
  fail "the compressed medium: $(grep pictures "$work/compressed.check")"

# What the scenarios name: build PROJECT, put FILE SOURCE.
for scenario in "$E2E"/*.scenario "$E2E"/screenshots/*.scenario; do
  for name in $(awk '$1 == "build" { print $2 }' "$scenario"); do
    [ -f "$E2E/media/$name.kvp" ] || fail "$(basename "$scenario"): no project media/$name.kvp"
  done
  for source in $(awk '$1 == "put" { print $3 }' "$scenario" | tr '\\' '/'); do
    [ -f "$E2E/media/$source" ] || fail "$(basename "$scenario"): no media/$source"
  done
done
