#include "install/FileIdentity.h"

#include <cstdio>
#include <vector>

#include "platform/Crc32.h"

namespace kalvora {

std::optional<std::string> fileIdentity(Platform& platform, const std::string& path) {
  const std::optional<FileInfo> info = platform.fileInfo(path);
  if (!info || info->isDirectory) return std::nullopt;
  const auto file = platform.openFile(path, OpenMode::ReadShared);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> block(64 * 1024);
  std::uint32_t crc = kCrc32Start;
  std::int64_t total = 0;
  for (std::size_t got; (got = file->read(block.data(), block.size())) > 0; total += static_cast<std::int64_t>(got))
    crc = crc32Update(crc, block.data(), got);
  if (total != info->size) return std::nullopt; // cut short by a read error
  char text[48];
  std::snprintf(text, sizeof text, "%lld %08X %08X", static_cast<long long>(total),
                static_cast<unsigned>(info->dosDateTime), static_cast<unsigned>(crc32Finish(crc)));
  return std::string(text);
}

} // namespace kalvora
