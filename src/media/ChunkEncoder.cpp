#include "media/ChunkEncoder.h"

#include "archive/ArchiveWriter.h"
#include "platform/Platform.h"

namespace kalvora::media {

std::vector<std::uint8_t> encodeChunk(Compression compression, const std::string& memberName,
                                      std::span<const std::uint8_t> data, std::uint32_t dosDateTime) {
  if (compression == Compression::None) return {data.begin(), data.end()};
  MemoryStream out;
  ArchiveWriter writer(out, compression == Compression::Rle ? "RLE" : "LZH");
  MemberOptions options;
  options.method = compression == Compression::Rle ? kMethodRle : kMethodLzh;
  options.dosDateTime = dosDateTime;
  // Plain archive files: a read-only attribute would stop a later setup from
  // replacing the installed file.
  options.attributes = kAttrArchive;
  writer.addMember(memberName, data, options);
  writer.finish();
  return std::move(out.bytes());
}

} // namespace kalvora::media
