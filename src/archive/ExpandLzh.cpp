// LZSS with adaptive Huffman coding: symbols 0..255 are bytes, 256..313 match
// lengths 3..60, each match followed by its position in the 4096-byte window.
// The window is the 4096 bytes before the output cursor in the sink's buffer.
#include <bit>
#include <cstring>
#include <memory>

#include "archive/ByteSink.h"
#include "archive/ByteSource.h"
#include "archive/ExpandMethods.h"
#include "archive/LzhBitReader.h"
#include "archive/LzhPositionCode.h"
#include "archive/LzhTreeUpdate.h"

namespace kalvora {
namespace {

using namespace lzh;

// A legitimate stream needs at most a byte or two of zero-fill past its end;
// beyond this the data have run out and decoding stops.
constexpr std::uint32_t kMaxZeroFill = 4;

// Where the first kBits bits of a code led from the root when last walked:
// the nodes the walk recorded, down to a leaf or kBits deep. The walk goes on
// from the last node's son, so an entry holds while the sons of the nodes
// above its last stay; a move that changes one empties the entries through it,
// and they are kept again from the next walks that miss them.
class WalkTable {
public:
  static constexpr unsigned kBits = 7;
  struct alignas(32) Entry {
    std::uint16_t node[kBits];
    std::uint16_t depth; // 0: empty
    std::uint16_t last;  // node[depth - 1]
  };

  WalkTable() { clear(); }

  void clear() {
    std::memset(entries_, 0, sizeof entries_);
    std::memset(depthOf_, 0, sizeof depthOf_);
  }

  // The entry of the bits at the top of peeked, or null.
  KALVORA_HOT const Entry* find(std::uint32_t peeked) const {
    const Entry& e = entries_[peeked >> (32 - kBits)];
    return e.depth != 0 ? &e : nullptr;
  }

  // Keeps the first nodes of a walk over peeked's bits.
  void keep(std::uint32_t peeked, const std::uint16_t* path, unsigned depth) {
    Entry& e = entries_[peeked >> (32 - kBits)];
    e.depth = static_cast<std::uint16_t>(depth < kBits ? depth : kBits);
    std::memcpy(e.node, path, e.depth * sizeof e.node[0]);
    e.last = e.node[e.depth - 1];
    for (unsigned d = 1; d < e.depth; ++d) {
      depthOf_[path[d - 1]] = static_cast<std::uint8_t>(d);
      firstOf_[path[d - 1]] = static_cast<std::uint8_t>(peeked >> (32 - d) << (kBits - d));
    }
  }

  // After the sons of nodes n and l changed.
  KALVORA_HOT void moved(unsigned n, unsigned l) {
    if ((depthOf_[n] | depthOf_[l]) != 0) {
      forget(n);
      forget(l);
    }
  }
  void rebuilt() { clear(); }

private:
  void forget(unsigned node) {
    const unsigned d = depthOf_[node];
    if (d == 0) return;
    const unsigned first = firstOf_[node];
    for (unsigned e = first; e < first + (1u << (kBits - d)); ++e)
      entries_[e].depth = 0;
    depthOf_[node] = 0;
  }

  Entry entries_[1u << kBits];
  std::uint8_t depthOf_[kNodes]; // depth of a node above the last of entries kept, else 0
  std::uint8_t firstOf_[kNodes]; // the first of those entries
};

// The decoder's tree and the table of its walks, told of every move.
struct DecoderTree {
  Tree tree;
  WalkTable table;
};

// Bits a symbol and its position take at most on the fast path: a walk over
// the next 32 bits and a position of up to 14, whose two reads start at most
// 32 + 8 bits in, each finding more than 8 bits left.
constexpr unsigned kPeekedWalk = 32;
constexpr unsigned kFastBits = kPeekedWalk + 8 + 9;

// Where a walk ended: the leaf's code (kNodes + symbol) and the end of the record.
struct WalkEnd {
  unsigned node;
  std::uint16_t* p;
};

// Walks from node on over the bits at the top of w to a leaf, recording the
// nodes from p on. Not inlined: on its own its few variables stay in
// registers, which a 32-bit build cannot give them in the decoding loop; both
// results come back in registers.
[[gnu::noinline]] WalkEnd walkPeeked(const Tree& t, unsigned n, std::uint32_t w, std::uint16_t* p) {
  while (n < kNodes) {
    n += w >> 31;
    w <<= 1;
    *p++ = static_cast<std::uint16_t>(n);
    n = t.son[n];
  }
  return {n, p};
}

// Walks from the root with the bits read one by one, from node on.
KALVORA_HOT unsigned walkByBits(const Tree& t, BitReader& bits, unsigned node, std::uint16_t*& p) {
  while (node < kNodes) {
    node += bits.bit();
    *p++ = static_cast<std::uint16_t>(node);
    node = t.son[node];
  }
  return node;
}

KALVORA_HOT unsigned positionByBits(BitReader& bits) {
  const unsigned lead = bits.bits(8);
  const unsigned extra = kPositionCode.lengthOf[lead] - 2u;
  const unsigned low = ((lead << extra) | bits.bits(extra)) & 63u;
  return static_cast<unsigned>(kPositionCode.upperOf[lead]) << 6 | low;
}

// The position from the next 14 bits, already buffered.
KALVORA_HOT unsigned positionPeeked(BitReader& bits) {
  const unsigned v = bits.peek32() >> 18;
  const unsigned lead = v >> 6;
  const unsigned length = kPositionCode.lengthOf[lead];
  bits.skip(length + 6);
  return static_cast<unsigned>(kPositionCode.upperOf[lead]) << 6 | ((v >> (8 - length)) & 63u);
}

// Walks the tree to a leaf and counts its symbol. With enough bits buffered
// the walk starts from the table and reads the peeked bits; positionPeekable
// then tells that the position of a match may be peeked too.
KALVORA_HOT unsigned decodeSymbol(DecoderTree& d, BitReader& bits, bool& positionPeekable) {
  const Tree& t = d.tree;
  const std::uint16_t* upper = nullptr; // the walk's first nodes, when the table has them
  unsigned upperDepth = 0;
  std::uint16_t path[Tree::kMaxDepth]; // the nodes walked below them
  std::uint16_t* p = path;
  unsigned node = t.son[kRoot];
  if (bits.buffered() < kFastBits) bits.topUp();
  if (bits.buffered() >= kFastBits) {
    const std::uint32_t peeked = bits.peek32();
    std::uint32_t w = peeked;
    if (const WalkTable::Entry* start = d.table.find(peeked)) {
      upper = start->node;
      upperDepth = start->depth;
      w <<= upperDepth;
      node = t.son[start->last];
    }
    const WalkEnd end = walkPeeked(t, node, w, p);
    node = end.node;
    p = end.p;
    if (!upper) d.table.keep(peeked, path, static_cast<unsigned>(p - path));
    const unsigned depth = upperDepth + static_cast<unsigned>(p - path);
    if (depth <= kPeekedWalk) {
      bits.skip(depth);
      positionPeekable = true;
    } else { // deeper than the peeked bits reach: the walk past them went astray
      bits.skip(kPeekedWalk);
      p = path + (kPeekedWalk - upperDepth);
      node = walkByBits(t, bits, t.son[p[-1]], p);
    }
  } else {
    node = walkByBits(t, bits, node, p);
  }
  const unsigned symbol = node - kNodes;
  update(d.tree, symbol, upper, upperDepth, path, static_cast<unsigned>(p - path), d.table);
  return symbol;
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

Result<std::uint32_t> expandLzh(const ExpandJob& job) { return expandLzh(job, nullptr); }

Result<std::uint32_t> expandLzh(const ExpandJob& job, LzhDecodeStats* stats, std::uint8_t windowFill, bool wordSearch) {
  if (job.expandedSize <= 0) return 0u;
  const auto decoder = std::make_unique<DecoderTree>();
  decoder->tree.searchBySse2 = decoder->tree.searchBySse2 && !wordSearch;
  ByteSource in(job.source, job.compressedSize, job.progress, job.platform);
  ByteSink sink(job.dest, job.platform, kWindow, windowFill);
  BitReader bits(in);

  std::uint8_t* out = sink.begin();
  std::int64_t left = job.expandedSize;
  while (left > 0 && bits.zeroFill() <= kMaxZeroFill) {
    bool positionPeekable = false;
    const unsigned symbol = decodeSymbol(*decoder, bits, positionPeekable);
    if (symbol < 256) {
      *out++ = static_cast<std::uint8_t>(symbol);
      --left;
    } else {
      const unsigned length = symbol - 256 + kThreshold + 1;
      const unsigned position = positionPeekable ? positionPeeked(bits) : positionByBits(bits);
      copyMatch(out, position + 1, length);
      out += length;
      left -= length;
    }
    if (out >= sink.blockEnd()) {
      out = sink.flush(out);
      if (sink.failed()) break;
    }
  }
  if (stats) {
    stats->treeRebuilds = decoder->tree.rebuilds();
    stats->inputExhausted = left > 0;
  }
  return sink.finish(out);
}

} // namespace kalvora
