#!/bin/sh
# The tool as a build pipeline calls it: --version and help on every command,
# exit status 0 / 1 / 2 with the messages on standard error, the check of a
# project file (every check of a build, nothing written) and --strict.
. "$(dirname "$0")/lib/common.sh"

expect 0 --version
grep -Eq '^kalvora [0-9]+\.[0-9]+$' "$work/out" || fail "--version printed: $(cat "$work/out")"
for cmd in pack list expand test build check init; do
  for opt in -h --help; do
    expect 0 $cmd $opt
    contains "$work/out" "usage: kalvora $cmd"
  done
  expect 0 $cmd --version
done

# Usage errors: status 2, nothing on standard output, a reason on standard error
# (as for the errors of status 1 here).
while IFS='|' read -r want args; do
  eval "set -- $args"
  expect "$want" "$@"
  [ "$want" = 2 ] && [ -s "$work/out" ] && fail "kalvora $args printed on standard output: $(cat "$work/out")"
  [ -s "$work/err" ] || fail "kalvora $args said nothing on standard error"
done <<'TABLE'
2|
2|frobnicate
2|--frobnicate
2|build
2|build -x p.kvp
2|build -q -v p.kvp
2|build -o
2|build a.kvp b.kvp
2|check
2|check --bogus x
2|check a b
2|init
2|init a b
2|init -z a
1|build no-such.kvp
1|check no-such-medium
TABLE

# A small product; the tool runs from a copy with no setup program or
# uninstaller beside it, so only what a test names is found.
mkdir -p "$work/bin" "$work/p" "$work/tmp"
cp "$tool" "$work/bin/kalvora"
tool=$work/bin/kalvora
text "$work/p/prog.exe" 3000
text "$work/p/readme.txt" 200 2
noise "$work/p/big.dat" 5000 3
printf 'MZ setup stand-in' >"$work/setup.exe"
cat >"$work/p/p.kvp" <<'KVP'
[build]
output = out
readme = readme.txt
[files_1]
0 = prog.exe
[software]
name = Probe
Opt1_name = Program
o_standard = 1
Opt1_standard = 1
uniyes = 0
KVP
export TMPDIR="$work/tmp"
KALVORA_SETUP_EXE="$work/setup.exe" expect 0 check "$work/p/p.kvp"
contains "$work/out" "project OK"
[ -e "$work/p/out" ] && fail "check of a project wrote its output"
[ -z "$(ls -A "$work/tmp")" ] || fail "check of a project left $(ls -A "$work/tmp")"

# Faults of the project file are named by line, exit 1, nothing written.
cp "$work/p/p.kvp" "$work/p/bad.kvp"
printf '[files_1]\n0 = gone.txt\n[build]\nmedium = tape\n' >>"$work/p/bad.kvp"
KALVORA_SETUP_EXE="$work/setup.exe" expect 1 check "$work/p/bad.kvp"
contains "$work/err" "bad.kvp:15: error: unknown medium \"tape\""
# A fault that only a medium being assembled shows: the first disk is too small.
cp "$work/p/p.kvp" "$work/p/full.kvp"
printf '[build]\nmedium = disks\nmedium_size = 600\n' >>"$work/p/full.kvp"
KALVORA_SETUP_EXE="$work/setup.exe" expect 1 check "$work/p/full.kvp"
contains "$work/err" "full.kvp: error: setup.exe, setup.inf, the pictures, readme and uninstaller take"
[ -e "$work/p/out" ] && fail "a failed check wrote its output"
[ -z "$(ls -A "$work/tmp")" ] || fail "a failed check left $(ls -A "$work/tmp")"

# Without setup.exe: a warning that check repeats, unless strict.
expect 0 build -o "$work/m" "$work/p/p.kvp"
contains "$work/err" "p.kvp: warning: no setup.exe found"
expect 0 check "$work/m"
contains "$work/out" "medium OK, with 1 warning"
contains "$work/err" "$work/m: warning: no setup.exe beside setup.inf"
expect 1 check --strict "$work/m"
expect 1 check --strict "$work/p/p.kvp"
expect 1 build --strict -o "$work/s" "$work/p/p.kvp"
contains "$work/err" "p.kvp: error: no setup.exe found"
[ -e "$work/s" ] && fail "a strict build without setup.exe wrote a medium"
printf '[build]\nstrict = yes\n' >>"$work/p/p.kvp"
expect 1 build -o "$work/s" "$work/p/p.kvp"
[ -e "$work/s" ] && fail "strict = yes built without setup.exe"
# An installing project without an uninstaller is refused the same way.
sed 's/^uniyes = 0$/uniyes = 1/' "$work/p/p.kvp" >"$work/p/u.kvp"
KALVORA_SETUP_EXE="$work/setup.exe" expect 1 build -o "$work/s" "$work/p/u.kvp"
contains "$work/err" "u.kvp: error: no unkalvora.exe found"
echo "tool: ok"
