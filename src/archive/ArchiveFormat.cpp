#include "archive/ArchiveFormat.h"

#include <cstring>

namespace kalvora {
namespace {

void put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::int16_t get16(const std::uint8_t* p) { return static_cast<std::int16_t>(p[0] | p[1] << 8); }

std::int32_t get32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                                   static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

} // namespace

void encodeArchiveHeader(const ArchiveHeader& header, std::uint8_t out[kArchiveHeaderSize]) {
  std::memcpy(out, header.magic, 5);
  std::memcpy(out + 5, header.compressId, 3);
  put32(out + 8, static_cast<std::uint32_t>(header.totalExpandedSize));
  out[12] = header.archiveType;
  std::memcpy(out + 13, header.reserved, 8);
}

ArchiveHeader decodeArchiveHeader(const std::uint8_t in[kArchiveHeaderSize]) {
  ArchiveHeader header;
  std::memcpy(header.magic, in, 5);
  std::memcpy(header.compressId, in + 5, 3);
  header.totalExpandedSize = get32(in + 8);
  header.archiveType = in[12];
  std::memcpy(header.reserved, in + 13, 8);
  return header;
}

void encodeMemberHeader(const MemberHeader& header, std::uint8_t out[kMemberHeaderSize]) {
  put16(out, static_cast<std::uint16_t>(header.nameLength));
  put32(out + 2, static_cast<std::uint32_t>(header.fileDateTime));
  put16(out + 6, static_cast<std::uint16_t>(header.fileAttributes));
  put32(out + 8, static_cast<std::uint32_t>(header.expandedSize));
  put32(out + 12, static_cast<std::uint32_t>(header.compressedSize));
  out[16] = header.method;
  put32(out + 17, static_cast<std::uint32_t>(header.checksum));
  put32(out + 21, static_cast<std::uint32_t>(header.lockFlag));
}

MemberHeader decodeMemberHeader(const std::uint8_t in[kMemberHeaderSize]) {
  MemberHeader header;
  header.nameLength = get16(in);
  header.fileDateTime = get32(in + 2);
  header.fileAttributes = get16(in + 6);
  header.expandedSize = get32(in + 8);
  header.compressedSize = get32(in + 12);
  header.method = in[16];
  header.checksum = get32(in + 17);
  header.lockFlag = get32(in + 21);
  return header;
}

std::uint32_t byteSum(const std::uint8_t* data, std::size_t n, std::uint32_t start) {
  // Eight bytes at a time into 16-bit lanes; a lane gains at most 510 a word,
  // so 128 words cannot overflow it.
  constexpr std::uint64_t kLow = 0x00FF00FF00FF00FFull;
  std::uint32_t sum = start;
  while (n >= 8) {
    std::size_t words = n / 8 < 128 ? n / 8 : 128;
    std::uint64_t lanes = 0;
    n -= words * 8;
    for (; words != 0; --words, data += 8) {
      std::uint64_t w;
      std::memcpy(&w, data, 8);
      lanes += (w & kLow) + ((w >> 8) & kLow);
    }
    lanes = (lanes & 0x0000FFFF0000FFFFull) + ((lanes >> 16) & 0x0000FFFF0000FFFFull);
    sum += static_cast<std::uint32_t>(lanes) + static_cast<std::uint32_t>(lanes >> 32);
  }
  for (; n != 0; --n)
    sum += *data++;
  return sum;
}

const char* methodTag(std::uint8_t method) {
  switch (method) {
  case kMethodStored: return "NON";
  case kMethodRle: return "RLE";
  case kMethodLzh: return "LZH";
  default: return "CUS";
  }
}

} // namespace kalvora
