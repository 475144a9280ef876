#include "BenchData.h"

#include <fstream>
#include <iterator>

#include "support/TestData.h"

namespace kalvora::bench {
namespace {

// The first kDataSize bytes of a real executable, when the machine has it.
bool readPrefix(const std::string& path, std::vector<std::uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.resize(kDataSize);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  out.resize(static_cast<std::size_t>(in.gcount()));
  return out.size() >= (1u << 20);
}

std::vector<DataSet> makeDataSets() {
  std::vector<DataSet> sets;
  sets.push_back({"text", "words and line breaks", testing::textData(kDataSize, 1)});
  sets.push_back({"exe", "synthetic executable-like mix", testing::executableLike(kDataSize)});
  std::vector<std::uint8_t> cmake;
  if (readPrefix("/usr/bin/cmake", cmake)) sets.push_back({"cmake", "first bytes of /usr/bin/cmake", cmake});
  sets.push_back({"random", "incompressible random bytes", testing::randomData(kDataSize, 1)});
  return sets;
}

} // namespace

const std::vector<DataSet>& dataSets() {
  static const std::vector<DataSet> sets = makeDataSets();
  return sets;
}

} // namespace kalvora::bench
