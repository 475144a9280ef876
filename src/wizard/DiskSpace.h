#pragma once
// The disk-space figures of the wizard: free bytes of a drive and kilobyte texts.
// Free space is 64-bit so that drives beyond 2 GB compare correctly with the
// script's 32-bit sizes.
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace kalvora {

// Free bytes of drive 1 ("A:") to 26 ("Z:"); -1 when the query fails or the number is out of range.
std::int64_t FreeSpace(Platform& platform, int driveNumber);

// bytes / 1024 rounded to the nearest integer, halves to the even neighbour.
std::int64_t kilobytesOf(std::int64_t bytes);

// The text of kilobytesOf(bytes): 1536 shows "2", 2560 "2", 3584 "4".
std::string ShowKb(std::int64_t bytes);

// A figure of the wizard with its unit label. Kilobytes while the figure has
// at most six digits (it then fits its label); beyond, megabytes, then
// gigabytes, so that a drive of any size shows whole: 76 GB free is "77824 MB",
// never a cut-off "79691776". Each unit is 1024 of the one before, rounded
// as kilobytesOf rounds.
struct SpaceText {
  std::string figure;
  std::string unit; // "kB", "MB" or "GB"
};
SpaceText showSpace(std::int64_t bytes);

} // namespace kalvora
