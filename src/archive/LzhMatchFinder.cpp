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

constexpr unsigned kHash3Bits = 16, kHash4Bits = 15;

unsigned hash3(std::uint32_t prefix) { return ((prefix & 0xFFFFFF) * 2654435761u) >> (32 - kHash3Bits); }
unsigned hash4(std::uint32_t prefix) { return (prefix * 2654435761u) >> (32 - kHash4Bits); }

} // namespace

MatchFinder::MatchFinder(std::span<const std::uint8_t> data)
    : data_(data), head3_(new std::int32_t[1u << kHash3Bits]), head4_(new std::int32_t[1u << kHash4Bits]),
      prev_(new std::int32_t[kWindow]) {
  std::fill_n(head3_.get(), 1u << kHash3Bits, -1);
  std::fill_n(head4_.get(), 1u << kHash4Bits, -1);
  std::fill_n(prev_.get(), kWindow, -1);
}

// The (up to) four bytes at pos, the first in the lowest bits.
std::uint32_t MatchFinder::prefixAt(std::size_t pos) const {
  const std::uint8_t* p = data_.data() + pos;
  if (pos + 4 <= data_.size()) {
    if constexpr (std::endian::native == std::endian::little) {
      std::uint32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
    return p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16 |
           static_cast<std::uint32_t>(p[3]) << 24;
  }
  std::uint32_t v = 0;
  for (std::size_t i = 0; pos + i < data_.size(); ++i)
    v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

void MatchFinder::insert(std::size_t pos) {
  if (pos + 3 > data_.size()) return;
  const std::uint32_t prefix = prefixAt(pos);
  head3_[hash3(prefix)] = static_cast<std::int32_t>(pos);
  if (pos + 4 > data_.size()) return;
  std::int32_t& head = head4_[hash4(prefix)];
  prev_[pos % kWindow] = head;
  head = static_cast<std::int32_t>(pos);
}

Match MatchFinder::nearestOfThree(std::size_t pos, std::uint32_t prefix) const {
  const std::int32_t candidate = head3_[hash3(prefix)];
  if (candidate < 0 || pos - static_cast<std::size_t>(candidate) > kWindow) return {};
  if (commonLength(data_.data() + candidate, data_.data() + pos, 3) < 3) return {};
  return {3, static_cast<unsigned>(pos - static_cast<std::size_t>(candidate))};
}

Match MatchFinder::find(std::size_t pos, unsigned maxChain) const {
  const std::size_t limit = std::min<std::size_t>(kMaxMatch, data_.size() - pos);
  if (limit <= kThreshold) return {};
  const std::uint32_t prefix = prefixAt(pos);
  if (limit == 3) return nearestOfThree(pos, prefix);
  const std::uint8_t* here = data_.data() + pos;
  Match best;
  std::size_t length = 3; // a candidate must beat this
  std::int32_t candidate = head4_[hash4(prefix)];
  for (unsigned chain = maxChain; candidate >= 0 && chain != 0; --chain) {
    const std::size_t distance = pos - static_cast<std::size_t>(candidate);
    if (distance > kWindow) break;
    const std::uint8_t* there = data_.data() + candidate;
    // The four bytes up to the one that would make it longer rule out most candidates at once.
    std::uint32_t a, b;
    std::memcpy(&a, there + length - 3, 4);
    std::memcpy(&b, here + length - 3, 4);
    if (a == b) {
      const std::size_t n = commonLength(there, here, limit);
      if (n > length) {
        length = n;
        best.distance = static_cast<unsigned>(distance);
        if (n == limit) break;
      }
    }
    candidate = prev_[static_cast<std::size_t>(candidate) % kWindow];
  }
  if (best.distance == 0) return nearestOfThree(pos, prefix);
  best.length = static_cast<unsigned>(length);
  return best;
}

} // namespace kalvora::lzh
