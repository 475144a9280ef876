// The LZH engine against the method at its plainest: input fetched one byte at
// a time whenever 8 or fewer bits are left, the tree walked one bit at a time
// and updated through its parent links, matches copied byte by byte. Both must
// give the same bytes and the same sequence of progress reports, yields and
// writes, for well-formed, cut and random streams alike.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ArchiveTestUtil.h"
#include "archive/ByteSink.h"
#include "archive/ByteSource.h"
#include "archive/ExpandMethods.h"
#include "archive/LzhArrivals.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhPositionCode.h"
#include "archive/LzhTree.h"

namespace kalvora {
namespace {

using namespace lzh;
using test::Bytes;

class ReferenceBits {
public:
  explicit ReferenceBits(ByteSource& in) : in_(in) {}
  // n from 1 to 8, as one read.
  unsigned bits(unsigned n) {
    if (count_ <= 8) {
      buffer_ |= static_cast<std::uint32_t>(in_.fetch()) << (24 - count_);
      if (in_.endOfInput()) ++zeroFill_;
      count_ += 8;
    }
    const unsigned v = buffer_ >> (32 - n);
    buffer_ <<= n;
    count_ -= n;
    return v;
  }
  std::uint32_t zeroFill() const { return zeroFill_; }

private:
  ByteSource& in_;
  std::uint32_t buffer_ = 0;
  unsigned count_ = 0;
  std::uint32_t zeroFill_ = 0;
};

struct Decoded {
  std::uint32_t sum = 0;
  LzhDecodeStats stats;
};

// Counts symbol: each node from its leaf up gains one, and one that now exceeds
// the next node's frequency trades places with the last node still below it,
// found one node at a time.
void referenceUpdate(Tree& t, unsigned symbol) {
  const auto adopt = [&t](unsigned son, unsigned parent) {
    t.prnt[son] = static_cast<std::uint16_t>(parent);
    if (son < kNodes) t.prnt[son + 1] = static_cast<std::uint16_t>(parent);
  };
  if (t.freq[kRoot] == kMaxFreq) t.rebuild();
  unsigned n = t.prnt[symbol + kNodes];
  do {
    const unsigned k = ++t.freq[n];
    if (k > t.freq[n + 1]) {
      unsigned l = n + 1;
      while (k > t.freq[l + 1])
        ++l;
      t.freq[n] = t.freq[l];
      t.freq[l] = static_cast<std::uint16_t>(k);
      const unsigned i = t.son[n], j = t.son[l];
      t.son[l] = static_cast<std::uint16_t>(i);
      t.son[n] = static_cast<std::uint16_t>(j);
      adopt(i, l);
      adopt(j, n);
      n = l;
    }
  } while ((n = t.prnt[n]) != 0);
}

Decoded referenceExpand(const ExpandJob& job) {
  Decoded result;
  if (job.expandedSize <= 0) return result;
  auto tree = std::make_unique<Tree>();
  ByteSource in(job.source, job.compressedSize, job.progress, job.platform);
  ByteSink sink(job.dest, job.platform, kWindow, 0x20);
  ReferenceBits bits(in);
  std::uint8_t* out = sink.begin();
  std::int64_t left = job.expandedSize;
  while (left > 0 && bits.zeroFill() <= 4) {
    unsigned node = tree->son[kRoot];
    while (node < kNodes)
      node = tree->son[node + bits.bits(1)];
    const unsigned symbol = node - kNodes;
    referenceUpdate(*tree, symbol);
    if (symbol < 256) {
      *out++ = static_cast<std::uint8_t>(symbol);
      --left;
    } else {
      const unsigned lead = bits.bits(8);
      const unsigned extra = kPositionCode.lengthOf[lead] - 2u;
      const unsigned low = ((lead << extra) | bits.bits(extra)) & 63u;
      const unsigned distance = (static_cast<unsigned>(kPositionCode.upperOf[lead]) << 6 | low) + 1;
      const unsigned length = symbol - 256 + kThreshold + 1;
      for (unsigned k = 0; k < length; ++k, ++out)
        *out = out[-static_cast<std::ptrdiff_t>(distance)];
      left -= length;
    }
    if (out >= sink.blockEnd()) out = sink.flush(out);
  }
  result.stats.treeRebuilds = tree->rebuilds();
  result.stats.inputExhausted = left > 0;
  const Result<std::uint32_t> sum = sink.finish(out);
  EXPECT_TRUE(sum.ok());
  result.sum = sum.ok() ? sum.value() : 0;
  return result;
}

// Everything the outside sees, in order.
struct Events {
  std::string log;
};

class LoggingPlatform : public MemoryPlatform {
public:
  explicit LoggingPlatform(Events& events) : events_(events) {}
  void yield() override { events_.log += "y "; }

private:
  Events& events_;
};

class LoggingStream : public MemoryStream {
public:
  explicit LoggingStream(Events& events) : events_(events) {}
  std::size_t write(const void* buffer, std::size_t n) override {
    events_.log += "w" + std::to_string(n) + " ";
    return MemoryStream::write(buffer, n);
  }

private:
  Events& events_;
};

struct Run {
  Decoded decoded;
  Bytes bytes;
  std::string events;
};

// abandonAt: the progress report at which the handler abandons the member (-1: never).
template <typename Expand>
Run run(Expand expand, const Bytes& data, std::int32_t compressedSize, std::int32_t expandedSize, int abandonAt) {
  Events events;
  LoggingPlatform platform(events);
  MemoryStream source(data);
  LoggingStream dest(events);
  int reports = 0;
  TShowProgressEvent progress = [&](std::int32_t& p) {
    events.log += "p" + std::to_string(p) + " ";
    if (reports++ == abandonAt) p = -1;
  };
  const ExpandJob job{source, dest, platform, compressedSize, expandedSize, &progress, nullptr, "LZH"};
  Run r;
  r.decoded = expand(job);
  r.bytes = dest.bytes();
  r.events = events.log;
  return r;
}

void expectSameAsReference(const Bytes& data, std::int32_t compressedSize, std::int32_t expandedSize, int abandonAt,
                           const std::string& what) {
  const Run reference = run(referenceExpand, data, compressedSize, expandedSize, abandonAt);
  for (const bool wordSearch : {false, true}) {
    const Run ours = run(
        [wordSearch](const ExpandJob& job) {
          Decoded d;
          const Result<std::uint32_t> sum = expandLzh(job, &d.stats, 0x20, wordSearch);
          EXPECT_TRUE(sum.ok());
          d.sum = sum.ok() ? sum.value() : 0;
          return d;
        },
        data, compressedSize, expandedSize, abandonAt);
    const std::string how = what + (wordSearch ? ", searching by words" : "");
    EXPECT_EQ(ours.bytes, reference.bytes) << how;
    EXPECT_EQ(ours.decoded.sum, reference.decoded.sum) << how;
    EXPECT_EQ(ours.events, reference.events) << how;
    EXPECT_EQ(ours.decoded.stats.treeRebuilds, reference.decoded.stats.treeRebuilds) << how;
    EXPECT_EQ(ours.decoded.stats.inputExhausted, reference.decoded.stats.inputExhausted) << how;
  }
}

// Bytes of very unequal frequencies, for deep trees: byte b about twice as
// common as b + 1, with stretches of a few bytes repeated for matches.
Bytes skewed(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes out;
  while (out.size() < n) {
    if (out.size() > 64 && rng() % 8 == 0) {
      const std::size_t from = out.size() - 1 - rng() % 64, length = 3 + rng() % 40;
      for (std::size_t k = 0; k < length; ++k)
        out.push_back(out[from + k]);
    } else {
      std::uint8_t b = 0;
      while (b < 255 && rng() % 2 == 0)
        ++b;
      out.push_back(b);
    }
  }
  out.resize(n);
  return out;
}

TEST(LzhReferenceDecoder, EncodedStreamsWholeAndCut) {
  const Bytes sets[] = {skewed(300000, 1), test::binaryLike(200000, 2), test::textLike(120000, 3),
                        test::randomBytes(40000, 4)};
  for (const Bytes& data : sets) {
    Bytes lzh;
    lzhEncode(data, lzh);
    const auto size = static_cast<std::int32_t>(data.size());
    const auto packed = static_cast<std::int32_t>(lzh.size());
    expectSameAsReference(lzh, packed, size, -1, "whole");
    expectSameAsReference(lzh, packed, size / 3, -1, "first third");
    for (std::int32_t cut : {1, 2, 7, 8, 9, 8191, 8192, 8193, packed / 2, packed - 1})
      expectSameAsReference(lzh, std::min(cut, packed), size, -1, "cut at " + std::to_string(cut));
    expectSameAsReference(lzh, packed, size, 1, "abandoned");
  }
}

TEST(LzhEncode, WidePricesCodeTheSameStreams) {
  if (widestPriceMatches() == priceMatches) GTEST_SKIP() << "this processor prices one length at a time only";
  // Matches of every length, cut by the blocks' and the data's ends.
  unsigned compared = 0;
  for (std::size_t n : {1u, 3u, 4u, 62u, 1025u, 4099u, 30011u})
    for (unsigned seed = 1; seed <= 3; ++seed)
      for (const Bytes& data : {skewed(n, seed), test::textLike(n, seed), test::longRuns(n, seed)}) {
        Bytes wide, narrow;
        lzhEncode(data, wide, nullptr, true);
        lzhEncode(data, narrow, nullptr, false);
        EXPECT_EQ(wide, narrow) << n << " bytes, seed " << seed;
        ++compared;
      }
  EXPECT_EQ(compared, 7u * 3 * 3);
}

TEST(LzhReferenceDecoder, RandomStreams) {
  // Noise is a valid stream of random symbols, until the zero-fill rule stops it.
  for (unsigned seed = 1; seed <= 40; ++seed) {
    const Bytes noise = test::randomBytes(seed * 997 % 20000 + seed, seed);
    expectSameAsReference(noise, static_cast<std::int32_t>(noise.size()), 1 << 22, -1, "seed " + std::to_string(seed));
  }
}

} // namespace
} // namespace kalvora
