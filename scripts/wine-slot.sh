# Sourced by the scripts that start Wine for a test (wine-run.sh, small-drive.sh).
# A test that ctest gave a Wine slot (resource "wine", see with-wine.sh) runs in
# that slot's prefix and on its display; any other run keeps WINEPREFIX and DISPLAY.
if [ -n "${CTEST_RESOURCE_GROUP_0_WINE:-}" ] && [ -n "${KALVORA_WINE_SLOTS:-}" ]; then
  kalvora_slot=${CTEST_RESOURCE_GROUP_0_WINE#id:}
  kalvora_slot=${kalvora_slot%%,*}
  WINEPREFIX="$KALVORA_WINE_SLOTS/$kalvora_slot"
  DISPLAY=":$(cat "$KALVORA_WINE_SLOTS/$kalvora_slot.display")"
  export WINEPREFIX DISPLAY
fi
