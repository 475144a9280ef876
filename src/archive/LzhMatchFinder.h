#pragma once
// Finds the longest earlier occurrence of the bytes at a position, within the
// 4096-byte window. Matches of 4 bytes or more come from hash chains over
// 4-byte prefixes with a bounded walk; a match of 3 bytes is only looked for
// at the newest position with the same 3-byte prefix, the nearest and so the
// cheapest to code. Only bytes of the data itself are candidates, never the
// decoder's initial window content, so any decoder of the stream form reads
// the same bytes.
#include <cstdint>
#include <memory>
#include <span>

namespace kalvora::lzh {

struct Match {
  unsigned length = 0; // 0 when none of at least 3 bytes
  unsigned distance = 0;
};

class MatchFinder {
public:
  explicit MatchFinder(std::span<const std::uint8_t> data);
  // The best match at pos among the newest maxChain candidates, the nearest of
  // the longest; every position before pos must have been inserted.
  Match find(std::size_t pos, unsigned maxChain) const;
  // Makes pos a candidate for later positions.
  void insert(std::size_t pos);

private:
  std::uint32_t prefixAt(std::size_t pos) const;
  Match nearestOfThree(std::size_t pos, std::uint32_t prefix) const;

  std::span<const std::uint8_t> data_;
  std::unique_ptr<std::int32_t[]> head3_; // newest position of each 3-byte hash, or -1
  std::unique_ptr<std::int32_t[]> head4_; // newest position of each 4-byte hash, or -1
  std::unique_ptr<std::int32_t[]> prev_;  // older position of the same 4-byte hash, by position mod 4096
};

} // namespace kalvora::lzh
