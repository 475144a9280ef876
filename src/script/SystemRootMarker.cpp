#include "script/SystemRootMarker.h"

#include "platform/NoCase.h"

namespace kalvora {

bool holdsSystemRoot(std::string_view value) { return containsNoCase(value, kSystemRootMarker); }

bool startsWithSystemRoot(std::string_view value) { return startsWithNoCase(value, kSystemRootMarker); }

std::string belowSystemRoot(const std::string& value, std::size_t kept) {
  return value.size() > kSystemRootMarker.size() ? value.substr(kSystemRootMarker.size(), kept) : std::string();
}

} // namespace kalvora
