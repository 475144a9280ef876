#pragma once
// The X screen that Wine shows its windows on, read with xwd: what a user sees,
// unlike the Win32 screen DC, which Wine answers from the windows' own pictures.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kvdrive {

// The rectangle of the X screen as RGB bytes, top row first; workDir holds the
// temporary picture. Throws std::runtime_error when xwd gives no picture in time.
std::vector<std::uint8_t> captureXScreen(const RECT& r, const std::string& workDir);

} // namespace kvdrive
