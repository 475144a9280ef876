#include "model/Gradient.h"

#include <cstddef>
#include <iterator>

namespace kalvora {
namespace {

// Blue at these rows, linear in between: 255 down to row 9, 0 from row 740 on.
struct Point {
  int row, blue;
};
constexpr Point kPoints[] = {{0, 255},
                             {9, 255},
                             {100, 211},
                             {200, 183},
                             {300, 155},
                             {400, 125},
                             {500, 80},
                             {600, 47},
                             {700, 15},
                             {740, 0},
                             {kGradientRows - 1, 0}};

} // namespace

std::uint8_t gradientBlue(int row) {
  for (std::size_t i = 1; i < std::size(kPoints); ++i) {
    const Point a = kPoints[i - 1], b = kPoints[i];
    if (row < a.row || row > b.row) continue;
    // Rounded to the nearest, halves away from zero (all values are non-negative).
    const int span = b.row - a.row, step = (b.blue - a.blue) * (row - a.row);
    const int offset = step >= 0 ? (2 * step + span) / (2 * span) : -((-2 * step + span) / (2 * span));
    return static_cast<std::uint8_t>(a.blue + offset);
  }
  return 0;
}

} // namespace kalvora
