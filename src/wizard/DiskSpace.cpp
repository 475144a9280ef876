#include "wizard/DiskSpace.h"

namespace kalvora {

std::int64_t FreeSpace(Platform& platform, int driveNumber) {
  if (driveNumber < 1 || driveNumber > 26) return -1;
  const char root[4] = {static_cast<char>('A' + driveNumber - 1), ':', '\\', 0};
  const std::int64_t free = platform.freeDiskSpace(root);
  return free < 0 ? -1 : free;
}

std::int64_t kilobytesOf(std::int64_t bytes) {
  // Work on the magnitude in unsigned arithmetic, so the most negative value cannot overflow.
  const bool negative = bytes < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
  std::uint64_t whole = magnitude / 1024;
  const std::uint64_t rest = magnitude % 1024;
  if (rest > 512 || (rest == 512 && (whole & 1) != 0)) ++whole;
  return negative ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
}

std::string ShowKb(std::int64_t bytes) { return std::to_string(kilobytesOf(bytes)); }

} // namespace kalvora
