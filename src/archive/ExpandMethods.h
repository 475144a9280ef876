#pragma once
// The expansion methods: one function per Method byte, each consuming a member's
// data from the archive stream and writing the file to the output stream.
#include <cstdint>
#include <string>

#include "archive/Compress.h"

namespace kalvora {

struct ExpandJob {
  Stream& source; // positioned at the member's data
  Stream& dest;
  Platform& platform;
  std::int32_t compressedSize = 0;
  std::int32_t expandedSize = 0;
  const TShowProgressEvent* progress = nullptr; // may be null or empty
  const TExpandEvent* onExpand = nullptr;       // may be null or empty
  std::string compressId;
};

// Each returns the checksum of the bytes it delivered (0 for a stored member),
// or the error that stopped it: a refused write of the output (EWriteError),
// for a stored member a short archive (EReadError), or a custom method's own.
Result<std::uint32_t> expandStored(const ExpandJob& job);
Result<std::uint32_t> expandRle(const ExpandJob& job);
Result<std::uint32_t> expandLzh(const ExpandJob& job);
Result<std::uint32_t> expandCustom(const ExpandJob& job);

// The method of a Method byte; bytes above 3 expand nothing and give 0.
Result<std::uint32_t> expandByMethod(std::uint8_t method, const ExpandJob& job);

// The LZH decoder's internals, for tests and benchmarks.
struct LzhDecodeStats {
  std::uint32_t treeRebuilds = 0;
  bool inputExhausted = false; // stopped because the data ran out
};
// windowFill: the initial window content that a stream may refer to (spaces).
// wordSearch: the tree update searches frequencies a machine word at a time
// even where SSE2 is there.
Result<std::uint32_t> expandLzh(const ExpandJob& job, LzhDecodeStats* stats, std::uint8_t windowFill = 0x20,
                                bool wordSearch = false);

} // namespace kalvora
