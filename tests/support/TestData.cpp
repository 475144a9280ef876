#include "support/TestData.h"

#include <iterator>

namespace kalvora::testing {

namespace {
std::uint32_t nextRandom(std::uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}
} // namespace

std::vector<std::uint8_t> textData(std::size_t size, std::uint32_t seed) {
  static const char* const words[] = {"the ",  "setup ", "archive ", "of ",     "kalvora ", "installs ", "files ",
                                      "into ", "a ",     "target ",  "folder ", "and ",     "program ",  "group\r\n",
                                      "disk ", "space ", "is ",      "free ",   "window ",  "expands "};
  std::uint32_t state = seed * 2654435761u + 1;
  std::vector<std::uint8_t> data;
  data.reserve(size + 16);
  while (data.size() < size) {
    const char* word = words[nextRandom(state) % std::size(words)];
    while (*word && data.size() < size)
      data.push_back(static_cast<std::uint8_t>(*word++));
  }
  return data;
}

std::vector<std::uint8_t> randomData(std::size_t size, std::uint32_t seed) {
  std::uint32_t state = seed * 2654435761u + 7;
  std::vector<std::uint8_t> data(size);
  for (auto& b : data)
    b = static_cast<std::uint8_t>(nextRandom(state) >> 24);
  return data;
}

std::vector<std::uint8_t> executableLike(std::size_t size) {
  std::vector<std::uint8_t> data;
  const auto noise = randomData(size, 7);
  const auto text = textData(size, 3);
  std::size_t i = 0;
  while (data.size() < size) {
    const std::size_t kind = (i / 700) % 4;
    if (kind == 0) data.push_back(static_cast<std::uint8_t>(noise[i] & 0x8F));
    if (kind == 1) data.push_back(static_cast<std::uint8_t>(i % 13 == 0 ? noise[i] : 0));
    if (kind == 2) data.push_back(text[i]);
    if (kind == 3) data.push_back(static_cast<std::uint8_t>((i * 4) & 0xFF));
    ++i;
  }
  return data;
}

} // namespace kalvora::testing
