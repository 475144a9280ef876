// The background window's built-in gradient, row by row.
#include "model/Gradient.h"

#include <gtest/gtest.h>

namespace kalvora {
namespace {

TEST(Gradient, BlueAtTheTopFallingSmoothlyToBlack) {
  for (int row = 0; row <= 9; ++row)
    EXPECT_EQ(gradientBlue(row), 255) << "row " << row;
  const int expected[][2] = {{100, 211}, {200, 183}, {300, 155}, {400, 125}, {500, 80}, {600, 47}, {700, 15}};
  for (const auto& [row, blue] : expected)
    EXPECT_NEAR(gradientBlue(row), blue, 1) << "row " << row;
  for (int row = 740; row < kGradientRows; ++row)
    EXPECT_EQ(gradientBlue(row), 0) << "row " << row;
  for (int row = 1; row < kGradientRows; ++row) {
    // Never brightens downwards, and falls by at most a few steps a row: no bands.
    EXPECT_LE(gradientBlue(row), gradientBlue(row - 1)) << "row " << row;
    EXPECT_LE(gradientBlue(row - 1) - gradientBlue(row), 2) << "row " << row;
  }
  EXPECT_EQ(gradientBlue(-1), 0); // outside the picture
  EXPECT_EQ(gradientBlue(kGradientRows), 0);
}

} // namespace
} // namespace kalvora
