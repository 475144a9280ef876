#!/bin/sh
# Runs a command with drive T: of the Wine prefix on a tmpfs of 2 MiB that holds
# a 1 MiB filler (T:\filler.bin), so that a scenario meets a drive with too
# little space and can make room. Mounting needs root; without it the test is
# skipped (exit code 77).
# usage: small-drive.sh MOUNTPOINT COMMAND...
set -u
mountpoint=$1
shift
. "$(dirname "$0")/../../scripts/wine-slot.sh"
: "${WINEPREFIX:?WINEPREFIX must name the prefix}"
link="$WINEPREFIX/dosdevices/t:"
mkdir -p "$mountpoint"
if ! mount -t tmpfs -o size=2m kvsmall "$mountpoint" 2>/dev/null; then
  echo "small-drive: cannot mount a tmpfs here (not root?): skipped"
  exit 77
fi
cleanup() {
  rm -f "$link"
  umount "$mountpoint" 2>/dev/null || umount -l "$mountpoint"
}
trap cleanup EXIT INT TERM
rm -f "$link"
ln -s "$mountpoint" "$link"
dd if=/dev/zero of="$mountpoint/filler.bin" bs=1024 count=1024 2>/dev/null
"$@"
