#pragma once
// Writes LHA archives with level-0 headers, so that an independent LHA program
// can check our LZH streams: -lh1- members carry the same LZSS and adaptive
// Huffman stream form, -lh0- members are stored.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kalvora::testing {

// The CRC-16 of ARC and LHA: polynomial 0x8005 bit-reversed (0xA001), start 0.
std::uint16_t crc16(std::span<const std::uint8_t> data, std::uint16_t crc = 0);

struct LhaMember {
  std::string name;   // at most 233 bytes
  std::string method; // "-lh1-" or "-lh0-"
  std::span<const std::uint8_t> packed;
  std::uint32_t originalSize = 0;
  std::uint16_t originalCrc = 0;
  std::uint32_t dosDateTime = 0x58210000; // 2024-01-01 00:00:00
  std::uint8_t attributes = 0x20;
};

// Appends one member (header and data) to an archive being built.
void appendLhaMember(std::vector<std::uint8_t>& archive, const LhaMember& member);
// Ends the archive with its terminating zero byte.
void finishLha(std::vector<std::uint8_t>& archive);

} // namespace kalvora::testing
