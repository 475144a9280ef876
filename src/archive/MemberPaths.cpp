#include "archive/MemberPaths.h"

#include "platform/NoCase.h"
#include "platform/Paths.h"

namespace kalvora {
bool sameMemberName(const std::string& a, const std::string& b) { return sameAnsiNoCase(a, b); }

std::string memberOutputPath(const std::string& targetPath, const std::string& storedName) {
  if (!storedName.empty() && storedName[0] == '\\') return storedName;
  return targetPath + storedName;
}

bool isContainedMemberName(const std::string& storedName) {
  if (storedName.empty() || storedName[0] == '\\') return true; // used as it stands
  return storedName[0] != '/' && staysInsideRoot(storedName);
}

std::string packedPictureMember(const std::string& packedPath) {
  std::string name = packedPath.empty() ? std::string() : packedPath.substr(0, packedPath.size() - 1);
  name += 'p';
  const auto cut = name.find_last_of("\\:");
  return cut == std::string::npos ? name : name.substr(cut + 1);
}

std::string directoryPart(const std::string& path) {
  const auto last = path.find_last_of("\\/");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

} // namespace kalvora
