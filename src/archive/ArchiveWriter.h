#pragma once
// Writes archives that TCompress expands: the header, then one member per call,
// each encoded by the method asked for; finish() fixes the total size.
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

class ArchiveWriter {
public:
  // compressId is the archive's tag: "NON", "RLE" or "LZH".
  ArchiveWriter(Stream& out, const std::string& compressId);
  // Raises kalvora::Exception when a size does not fit the format's signed 32 bits.
  void addMember(const std::string& storedName, std::span<const std::uint8_t> data, const MemberOptions& options);
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
