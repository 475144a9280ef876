// LZH encoding: LZSS over the 4096-byte window (matches of 3 to 60 bytes),
// parsed block by block into the sequence of bytes and matches that costs the
// fewest bits in the adaptive codes as they stand at the block's start, coded
// by the stream writer.
#include <memory>

#include "archive/ArchiveWriter.h"
#include "archive/LzhArrivals.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhMatchFinder.h"

namespace kalvora {
namespace {

using namespace lzh;

constexpr unsigned kMaxDepth = 32;     // tree nodes one search visits
constexpr unsigned kNiceLength = 32;   // a match this long ends the block and is taken as it is
constexpr unsigned kBlockBytes = 1024; // positions parsed with one set of prices
constexpr unsigned kMaxBlock = 4 * kBlockBytes;

// The bits of each code as the block starts.
struct Prices {
  std::uint8_t symbol[kSymbols];
  LengthSteps lengths;
  void setLengthSteps() {
    for (unsigned length = kThreshold + 1; length <= kMaxMatch; ++length)
      lengths.step[length] = arrival(symbol[256 + length - kThreshold - 1], length, 0);
  }
  unsigned literal(std::uint8_t byte) const { return symbol[byte]; }
};

struct Parse {
  Arrival best[kMaxBlock + 1 + 3];
  Arrival path[kMaxBlock];
  Match matches[kMaxMatch];
};

class Encoder {
public:
  Encoder(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, PriceMatches priceMatches)
      : data_(data), writer_(std::make_unique<LzhStreamWriter>(out)), finder_(data, kMaxDepth, kNiceLength),
        parse_(std::make_unique<Parse>()), priceMatches_(priceMatches) {}

  void run(LzhEncodeStats& counts) {
    while (pos_ < data_.size())
      block(counts);
    writer_->finish();
    counts.treeRebuilds = writer_->treeRebuilds();
  }

private:
  // Parses about kBlockBytes positions from pos_ and codes them.
  void block(LzhEncodeStats& counts) {
    Parse& p = *parse_;
    Prices prices;
    writer_->codeLengths(prices.symbol);
    prices.setLengthSteps();
    // Positions up to limit may be reached; the block goes on past size until
    // no match found so far reaches further, so that none is cut at its end.
    const auto size = static_cast<unsigned>(std::min<std::size_t>(kBlockBytes, data_.size() - pos_));
    const auto limit = static_cast<unsigned>(std::min<std::size_t>(kMaxBlock, data_.size() - pos_));
    p.best[0] = 0;
    for (unsigned k = 1; k <= std::min(limit, kMaxMatch); ++k)
      p.best[k] = kUnreached;
    unsigned reach = 0;
    Match last{};
    unsigned i = 0;
    for (; i < limit && (i < size || i < reach); ++i) {
      if (i + kMaxMatch <= limit) p.best[i + kMaxMatch] = kUnreached; // the farthest a step from i reaches
      const std::size_t at = pos_ + i;
      const std::uint32_t here = costOf(p.best[i]);
      p.best[i + 1] = std::min(p.best[i + 1], arrival(here + prices.literal(data_[at]), 1, 0));
      const unsigned found = finder_.find(at, p.matches);
      if (found == 0) continue;
      const unsigned longest = p.matches[found - 1].length;
      if (longest >= kNiceLength) {
        last = p.matches[found - 1];
        break;
      }
      priceMatches_(p.best + i, p.matches, found, limit - i, here, prices.lengths);
      reach = std::max(reach, i + std::min(longest, limit - i));
    }
    emit(i, counts);
    pos_ += i;
    if (last.length != 0) {
      writer_->match(last.length, last.distance);
      ++counts.matches;
      for (const std::size_t stop = pos_ + last.length; ++pos_ < stop;)
        finder_.insert(pos_);
    }
  }

  // Codes the cheapest path from the block's start to end.
  void emit(unsigned end, LzhEncodeStats& counts) {
    Parse& p = *parse_;
    unsigned steps = 0;
    for (unsigned k = end; k != 0; k -= lengthOf(p.best[k]))
      p.path[steps++] = p.best[k];
    std::size_t at = pos_;
    while (steps != 0) {
      const Arrival s = p.path[--steps];
      if (lengthOf(s) == 1) {
        writer_->literal(data_[at]);
        ++counts.literals;
      } else {
        writer_->match(lengthOf(s), distanceOf(s));
        ++counts.matches;
      }
      at += lengthOf(s);
    }
  }

  std::span<const std::uint8_t> data_;
  std::unique_ptr<LzhStreamWriter> writer_;
  MatchFinder finder_;
  std::unique_ptr<Parse> parse_;
  PriceMatches priceMatches_;
  std::size_t pos_ = 0;
};

} // namespace

void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) { lzhEncode(data, out, nullptr); }

void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, LzhEncodeStats* stats,
               bool widePrices) {
  out.reserve(out.size() + data.size() / 2 + 64);
  LzhEncodeStats counts;
  Encoder(data, out, widePrices ? lzh::widestPriceMatches() : lzh::priceMatches).run(counts);
  if (stats) *stats = counts;
}

} // namespace kalvora
