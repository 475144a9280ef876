#!/bin/sh
# Runs a command with the build tree's Wine prefix ready, a virtual X display
# for windows, and the prefix's wineserver stopped afterwards, whatever happens.
export WINEDEBUG=-all
# No Mono/Gecko prompt, no host menu entries for the Start Menu links of the tests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
: "${WINEPREFIX:?WINEPREFIX must name the build tree's prefix}"
export WINEPREFIX
mkdir -p "$WINEPREFIX"
cleanup() { wineserver -k >/dev/null 2>&1 || true; }
trap cleanup EXIT INT TERM
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # Output goes to a file: programs Wine starts inherit the handles, and a pipe would stay open.
  wineboot -i >"$WINEPREFIX/../wineboot.log" 2>&1 || true
  wineserver -w || true
fi
if [ -z "$DISPLAY" ] && command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$@"
else
  "$@"
fi
