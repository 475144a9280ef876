#include "archive/ByteSource.h"

#include <algorithm>

namespace kalvora {

ByteSource::ByteSource(Stream& archive, std::int32_t compressedSize, const TShowProgressEvent* progress,
                       Platform& platform)
    : archive_(archive), platform_(platform), progress_(progress && *progress ? progress : nullptr),
      buffer_(new std::uint8_t[kChunkSize]), remaining_(std::max<std::int32_t>(compressedSize, 0)) {}

bool ByteSource::load() {
  endOfInput_ = true;
  cursor_ = end_ = nullptr;
  // Once the input has ended it stays ended: no further reads of the archive.
  if (finished_ || remaining_ == 0) {
    finished_ = true;
    return false;
  }
  const auto want = static_cast<std::size_t>(std::min<std::int64_t>(remaining_, kChunkSize));
  const std::size_t got = archive_.read(buffer_.get(), want);
  remaining_ -= static_cast<std::int64_t>(got);
  if (got == 0) {
    finished_ = true;
    return false;
  }
  if (progress_) {
    consumed_ += static_cast<std::int64_t>(got);
    auto percentage = static_cast<std::int32_t>(consumed_ * 100 / (consumed_ + remaining_));
    (*progress_)(percentage);
    if (percentage < 0) { // the handler abandons the member
      finished_ = true;
      return false;
    }
  }
  platform_.yield();
  cursor_ = buffer_.get();
  end_ = cursor_ + got;
  endOfInput_ = false;
  return true;
}

void ByteSource::skipRest() {
  if (remaining_ > 0) archive_.seek(archive_.position() + remaining_);
  remaining_ = 0;
  finished_ = true;
}

} // namespace kalvora
