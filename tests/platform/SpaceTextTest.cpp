#include "platform/SpaceText.h"

#include <gtest/gtest.h>

namespace kalvora {
namespace {

// Kilobytes rounded with halves to the even neighbour, and every figure kept
// to six digits: kB up to 999999, then MB, GB, TB.
TEST(ShowSpace, RoundsAndSwitchesUnitWhereTheFigureWouldPassSixDigits) {
  const struct {
    std::int64_t bytes;
    const char* figure;
    const char* unit;
  } cases[] = {
      {0, "0", "kB"},
      {511, "0", "kB"},
      {512, "0", "kB"}, // half of 0 and 1: to the even 0
      {513, "1", "kB"},
      {1536, "2", "kB"},
      {2560, "2", "kB"},
      {3584, "4", "kB"},
      {-1, "0", "kB"},
      {-1536, "-2", "kB"},
      {-2560, "-2", "kB"},
      {999999LL * 1024, "999999", "kB"},
      {999998LL * 1024 + 512, "999998", "kB"},
      {999999LL * 1024 + 512, "977", "MB"}, // rounds to 1000000 kB: seven digits
      {1000000LL * 1024, "977", "MB"},
      {std::int64_t{2147483647}, "2048", "MB"},
      {std::int64_t{76} << 30, "77824", "MB"},
      {(std::int64_t{76} << 30) + (std::int64_t{1} << 19), "77824", "MB"}, // half a MB, to even
      {std::int64_t{1000} << 30, "1000", "GB"},
      {std::int64_t{5} << 40, "5120", "GB"},
      {INT64_MAX, "8388608", "TB"},
      {INT64_MIN, "-8388608", "TB"},
  };
  for (const auto& c : cases) {
    const SpaceText shown = showSpace(c.bytes);
    EXPECT_EQ(shown.figure, c.figure) << c.bytes;
    EXPECT_EQ(shown.unit, c.unit) << c.bytes;
    EXPECT_EQ(shown.joined(), std::string(c.figure) + " " + c.unit);
  }
}

} // namespace
} // namespace kalvora
