#!/bin/sh
# kalvora build and check as a distributor runs them: the demo product, the
# last line of output, -q, reproducibility, and failures that leave nothing.
set -eu
KALVORA=$1
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
DEMO=$ROOT/examples/demo/demo.kvp
# The demo takes the built uninstaller; a stand-in does here, whichever trees are built.
printf 'MZ' >"$T/unkalvora.exe"
export KALVORA_UNINSTALLER_EXE="$T/unkalvora.exe"

# The demo builds; the last line names the directory with setup.inf.
"$KALVORA" build -v -o "$T/demo" "$DEMO" >"$T/out" 2>"$T/err" || fail "demo build: $(cat "$T/err")"
medium=$(tail -n 1 "$T/out")
[ "$medium" = "$T/demo/disk1" ] || fail "last line is '$medium'"
[ -f "$medium/setup.inf" ] || fail "no setup.inf in $medium"
grep -q "files, .* MB, volume 1" "$T/err" || fail "no progress on standard error: $(cat "$T/err")"
"$KALVORA" check "$medium" >"$T/check" || fail "check of the demo: $(cat "$T/check")"
grep -q "^medium OK" "$T/check" || fail "check says: $(cat "$T/check")"
grep -q "^option 3 \"System components\": 1 file," "$T/check" || fail "check summary: $(cat "$T/check")"
grep -q "^list of programs: Kalvora Demo 1.0, version 1.0, publisher The kalvora authors, help https://example.org/" \
  "$T/check" || fail "check's list entry: $(cat "$T/check")"

# -q prints the path alone; a second build is byte for byte the same.
"$KALVORA" build -q -o "$T/again" "$DEMO" >"$T/out2" 2>"$T/err2" || fail "second build"
[ "$(cat "$T/out2")" = "$T/again/disk1" ] || fail "-q printed: $(cat "$T/out2")"
if grep -v "warning:" "$T/err2" | grep -q .; then fail "-q printed progress: $(cat "$T/err2")"; fi
diff -r "$T/demo" "$T/again" >/dev/null || fail "two builds of the demo differ"

# A faulty project: exit status 1, the line named, nothing written.
printf '[build]\ncompression = rle\n[software]\nuniyes = 0\n[files_1]\n0 = missing.txt\n' >"$T/bad.kvp"
status=0
"$KALVORA" build -o "$T/bad" "$T/bad.kvp" >"$T/out3" 2>"$T/err3" || status=$?
[ "$status" = 1 ] || fail "a faulty project exits with $status"
grep -q "bad.kvp:6: error: missing source" "$T/err3" || fail "error text: $(cat "$T/err3")"
[ ! -e "$T/bad" ] || fail "a failed build left its output"
if ls -a "$T" | grep -q kalvora-; then fail "a failed build left a staging directory"; fi

# check names the fault of a broken medium and exits with 1.
rm "$T/again/disk1/zdata_01.dsk"
status=0
"$KALVORA" check "$T/again/disk1" >"$T/check2" 2>"$T/check2err" || status=$?
[ "$status" = 1 ] || fail "check of a broken medium exits with $status"
grep -q "^$T/again/disk1: error: .*zdata_01.dsk is missing" "$T/check2err" || fail "check says: $(cat "$T/check2err")"

# Usage errors exit with 2.
status=0
"$KALVORA" build >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "build without a project exits with $status"
status=0
"$KALVORA" check "$T/a" "$T/b" >/dev/null 2>&1 || status=$?
[ "$status" = 2 ] || fail "check with two media exits with $status"
"$KALVORA" build --help | grep -q "usage: kalvora build" || fail "build --help"
echo "build and check: ok"
