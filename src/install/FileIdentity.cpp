#include "install/FileIdentity.h"

#include <vector>

#include "platform/Crc32.h"
#include "platform/NumberText.h"

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
  return std::to_string(total) + " " + hexDigits8(info->dosDateTime) + " " + hexDigits8(crc32Finish(crc));
}

} // namespace kalvora
