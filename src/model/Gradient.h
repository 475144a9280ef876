#pragma once
// The background window's built-in picture: a bitmap one pixel wide and
// kGradientRows high, pure blue at the top falling to black at the bottom.
// It is made when the window is created rather than carried as a resource:
// its few lines of code take less room in setup.exe than its 4 KB of pixels.
#include <cstdint>

namespace kalvora {

inline constexpr int kGradientRows = 768;

// The blue component of a row, counted from the top (red and green are 0).
std::uint8_t gradientBlue(int row);

} // namespace kalvora
