#include "platform/SpaceText.h"

namespace kalvora {
namespace {

// bytes / 2^shift rounded to the nearest integer, halves to the even neighbour.
std::int64_t unitsOf(std::int64_t bytes, int shift) {
  // Work on the magnitude in unsigned arithmetic, so the most negative value cannot overflow.
  const bool negative = bytes < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(bytes) : static_cast<std::uint64_t>(bytes);
  const std::uint64_t unit = std::uint64_t{1} << shift;
  std::uint64_t whole = magnitude >> shift;
  const std::uint64_t rest = magnitude & (unit - 1);
  if (rest > unit / 2 || (rest == unit / 2 && (whole & 1) != 0)) ++whole;
  return negative ? -static_cast<std::int64_t>(whole) : static_cast<std::int64_t>(whole);
}

} // namespace

SpaceText showSpace(std::int64_t bytes) {
  constexpr std::int64_t kWidest = 999999; // six digits
  static const char* const kUnits[] = {"kB", "MB", "GB", "TB"};
  int step = 0;
  std::int64_t figure = unitsOf(bytes, 10);
  while (step < 3 && (figure > kWidest || figure < -kWidest)) {
    ++step;
    figure = unitsOf(bytes, 10 * (step + 1));
  }
  return {std::to_string(figure), kUnits[step]};
}

} // namespace kalvora
