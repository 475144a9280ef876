#include <bit>
#include <cstring>

#include "archive/LzhEncoder.h"
#include "archive/LzhPositionCode.h"
#include "archive/LzhTreeUpdate.h"

namespace kalvora {

using namespace lzh;

void LzhStreamWriter::flush() {
  out_.insert(out_.end(), heldBytes_, heldBytes_ + held_);
  held_ = 0;
}

// Up to 32 bits at a time, value right-aligned; whole 32-bit words are held back.
inline void LzhStreamWriter::put(std::uint32_t value, unsigned n) {
  acc_ = acc_ << n | value;
  count_ += n;
  if (count_ >= 32) {
    count_ -= 32;
    auto word = static_cast<std::uint32_t>(acc_ >> count_);
    if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap32(word);
    std::memcpy(heldBytes_ + held_, &word, 4);
    if ((held_ += 4) == kHeld) flush();
  }
}

void LzhStreamWriter::symbol(unsigned v) {
  // The path from the leaf up, recorded from the end of path_ back so that it
  // reads from the root's child down: a node at an odd index is its parent's
  // second child. Codes are at most 22 bits: a leaf d deep needs a root
  // frequency of at least the (d + 1)th Fibonacci number, and the root's
  // 0x8000, which halves them all, is below the 24th.
  std::uint32_t code = 0;
  unsigned length = 0;
  std::uint16_t* p = path_ + Tree::kMaxDepth;
  for (unsigned k = tree_.prnt[v + kNodes]; k != kRoot; k = tree_.prnt[k]) {
    *--p = static_cast<std::uint16_t>(k);
    code |= (k & 1) << length++;
  }
  put(code, length);
  NoTreeRecord none;
  update(tree_, v, nullptr, 0, p, length, none);
}

void LzhStreamWriter::codeLengths(std::uint8_t (&lengths)[kSymbols]) const {
  // From the root down: a parent's frequency is its children's sum, so in the
  // tree's frequency order it stands above both.
  std::uint8_t depth[kNodes];
  depth[kRoot] = 0;
  for (unsigned j = kNodes; j-- != 0;) {
    const unsigned s = tree_.son[j];
    if (s >= kNodes) {
      lengths[s - kNodes] = depth[j];
    } else {
      depth[s] = depth[s + 1] = static_cast<std::uint8_t>(depth[j] + 1);
    }
  }
}

void LzhStreamWriter::match(unsigned length, unsigned distance) {
  symbol(256 + length - kThreshold - 1);
  const unsigned position = distance - 1;
  const unsigned upper = position >> 6;
  put(kPositionCode.code[upper], kPositionCode.length[upper]);
  put(position & 63u, 6);
}

void LzhStreamWriter::finish() {
  if (count_ % 8 != 0) put(0, 8 - count_ % 8);
  for (; count_ != 0; count_ -= 8)
    heldBytes_[held_++] = static_cast<std::uint8_t>(acc_ >> (count_ - 8));
  flush();
}

} // namespace kalvora
