#include "install/FileIdentity.h"

#include <vector>

#include "platform/Crc32.h"
#include "platform/NumberText.h"

namespace kalvora {

namespace {

std::string identityText(std::int64_t size, std::uint32_t dosDateTime, std::uint32_t crc) {
  return std::to_string(size) + " " + hexDigits8(dosDateTime) + " " + hexDigits8(crc);
}

} // namespace

std::optional<std::string> fileIdentity(Platform& platform, const std::string& path,
                                        std::optional<WrittenContent> known) {
  const std::optional<FileInfo> info = platform.fileInfo(path);
  if (!info || info->isDirectory) return std::nullopt;
  if (known && known->bytes == info->size) return identityText(info->size, info->dosDateTime, known->crc32);
  const auto file = platform.openFile(path, OpenMode::ReadShared);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> block(64 * 1024);
  std::uint32_t crc = kCrc32Start;
  std::int64_t total = 0;
  for (std::size_t got; (got = file->read(block.data(), block.size())) > 0; total += static_cast<std::int64_t>(got))
    crc = crc32Update(crc, block.data(), got);
  if (total != info->size) return std::nullopt; // cut short by a read error
  return identityText(total, info->dosDateTime, crc32Finish(crc));
}

} // namespace kalvora
