#include "archive/LzhMatchFinder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "archive/LzhTree.h"

namespace kalvora::lzh {
namespace {

// How many bytes a and b have in common at their start, at most limit.
std::size_t commonLength(const std::uint8_t* a, const std::uint8_t* b, std::size_t limit) {
  std::size_t n = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; n + 8 <= limit; n += 8) {
      std::uint64_t x, y;
      std::memcpy(&x, a + n, 8);
      std::memcpy(&y, b + n, 8);
      if (x != y) return n + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
    }
  }
  while (n < limit && a[n] == b[n])
    ++n;
  return n;
}

} // namespace

MatchFinder::MatchFinder(std::span<const std::uint8_t> data)
    : data_(data), head_(new std::int32_t[1u << kHashBits]), prev_(new std::int32_t[kWindow]) {
  std::fill_n(head_.get(), 1u << kHashBits, -1);
  std::fill_n(prev_.get(), kWindow, -1);
}

unsigned MatchFinder::hashAt(std::size_t pos) const {
  const std::uint32_t v =
      static_cast<std::uint32_t>(data_[pos]) << 16 | static_cast<std::uint32_t>(data_[pos + 1]) << 8 | data_[pos + 2];
  return (v * 2654435761u) >> (32 - kHashBits);
}

void MatchFinder::insert(std::size_t pos) {
  if (pos + 3 > data_.size()) return;
  const unsigned h = hashAt(pos);
  prev_[pos % kWindow] = head_[h];
  head_[h] = static_cast<std::int32_t>(pos);
}

Match MatchFinder::find(std::size_t pos) const {
  Match best;
  const std::size_t limit = std::min<std::size_t>(kMaxMatch, data_.size() - pos);
  if (limit <= kThreshold) return best;
  const std::uint8_t* here = data_.data() + pos;
  std::int32_t candidate = head_[hashAt(pos)];
  for (unsigned chain = kMaxChain; candidate >= 0 && chain != 0; --chain) {
    const std::size_t distance = pos - static_cast<std::size_t>(candidate);
    if (distance > kWindow) break;
    const std::uint8_t* there = data_.data() + candidate;
    if (there[best.length] == here[best.length]) {
      const std::size_t n = commonLength(there, here, limit);
      if (n > best.length && n > kThreshold) {
        best.length = static_cast<unsigned>(n);
        best.distance = static_cast<unsigned>(distance);
        if (n == limit) break;
      }
    }
    candidate = prev_[static_cast<std::size_t>(candidate) % kWindow];
  }
  return best;
}

} // namespace kalvora::lzh
