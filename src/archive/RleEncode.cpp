// The RLE writing rule: 0x94 becomes 0x94 0x00; a run of two stays two bytes; a
// run of 3 to 255 equal bytes becomes the byte, 0x94 and the length; longer
// runs are cut at 255 and go on as a new run.
#include "archive/ArchiveWriter.h"

namespace kalvora {

void rleEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) {
  constexpr std::uint8_t kEscape = 0x94;
  constexpr std::size_t kLongestRun = 255;
  out.reserve(out.size() + data.size() + data.size() / 16 + 16);
  std::size_t i = 0;
  while (i < data.size()) {
    const std::uint8_t b = data[i];
    if (b == kEscape) {
      out.push_back(kEscape);
      out.push_back(0);
      ++i;
      continue;
    }
    std::size_t run = 1;
    while (run < kLongestRun && i + run < data.size() && data[i + run] == b)
      ++run;
    if (run >= 3) {
      out.push_back(b);
      out.push_back(kEscape);
      out.push_back(static_cast<std::uint8_t>(run));
    } else {
      out.push_back(b);
      if (run == 2) out.push_back(b);
    }
    i += run;
  }
}

} // namespace kalvora
