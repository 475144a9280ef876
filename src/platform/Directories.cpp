#include "platform/Directories.h"

#include <algorithm>

namespace kalvora {
namespace {

// "C:" and "C:\" cannot be made; the walk up a path ends there.
bool isDriveRoot(const std::string& dir) { return dir.size() <= 3 && dir.size() >= 2 && dir[1] == ':'; }

} // namespace

std::vector<std::string> missingDirectories(Platform& platform, const std::string& path) {
  std::vector<std::string> missing;
  std::string dir = path;
  for (;;) {
    while (dir.size() > 3 && (dir.back() == '\\' || dir.back() == '/'))
      dir.pop_back();
    if (dir.empty() || isDriveRoot(dir) || platform.directoryExists(dir)) break;
    missing.push_back(dir);
    const auto slash = dir.find_last_of("\\/");
    if (slash == std::string::npos || slash == 0) break;
    dir.resize(slash);
  }
  std::reverse(missing.begin(), missing.end());
  return missing;
}

bool createDirectories(Platform& platform, const std::string& path) {
  for (const std::string& dir : missingDirectories(platform, path))
    if (!platform.createDirectory(dir) && !platform.directoryExists(dir)) return false;
  return true;
}

} // namespace kalvora
