#pragma once
// Copying one chunk of an archive volume "zdata_NN.dsk" to a file, in blocks
// of 2048 bytes, continuing into the next volumes and asking for missing ones.
#include <cstdint>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

inline constexpr std::size_t kCopyBlockSize = 2048;

struct Chunk {
  std::string volumeText;        // the volume number as the script writes it ("01", "1")
  std::int64_t volumeNumber = 0; // the same read as an integer
  std::int64_t offset = 0;
  std::int64_t size = 0;
};

// The volume a chunk starts in: its number exactly as written.
std::string firstVolumePath(const std::string& sourceDir, const std::string& volumeText);
// A continuation volume: the number with two digits below 10.
std::string continuationVolumePath(const std::string& sourceDir, std::int64_t number);

// Asks for the disk until the volume is there; Cancel opens the cancel
// confirmation, and a confirmed one stops the run.
void waitForVolume(RunContext& run, const std::string& path, std::int64_t number);

// Copies the chunk to output (created or truncated), moving the bars per block
// and checking for stop after each. Both files are closed before it returns or leaves.
void copyChunk(RunContext& run, const Chunk& chunk, const std::string& output);

} // namespace kalvora
