# Sourced by the scripts that start Wine for a test (wine-run.sh, small-drive.sh).
# A test that ctest gave a Wine slot (resource "wine", see with-wine.sh) runs in
# that slot's prefix and on its display, one given the 64-bit slot (resource
# "wine64") in that; any other run keeps WINEPREFIX and DISPLAY.
if [ -n "${KALVORA_WINE_SLOTS:-}" ]; then
  kalvora_slot=""
  if [ -n "${CTEST_RESOURCE_GROUP_0_WINE64:-}" ]; then
    kalvora_slot=win64
  elif [ -n "${CTEST_RESOURCE_GROUP_0_WINE:-}" ]; then
    kalvora_slot=${CTEST_RESOURCE_GROUP_0_WINE#id:}
    kalvora_slot=${kalvora_slot%%,*}
  fi
  if [ -n "$kalvora_slot" ]; then
    WINEPREFIX="$KALVORA_WINE_SLOTS/$kalvora_slot"
    DISPLAY=":$(cat "$KALVORA_WINE_SLOTS/$kalvora_slot.display")"
    export WINEPREFIX DISPLAY
  fi
fi
