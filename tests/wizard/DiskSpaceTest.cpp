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

// Every figure keeps to six digits: kB up to 999999, then MB, GB, TB.
TEST(ShowSpace, SwitchesUnitWhereTheFigureWouldPassSixDigits) {
  const struct {
    std::int64_t bytes;
    const char* figure;
    const char* unit;
  } cases[] = {
      {0, "0", "kB"},
      {-1, "0", "kB"},
      {1536, "2", "kB"},
      {999999LL * 1024, "999999", "kB"},
      {999998LL * 1024 + 512, "999998", "kB"}, // a half to the even neighbour
      {999999LL * 1024 + 512, "977", "MB"},    // rounds to 1000000 kB: seven digits
      {1000000LL * 1024, "977", "MB"},
      {std::int64_t{2147483647}, "2048", "MB"},
      {std::int64_t{76} << 30, "77824", "MB"},
      {(std::int64_t{76} << 30) + (std::int64_t{1} << 19), "77824", "MB"}, // half a MB, to even
      {std::int64_t{1000} << 30, "1000", "GB"},
      {std::int64_t{5} << 40, "5120", "GB"},
      {INT64_MAX, "8388608", "TB"},
  };
  for (const auto& c : cases) {
    const SpaceText shown = showSpace(c.bytes);
    EXPECT_EQ(shown.figure, c.figure) << c.bytes;
    EXPECT_EQ(shown.unit, c.unit) << c.bytes;
  }
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
