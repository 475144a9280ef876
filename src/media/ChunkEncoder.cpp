#include "media/ChunkEncoder.h"

#include "archive/ArchiveWriter.h"
#include "archive/LzhIncompressible.h"
#include "media/Raise.h"
#include "platform/Platform.h"

namespace kalvora::media {

namespace {

// The member's method: the medium's, unless the file would not shrink by it.
std::uint8_t methodFor(Compression compression, std::span<const std::uint8_t> data) {
  if (data.empty()) return kMethodStored;
  if (compression == Compression::Rle) return kMethodRle;
  return lzhCannotShrink(data) ? kMethodStored : kMethodLzh;
}

} // namespace

std::vector<std::uint8_t> encodeChunk(Compression compression, const std::string& memberName,
                                      std::vector<std::uint8_t> data, std::uint32_t dosDateTime) {
  if (compression == Compression::None) return data;
  MemoryStream out;
  ArchiveWriter writer = valueOrRaise(ArchiveWriter::start(out, compression == Compression::Rle ? "RLE" : "LZH"));
  MemberOptions options;
  options.method = methodFor(compression, data);
  options.dosDateTime = dosDateTime;
  // Plain archive files: a read-only attribute would stop a later setup from
  // replacing the installed file.
  options.attributes = kAttrArchive;
  EncodedMember member = valueOrRaise(encodeMember(memberName, data, options));
  // A file its method made no smaller goes in as it is: the setup then copies
  // it instead of decoding it, and the medium is no larger.
  if (options.method != kMethodStored && member.bytes.size() >= kMemberHeaderSize + memberName.size() + data.size()) {
    options.method = kMethodStored;
    member = valueOrRaise(encodeMember(memberName, data, options));
  }
  raiseOnError(writer.add(member));
  raiseOnError(writer.finish());
  std::vector<std::uint8_t> chunk = std::move(out.bytes());
  // A reader stops walking once the bytes expanded reach the header's total,
  // before the first member when that total is 0: an empty file would never be
  // written. A total of 1 lets the reader expand the empty member and stop at
  // the end of the archive.
  if (data.empty() && chunk.size() >= kArchiveHeaderSize) chunk[8] = 1;
  return chunk;
}

bool checksItself(Compression compression, std::span<const std::uint8_t> chunk) {
  constexpr std::size_t kMethodAt = kArchiveHeaderSize + 16; // the first member's method byte
  return compression != Compression::None && chunk.size() > kMethodAt && chunk[kMethodAt] != kMethodStored;
}

} // namespace kalvora::media
