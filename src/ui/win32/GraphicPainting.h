#pragma once
// How each kind of graphic control draws itself in its parent's paint.
#include <windows.h>

#include "ui/win32/GraphicControls.h"

namespace kalvora {

// Draws child, a graphic control, onto its parent's dc at its place there.
void drawGraphic(HWND child, HDC dc, const Graphic& g);

} // namespace kalvora
