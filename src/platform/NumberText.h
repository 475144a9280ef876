#pragma once
// Numbers as fixed-width text, without the C library's printf family: in the
// Windows programs that would bring in the whole formatted-output engine.
#include <cstdint>
#include <optional>
#include <string>

namespace kalvora {

// value in decimal, padded with zeros on the left to at least digits characters.
inline std::string zeroPadded(std::uint64_t value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  return text;
}

// value as exactly eight upper-case hexadecimal digits.
inline std::string hexDigits8(std::uint32_t value) {
  std::string text(8, '0');
  for (int i = 7; i >= 0; --i, value >>= 4)
    text[static_cast<std::size_t>(i)] = "0123456789ABCDEF"[value & 0xF];
  return text;
}

// Exactly eight hexadecimal digits (either case) read back; nothing for any other text.
inline std::optional<std::uint32_t> hexValue8(const std::string& text) {
  if (text.size() != 8) return std::nullopt;
  std::uint32_t value = 0;
  for (const char c : text) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return value;
}

} // namespace kalvora
