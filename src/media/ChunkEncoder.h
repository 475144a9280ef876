#pragma once
// The stored form of a file on the medium: with compression a complete
// one-member archive holding the file under its name, else the bytes as they are.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "media/Project.h"

namespace kalvora::media {

// memberName is ANSI; dosDateTime the source's last write time.
// Without compression the data are the chunk (moved, not copied).
std::vector<std::uint8_t> encodeChunk(Compression compression, const std::string& memberName,
                                      std::vector<std::uint8_t> data, std::uint32_t dosDateTime);

// Whether the expansion tests the chunk's checksum: a compressed chunk whose
// member is not stored.
bool checksItself(Compression compression, std::span<const std::uint8_t> chunk);

} // namespace kalvora::media
