#!/bin/sh
# The win32 tree's tests under Wine: WINE_SLOTS (4) side by side, each in a
# prefix and on a display of its own (with-wine.sh). A failed test runs once
# more; `make test` names every test that passed only then.
# usage: test-wine.sh [CTEST-ARGS...]   (from the source directory)
prefix="$PWD/build/win32/wineprefix"
WINEPREFIX="$prefix" WINE_SLOTS="${WINE_SLOTS:-4}" exec sh "$(dirname "$0")/with-wine.sh" \
  ctest --preset win32 -j8 --resource-spec-file "$prefix.slots/resources.json" --repeat until-pass:2 "$@"
