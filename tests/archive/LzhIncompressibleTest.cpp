// The quick test for data that LZH cannot shrink, against what the encoder
// then really makes of the same data.
#include <gtest/gtest.h>

#include <random>

#include "archive/LzhEncoder.h"
#include "archive/LzhIncompressible.h"

namespace kalvora {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes noise(std::size_t n, std::uint32_t seed, unsigned range = 256) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b)
    x = static_cast<std::uint8_t>(rng() % range);
  return b;
}

Bytes words(std::size_t n) {
  static const char* const kWords[] = {"setup ", "file ", "disk ", "the ", "install ", "archive\r\n"};
  std::mt19937 rng(7);
  Bytes b;
  while (b.size() < n)
    for (const char* w = kWords[rng() % 6]; *w && b.size() < n; ++w)
      b.push_back(static_cast<std::uint8_t>(*w));
  return b;
}

TEST(LzhIncompressible, JudgesOnlyWhatTheEncoderCannotShrink) {
  struct Case {
    const char* what;
    Bytes data;
    bool cannotShrink;
  };
  Bytes repeated = noise(64 * 1024, 3);
  std::copy_n(repeated.begin(), 3000, repeated.begin() + 4000); // a repeat within the window
  Bytes textTail = noise(64 * 1024, 4);
  const Bytes text = words(8 * 1024);
  std::copy(text.begin(), text.end(), textTail.end() - static_cast<std::ptrdiff_t>(text.size()));
  std::vector<Case> cases;
  cases.push_back({"noise, 16 KiB", noise(16 * 1024, 1), true});
  cases.push_back({"noise, 700 KiB", noise(700 * 1024, 2), true});
  cases.push_back({"noise, 100,001 bytes", noise(100001, 5), true});
  cases.push_back({"noise under 16 KiB", noise(16 * 1024 - 1, 6), false});
  cases.push_back({"noise with a 3,000-byte repeat", repeated, false});
  cases.push_back({"noise ending in text", textTail, false});
  cases.push_back({"bytes of 128 values", noise(64 * 1024, 8, 128), false});
  cases.push_back({"text", words(64 * 1024), false});
  int judged = 0;
  for (const Case& c : cases) {
    EXPECT_EQ(lzhCannotShrink(c.data), c.cannotShrink) << c.what;
    if (!c.cannotShrink) continue;
    ++judged;
    Bytes encoded;
    lzhEncode(c.data, encoded, nullptr);
    EXPECT_GE(encoded.size(), c.data.size()) << c.what << ": the encoder shrinks what was judged incompressible";
  }
  EXPECT_EQ(judged, 3);
}

} // namespace
} // namespace kalvora
