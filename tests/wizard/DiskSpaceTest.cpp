#include "wizard/DiskSpace.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

TEST(FreeSpace, ByDriveNumberWithFailureAsMinusOne) {
  MemoryPlatform platform;
  platform.setFreeSpace('A', 1000);
  platform.setFreeSpace('Z', std::int64_t{3} << 31);
  platform.setFreeSpace('D', -1);
  EXPECT_EQ(FreeSpace(platform, 1), 1000);
  EXPECT_EQ(FreeSpace(platform, 26), std::int64_t{3} << 31);
  EXPECT_EQ(FreeSpace(platform, 4), -1);
  EXPECT_EQ(FreeSpace(platform, 0), -1);
  EXPECT_EQ(FreeSpace(platform, 27), -1);
}

} // namespace
} // namespace kalvora
