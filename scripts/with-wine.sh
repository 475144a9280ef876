#!/bin/sh
# Runs a command with the build tree's Wine prefix ready, a virtual X display
# for windows, and the prefix's wineserver stopped afterwards, whatever happens.
# Without a command it only boots the prefix (and makes the slots' copies).
#
# With WINE_SLOTS=N the command gets N Wine slots instead: copies of the booted
# prefix in $WINEPREFIX.slots/1..N, each with an X display of its own, and a
# ctest resource file ($WINEPREFIX.slots/resources.json) that hands each test
# of resource "wine" one slot (scripts/wine-slot.sh), so that Wine tests run
# side by side without sharing a prefix or a display. Like the prefix, a
# slot's copy is made once and then kept from run to run.
export WINEDEBUG=-all
# No Mono/Gecko prompt, no host menu entries for the Start Menu links of the tests.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
: "${WINEPREFIX:?WINEPREFIX must name the build tree's prefix}"
export WINEPREFIX
mkdir -p "$WINEPREFIX"
slots=${WINE_SLOTS:-}
slotdir="$WINEPREFIX.slots"
servers=""
cleanup() {
  if [ -n "$slots" ]; then
    for i in $(seq "$slots") win64; do WINEPREFIX="$slotdir/$i" wineserver -k >/dev/null 2>&1 || true; done
  fi
  wineserver -k >/dev/null 2>&1 || true
  [ -z "$servers" ] || kill $servers 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# boot PREFIX ARCH LOG: makes a new prefix of that architecture (Wine makes a
# 64-bit one where its 64-bit loader is installed, unless told).
boot() {
  [ -f "$1/system.reg" ] && return
  mkdir -p "$1"
  # Output goes to a file: programs Wine starts inherit the handles, and a pipe would stay open.
  WINEPREFIX="$1" WINEARCH="$2" wineboot -i >"$3" 2>&1 || true
  WINEPREFIX="$1" wineserver -w || true
}
win64=""
if [ -n "$slots" ] && [ -x /usr/lib/wine/wine64 ]; then
  win64="$slotdir/win64"
  # Beside the 32-bit prefix's boot: each waits for Wine most of the time.
  boot "$win64" win64 "$slotdir/win64-wineboot.log" &
fi
boot "$WINEPREFIX" win32 "$WINEPREFIX/../wineboot.log"
wait
if [ -n "$slots" ]; then
  mkdir -p "$slotdir"
  for i in $(seq "$slots"); do
    if [ ! -f "$slotdir/$i/system.reg" ]; then
      rm -rf "$slotdir/$i" "$slotdir/$i.new"
      cp -a "$WINEPREFIX" "$slotdir/$i.new" && mv "$slotdir/$i.new" "$slotdir/$i"
    fi
  done
fi
[ $# -gt 0 ] || exit 0

# An X server on a display it picks itself (no race with other servers
# starting at the same time); prints the display's number once it takes clients.
start_display() { # start_display FILE
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1" >/dev/null 2>&1 &
  servers="$servers $!"
  tries=0
  until [ -s "$1" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then echo "with-wine: Xvfb did not start" >&2; exit 1; fi
    sleep 0.1
  done
}

if [ -n "$slots" ]; then
  ids=""
  warming=""
  for i in $(seq "$slots"); do
    start_display "$slotdir/$i.display"
    ids="$ids${ids:+,}{\"id\":\"$i\",\"slots\":1}"
    # Each slot's wineserver and Wine's own processes are started before the
    # tests, all at once, and the server stays until the end: otherwise the
    # first test of every slot starts them within its step timeout, and each
    # later one again.
    WINEPREFIX="$slotdir/$i" wineserver -p
    WINEPREFIX="$slotdir/$i" DISPLAY=":$(cat "$slotdir/$i.display")" wineboot >/dev/null 2>&1 &
    warming="$warming $!"
  done
  if [ -n "$win64" ]; then
    start_display "$win64.display"
    WINEPREFIX="$win64" wineserver -p
    WINEPREFIX="$win64" DISPLAY=":$(cat "$win64.display")" wineboot >/dev/null 2>&1 &
    warming="$warming $!"
  fi
  wait $warming
  # The 64-bit slot is there even without its prefix: its scenarios then skip themselves.
  echo "{\"version\":{\"major\":1,\"minor\":0},\"local\":[{\"wine\":[$ids],\"wine64\":[{\"id\":\"win64\",\"slots\":1}]}]}" \
    >"$slotdir/resources.json"
  export KALVORA_WINE_SLOTS="$slotdir"
  display="$slotdir/0.display"
  start_display "$display"
  DISPLAY=":$(cat "$display")" "$@"
elif [ -z "$DISPLAY" ] && command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1024x768x24" "$@"
else
  "$@"
fi
