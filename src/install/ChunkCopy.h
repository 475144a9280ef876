#pragma once
// Copying one chunk of the archive volumes (archive/Volumes) to a file,
// asking for each volume that is missing.
#include <cstdint>
#include <optional>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

struct Chunk {
  std::string volumeText;        // the volume number as the script writes it ("01", "1")
  std::int64_t volumeNumber = 0; // the same read as an integer
  std::int64_t offset = 0;
  std::int64_t size = 0;
  // CRC-32 of the chunk's bytes (c<j>), which media that store files as they
  // are record; none on older media and on compressed ones, whose archives check themselves.
  std::optional<std::uint32_t> checksum = std::nullopt;
};

// Asks for the disk until the volume is there; Cancel opens the cancel
// confirmation, and a confirmed one stops the run (false).
[[nodiscard]] bool waitForVolume(RunContext& run, const std::string& path, std::int64_t number);

// Copies the chunk to output (created or truncated), moving the bars per block
// and checking for stop after each. A chunk whose bytes differ from its
// checksum (a volume cut short and followed by the next one, a bad copy) is
// the damaged-volume error of compressed media (EBadChecksum). Both files are closed before it returns;
// false when the run is to leave.
[[nodiscard]] bool copyChunk(RunContext& run, const Chunk& chunk, const std::string& output);

} // namespace kalvora
