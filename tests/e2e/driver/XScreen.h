#pragma once
// The X screen that Wine shows its windows on, as a user sees it, unlike the
// Win32 screen DC, which Wine answers from the windows' own pictures. It is read
// with ImageMagick's import (a plain GetImage of the root window): xwd -root
// composes the picture from the windows' colormaps and shows Wine's windows
// without a window manager's frames black where the screen shows them.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kvdrive {

// The rectangle of the X screen as RGB bytes, top row first; workDir holds the
// temporary picture. Throws std::runtime_error when no picture comes in time.
std::vector<std::uint8_t> captureXScreen(const RECT& r, const std::string& workDir);

} // namespace kvdrive
