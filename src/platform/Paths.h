#pragma once
// Rules for the paths of this system: the drive a path is on, and whether a
// path appended to a root stays inside it. Both "\" and "/" separate parts.
#include <string>
#include <string_view>

namespace kalvora {

// The drive of a path ("D:") or, for a network path, its "\\server\share" part;
// empty when the path names neither.
std::string driveOfPath(const std::string& path);

} // namespace kalvora
