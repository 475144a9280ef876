#include "support/LhaWriter.h"

#include <stdexcept>

namespace kalvora::testing {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

} // namespace

std::uint16_t crc16(std::span<const std::uint8_t> data, std::uint16_t crc) {
  for (std::uint8_t byte : data) {
    crc = static_cast<std::uint16_t>(crc ^ byte);
    for (int bit = 0; bit < 8; ++bit)
      crc = static_cast<std::uint16_t>((crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1);
  }
  return crc;
}

void appendLhaMember(std::vector<std::uint8_t>& archive, const LhaMember& member) {
  if (member.method.size() != 5) throw std::invalid_argument("an LHA method is five characters");
  if (member.name.size() > 233) throw std::invalid_argument("a level-0 LHA name holds at most 233 bytes");
  // Level 0: size and checksum bytes, then the fields that the size counts.
  std::vector<std::uint8_t> fields(member.method.begin(), member.method.end());
  put32(fields, static_cast<std::uint32_t>(member.packed.size()));
  put32(fields, member.originalSize);
  put32(fields, member.dosDateTime);
  fields.push_back(member.attributes);
  fields.push_back(0); // header level
  fields.push_back(static_cast<std::uint8_t>(member.name.size()));
  fields.insert(fields.end(), member.name.begin(), member.name.end());
  put16(fields, member.originalCrc);

  std::uint8_t sum = 0;
  for (std::uint8_t b : fields)
    sum = static_cast<std::uint8_t>(sum + b);
  archive.push_back(static_cast<std::uint8_t>(fields.size()));
  archive.push_back(sum);
  archive.insert(archive.end(), fields.begin(), fields.end());
  archive.insert(archive.end(), member.packed.begin(), member.packed.end());
}

void finishLha(std::vector<std::uint8_t>& archive) { archive.push_back(0); }

} // namespace kalvora::testing
