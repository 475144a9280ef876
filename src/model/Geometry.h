#pragma once
// The plain geometry and colour values that window models describe their
// controls with; the Win32 windows apply them.
#include <cstdint>
#include <string>

namespace kalvora {

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

// Windows colour values 0x00BBGGRR.
inline constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kSilver = 0xC0C0C0, kNavy = 0x800000;

struct ControlState {
  Rect rect;
  bool visible = true;
  std::string text;
  std::uint32_t color = kBlack; // font colour of labels
};

} // namespace kalvora
