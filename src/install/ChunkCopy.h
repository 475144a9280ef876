#pragma once
// Copying one chunk of the archive volumes (archive/Volumes) to a file,
// asking for each volume that is missing.
#include <cstdint>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

struct Chunk {
  std::string volumeText;        // the volume number as the script writes it ("01", "1")
  std::int64_t volumeNumber = 0; // the same read as an integer
  std::int64_t offset = 0;
  std::int64_t size = 0;
};

// Asks for the disk until the volume is there; Cancel opens the cancel
// confirmation, and a confirmed one stops the run (false).
[[nodiscard]] bool waitForVolume(RunContext& run, const std::string& path, std::int64_t number);

// Copies the chunk to output (created or truncated), moving the bars per block
// and checking for stop after each. Both files are closed before it returns;
// false when the run is to leave.
[[nodiscard]] bool copyChunk(RunContext& run, const Chunk& chunk, const std::string& output);

} // namespace kalvora
