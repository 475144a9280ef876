#include "install/VolumeReader.h"

#include <algorithm>

namespace kalvora {
namespace {
constexpr std::size_t kPieceSize = 64 * 1024;
}

VolumeReader::VolumeReader(std::unique_ptr<Stream> volume, std::string path, std::int64_t offset)
    : volume_(std::move(volume)), path_(std::move(path)), pieceStart_(offset) {
  volume_->seek(offset);
}

std::size_t VolumeReader::read(std::uint8_t* block, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    if (next_ == piece_.size() && !refill()) break;
    const std::size_t take = std::min(n - done, piece_.size() - next_);
    std::copy_n(piece_.begin() + static_cast<std::ptrdiff_t>(next_), take, block + done);
    next_ += take;
    done += take;
  }
  return done;
}

void VolumeReader::moveTo(std::int64_t offset) {
  if (offset >= pieceStart_ && offset <= pieceStart_ + static_cast<std::int64_t>(piece_.size())) {
    next_ = static_cast<std::size_t>(offset - pieceStart_);
    return;
  }
  volume_->seek(offset);
  piece_.clear();
  next_ = 0;
  pieceStart_ = offset;
}

bool VolumeReader::refill() {
  pieceStart_ += static_cast<std::int64_t>(piece_.size());
  piece_.resize(kPieceSize);
  piece_.resize(volume_->read(piece_.data(), piece_.size()));
  next_ = 0;
  return !piece_.empty();
}

} // namespace kalvora
