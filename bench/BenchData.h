#pragma once
// The data the benchmarks compress and expand, made once per run.
#include <cstdint>
#include <string>
#include <vector>

namespace kalvora::bench {

struct DataSet {
  std::string name; // "text", "exe", "random", and "cmake" when that binary is there
  std::string origin;
  std::vector<std::uint8_t> bytes;
};

inline constexpr std::size_t kDataSize = 8 << 20;

const std::vector<DataSet>& dataSets();

} // namespace kalvora::bench
