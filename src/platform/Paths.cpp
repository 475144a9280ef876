#include "platform/Paths.h"

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

} // namespace kalvora
