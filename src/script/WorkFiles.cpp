#include "script/WorkFiles.h"

namespace kalvora {

std::string workDirectory(std::string_view targetDir) {
  std::string path(targetDir);
  return path.append(kWorkDirectorySuffix);
}

std::string workFilePath(std::string_view targetDir, std::string_view name) {
  std::string path;
  path.reserve(targetDir.size() + workFileSuffixLength(name));
  return path.append(targetDir).append(kWorkDirectorySuffix).append("\\").append(name);
}

void deleteRunFiles(Platform& platform, std::string_view targetDir) {
  platform.deleteFile(workFilePath(targetDir, kScriptCopyName));
  platform.deleteFile(workFilePath(targetDir, kStagingFileName));
}

} // namespace kalvora
