#include "platform/Paths.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/NoCase.h"

namespace kalvora {

std::string driveOfPath(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (!path.starts_with("\\\\")) return {};
  // Up to the backslash that ends the share name: \\server\share\dir gives \\server\share.
  const auto server = path.find('\\', 2);
  if (server == std::string::npos) return path;
  const auto share = path.find('\\', server + 1);
  return share == std::string::npos ? path : path.substr(0, share);
}

bool isDeviceName(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ')
    base.remove_suffix(1);
  static constexpr std::string_view kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
  if (std::any_of(std::begin(kDevices), std::end(kDevices), [&](std::string_view d) { return sameNoCase(base, d); }))
    return true;
  return base.size() == 4 && (startsWithNoCase(base, "COM") || startsWithNoCase(base, "LPT")) && base[3] >= '1' &&
         base[3] <= '9';
}

bool isDotsAndBlanks(std::string_view part) {
  return !part.empty() && part.find_first_not_of(". ") == std::string_view::npos;
}

bool staysInsideRoot(std::string_view relative) {
  if (relative.find(':') != std::string_view::npos) return false;
  std::size_t begin = 0;
  while (begin <= relative.size()) {
    const std::size_t end = std::min(relative.find_first_of("\\/", begin), relative.size());
    const std::string_view part = relative.substr(begin, end - begin);
    if (isDotsAndBlanks(part) && part != ".") return false;
    begin = end + 1;
  }
  return true;
}

std::string withoutDotParts(std::string_view path) {
  // The start that ".." cannot climb: a drive ("C:") or a network share
  // ("\\\\server\\share"), and the separator after it.
  std::size_t rootEnd = 0;
  if (path.size() >= 2 && path[1] == ':')
    rootEnd = 2;
  else if (path.starts_with("\\\\"))
    rootEnd = driveOfPath(std::string(path)).size();
  if (rootEnd < path.size() && (path[rootEnd] == '\\' || path[rootEnd] == '/')) ++rootEnd;
  std::vector<std::string_view> parts;
  for (std::size_t begin = rootEnd; begin <= path.size();) {
    const std::size_t end = std::min(path.find_first_of("\\/", begin), path.size());
    const std::string_view part = path.substr(begin, end - begin);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != "." && !part.empty()) {
      parts.push_back(part);
    }
    begin = end + 1;
  }
  std::string out(path.substr(0, rootEnd));
  if (!out.empty() && out.back() == '/') out.back() = '\\';
  for (std::size_t i = 0; i < parts.size(); ++i)
    out.append(i == 0 ? "" : "\\").append(parts[i]);
  return out;
}

} // namespace kalvora
