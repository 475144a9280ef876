#pragma once
// The fonts of the program's windows.
#include <windows.h>

namespace kalvora {

// Fonts by face, height in pixels (character height) and weight; kept for the program's life.
HFONT fontOf(const char* face, int height, bool bold);
// MS Sans Serif 8 pt, the forms' font.
HFONT formFont();

} // namespace kalvora
