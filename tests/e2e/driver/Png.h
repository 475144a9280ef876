#pragma once
// A minimal PNG writer: 8-bit RGB, zlib stored (uncompressed) blocks.
#include <cstdint>
#include <string>
#include <vector>

namespace kvdrive {

// rgb holds width * height * 3 bytes, top row first. False when the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);

} // namespace kvdrive
