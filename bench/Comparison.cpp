#include "Comparison.h"

#include <cstdio>
#include <exception>

#include "BenchData.h"
#include "archive/ArchiveWriter.h"
#include "media/Raise.h"
#include "support/LhaWriter.h"
#include "support/TempDir.h"

namespace kalvora::bench {

int writeComparisonFiles(const std::string& dir) {
  try {
    for (const DataSet& set : dataSets()) {
      const std::string member = set.name + ".bin";
      MemoryStream archive;
      ArchiveWriter writer = media::valueOrRaise(ArchiveWriter::start(archive, "LZH"));
      media::raiseOnError(writer.addMember(member, set.bytes, MemberOptions{}));
      media::raiseOnError(writer.finish());
      testing::writeBytes(dir + "/" + set.name + ".kvr", archive.bytes());

      // The member data of the archive just written are the stream to wrap.
      const std::size_t dataStart = kArchiveHeaderSize + kMemberHeaderSize + member.size();
      const std::span<const std::uint8_t> stream(archive.bytes().data() + dataStart,
                                                 archive.bytes().size() - dataStart);
      std::vector<std::uint8_t> lha;
      testing::appendLhaMember(
          lha, {member, "-lh1-", stream, static_cast<std::uint32_t>(set.bytes.size()), testing::crc16(set.bytes)});
      testing::finishLha(lha);
      testing::writeBytes(dir + "/" + set.name + ".lzh", lha);
      std::printf("%s %zu %zu %s\n", set.name.c_str(), set.bytes.size(), stream.size(), set.origin.c_str());
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kalvora_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}

} // namespace kalvora::bench
