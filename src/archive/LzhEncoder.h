#pragma once
// The LZH encoder: the stream writer that codes symbols and positions with the
// tree the decoder keeps in step, and the entry with statistics for tests and
// benchmarks.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "archive/LzhTree.h"

namespace kalvora {

// Writes LZH symbols: bytes, and matches as a length symbol and a position.
class LzhStreamWriter {
public:
  explicit LzhStreamWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void literal(std::uint8_t byte) { symbol(byte); }
  // length 3 to 60, distance 1 to 4096 bytes back.
  void match(unsigned length, unsigned distance);
  // The bits each symbol's code takes now, symbol by symbol.
  void codeLengths(std::uint8_t (&lengths)[lzh::kSymbols]) const;
  // Pads the last byte with zero bits and appends what is held back.
  void finish();
  // The whole bytes coded so far, in out or held back.
  std::size_t bytesWritten() const { return out_.size() + held_ + count_ / 8; }
  std::uint32_t treeRebuilds() const { return tree_.rebuilds(); }

private:
  void symbol(unsigned v);
  void put(std::uint32_t value, unsigned n);
  void flush();

  std::vector<std::uint8_t>& out_;
  std::uint64_t acc_ = 0; // the last count_ bits put, below 32, at the bottom
  unsigned count_ = 0;
  // Bytes held back from out_, written four at a time.
  static constexpr unsigned kHeld = 4096;
  std::uint8_t heldBytes_[kHeld];
  unsigned held_ = 0;
  lzh::Tree tree_;
  std::uint16_t path_[lzh::Tree::kMaxDepth];
};

struct LzhEncodeStats {
  std::uint32_t treeRebuilds = 0;
  std::uint64_t matches = 0;
  std::uint64_t literals = 0;
};

// Appends the LZH data of data to out, as lzhEncode does. widePrices: the
// parse prices four match lengths at once where the processor can (the same
// stream either way; a test asks for the other).
void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, LzhEncodeStats* stats,
               bool widePrices = true);

} // namespace kalvora
