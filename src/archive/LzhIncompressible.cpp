#include "archive/LzhIncompressible.h"

#include <array>
#include <cmath>
#include <memory>

#include "archive/LzhTree.h"

namespace kalvora {
namespace {

constexpr std::size_t kStretch = 16 * 1024;
// Random bytes give about 7.99 bits a byte over 16 KiB; text under 5, program code under 7.
constexpr double kEvenBits = 7.95;
constexpr unsigned kHashBits = 16;

bool evenlySpread(std::span<const std::uint8_t> stretch) {
  std::array<std::uint32_t, 256> counts{};
  for (const std::uint8_t b : stretch)
    ++counts[b];
  double bits = 0;
  const auto n = static_cast<double>(stretch.size());
  for (const std::uint32_t c : counts)
    if (c) bits -= c * std::log2(c / n);
  return bits / n >= kEvenBits;
}

unsigned hash3(const std::uint8_t* p) {
  const std::uint32_t v = p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16;
  return (v * 2654435761u) >> (32 - kHashBits);
}

} // namespace

bool lzhCannotShrink(std::span<const std::uint8_t> data) {
  if (data.size() < kStretch) return false;
  // Stretches of 16 KiB, the last one up to 32 KiB: a short one would look uneven however random.
  for (std::size_t at = 0; at < data.size(); at += kStretch) {
    const std::size_t n = data.size() - at < 2 * kStretch ? data.size() - at : kStretch;
    if (!evenlySpread(data.subspan(at, n))) return false;
    if (n != kStretch) break;
  }

  // The last position of each hashed three bytes: a repeat whose bytes were
  // overwritten in its slot is missed, which random data makes rare.
  const auto last = std::make_unique<std::uint32_t[]>(std::size_t{1} << kHashBits);
  const std::size_t allowed = data.size() / 200;
  std::size_t repeats = 0;
  for (std::size_t i = 0; i + lzh::kThreshold < data.size(); ++i) {
    const std::uint8_t* p = data.data() + i;
    std::uint32_t& slot = last[hash3(p)];
    const std::size_t seen = slot; // position + 1, 0 for none
    slot = static_cast<std::uint32_t>(i + 1);
    if (seen == 0 || i - (seen - 1) > lzh::kWindow) continue;
    const std::uint8_t* q = data.data() + (seen - 1);
    if (q[0] == p[0] && q[1] == p[1] && q[2] == p[2] && ++repeats > allowed) return false;
  }
  return true;
}

} // namespace kalvora
