// LZSS with adaptive Huffman coding: symbols 0..255 are bytes, 256..313 match
// lengths 3..60, each match followed by its position in the 4096-byte window.
// The window is the 4096 bytes before the output cursor in the sink's buffer.
#include <cstring>
#include <memory>

#include "archive/ByteSink.h"
#include "archive/ByteSource.h"
#include "archive/ExpandMethods.h"
#include "archive/LzhBitReader.h"
#include "archive/LzhPositionCode.h"
#include "archive/LzhTree.h"

namespace kalvora {
namespace {

using namespace lzh;

// A legitimate stream needs at most a byte or two of zero-fill past its end;
// beyond this the data have run out and decoding stops.
constexpr std::uint32_t kMaxZeroFill = 4;

// Decodes a symbol and updates the tree, handing it the path just walked.
unsigned decodeSymbol(Tree& tree, BitReader& bits) {
  std::uint16_t path[Tree::kMaxDepth];
  std::uint16_t* top = path + Tree::kMaxDepth; // filled downwards: the leaf ends up first
  unsigned node = tree.son[kRoot];
  while (node < kNodes) {
    const unsigned child = node + bits.bit();
    *--top = static_cast<std::uint16_t>(child);
    node = tree.son[child];
  }
  const unsigned symbol = node - kNodes;
  tree.update(symbol, top, static_cast<unsigned>(path + Tree::kMaxDepth - top));
  return symbol;
}

unsigned decodePosition(BitReader& bits) {
  const unsigned lead = bits.bits(8);
  const unsigned extra = kPositionCode.lengthOf[lead] - 2u;
  const unsigned low = ((lead << extra) | bits.bits(extra)) & 63u;
  return static_cast<unsigned>(kPositionCode.upperOf[lead]) << 6 | low;
}

// Copies length bytes from distance back; the copy may overlap what it writes.
inline void copyMatch(std::uint8_t* out, unsigned distance, unsigned length) {
  const std::uint8_t* from = out - distance;
  if (distance >= 8) {
    // May write up to 7 bytes past the match, into the sink's slack.
    for (unsigned k = 0; k < length; k += 8)
      std::memcpy(out + k, from + k, 8);
  } else {
    for (unsigned k = 0; k < length; ++k)
      out[k] = from[k];
  }
}

} // namespace

std::uint32_t expandLzh(const ExpandJob& job) { return expandLzh(job, nullptr); }

std::uint32_t expandLzh(const ExpandJob& job, LzhDecodeStats* stats, std::uint8_t windowFill) {
  if (job.expandedSize <= 0) return 0;
  const auto tree = std::make_unique<Tree>();
  ByteSource in(job.source, job.compressedSize, job.progress, job.platform);
  ByteSink sink(job.dest, job.platform, kWindow, windowFill);
  BitReader bits(in);

  std::uint8_t* out = sink.begin();
  std::int64_t left = job.expandedSize;
  while (left > 0 && bits.zeroFill() <= kMaxZeroFill) {
    const unsigned symbol = decodeSymbol(*tree, bits);
    if (symbol < 256) {
      *out++ = static_cast<std::uint8_t>(symbol);
      --left;
    } else {
      const unsigned length = symbol - 256 + kThreshold + 1;
      copyMatch(out, decodePosition(bits) + 1, length);
      out += length;
      left -= length;
    }
    if (out >= sink.blockEnd()) out = sink.flush(out);
  }
  if (stats) {
    stats->treeRebuilds = tree->rebuilds();
    stats->inputExhausted = left > 0;
  }
  return sink.finish(out);
}

} // namespace kalvora
