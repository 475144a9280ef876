#pragma once
// Byte streams: files of the platform and blocks of memory behind one small
// interface, so that the archive code runs the same over either.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Errors.h"

namespace kalvora {

class Stream {
public:
  virtual ~Stream() = default;
  // Reads up to n bytes; returns how many were read (0 at the end).
  virtual std::size_t read(void* buffer, std::size_t n) = 0;
  // Writes n bytes; returns how many were written (fewer on failure).
  virtual std::size_t write(const void* buffer, std::size_t n) = 0;
  virtual std::int64_t position() const = 0;
  // Moves to an absolute position; positions past the end are allowed.
  virtual void seek(std::int64_t position) = 0;
  virtual std::int64_t size() const = 0;
  // Cuts the stream off at the current position; false when that is refused.
  virtual bool truncate() { return false; }
  // Writes what the stream holds through to the disk, so that a power cut
  // afterwards keeps it; false when that is refused.
  virtual bool flush() { return true; }
  // Sets the last-write time of the file behind the stream (DOS date and time,
  // local); false when refused or when the stream cannot (the caller then sets
  // it by the file's path).
  virtual bool setDosTime(std::uint32_t dosDateTime) {
    (void)dosDateTime;
    return false;
  }

  // All-or-error forms: EReadError / EWriteError on a short count.
  Status readBuffer(void* buffer, std::size_t n);
  Status writeBuffer(const void* buffer, std::size_t n);
  // Copies n bytes from source to this stream in blocks; stops at the first
  // short read or write, with its error.
  Status copyFrom(Stream& source, std::int64_t n);
};

// A growable stream over a byte vector.
class MemoryStream : public Stream {
public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  explicit MemoryStream(const std::string& bytes) : bytes_(bytes.begin(), bytes.end()) {}

  std::size_t read(void* buffer, std::size_t n) override;
  std::size_t write(const void* buffer, std::size_t n) override;
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override { position_ = position < 0 ? 0 : position; }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }
  bool truncate() override;

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
  std::vector<std::uint8_t> bytes_;
  std::int64_t position_ = 0;
};

// A read-only stream over bytes owned elsewhere (no copy).
class ViewStream : public Stream {
public:
  ViewStream(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t read(void* buffer, std::size_t n) override;
  std::size_t write(const void*, std::size_t) override { return 0; }
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override { position_ = position < 0 ? 0 : position; }
  std::int64_t size() const override { return static_cast<std::int64_t>(size_); }

private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::int64_t position_ = 0;
};

} // namespace kalvora
