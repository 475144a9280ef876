#pragma once
// The fixed prefix code of the LZH method for the upper 6 bits of a match
// position: canonical codes of 3 to 8 bits. The decoder looks the upper bits and
// the code length up by the next 8 bits of the stream; the encoder by value.
#include <cstdint>

namespace kalvora::lzh {

struct PositionCode {
  std::uint8_t upperOf[256];  // upper 6 bits for the stream's next 8 bits
  std::uint8_t lengthOf[256]; // the length of that code
  std::uint8_t code[64];      // code of the upper 6 bits, right-aligned
  std::uint8_t length[64];
};

constexpr unsigned positionCodeLength(unsigned upper) {
  return upper < 1 ? 3 : upper < 4 ? 4 : upper < 12 ? 5 : upper < 24 ? 6 : upper < 48 ? 7 : 8;
}

constexpr PositionCode makePositionCode() {
  PositionCode table{};
  unsigned code = 0, length = positionCodeLength(0);
  for (unsigned u = 0; u < 64; ++u) {
    if (u != 0) {
      ++code;
      const unsigned next = positionCodeLength(u);
      code <<= next - length;
      length = next;
    }
    table.code[u] = static_cast<std::uint8_t>(code);
    table.length[u] = static_cast<std::uint8_t>(length);
    const unsigned first = code << (8 - length), count = 1u << (8 - length);
    for (unsigned i = first; i < first + count; ++i) {
      table.upperOf[i] = static_cast<std::uint8_t>(u);
      table.lengthOf[i] = static_cast<std::uint8_t>(length);
    }
  }
  return table;
}

inline constexpr PositionCode kPositionCode = makePositionCode();

} // namespace kalvora::lzh
