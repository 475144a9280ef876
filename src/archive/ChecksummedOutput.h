#pragma once
// An expansion's output stream that also keeps the CRC-32 and the count of
// the bytes written through it, as long as they follow one another from where
// it began: what the file holds afterwards, known without reading it back.
#include <cstdint>
#include <optional>

#include "platform/Crc32.h"
#include "platform/Stream.h"

namespace kalvora {

// What was written to a file, whole: the CRC-32 and the count of its bytes.
struct WrittenContent {
  std::uint32_t crc32 = 0;
  std::int64_t bytes = 0;
};

class ChecksummedOutput : public Stream {
public:
  explicit ChecksummedOutput(Stream& file) : file_(file), start_(file.position()) {}

  std::size_t read(void* buffer, std::size_t n) override {
    inOrder_ = false;
    return file_.read(buffer, n);
  }
  std::size_t write(const void* buffer, std::size_t n) override {
    const std::size_t put = file_.write(buffer, n);
    crc_ = crc32Update(crc_, buffer, put);
    bytes_ += static_cast<std::int64_t>(put);
    return put;
  }
  std::int64_t position() const override { return file_.position(); }
  void seek(std::int64_t position) override {
    inOrder_ = false;
    file_.seek(position);
  }
  std::int64_t size() const override { return file_.size(); }
  bool truncate() override {
    inOrder_ = false;
    return file_.truncate();
  }
  bool flush() override { return file_.flush(); }
  bool setDosTime(std::uint32_t dosDateTime) override { return file_.setDosTime(dosDateTime); }

  // None once anything but writes in order reached the file, or when it began
  // anywhere but at its start.
  std::optional<WrittenContent> content() const {
    if (!inOrder_ || start_ != 0) return std::nullopt;
    return WrittenContent{crc32Finish(crc_), bytes_};
  }

private:
  Stream& file_;
  std::int64_t start_;
  std::uint32_t crc_ = kCrc32Start;
  std::int64_t bytes_ = 0;
  bool inOrder_ = true;
};

} // namespace kalvora
