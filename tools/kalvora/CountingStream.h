#pragma once
// An output stream that keeps nothing: it counts the bytes written to it and
// adds them up as the archive checksum does.
#include <cstdint>

#include "archive/ArchiveFormat.h"
#include "platform/Stream.h"

namespace kalvora::tool {

class CountingStream : public Stream {
public:
  std::size_t read(void*, std::size_t) override { return 0; }
  std::size_t write(const void* buffer, std::size_t n) override {
    sum_ = byteSum(static_cast<const std::uint8_t*>(buffer), n, sum_);
    count_ += static_cast<std::int64_t>(n);
    return n;
  }
  std::int64_t position() const override { return count_; }
  void seek(std::int64_t) override {}
  std::int64_t size() const override { return count_; }

  std::int64_t count() const { return count_; }
  std::uint32_t sum() const { return sum_; }

private:
  std::int64_t count_ = 0;
  std::uint32_t sum_ = 0;
};

} // namespace kalvora::tool
