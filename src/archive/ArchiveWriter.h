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
#include "platform/Errors.h"
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

// The member, or an error (kalvora::Exception) when the name or a size does
// not fit the format or the method has no encoder.
Result<EncodedMember> encodeMember(const std::string& storedName, std::span<const std::uint8_t> data,
                                   const MemberOptions& options);

class ArchiveWriter {
public:
  // Writes the archive's header; compressId is its tag: "NON", "RLE" or "LZH".
  // An error for a tag that is not 3 characters, or the stream's write error.
  static Result<ArchiveWriter> start(Stream& out, const std::string& compressId);
  // An error when the member does not fit the format (as encodeMember), or the
  // stream's write error.
  Status addMember(const std::string& storedName, std::span<const std::uint8_t> data, const MemberOptions& options);
  // An error when the archive's total size would not fit the format's signed
  // 32 bits (nothing is written then), or the stream's write error.
  Status add(const EncodedMember& member);
  // Writes the final TotalExpandedSize into the header.
  Status finish();

private:
  explicit ArchiveWriter(Stream& out) : out_(out), headerPosition_(out.position()) {}

  Stream& out_;
  std::int64_t headerPosition_;
  std::int64_t totalExpanded_ = 0;
  ArchiveHeader header_;
};

// The member data of each method, as the expansion methods read them.
void rleEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out);
void lzhEncode(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& out);

} // namespace kalvora
