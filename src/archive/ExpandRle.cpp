// Run-length decoding: 0x94 n repeats the previous byte n - 1 times, 0x94 0
// stands for 0x94 itself. Literal spans are copied whole between escapes.
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "archive/ByteSink.h"
#include "archive/ByteSource.h"
#include "archive/ExpandMethods.h"

namespace kalvora {
namespace {

constexpr std::uint8_t kRleEscape = 0x94;

// The machine's word: eight bytes at a time on 64-bit targets, four on 32-bit
// ones, where a 64-bit word would cost two registers and a library call to scan.
using Word = std::uintptr_t;
constexpr Word kOnes = ~Word{0} / 0xFF; // 0x01 in every byte

// A bit at the top of the lowest byte of word that is the escape (exact for the
// lowest; bits above it may be false alarms), or 0.
Word escapeMask(Word word) {
  const Word x = word ^ (kOnes * kRleEscape);
  return (x - kOnes) & ~x & (kOnes * 0x80);
}

// Copies the bytes before the next escape, at most span of them; their count.
// May write up to a word's size - 1 bytes more, inside span.
std::size_t copyLiterals(const std::uint8_t* p, std::size_t span, std::uint8_t* out) {
  std::size_t n = 0;
  if constexpr (std::endian::native == std::endian::little) {
    // Most spans between escapes are short: a word at a time first.
    for (; n + sizeof(Word) <= span && n < 64; n += sizeof(Word)) {
      Word word;
      std::memcpy(&word, p + n, sizeof word);
      std::memcpy(out + n, &word, sizeof word);
      if (const Word mask = escapeMask(word)) return n + static_cast<std::size_t>(std::countr_zero(mask)) / 8;
    }
    if (n >= 64) { // a long one: the library's scan and copy do better
      const auto* escape = static_cast<const std::uint8_t*>(std::memchr(p + n, kRleEscape, span - n));
      const std::size_t end = escape ? static_cast<std::size_t>(escape - p) : span;
      std::memcpy(out + n, p + n, end - n);
      return end;
    }
  }
  for (; n < span && p[n] != kRleEscape; ++n)
    out[n] = p[n];
  return n;
}

} // namespace

Result<std::uint32_t> expandRle(const ExpandJob& job) {
  ByteSource in(job.source, job.compressedSize, job.progress, job.platform);
  ByteSink sink(job.dest, job.platform);
  std::uint8_t* out = sink.begin();
  std::uint8_t last = 0;
  // A member never grows past its declared size: that is all the free-space
  // test allowed, while a run of counts could expand its data 127-fold.
  auto left = static_cast<std::size_t>(std::max<std::int32_t>(job.expandedSize, 0));
  while (left != 0) {
    if (out >= sink.blockEnd()) {
      out = sink.flush(out);
      if (sink.failed()) break;
    }
    if (in.cursor() == in.end() && !in.load()) break;
    const std::uint8_t* p = in.cursor();
    const std::size_t span =
        std::min({static_cast<std::size_t>(in.end() - p), static_cast<std::size_t>(sink.blockEnd() - out), left});
    const std::size_t literals = copyLiterals(p, span, out);
    if (literals != 0) {
      out += literals;
      left -= literals;
      last = p[literals - 1];
      in.setCursor(p + literals);
      continue;
    }
    in.setCursor(p + 1);
    const std::uint8_t count = in.fetch(); // 0 at end of input
    if (count == 0) {
      *out++ = kRleEscape;
      --left;
    } else {
      const std::size_t repeats = std::min<std::size_t>(count - 1u, left);
      std::memset(out, last, repeats);
      out += repeats;
      left -= repeats;
    }
    last = kRleEscape;
  }
  // Data left over after the declared size are passed over, not decoded.
  if (left == 0 && !sink.failed()) in.skipRest();
  return sink.finish(out);
}

} // namespace kalvora
