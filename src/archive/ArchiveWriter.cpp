#include "archive/ArchiveWriter.h"

#include <limits>

#include "platform/Errors.h"

namespace kalvora {
namespace {

constexpr std::int64_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();
constexpr std::size_t kMaxNameLength = 32767;

Status requireFits(std::int64_t value, const char* what, const std::string& member) {
  if (value > kMaxInt32)
    return Exception(std::string(what) + " of " + member + " exceeds the archive's limit of 2147483647 bytes");
  return {};
}

} // namespace

Result<ArchiveWriter> ArchiveWriter::start(Stream& out, const std::string& compressId) {
  if (compressId.size() != 3) return Exception("Archive method tag must have 3 characters: " + compressId);
  ArchiveWriter writer(out);
  compressId.copy(writer.header_.compressId, 3);
  std::uint8_t raw[kArchiveHeaderSize];
  encodeArchiveHeader(writer.header_, raw);
  if (Status written = out.writeBuffer(raw, sizeof raw); !written.ok()) return written.error();
  return writer;
}

Result<EncodedMember> encodeMember(const std::string& storedName, std::span<const std::uint8_t> data,
                                   const MemberOptions& options) {
  if (storedName.size() > kMaxNameLength)
    return Exception("Member name longer than 32767 bytes: " + storedName.substr(0, 64) + "...");
  if (Status fits = requireFits(static_cast<std::int64_t>(data.size()), "Size", storedName); !fits.ok())
    return fits.error();

  // The header's place and the name, then the data encoded straight behind them.
  EncodedMember out{storedName, static_cast<std::int64_t>(data.size()), {}};
  out.bytes.resize(kMemberHeaderSize);
  out.bytes.insert(out.bytes.end(), storedName.begin(), storedName.end());
  const std::size_t dataStart = out.bytes.size();
  switch (options.method) {
  case kMethodStored: out.bytes.insert(out.bytes.end(), data.begin(), data.end()); break;
  case kMethodRle: rleEncode(data, out.bytes); break;
  case kMethodLzh: lzhEncode(data, out.bytes); break;
  default: return Exception("No encoder for method " + std::to_string(options.method) + " of " + storedName);
  }
  const auto storedSize = static_cast<std::int64_t>(out.bytes.size() - dataStart);
  if (Status fits = requireFits(storedSize, "Compressed size", storedName); !fits.ok()) return fits.error();

  MemberHeader member;
  member.nameLength = static_cast<std::int16_t>(storedName.size());
  member.fileDateTime = static_cast<std::int32_t>(options.dosDateTime);
  member.fileAttributes = static_cast<std::int16_t>(options.attributes & 0xFFFF);
  member.expandedSize = static_cast<std::int32_t>(data.size());
  member.compressedSize = static_cast<std::int32_t>(storedSize);
  member.method = options.method;
  std::uint32_t checksum = byteSum(data.data(), data.size());
  if (options.lockKey) {
    checksum += static_cast<std::uint32_t>(*options.lockKey);
    member.lockFlag = 1;
  }
  member.checksum = static_cast<std::int32_t>(checksum);
  encodeMemberHeader(member, out.bytes.data());
  return out;
}

Status ArchiveWriter::addMember(const std::string& storedName, std::span<const std::uint8_t> data,
                                const MemberOptions& options) {
  const Result<EncodedMember> member = encodeMember(storedName, data, options);
  if (!member.ok()) return member.status();
  return add(member.value());
}

Status ArchiveWriter::add(const EncodedMember& member) {
  if (Status fits = requireFits(totalExpanded_ + member.expandedSize, "Total size with", member.storedName); !fits.ok())
    return fits;
  if (Status written = out_.writeBuffer(member.bytes.data(), member.bytes.size()); !written.ok()) return written;
  totalExpanded_ += member.expandedSize;
  return {};
}

Status ArchiveWriter::finish() {
  const std::int64_t end = out_.position();
  header_.totalExpandedSize = static_cast<std::int32_t>(totalExpanded_);
  std::uint8_t raw[kArchiveHeaderSize];
  encodeArchiveHeader(header_, raw);
  out_.seek(headerPosition_);
  const Status written = out_.writeBuffer(raw, sizeof raw);
  out_.seek(end);
  return written;
}

} // namespace kalvora
