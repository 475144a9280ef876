#pragma once
// Pictures of the screen: screenshots saved as PNG, and the pixels that the
// picture steps of a scenario compare, from the Win32 screen DC or, as a user
// sees them, from the X screen (XScreen.h).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kvdrive {

// A rectangle of the Win32 screen as RGB bytes, top row first.
std::vector<std::uint8_t> capture(const RECT& r);
// The same of the X screen; Failure when no picture comes in time.
std::vector<std::uint8_t> xScreenOf(const RECT& r, const std::string& workDir);

// Paints the windows now, so that a screenshot shows the state the last step
// made rather than a frame still being drawn.
void settlePainting(const std::vector<HWND>& windows);
// The screen, or one window's rectangle of it, as PNG. False when nothing was written.
bool saveScreen(const std::string& path, HWND window, bool xScreen, const std::string& workDir);

// The colour of a point of the window's client area as "RRGGBB".
std::string pixelText(HWND window, int x, int y);
// How the window on the X screen differs from the window's own picture at a
// grid of 49 points (which Wine keeps even when the X screen shows nothing of
// it); empty when they agree.
std::string xScreenMismatch(HWND window, const std::string& workDir);
// Whether some pixel of the area of the window's client area has the colour (0xRRGGBB).
bool holdsColour(HWND window, const RECT& area, std::uint32_t colour);

} // namespace kvdrive
