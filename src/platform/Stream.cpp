#include "platform/Stream.h"

#include <algorithm>
#include <cstring>

namespace kalvora {

Status Stream::readBuffer(void* buffer, std::size_t n) {
  if (n != 0 && read(buffer, n) != n) return EReadError();
  return {};
}

Status Stream::writeBuffer(const void* buffer, std::size_t n) {
  if (n != 0 && write(buffer, n) != n) return EWriteError();
  return {};
}

Status Stream::copyFrom(Stream& source, std::int64_t n) {
  std::uint8_t block[8192];
  while (n > 0) {
    const auto chunk = static_cast<std::size_t>(std::min<std::int64_t>(n, sizeof block));
    if (Status read = source.readBuffer(block, chunk); !read.ok()) return read;
    if (Status written = writeBuffer(block, chunk); !written.ok()) return written;
    n -= static_cast<std::int64_t>(chunk);
  }
  return {};
}

std::size_t MemoryStream::read(void* buffer, std::size_t n) {
  const auto size = static_cast<std::int64_t>(bytes_.size());
  if (position_ >= size) return 0;
  const auto count = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), size - position_));
  std::memcpy(buffer, bytes_.data() + position_, count);
  position_ += static_cast<std::int64_t>(count);
  return count;
}

std::size_t MemoryStream::write(const void* buffer, std::size_t n) {
  const auto end = static_cast<std::size_t>(position_) + n;
  if (end > bytes_.size()) bytes_.resize(end);
  if (n != 0) std::memcpy(bytes_.data() + position_, buffer, n);
  position_ = static_cast<std::int64_t>(end);
  return n;
}

bool MemoryStream::truncate() {
  if (static_cast<std::size_t>(position_) < bytes_.size()) bytes_.resize(static_cast<std::size_t>(position_));
  return true;
}

std::size_t ViewStream::read(void* buffer, std::size_t n) {
  const auto size = static_cast<std::int64_t>(size_);
  if (position_ >= size) return 0;
  const auto count = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), size - position_));
  std::memcpy(buffer, data_ + position_, count);
  position_ += static_cast<std::int64_t>(count);
  return count;
}

} // namespace kalvora
