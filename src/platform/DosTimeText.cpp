#include "platform/DosTimeText.h"

namespace kalvora {

namespace {

// The last `width` decimal digits of `value` (negative values as zeros).
void appendDigits(std::string& text, int value, int width) {
  unsigned rest = value < 0 ? 0u : static_cast<unsigned>(value);
  std::string digits(static_cast<std::size_t>(width), '0');
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit, rest /= 10)
    *digit = static_cast<char>('0' + rest % 10);
  text += digits;
}

std::string joined(int first, int firstWidth, char separator, int second, int third) {
  std::string text;
  appendDigits(text, first, firstWidth);
  text += separator;
  appendDigits(text, second, 2);
  text += separator;
  appendDigits(text, third, 2);
  return text;
}

} // namespace

std::string dateText(const DosTime& time) { return joined(time.year, 4, '-', time.month, time.day); }

std::string clockText(const DosTime& time) { return joined(time.hour, 2, ':', time.minute, time.second); }

} // namespace kalvora
