#!/bin/sh
# `cmake --install` into a fresh prefix, then the demo built with the installed
# tool: it finds setup.exe and unkalvora.exe in PREFIX/share/kalvora/.
. "$(dirname "$0")/lib/common.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
builddir=$(dirname "$tool")
command -v cmake >/dev/null || { echo "install: skipped, no cmake"; exit 77; }
cmake --install "$builddir" --prefix "$work/prefix" >"$work/log" 2>&1 || fail "cmake --install: $(cat "$work/log")"
installed=$work/prefix/bin/kalvora
[ -x "$installed" ] || fail "no bin/kalvora in the prefix"
[ -f "$work/prefix/share/doc/kalvora/project-file.md" ] || fail "no documentation in the prefix"
"$installed" --version >"$work/out" || fail "the installed tool does not run"
programs=$work/prefix/share/kalvora
# The native tree installs the win32 tree's programs when that is built;
# otherwise stand-ins take their place, which the lookup finds just the same.
if [ ! -f "$programs/setup.exe" ]; then
  [ -f "$root/build/win32/setup.exe" ] && fail "the built setup.exe was not installed"
  mkdir -p "$programs"
  printf 'MZ setup stand-in' >"$programs/setup.exe"
  printf 'MZ uninstaller stand-in' >"$programs/unkalvora.exe"
fi
unset KALVORA_SETUP_EXE KALVORA_UNINSTALLER_EXE
tool=$installed
expect 0 build --strict -o "$work/demo" "$root/examples/demo/demo.kvp"
same "$programs/setup.exe" "$work/demo/disk1/setup.exe"
expect 0 check --strict "$work/demo/disk1"
contains "$work/out" "medium OK"
echo "install: ok"
