#pragma once
// The stored forms of a medium's files, read and encoded on several threads
// and handed out in the files' order, so that a build uses every processor
// while the volumes are still written one chunk after the other. The results
// are the same bytes, in the same order, as encoding one file after another;
// an error in a file reaches the caller when it takes that file, after every
// file before it.
//
// Bounded: a few files per thread ahead of the caller, and no more than
// kHeldBytes of their sizes, except for the next file, which is always
// started (so a file larger than the bound is encoded alone).
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace kalvora::media {

struct EncodedFile {
  std::int64_t readBytes = 0; // as read from the source, before encoding
  std::vector<std::uint8_t> chunk;
};

class EncodeAhead {
public:
  using Encode = std::function<EncodedFile(std::size_t index)>;

  // sizes: each file's expected size, for the bound. With threads below 2 the
  // files are encoded by take() itself, on the caller's thread.
  EncodeAhead(std::vector<std::int64_t> sizes, Encode encode, unsigned threads = defaultThreads());
  // Stops the threads after the files they are encoding and waits for them.
  ~EncodeAhead();
  EncodeAhead(const EncodeAhead&) = delete;
  EncodeAhead& operator=(const EncodeAhead&) = delete;

  // The next file's result, in order; rethrows what encoding it threw. Not
  // to be called again after the last file.
  EncodedFile take();

  // One thread per processor, at most eight.
  static unsigned defaultThreads();

  static constexpr std::int64_t kHeldBytes = std::int64_t{128} << 20;
  static constexpr std::size_t kFilesAheadPerThread = 2;

private:
  struct Slot {
    std::optional<EncodedFile> done;
    std::exception_ptr error;
  };

  void work();
  // Under the lock: whether the next file may be claimed now.
  bool mayClaim() const;

  const std::vector<std::int64_t> sizes_;
  const Encode encode_;
  std::vector<Slot> slots_;
  std::vector<std::thread> threads_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::size_t filesAhead_ = 0;
  std::size_t nextClaim_ = 0, nextTake_ = 0;
  std::int64_t heldBytes_ = 0; // sizes of the files claimed and not yet taken
  bool stopping_ = false;
};

} // namespace kalvora::media
