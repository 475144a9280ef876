#include "install/BackupName.h"
#include "platform/NumberText.h"

namespace kalvora {

std::optional<std::string> freeBackupPath(Platform& platform, const std::string& dir, const std::string& name) {
  const std::string prefix = dir.empty() ? dir : dir + "\\";
  if (!platform.fileInfo(prefix + name)) return prefix + name;
  const std::string stem = name.substr(0, name.rfind('.'));
  for (int n = 1; n <= 999; ++n) {
    const std::string extension = "." + zeroPadded(static_cast<std::uint64_t>(n), 3);
    if (!platform.fileInfo(prefix + stem + extension)) return prefix + stem + extension;
  }
  return std::nullopt;
}

} // namespace kalvora
