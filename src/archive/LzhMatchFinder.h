#pragma once
// Finds the earlier occurrences of the bytes at a position within the 4096-byte
// window: positions with the same 3-byte hash are kept in a binary search tree
// ordered by the bytes that follow them, the newest at the root, so one walk
// down from the root meets, for every length, the nearest match of that length
// (the cheapest to code). Only bytes of the data itself are candidates, never
// the decoder's initial window content, so any decoder of the stream form reads
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
  // maxDepth bounds the nodes one walk visits; the tree tells positions apart
  // by their first niceLength bytes only, and a match that long is extended as
  // far as it goes on its own.
  MatchFinder(std::span<const std::uint8_t> data, unsigned maxDepth, unsigned niceLength);
  // The matches at pos, each longer and farther than the one before, so that
  // out[k] is the nearest match of any length above out[k - 1]'s; returns their
  // count, at most kMaxMatch. Makes pos a candidate for later positions: every
  // position goes through find or insert once, in order.
  unsigned find(std::size_t pos, Match* out) { return walk(pos, out); }
  // Makes pos a candidate without reporting its matches.
  void insert(std::size_t pos) { walk(pos, nullptr); }

private:
  unsigned walk(std::size_t pos, Match* out);
  template <bool kWords> unsigned walk(std::size_t pos, std::size_t room, Match* out);

  std::span<const std::uint8_t> data_;
  unsigned maxDepth_;
  unsigned niceLength_;
  std::unique_ptr<std::int32_t[]> head_; // newest position of each 3-byte hash, or -1
  // The two subtrees of each position (smaller, larger), by position mod kSlots.
  std::unique_ptr<std::int32_t[]> sons_;
};

} // namespace kalvora::lzh
