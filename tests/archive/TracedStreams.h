#pragma once
// Streams and a platform that record every call a method makes on them, in
// order, into one trace; the source can fail one read, the sink refuse one write.
#include <string>
#include <vector>

#include "ArchiveTestUtil.h"
#include "platform/MemoryPlatform.h"

namespace kalvora::test {

using Trace = std::vector<std::string>;

// Gives nothing at its read number failingRead (from 1; 0: none).
class TracedSource : public Stream {
public:
  TracedSource(Bytes bytes, Trace& trace, int failingRead = 0)
      : bytes_(std::move(bytes)), trace_(trace), failingRead_(failingRead) {}
  std::size_t read(void* buffer, std::size_t n) override {
    const std::size_t got = ++reads_ == failingRead_ ? 0 : bytes_.read(buffer, n);
    trace_.push_back("read " + std::to_string(n) + " " + std::to_string(got));
    return got;
  }
  std::size_t write(const void*, std::size_t) override { return 0; }
  std::int64_t position() const override { return bytes_.position(); }
  void seek(std::int64_t position) override {
    trace_.push_back("seek " + std::to_string(position));
    bytes_.seek(position);
  }
  std::int64_t size() const override { return bytes_.size(); }

private:
  MemoryStream bytes_;
  Trace& trace_;
  int failingRead_, reads_ = 0;
};

// Takes nothing of its write number failingWrite (from 1; 0: none).
class TracedSink : public MemoryStream {
public:
  TracedSink(Trace& trace, int failingWrite) : trace_(trace), failingWrite_(failingWrite) {}
  std::size_t write(const void* buffer, std::size_t n) override {
    trace_.push_back("write " + std::to_string(n));
    return ++writes_ == failingWrite_ ? 0 : MemoryStream::write(buffer, n);
  }

private:
  Trace& trace_;
  int failingWrite_, writes_ = 0;
};

class TracedPlatform : public MemoryPlatform {
public:
  explicit TracedPlatform(Trace& trace) : trace_(trace) {}
  void yield() override { trace_.push_back("yield"); }

private:
  Trace& trace_;
};

} // namespace kalvora::test
