#pragma once
// The archive volumes of a medium, "zdata_01.dsk", "zdata_02.dsk", ...: a
// file's chunk starts in the volume its entry names and runs on at the start
// of the following volumes. The setup program reads a chunk in blocks of 2048
// bytes, and a short block tells it that the volume has ended.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kalvora {

inline constexpr std::size_t kVolumeBlockSize = 2048;

// The volume a chunk starts in: its number exactly as the script writes it ("01", "1").
std::string firstVolumeName(const std::string& volumeText);
// Any other volume: the number with two digits below 10.
std::string volumeFileName(std::int64_t number);

// The walk over one chunk's blocks. Each block read from the current volume
// goes to step(), which tells how much of it belongs to the chunk, whether the
// chunk is complete, and whether it goes on in the next volume.
class ChunkBlocks {
public:
  struct Step {
    std::size_t taken = 0; // the first bytes of the block that belong to the chunk
    bool done = false;
    bool volumeEnded = false; // the chunk goes on at the start of the next volume
  };

  explicit ChunkBlocks(std::int64_t size) : remaining_(size) {}
  Step step(std::size_t got);
  std::int64_t remaining() const { return remaining_; }

private:
  std::int64_t remaining_;
};

} // namespace kalvora
