#include "wizard/DiskSpace.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

TEST(ShowKb, RoundsHalvesToEven) {
  EXPECT_EQ(ShowKb(0), "0");
  EXPECT_EQ(ShowKb(511), "0");
  EXPECT_EQ(ShowKb(512), "0");
  EXPECT_EQ(ShowKb(513), "1");
  EXPECT_EQ(ShowKb(1024), "1");
  EXPECT_EQ(ShowKb(1536), "2");
  EXPECT_EQ(ShowKb(2560), "2");
  EXPECT_EQ(ShowKb(3584), "4");
  EXPECT_EQ(ShowKb(-1), "0");
  EXPECT_EQ(ShowKb(-1536), "-2");
  EXPECT_EQ(ShowKb(-2560), "-2");
}

TEST(ShowKb, BeyondTwoGigabytes) {
  EXPECT_EQ(ShowKb(std::int64_t{5} << 30), "5242880");
  EXPECT_EQ(ShowKb(std::int64_t{2147483647}), "2097152");
  EXPECT_EQ(ShowKb(INT64_MAX), "9007199254740992");
  EXPECT_EQ(ShowKb(INT64_MIN), "-9007199254740992");
}

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
