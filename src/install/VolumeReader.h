#pragma once
// An archive volume open for reading: read in large pieces and handed out in
// blocks, one call to the system per piece rather than per block. A block is
// short only where the volume ends, as when each block is read from the volume
// itself. The file stage keeps the volume a chunk ended in open for the next
// file, whose chunk mostly follows in the same volume.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Stream.h"

namespace kalvora {

class VolumeReader {
public:
  VolumeReader() = default;
  VolumeReader(std::unique_ptr<Stream> volume, std::string path, std::int64_t offset);

  bool isOpen() const { return volume_ != nullptr; }
  // The path it was opened by; empty when closed.
  const std::string& path() const { return path_; }
  void close() { *this = VolumeReader(); }

  std::size_t read(std::uint8_t* block, std::size_t n);
  // Goes on reading at offset; without a call to the system when the piece in hand holds it.
  void moveTo(std::int64_t offset);

private:
  bool refill();

  std::unique_ptr<Stream> volume_;
  std::string path_;
  std::vector<std::uint8_t> piece_;
  std::size_t next_ = 0;
  std::int64_t pieceStart_ = 0; // the offset of piece_[0]
};

// Closes the volume held for the next file when the file stage leaves, by any way.
class VolumeRelease {
public:
  explicit VolumeRelease(VolumeReader& held) : held_(held) {}
  ~VolumeRelease() { held_.close(); }
  VolumeRelease(const VolumeRelease&) = delete;
  VolumeRelease& operator=(const VolumeRelease&) = delete;

private:
  VolumeReader& held_;
};

} // namespace kalvora
