#pragma once
// An expansion worked out beforehand: a method run over a member's data in
// memory, with everything it did to its streams, its progress handler and its
// platform recorded in order, so that the same can later be done to the real
// ones without decoding again.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "archive/ChecksummedOutput.h"
#include "archive/ExpandMethods.h"

namespace kalvora {

class RecordedExpansion {
public:
  // Storage of a fixed capacity, taken without throwing; a record past it fails.
  template <typename T> struct Store {
    std::unique_ptr<T[]> items;
    std::size_t size = 0, capacity = 0;
    bool allocate(std::size_t n);
    bool add(const T* from, std::size_t n);
    bool full = false; // something did not fit
  };
  // An archive's bytes, read into memory taken without throwing: a program
  // short of memory then leaves the member to the run instead of ending.
  using Bytes = Store<std::uint8_t>;

  // Runs method (RLE or LZH) over archive, an archive file's bytes, from the
  // member data at dataOffset, as the component would for a member of these
  // sizes. Null when *abandon is found set at a chunk of input, when the method
  // fails, or when the memory for the recording cannot be had: the run then
  // expands the member itself. Throws nothing, out of memory included.
  static std::unique_ptr<RecordedExpansion> make(Bytes archive, std::int64_t dataOffset, std::uint8_t method,
                                                 std::int32_t compressedSize, std::int32_t expandedSize,
                                                 const std::atomic<bool>* abandon = nullptr);

  // Whether job expands this member: the same method, sizes and data position,
  // and a progress handler as the recording had.
  bool fits(std::uint8_t method, const ExpandJob& job) const;

  struct Outcome {
    Result<std::uint32_t> checksum = 0u; // or the error that stopped the method
    bool handedOver = false;             // the method itself had to take over
    // Set when the recorded writes were all repeated, none refused: the CRC-32
    // of the output, worked out when it was recorded (on the decoding thread).
    std::optional<WrittenContent> written = std::nullopt;
  };
  // Does to job's streams, handler and platform what the method would do, and
  // gives its outcome. The recorded events are repeated as long as the real
  // ones answer as recorded (the bytes read, a percentage that the handler
  // leaves for the method to go on, a write taken whole); from the first
  // answer that differs, the method itself goes on from that point, or stops
  // with the write error as it would, so the result is the method's in any case.
  Outcome replay(const ExpandJob& job) const;

  // The memory it holds.
  std::size_t bytesHeld() const;

  enum class Kind : std::uint8_t { Read, Seek, Progress, Yield, Write };
  struct Event {
    Kind kind = Kind::Yield;
    std::int64_t at = 0; // Read, Seek: a position of the archive; Progress: the percentage; Write: where in the output
    std::int64_t count = 0; // Read: bytes asked; Write: bytes written
    std::int64_t got = 0;   // Read: bytes given
  };

private:
  RecordedExpansion(Bytes archive, std::int64_t dataOffset, std::uint8_t method, std::int32_t compressedSize,
                    std::int32_t expandedSize);
  // Records the method's run; false when abandoned, failed or out of room.
  bool record(const std::atomic<bool>* abandon);

  struct Done; // what a replay has done so far
  Result<std::uint32_t> resume(const ExpandJob& job, const Done& done) const;

  Bytes archive_;
  Store<std::uint8_t> output_;
  Store<Event> events_;
  std::int64_t dataOffset_;
  std::uint8_t method_;
  std::int32_t compressedSize_, expandedSize_;
  std::uint32_t checksum_ = 0;
  std::uint32_t outputCrc_ = 0;
};

} // namespace kalvora
