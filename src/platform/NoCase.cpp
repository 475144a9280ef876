#include "platform/NoCase.h"

#include <algorithm>

namespace kalvora {
namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

char upperAnsi(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32); // à..þ except ÷
  if (u == 0x9A || u == 0x9C || u == 0x9E) return static_cast<char>(u - 16); // š œ ž
  if (u == 0xFF) return static_cast<char>(0x9F);                             // ÿ
  return c;
}

bool sameAscii(char a, char b) { return lowerAscii(a) == lowerAscii(b); }

} // namespace

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
  return lower;
}

bool sameNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), sameAscii);
}

bool containsNoCase(std::string_view text, std::string_view word) {
  return std::search(text.begin(), text.end(), word.begin(), word.end(), sameAscii) != text.end() || word.empty();
}

bool startsWithNoCase(std::string_view text, std::string_view start) {
  return text.size() >= start.size() && sameNoCase(text.substr(0, start.size()), start);
}

bool endsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && sameNoCase(text.substr(text.size() - end.size()), end);
}

std::string upperCaseAnsi(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), upperAnsi);
  return upper;
}

bool sameAnsiNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return upperAnsi(x) == upperAnsi(y); });
}

} // namespace kalvora
