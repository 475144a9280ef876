#include "archive/LzhEncoder.h"
#include "archive/LzhPositionCode.h"
#include "archive/LzhTreeUpdate.h"

namespace kalvora {

using namespace lzh;

void LzhStreamWriter::put(std::uint64_t value, unsigned n) {
  // Up to 56 bits at a time, value right-aligned; whole bytes go out at once.
  acc_ = acc_ << n | value;
  count_ += n;
  while (count_ >= 8) {
    count_ -= 8;
    out_.push_back(static_cast<std::uint8_t>(acc_ >> count_));
  }
}

void LzhStreamWriter::symbol(unsigned v) {
  // The path from the leaf up, recorded from the end of path_ back so that it
  // reads from the root's child down: a node at an odd index is its parent's
  // second child.
  std::uint64_t code = 0;
  unsigned length = 0;
  std::uint16_t* p = path_ + Tree::kMaxDepth;
  for (unsigned k = tree_.prnt[v + kNodes]; k != kRoot; k = tree_.prnt[k]) {
    *--p = static_cast<std::uint16_t>(k);
    code |= static_cast<std::uint64_t>(k & 1) << length++;
  }
  put(code, length);
  NoTreeRecord none;
  update(tree_, v, nullptr, 0, p, length, none);
}

unsigned LzhStreamWriter::codeLength(unsigned v) const {
  unsigned length = 0;
  for (unsigned k = tree_.prnt[v + kNodes]; k != kRoot; k = tree_.prnt[k])
    ++length;
  return length;
}

unsigned LzhStreamWriter::matchBits(unsigned length, unsigned distance) const {
  return codeLength(256 + length - kThreshold - 1) + kPositionCode.length[(distance - 1) >> 6] + 6;
}

void LzhStreamWriter::match(unsigned length, unsigned distance) {
  symbol(256 + length - kThreshold - 1);
  const unsigned position = distance - 1;
  const unsigned upper = position >> 6;
  put(kPositionCode.code[upper], kPositionCode.length[upper]);
  put(position & 63u, 6);
}

void LzhStreamWriter::finish() {
  if (count_ != 0) put(0, 8 - count_);
}

} // namespace kalvora
