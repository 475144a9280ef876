// LZH encoding: LZSS over the 4096-byte window (matches of 3 to 60 bytes, one
// step of lazy evaluation weighed by the bits each choice costs in the current
// adaptive codes), coded by the stream writer.
#include <memory>

#include "archive/ArchiveWriter.h"
#include "archive/LzhEncoder.h"
#include "archive/LzhMatchFinder.h"

namespace kalvora {
namespace {

using namespace lzh;

constexpr unsigned kMaxChain = 128; // candidates walked per search
constexpr unsigned kNextChain = 96; // the same for the look one byte on
constexpr unsigned kGoodLength = 8; // after a match this long, the look one byte on walks a quarter of that
constexpr unsigned kLazyMax = 12;   // a match this long is taken without looking one byte on
// After this many bytes in a row coded as bytes the data look incompressible:
// until a match is coded, only every fourth position is searched. Every one
// stays a candidate, so a repeat of these bytes is still found at any distance.
constexpr unsigned kLiteralRun = 256;

// Whether to code the byte at pos and then next instead of match. A longer next
// always wins; one of the same length when the byte and next cost fewer bits than
// match and the one further byte next covers, at the stream's bits per byte so far
// (coded bytes of coded input bytes).
bool deferTo(const Match& match, const Match& next, std::uint8_t byte, const LzhStreamWriter& writer,
             std::size_t codedBytes, std::size_t inputBytes) {
  if (next.length != match.length) return next.length > match.length;
  const double bitsPerByte =
      inputBytes == 0 ? 8.0 : 8.0 * static_cast<double>(codedBytes) / static_cast<double>(inputBytes);
  return writer.literalBits(byte) + writer.matchBits(next.length, next.distance) <
         writer.matchBits(match.length, match.distance) + bitsPerByte;
}

// Whether the three bytes of a 3-byte match cost fewer bits as bytes.
bool cheaperAsBytes(const Match& match, const std::uint8_t* bytes, const LzhStreamWriter& writer) {
  return match.length == 3 &&
         writer.literalBits(bytes[0]) + writer.literalBits(bytes[1]) + writer.literalBits(bytes[2]) <
             writer.matchBits(match.length, match.distance);
}

} // namespace

void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out) { lzhEncode(data, out, nullptr); }

void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out, LzhEncodeStats* stats) {
  const std::size_t start = out.size();
  out.reserve(start + data.size() / 2 + 64);
  const auto writer = std::make_unique<LzhStreamWriter>(out);
  MatchFinder finder(data);
  LzhEncodeStats counts;

  std::size_t pos = 0;
  Match match = data.empty() ? Match{} : finder.find(0, kMaxChain);
  unsigned literalRun = 0;
  while (pos < data.size()) {
    const bool sparse = literalRun >= kLiteralRun && match.length == 0;
    finder.insert(pos);
    Match next;
    if (match.length < kLazyMax && pos + 1 < data.size() && (!sparse || pos % 4 == 0))
      next = finder.find(pos + 1, match.length >= kGoodLength ? kNextChain / 4 : kNextChain);
    if (match.length == 0 || deferTo(match, next, data[pos], *writer, writer->bytesWritten() - start, pos) ||
        cheaperAsBytes(match, data.data() + pos, *writer)) {
      writer->literal(data[pos]);
      ++counts.literals;
      ++literalRun;
      ++pos;
      match = next;
      continue;
    }
    writer->match(match.length, match.distance);
    ++counts.matches;
    literalRun = 0;
    for (const std::size_t end = pos + match.length; ++pos < end;)
      finder.insert(pos);
    match = pos < data.size() ? finder.find(pos, kMaxChain) : Match{};
  }
  writer->finish();
  if (stats) {
    counts.treeRebuilds = writer->treeRebuilds();
    *stats = counts;
  }
}

} // namespace kalvora
