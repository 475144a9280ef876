// LZH encoding: LZSS over the 4096-byte window (matches of 3 to 60 bytes, one
// step of lazy evaluation), coded by the stream writer.
#include <memory>

#include "archive/ArchiveWriter.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhMatchFinder.h"

namespace kalvora {
namespace {

using namespace lzh;

constexpr unsigned kGoodEnough = 32; // a match this long is taken without looking one byte on

} // namespace

void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) { lzhEncode(data, out, nullptr); }

void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, LzhEncodeStats* stats) {
  out.reserve(out.size() + data.size() / 2 + 64);
  const auto writer = std::make_unique<LzhStreamWriter>(out);
  MatchFinder finder(data);
  LzhEncodeStats counts;

  std::size_t pos = 0;
  Match match = data.empty() ? Match{} : finder.find(0);
  while (pos < data.size()) {
    finder.insert(pos);
    const bool tryNext = match.length < kGoodEnough && pos + 1 < data.size();
    const Match next = tryNext ? finder.find(pos + 1) : Match{};
    if (match.length == 0 || next.length > match.length) {
      // A byte, or a byte before a longer match one step on.
      writer->literal(data[pos]);
      ++counts.literals;
      ++pos;
      match = next;
      continue;
    }
    writer->match(match.length, match.distance);
    ++counts.matches;
    for (const std::size_t end = pos + match.length; ++pos < end;)
      finder.insert(pos);
    match = pos < data.size() ? finder.find(pos) : Match{};
  }
  writer->finish();
  if (stats) {
    counts.treeRebuilds = writer->treeRebuilds();
    *stats = counts;
  }
}

} // namespace kalvora
