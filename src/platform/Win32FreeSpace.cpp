#include "platform/Win32FreeSpace.h"

#include <winternl.h>

namespace kalvora {

Win32FreeSpace::Win32FreeSpace() { roots_.fill(INVALID_HANDLE_VALUE); }

Win32FreeSpace::~Win32FreeSpace() {
  for (HANDLE root : roots_)
    if (root != INVALID_HANDLE_VALUE) CloseHandle(root);
}

std::int64_t Win32FreeSpace::available(char drive) {
  const char upper = drive >= 'a' && drive <= 'z' ? static_cast<char>(drive - 'a' + 'A') : drive;
  const char root[4] = {upper, ':', '\\', 0};
  if (upper >= 'A' && upper <= 'Z') {
    const auto index = static_cast<std::size_t>(upper - 'A');
    if (const std::int64_t bytes = askRoot(index); bytes >= 0) return bytes;
  }
  ULARGE_INTEGER bytes;
  if (!GetDiskFreeSpaceExA(root, &bytes, nullptr, nullptr)) return -1;
  return static_cast<std::int64_t>(bytes.QuadPart);
}

// -1 when the root cannot be kept open or asked; the caller then asks by path.
std::int64_t Win32FreeSpace::askRoot(std::size_t index) {
  HANDLE& root = roots_[index];
  if (root == INVALID_HANDLE_VALUE) {
    const char path[4] = {static_cast<char>('A' + index), ':', '\\', 0};
    root = CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (root == INVALID_HANDLE_VALUE) return -1;
  }
  FILE_FS_FULL_SIZE_INFORMATION info;
  IO_STATUS_BLOCK io;
  if (NtQueryVolumeInformationFile(root, &io, &info, sizeof info, FileFsFullSizeInformation) < 0) {
    CloseHandle(root); // a drive gone away (a network drive, a changed medium): opened anew next time
    root = INVALID_HANDLE_VALUE;
    return -1;
  }
  return info.CallerAvailableAllocationUnits.QuadPart * info.SectorsPerAllocationUnit * info.BytesPerSector;
}

} // namespace kalvora
