#include "archive/MemberPaths.h"

#include "platform/Errors.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// "..", and what Windows trims to it ("...", ".. "): only dots and spaces, two dots at least.
bool isParentPart(const std::string& name, std::size_t start, std::size_t end) {
  std::size_t dots = 0;
  for (std::size_t i = start; i < end; ++i) {
    if (name[i] == '.')
      ++dots;
    else if (name[i] != ' ')
      return false;
  }
  return dots >= 2;
}

} // namespace

bool sameMemberName(const std::string& a, const std::string& b) { return sameAnsiNoCase(a, b); }

std::string memberOutputPath(const std::string& targetPath, const std::string& storedName) {
  if (!storedName.empty() && storedName[0] == '\\') return storedName;
  return targetPath + storedName;
}

bool isContainedMemberName(const std::string& storedName) {
  if (storedName.empty() || storedName[0] == '\\') return true; // used as it stands
  if (storedName[0] == '/' || (storedName.size() >= 2 && storedName[1] == ':')) return false;
  std::size_t start = 0;
  while (start <= storedName.size()) {
    std::size_t end = start;
    while (end < storedName.size() && !isSeparator(storedName[end]))
      ++end;
    if (isParentPart(storedName, start, end)) return false;
    start = end + 1;
  }
  return true;
}

std::string directoryPart(const std::string& path) {
  const auto last = path.find_last_of("\\/");
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

} // namespace kalvora
