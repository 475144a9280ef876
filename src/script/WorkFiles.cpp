#include "script/WorkFiles.h"

namespace kalvora {

std::string workDirectory(std::string_view targetDir) { return std::string(targetDir) + "\\setup"; }

std::string workFilePath(std::string_view targetDir, std::string_view name) {
  return workDirectory(targetDir) + "\\" + std::string(name);
}

} // namespace kalvora
