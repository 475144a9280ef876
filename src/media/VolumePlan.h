#pragma once
// Cutting the chunks of a medium into archive volumes. Chunks are stored one
// after another; a chunk that does not fit runs on at offset 0 of the next
// volume, as the setup program reads it: it continues a chunk into volume
// s + 1, s + 2, ... whenever a read of its 2048-byte block comes back short.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "archive/Volumes.h"

namespace kalvora::media {

inline constexpr std::int64_t kMaxInt32 = 2147483647;

struct VolumeLimits {
  std::int64_t first = kMaxInt32; // bytes volume 1 may hold
  std::int64_t later = kMaxInt32; // bytes each further volume may hold
  int maxVolumes = 0;             // 0: as many as needed
};

// A run of a chunk's bytes inside one volume.
struct ChunkPiece {
  int volume = 1;
  std::int64_t offset = 0;
  std::int64_t length = 0;
};

struct ChunkPlace {
  int volume = 1;          // volume in which the chunk begins (the script's s)
  std::int64_t offset = 0; // its offset there (p)
  std::int64_t size = 0;   // its size (z)
  std::vector<ChunkPiece> pieces;
};

class MediumFull : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class VolumeCursor {
public:
  // Capacities above the script's 32-bit offsets are cut to 2,147,483,647.
  explicit VolumeCursor(VolumeLimits limits);
  // The place of the next chunk. A chunk never begins at the end of a full
  // volume (it begins at the start of the next); an empty chunk needs no room.
  // Raises MediumFull when the chunk would need more than maxVolumes.
  ChunkPlace place(std::int64_t size);
  // Bytes used in each volume so far, volume 1 first.
  const std::vector<std::int64_t>& volumeSizes() const { return used_; }

private:
  std::int64_t capacity(int volume) const;

  VolumeLimits limits_;
  std::vector<std::int64_t> used_;
};

// The script's s value for a volume: "01" ... "09", "10", ...
std::string volumeNumberText(int volume);

} // namespace kalvora::media
