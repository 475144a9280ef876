#include "media/ChunkEncoder.h"

#include "archive/ArchiveWriter.h"
#include "media/Raise.h"
#include "platform/Platform.h"

namespace kalvora::media {

std::vector<std::uint8_t> encodeChunk(Compression compression, const std::string& memberName,
                                      std::vector<std::uint8_t> data, std::uint32_t dosDateTime) {
  if (compression == Compression::None) return data;
  MemoryStream out;
  ArchiveWriter writer = valueOrRaise(ArchiveWriter::start(out, compression == Compression::Rle ? "RLE" : "LZH"));
  MemberOptions options;
  options.method = data.empty() ? kMethodStored : compression == Compression::Rle ? kMethodRle : kMethodLzh;
  options.dosDateTime = dosDateTime;
  // Plain archive files: a read-only attribute would stop a later setup from
  // replacing the installed file.
  options.attributes = kAttrArchive;
  raiseOnError(writer.addMember(memberName, data, options));
  raiseOnError(writer.finish());
  std::vector<std::uint8_t> chunk = std::move(out.bytes());
  // A reader stops walking once the bytes expanded reach the header's total,
  // before the first member when that total is 0: an empty file would never be
  // written. A total of 1 lets the reader expand the empty member and stop at
  // the end of the archive.
  if (data.empty() && chunk.size() >= kArchiveHeaderSize) chunk[8] = 1;
  return chunk;
}

} // namespace kalvora::media
