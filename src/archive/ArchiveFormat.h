#pragma once
// The archive file format: a 21-byte archive header, then members, each a
// 25-byte member header, the stored name and the member data. Little-endian.
#include <cstddef>
#include <cstdint>
#include <string>

namespace kalvora {

inline constexpr std::uint8_t kArchiveMagic[5] = {'Z', 'O', 'R', 'Q', 0x1A};
inline constexpr std::size_t kArchiveHeaderSize = 21;
inline constexpr std::size_t kMemberHeaderSize = 25;
inline constexpr std::uint8_t kArchiveTypeMultiFile = 1; // caMultiFile

enum MethodId : std::uint8_t {
  kMethodStored = 0, // "NON"
  kMethodRle = 1,    // "RLE"
  kMethodLzh = 2,    // "LZH"
  kMethodCustom = 3, // "CUS" or a custom tag
};

struct ArchiveHeader {
  std::uint8_t magic[5] = {'Z', 'O', 'R', 'Q', 0x1A};
  char compressId[3] = {'N', 'O', 'N'};
  std::int32_t totalExpandedSize = 0;
  std::uint8_t archiveType = kArchiveTypeMultiFile;
  std::uint8_t reserved[8] = {};

  std::string compressIdText() const { return std::string(compressId, 3); }
};

struct MemberHeader {
  std::int16_t nameLength = 0;
  std::int32_t fileDateTime = 0; // DOS date << 16 | DOS time, local time
  std::int16_t fileAttributes = 0;
  std::int32_t expandedSize = 0;
  std::int32_t compressedSize = 0;
  std::uint8_t method = kMethodStored;
  std::int32_t checksum = 0;
  std::int32_t lockFlag = 0; // locked when > 0
};

void encodeArchiveHeader(const ArchiveHeader& header, std::uint8_t out[kArchiveHeaderSize]);
ArchiveHeader decodeArchiveHeader(const std::uint8_t in[kArchiveHeaderSize]);
void encodeMemberHeader(const MemberHeader& header, std::uint8_t out[kMemberHeaderSize]);
MemberHeader decodeMemberHeader(const std::uint8_t in[kMemberHeaderSize]);

// The member checksum: the sum of the bytes as unsigned values, modulo 2^32.
std::uint32_t byteSum(const std::uint8_t* data, std::size_t n, std::uint32_t start = 0);

// "NON", "RLE", "LZH" for the built-in methods.
const char* methodTag(std::uint8_t method);

} // namespace kalvora
