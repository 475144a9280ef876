#include "archive/LzhMatchFinder.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "archive/LzhTree.h"

namespace kalvora::lzh {
namespace {

constexpr unsigned kHashBits = 14;
// More slots than window positions, so that a node still in the window never
// shares its slot with the one being inserted.
constexpr unsigned kSlots = 2 * kWindow;

// How many bytes a and b have in common at their start, at most limit.
[[gnu::always_inline]] inline std::size_t commonLength(const std::uint8_t* a, const std::uint8_t* b,
                                                       std::size_t limit) {
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

unsigned hash3(const std::uint8_t* p) {
  const std::uint32_t v = p[0] | static_cast<std::uint32_t>(p[1]) << 8 | static_cast<std::uint32_t>(p[2]) << 16;
  return (v * 2654435761u) >> (32 - kHashBits);
}

// hash3 of the first three bytes, read as one word with the next byte.
unsigned hash3Word(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return ((v & 0xFFFFFFu) * 2654435761u) >> (32 - kHashBits);
}

} // namespace

MatchFinder::MatchFinder(std::span<const std::uint8_t> data, unsigned maxDepth, unsigned niceLength)
    : data_(data), maxDepth_(maxDepth), niceLength_(niceLength), head_(new std::int32_t[1u << kHashBits]),
      sons_(new std::int32_t[2 * kSlots]) {
  std::fill_n(head_.get(), 1u << kHashBits, -1);
}

unsigned MatchFinder::walk(std::size_t pos, Match* out) {
  const std::size_t room = std::min<std::size_t>(kMaxMatch, data_.size() - pos);
  if (room <= kThreshold) return 0;
  // Away from the data's end a walk compares whole words, reading up to 7
  // bytes past the compared ones.
  if (std::endian::native == std::endian::little && room == kMaxMatch && niceLength_ + 8 <= kMaxMatch)
    return walk<true>(pos, room, out);
  return walk<false>(pos, room, out);
}

template <bool kWords> unsigned MatchFinder::walk(std::size_t pos, std::size_t room, Match* out) {
  const std::size_t limit = std::min<std::size_t>(niceLength_, room);
  const std::uint8_t* here = data_.data() + pos;
  std::int32_t& head = head_[kWords ? hash3Word(here) : hash3(here)];
  std::int32_t candidate = head;
  head = static_cast<std::int32_t>(pos);
  // The new node becomes the root: the old tree is split into the nodes that
  // sort below it (hung on smaller) and above it (hung on larger).
  std::int32_t* smaller = &sons_[2 * (pos % kSlots)];
  std::int32_t* larger = smaller + 1;
  std::size_t smallerLength = 0, largerLength = 0; // bytes every node below each side shares with here
  std::size_t best = kThreshold;
  unsigned count = 0;
  for (unsigned depth = maxDepth_;; --depth) {
    if (candidate < 0 || pos - static_cast<std::size_t>(candidate) > kWindow || depth == 0) {
      *smaller = *larger = -1;
      return count;
    }
    std::int32_t* pair = &sons_[2 * (static_cast<std::size_t>(candidate) % kSlots)];
    const std::uint8_t* there = data_.data() + candidate;
    std::size_t length = std::min(smallerLength, largerLength);
    bool below; // whether there sorts below here
    if constexpr (kWords) {
      std::uint64_t x, y;
      for (;;) {
        std::memcpy(&x, there + length, 8);
        std::memcpy(&y, here + length, 8);
        if (x != y || length + 8 >= limit) break;
        length += 8;
      }
      const unsigned shift = x != y ? static_cast<unsigned>(std::countr_zero(x ^ y)) & ~7u : 64;
      length = std::min<std::size_t>(length + shift / 8, limit);
      below = (x >> (shift & 63) & 0xFF) < (y >> (shift & 63) & 0xFF);
    } else {
      length += commonLength(there + length, here + length, limit - length);
      below = length < limit && there[length] < here[length];
    }
    if (length > best) {
      best = length;
      if (out)
        out[count++] = {static_cast<unsigned>(length),
                        static_cast<unsigned>(pos - static_cast<std::size_t>(candidate))};
    }
    if (length == limit) {
      if (out && length < room) {
        const std::size_t longer = length + commonLength(there + length, here + length, room - length);
        out[count - 1].length = static_cast<unsigned>(longer);
      }
      // Equal as far as any later walk compares: here takes the candidate's place.
      *smaller = pair[0];
      *larger = pair[1];
      return count;
    }
    if (below) {
      *smaller = candidate;
      smaller = &pair[1];
      candidate = *smaller;
      smallerLength = length;
    } else {
      *larger = candidate;
      larger = &pair[0];
      candidate = *larger;
      largerLength = length;
    }
  }
}

} // namespace kalvora::lzh
