#pragma once
// Byte counts as the wizard shows them, a figure and its unit. The tool's
// check of a medium prints the same texts, so both come from here.
#include <cstdint>
#include <string>

namespace kalvora {

// Kilobytes, rounded to the nearest integer with halves to the even neighbour
// (1536 bytes show 2, 2560 2, 3584 4), while the figure has at most six
// digits (it then fits the wizard's label); beyond, megabytes, then gigabytes,
// so that a drive of any size shows whole: 76 GB free is "77824 MB", never a
// cut-off "79691776". Each unit is 1024 of the one before, rounded alike.
struct SpaceText {
  std::string figure;
  std::string unit; // "kB", "MB", "GB" or "TB"

  std::string joined() const { return figure + " " + unit; }
};
SpaceText showSpace(std::int64_t bytes);

} // namespace kalvora
