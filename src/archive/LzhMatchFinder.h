#pragma once
// Finds the longest earlier occurrence of the bytes at a position, within the
// 4096-byte window, by hash chains over 3-byte prefixes with a bounded walk.
// Only bytes of the data itself are candidates, never the decoder's initial
// window content, so any decoder of the stream form reads the same bytes.
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
  // The best match at pos; every position before pos must have been inserted.
  Match find(std::size_t pos) const;
  // Makes pos a candidate for later positions.
  void insert(std::size_t pos);

private:
  static constexpr unsigned kHashBits = 15;
  static constexpr unsigned kMaxChain = 48;
  unsigned hashAt(std::size_t pos) const;

  std::span<const std::uint8_t> data_;
  std::unique_ptr<std::int32_t[]> head_; // newest position of each hash, or -1
  std::unique_ptr<std::int32_t[]> prev_; // older position of the same hash, by position mod 4096
};

} // namespace kalvora::lzh
