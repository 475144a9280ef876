#pragma once
// The free space of the wizard's target drive. It is 64-bit so that drives
// beyond 2 GB compare correctly with the script's 32-bit sizes; its text comes
// from platform/SpaceText.h.
#include <cstdint>

#include "platform/Platform.h"

namespace kalvora {

// Free bytes of drive 1 ("A:") to 26 ("Z:"); -1 when the query fails or the number is out of range.
std::int64_t FreeSpace(Platform& platform, int driveNumber);

} // namespace kalvora
