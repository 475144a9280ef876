#pragma once
// The INI entries of [ini_1] to [ini_4]: up to ten entries per file, written
// and recorded in the uninstall log for the uninstaller to take back.
#include <string>

#include "install/RunContext.h"

namespace kalvora {

// The file that an [ini_<i>] name denotes: a name beginning with %SystemRoot%
// lies in the Windows directory (at most 40 characters after the marker are
// kept); any other name is used as written.
std::string iniFilePath(const std::string& name, const std::string& windowsDir);

[[nodiscard]] bool iniChanges(RunContext& run);

} // namespace kalvora
