#pragma once
// CRC-32 (the polynomial of zip and PNG, reflected, 0xEDB88320), computed over
// pieces: start with kCrc32Start, feed every piece, finish.
#include <cstddef>
#include <cstdint>

namespace kalvora {

inline constexpr std::uint32_t kCrc32Start = 0xFFFFFFFFu;

std::uint32_t crc32Update(std::uint32_t crc, const void* data, std::size_t n);
constexpr std::uint32_t crc32Finish(std::uint32_t crc) { return crc ^ 0xFFFFFFFFu; }

} // namespace kalvora
