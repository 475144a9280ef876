#include "media/VolumeWriter.h"

#include "media/Project.h"
#include "platform/Crc32.h"
#include "platform/Errors.h"

namespace kalvora::media {

VolumeWriter::VolumeWriter(VolumeLimits limits, std::function<std::filesystem::path(int volume)> pathOf)
    : cursor_(limits), pathOf_(std::move(pathOf)) {}

void VolumeWriter::openVolume(int volume) {
  finish();
  currentPath_ = pathOf_(volume);
  std::filesystem::create_directories(currentPath_.parent_path());
  out_.open(currentPath_, std::ios::binary | std::ios::trunc);
  if (!out_) throw Exception("cannot create " + utf8Of(currentPath_));
  volumeCount_ = volume;
}

FilePlacement VolumeWriter::write(std::span<const std::uint8_t> chunk) {
  const ChunkPlace place = cursor_.place(static_cast<std::int64_t>(chunk.size()));
  std::size_t done = 0;
  for (const ChunkPiece& piece : place.pieces) {
    if (piece.volume != volumeCount_) openVolume(piece.volume);
    out_.write(reinterpret_cast<const char*>(chunk.data() + done), static_cast<std::streamsize>(piece.length));
    if (!out_) throw Exception("cannot write " + utf8Of(currentPath_));
    done += static_cast<std::size_t>(piece.length);
  }
  bytes_ += static_cast<std::int64_t>(chunk.size());
  return {place.volume, place.offset, place.size, crc32Finish(crc32Update(kCrc32Start, chunk.data(), chunk.size()))};
}

void VolumeWriter::finish() {
  if (!out_.is_open()) return;
  out_.close();
  if (!out_) throw Exception("cannot write " + utf8Of(currentPath_));
}

} // namespace kalvora::media
