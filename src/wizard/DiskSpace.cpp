#include "wizard/DiskSpace.h"

namespace kalvora {

std::int64_t FreeSpace(Platform& platform, int driveNumber) {
  if (driveNumber < 1 || driveNumber > 26) return -1;
  const char root[4] = {static_cast<char>('A' + driveNumber - 1), ':', '\\', 0};
  const std::int64_t free = platform.freeDiskSpace(root);
  return free < 0 ? -1 : free;
}

} // namespace kalvora
