// The background window's built-in gradient, as the resource file holds it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace kalvora {
namespace {

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

TEST(Gradient, OnePixelWide768HighPaletteBlueToBlack) {
  std::ifstream in(KALVORA_SOURCE_DIR "/src/app/win32/res/gradient.bmp", std::ios::binary);
  ASSERT_TRUE(in);
  const std::vector<unsigned char> bmp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(bmp.size(), 54u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(le32(bmp, 18), 1u);   // width
  EXPECT_EQ(le32(bmp, 22), 768u); // height, rows bottom-up
  EXPECT_EQ(bmp[28], 8);          // bits per pixel
  const std::uint32_t offset = le32(bmp, 10);
  ASSERT_EQ(bmp.size(), offset + 768u * 4u);
  auto rgb = [&](int rowFromTop) {
    const unsigned index = bmp[offset + static_cast<std::size_t>(767 - rowFromTop) * 4];
    const std::size_t entry = 54 + index * 4; // palette: blue, green, red, 0
    return std::vector<int>{bmp[entry + 2], bmp[entry + 1], bmp[entry]};
  };
  EXPECT_EQ(rgb(0), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(rgb(9), (std::vector<int>{0, 0, 255}));
  EXPECT_EQ(rgb(767), (std::vector<int>{0, 0, 0}));
  const int expected[][2] = {{100, 211}, {200, 183}, {300, 155}, {400, 125}, {500, 80}, {600, 47}, {700, 15}};
  for (const auto& [row, blue] : expected)
    EXPECT_NEAR(rgb(row)[2], blue, 2) << "row " << row;
  for (int row = 1; row < 768; ++row) {
    EXPECT_LE(rgb(row)[2], rgb(row - 1)[2]) << "row " << row; // never brightens downwards
    EXPECT_EQ(rgb(row)[0] + rgb(row)[1], 0);
  }
}

} // namespace
} // namespace kalvora
