#pragma once
// Buffered input of one member's compressed data: the archive stream is read in
// chunks of at most 8192 bytes, never past the member's data, and each chunk is
// reported to the progress handler once.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "archive/Compress.h"

namespace kalvora {

class ByteSource {
public:
  static constexpr std::size_t kChunkSize = 8192;

  // progress may be null or empty (no reports).
  ByteSource(Stream& archive, std::int32_t compressedSize, const TShowProgressEvent* progress, Platform& platform);

  // The next byte; 0 at end of input, which also sets the end-of-input flag.
  std::uint8_t fetch() { return cursor_ != end_ ? *cursor_++ : fetchSlow(); }
  bool endOfInput() const { return endOfInput_; }

  // The bytes of the current chunk not yet taken, for decoders that take many at once.
  const std::uint8_t* cursor() const { return cursor_; }
  const std::uint8_t* end() const { return end_; }
  void setCursor(const std::uint8_t* cursor) { cursor_ = cursor; }

  // Reads the next chunk into the (empty) buffer, reports progress and yields.
  // False at end of input: no data left, a short stream, or an abandoning handler.
  bool load();
  // Moves the archive stream past the member's data not yet read.
  void skipRest();

private:
  std::uint8_t fetchSlow() { return load() ? *cursor_++ : 0; }

  Stream& archive_;
  Platform& platform_;
  const TShowProgressEvent* progress_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  const std::uint8_t* cursor_ = nullptr;
  const std::uint8_t* end_ = nullptr;
  std::int64_t remaining_;
  std::int64_t consumed_ = 0;
  bool endOfInput_ = false;
  bool finished_ = false;
};

} // namespace kalvora
