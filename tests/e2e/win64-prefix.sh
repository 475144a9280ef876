#!/bin/sh
# Runs a command in a 64-bit Wine prefix: the 64-bit Wine slot when ctest gave
# one (resource "wine64", see scripts/with-wine.sh), else PREFIX.win64 beside
# the build tree's prefix, booted when missing and its server stopped at the
# end. Without Wine's 64-bit loader (Debian's wine64) the test is skipped
# (exit code 77).
# usage: win64-prefix.sh PREFIX COMMAND...
set -u
prefix=$1
shift
if [ ! -x /usr/lib/wine/wine64 ]; then
  echo "win64-prefix: Wine's 64-bit loader is not installed (wine64): skipped"
  exit 77
fi
. "$(dirname "$0")/../../scripts/wine-slot.sh"
if ! grep -qx '#arch=win64' "${WINEPREFIX:-$prefix}/system.reg" 2>/dev/null; then
  WINEPREFIX="$prefix.win64"
  export WINEPREFIX
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
  trap 'exit 130' INT TERM
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    WINEARCH=win64 wineboot -i >"$WINEPREFIX.log" 2>&1 || true
    wineserver -w || true
  fi
fi
"$@"
