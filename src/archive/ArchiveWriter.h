#pragma once
// Writes archives that TCompress expands: the header, then one member per call,
// each encoded by the method asked for; finish() fixes the total size.
// Members may be encoded apart from the writer (encodeMember, on any thread)
// and added in order.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "archive/ArchiveFormat.h"
#include "platform/Stream.h"

namespace kalvora {

struct MemberOptions {
  std::uint8_t method = kMethodLzh;
  std::uint32_t dosDateTime = 0;
  std::uint32_t attributes = 0x20;
  std::optional<std::int32_t> lockKey; // locks the member: checksum = sum + key
};

// One member as the archive stores it: header, name and data.
struct EncodedMember {
  std::string storedName;
  std::int64_t expandedSize = 0;
  std::vector<std::uint8_t> bytes;
};

// Raises kalvora::Exception when the name or a size does not fit the format.
EncodedMember encodeMember(const std::string& storedName, std::span<const std::uint8_t> data,
                           const MemberOptions& options);

class ArchiveWriter {
public:
  // compressId is the archive's tag: "NON", "RLE" or "LZH".
  ArchiveWriter(Stream& out, const std::string& compressId);
  // Raises kalvora::Exception when a size does not fit the format's signed 32 bits.
  void addMember(const std::string& storedName, std::span<const std::uint8_t> data, const MemberOptions& options);
  // Raises kalvora::Exception when the archive's total size would not fit.
  void add(const EncodedMember& member);
  // Writes the final TotalExpandedSize into the header.
  void finish();

private:
  Stream& out_;
  std::int64_t headerPosition_;
  std::int64_t totalExpanded_ = 0;
  ArchiveHeader header_;
};

// The member data of each method, as the expansion methods read them.
void rleEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out);
void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out);

} // namespace kalvora
