#pragma once
// The space free for the caller on a drive, asked as often as the expansion
// asks it (before every file). GetDiskFreeSpaceEx opens the drive's root
// directory for every answer, three requests to the Wine server each; a root
// kept open for the program's life answers through the open handle alone.
#include <windows.h>

#include <array>
#include <cstdint>

namespace kalvora {

class Win32FreeSpace {
public:
  Win32FreeSpace();
  ~Win32FreeSpace();
  Win32FreeSpace(const Win32FreeSpace&) = delete;
  Win32FreeSpace& operator=(const Win32FreeSpace&) = delete;

  // Bytes free for the caller on the drive (a letter), -1 when unknown.
  std::int64_t available(char drive);

private:
  std::int64_t askRoot(std::size_t index);
  std::array<HANDLE, 26> roots_;
};

} // namespace kalvora
