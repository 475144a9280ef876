// Run-length decoding: 0x94 n repeats the previous byte n - 1 times, 0x94 0
// stands for 0x94 itself. Literal spans are copied whole between escapes.
#include <algorithm>
#include <cstring>

#include "archive/ByteSink.h"
#include "archive/ByteSource.h"
#include "archive/ExpandMethods.h"

namespace kalvora {
namespace {
constexpr std::uint8_t kRleEscape = 0x94;
}

std::uint32_t expandRle(const ExpandJob& job) {
  ByteSource in(job.source, job.compressedSize, job.progress, job.platform);
  ByteSink sink(job.dest, job.platform);
  std::uint8_t* out = sink.begin();
  std::uint8_t last = 0;
  for (;;) {
    if (out >= sink.blockEnd()) out = sink.flush(out);
    if (in.cursor() == in.end() && !in.load()) break;
    const std::uint8_t* p = in.cursor();
    const auto span = std::min(static_cast<std::size_t>(in.end() - p), static_cast<std::size_t>(sink.blockEnd() - out));
    const auto* escape = static_cast<const std::uint8_t*>(std::memchr(p, kRleEscape, span));
    const std::size_t literals = escape ? static_cast<std::size_t>(escape - p) : span;
    if (literals != 0) {
      std::memcpy(out, p, literals);
      out += literals;
      last = p[literals - 1];
      in.setCursor(p + literals);
      continue;
    }
    in.setCursor(p + 1);
    const std::uint8_t count = in.fetch(); // 0 at end of input
    if (count == 0) {
      *out++ = kRleEscape;
    } else {
      std::memset(out, last, count - 1u);
      out += count - 1u;
    }
    last = kRleEscape;
  }
  return sink.finish(out);
}

} // namespace kalvora
