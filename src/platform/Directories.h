#pragma once
// Creating a directory together with its missing parents.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kalvora {

// The directories of path that do not exist yet, outermost first. The walk up
// ends at an existing directory, a drive ("C:", "C:\") or the path's first part;
// "\" and "/" both separate parts, and trailing separators do not count.
std::vector<std::string> missingDirectories(Platform& platform, const std::string& path);

// Creates the missing directories of path, outermost first, and stops at the
// first that cannot be made: false then.
bool createDirectories(Platform& platform, const std::string& path);

} // namespace kalvora
